// The start words: the whole argument string, without regard to case.
#include <gtest/gtest.h>

#include "model/start_words.h"

TEST(StartWords, WholeWordInAnyCaseIsRecognised)
{
    for (const char* args : {"TRAYAPP", "trayapp", "TrayApp", "tRAYaPP"})
        EXPECT_EQ(START_TRAY, ParseStartWords(args)) << '"' << args << '"';
    for (const char* args : {"CD", "cd", "Cd", "cD"})
        EXPECT_EQ(START_CD, ParseStartWords(args)) << '"' << args << '"';
}

TEST(StartWords, LeadingBlanksAndControlCharactersAreSkipped)
{
    EXPECT_EQ(START_TRAY, ParseStartWords("   TRAYAPP"));
    EXPECT_EQ(START_CD, ParseStartWords("\t\r\n cd"));
    EXPECT_EQ(START_CD, ParseStartWords("\x01\x1f CD"));
    EXPECT_STREQ("CD ", SkipLeadingBlanks("  CD "));
    EXPECT_STREQ("", SkipLeadingBlanks(nullptr));
    EXPECT_STREQ("", SkipLeadingBlanks(" \t"));
    EXPECT_STREQ("\xe9t\xe9", SkipLeadingBlanks(" \xe9t\xe9")) << "characters above 127 are not blanks";
}

TEST(StartWords, AnythingElseStartsNormally)
{
    for (const char* args : {"", "cd trayapp", "CD ", "TRAYAPP ", "TRAYAPP CD", "CDX", "TRAY", "trayapp2", "C", "D",
                             "-cd", "\"CD\""})
        EXPECT_EQ(START_NORMAL, ParseStartWords(args)) << '"' << args << '"';
    EXPECT_EQ(START_NORMAL, ParseStartWords(nullptr));
}
