// The built resources: panel templates, the menu "MAIN", its accelerators and the English strings.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "resources/resource.h"

TEST(Resources, EnglishStringsLoad)
{
    char text[256] = {};
    ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_RECORDING_BUSY, text, 256), 0);
    EXPECT_STREQ("You are in the middle of sound recording.\nPlease stop your recording before closing the player.", text);
}
