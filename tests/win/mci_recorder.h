// A stand-in for winmm's MCI behind the media layer's seam: it records every command in a
// readable trace and answers from a script. Also watches the message boxes the program shows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// What the stand-in answers. Errors are MCI error codes, 0 for success.
struct MciScript {
    MCIERROR openError = 0;
    MCIDEVICEID nextId = 7;
    MCIERROR statusTimeFormatError = 0;
    MCIERROR setTimeFormatError = 0;
    MCIERROR closeError = 0;
    DWORD mode = MCI_MODE_STOP;
    MCIERROR modeError = 0;
    DWORD position = 0;
    MCIERROR positionError = 0;
    DWORD tracks = 0;
    MCIERROR tracksError = 0;
    DWORD trackType = MCI_CDA_TRACK_AUDIO;
    MCIERROR trackTypeError = 0;
    MCIERROR playError = 0;
    MCIERROR pauseError = 0;
    MCIERROR resumeError = 0;
    MCIERROR stopError = 0;
    MCIERROR seekError = 0;
    MCIERROR doorError = 0;
    MCIERROR waveFormatError = 0;
    MCIERROR recordError = 0;
    MCIERROR saveError = 0;
    // The clock of the wave device's rest: it moves only when the layer sleeps or a test moves it.
    DWORD clock = 1000;
};

extern MciScript g_script;

// Puts the recorder into the seam with a fresh script and an empty trace; Remove puts winmm back.
void InstallMciRecorder();
void RemoveMciRecorder();

// The commands sent since the last call, one "NAME#device flags fields" item each, joined by " | ".
// Callbacks name the panel they point at (cd, midi, sound) or give 0. A sleep of the layer shows
// as "WAIT ms" where it happened.
std::string TakeMciTrace();

// The program's message boxes (captioned "Velutra") are answered at once; each leaves
// "caption|text|icon" (icon: hand, asterisk, none).
void WatchMessageBoxes();
void StopWatchingMessageBoxes();
std::vector<std::string> TakeMessageBoxes();
