// The command-line words of a start.
#pragma once

enum StartMode : int { START_NORMAL, START_TRAY, START_CD };

// The argument string after the program name, with leading blanks and control characters skipped.
const char* SkipLeadingBlanks(const char* args);

// Compares the whole argument string, without regard to case, with "TRAYAPP" and "CD".
StartMode ParseStartWords(const char* args);
