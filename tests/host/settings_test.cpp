// Checks of what the registry gives back, and the autostart command.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "model/config.h"

namespace {

TEST(Settings, RecordingFormatOutsideTheTableFallsBackToRowTen)
{
    for (std::uint32_t row = 0; row <= 16; ++row) EXPECT_EQ(row, ValidWavefmt(row));
    for (std::uint32_t row : {17u, 100u, 0x80000000u, 0xFFFFFFFFu}) EXPECT_EQ(10u, ValidWavefmt(row)) << row;
}

TEST(Settings, RunEntryNamesTheProgramAndTrayapp)
{
    EXPECT_EQ("C:\\Velutra\\velutra.exe TRAYAPP", RunEntryText("C:\\Velutra\\velutra.exe"));
    EXPECT_EQ("\"C:\\Program Files\\Velutra\\velutra.exe\" TRAYAPP",
              RunEntryText("C:\\Program Files\\Velutra\\velutra.exe"));
    EXPECT_EQ("", RunEntryText(""));

    for (std::size_t length : {247u, 248u, 254u}) {
        char path[256] = {};
        std::memset(path, 'p', length);
        std::memcpy(path, "C:\\", 3);
        EXPECT_EQ(std::string(path) + " TRAYAPP", RunEntryText(path)) << length << " characters, written whole";
    }
    char full[256] = {};
    std::memset(full, 'p', 255);
    std::memcpy(full, "C:\\", 3);
    EXPECT_EQ("", RunEntryText(full)) << "a path that fills its buffer may have been cut";
}

TEST(Settings, ToggleConfigBitSaysWhetherTheBitIsNowSet)
{
    AppSettings settings;
    EXPECT_FALSE(ToggleConfigBit(&settings, CFG_CD));
    EXPECT_EQ(0x9Bu, settings.Config);
    EXPECT_TRUE(ToggleConfigBit(&settings, CFG_CD));
    EXPECT_EQ(0x9Fu, settings.Config);
}

}  // namespace
