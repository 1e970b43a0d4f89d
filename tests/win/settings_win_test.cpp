// The registry settings and the autostart entry, read back from the registry itself.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/app.h"

namespace {

constexpr char kSettingsPath[] = "SOFTWARE\\VELUTRA";
constexpr char kRunPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

struct StoredValue {
    bool present = false;
    DWORD type = 0;
    std::string data;
};

StoredValue ReadValue(const char* keyPath, const char* name)
{
    StoredValue value;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
    char data[1024] = {};
    DWORD size = sizeof(data);
    if (RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS) {
        value.present = true;
        value.data.assign(data, size);
    }
    RegCloseKey(key);
    return value;
}

std::string Dword(DWORD value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof(value));
}

void WriteValue(const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsPath, 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void WriteDword(const char* name, DWORD value)
{
    WriteValue(name, REG_DWORD, &value, sizeof(value));
}

bool SettingsKeyExists()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void RemoveEverythingStored()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSettingsPath);
    HKEY run;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunPath, 0, KEY_ALL_ACCESS, &run) == ERROR_SUCCESS) {
        RegDeleteValueA(run, "VelutraTray");
        RegCloseKey(run);
    }
}

class SettingsWinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemoveEverythingStored();
        g_app.settings = AppSettings{};
        SetModulePath("C:\\Velutra\\velutra.exe");
    }
    void TearDown() override { RemoveEverythingStored(); }
    void SetModulePath(const std::string& path)
    {
        std::memset(g_app.modulePath, 0, sizeof(g_app.modulePath));
        lstrcpynA(g_app.modulePath, path.c_str(), sizeof(g_app.modulePath));
    }
};

TEST_F(SettingsWinTest, FirstRunCreatesTheKeyAndKeepsTheDefaults)
{
    EXPECT_EQ(0, LoadSettings());
    EXPECT_TRUE(SettingsKeyExists());
    EXPECT_EQ(0x9Fu, g_app.settings.Config);
    EXPECT_EQ(0u, g_app.settings.Option);
    EXPECT_EQ(10u, g_app.settings.Wavefmt);
    EXPECT_FALSE(ReadValue(kSettingsPath, "Config").present) << "loading writes no value";
}

TEST_F(SettingsWinTest, SaveWritesThreeDwordsAndTheRunEntry)
{
    LoadSettings();
    EXPECT_EQ(0, SaveSettings());
    for (auto [name, value] : {std::pair{"Config", 0x9Fu}, std::pair{"Option", 0u}, std::pair{"Wavefmt", 10u}}) {
        StoredValue stored = ReadValue(kSettingsPath, name);
        EXPECT_TRUE(stored.present) << name;
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), stored.type) << name;
        EXPECT_EQ(Dword(value), stored.data) << name;
    }
    StoredValue run = ReadValue(kRunPath, "VelutraTray");
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), run.type);
    EXPECT_EQ(std::string("C:\\Velutra\\velutra.exe TRAYAPP") + '\0', run.data) << "length + 1, no quotes";
}

TEST_F(SettingsWinTest, StoredValuesComeBackAndTheBannerIsForcedOn)
{
    WriteDword("Config", 0x6E);  // no banner bit; the unassigned bits 0x20 and 0x40 set
    WriteDword("Option", 0xDEADBEEF);
    WriteDword("Wavefmt", 16);
    EXPECT_EQ(0, LoadSettings());
    EXPECT_EQ(0x6Fu, g_app.settings.Config);
    EXPECT_EQ(0xDEADBEEFu, g_app.settings.Option);
    EXPECT_EQ(16u, g_app.settings.Wavefmt);

    g_app.settings.Config = 0x64;
    SaveSettings();
    EXPECT_EQ(Dword(0x64), ReadValue(kSettingsPath, "Config").data) << "the unassigned bits are saved back";
    EXPECT_EQ(Dword(0xDEADBEEF), ReadValue(kSettingsPath, "Option").data);
}

TEST_F(SettingsWinTest, OnlyAFourByteDwordReplacesADefault)
{
    const char text[] = "5";
    WriteValue("Config", REG_SZ, text, sizeof(text));
    const unsigned char binary[4] = {1, 0, 0, 0};
    WriteValue("Option", REG_BINARY, binary, sizeof(binary));
    unsigned long long wide = 3;
    WriteValue("Wavefmt", REG_QWORD, &wide, sizeof(wide));
    EXPECT_EQ(0, LoadSettings());
    EXPECT_EQ(0x9Fu, g_app.settings.Config);
    EXPECT_EQ(0u, g_app.settings.Option);
    EXPECT_EQ(10u, g_app.settings.Wavefmt);

    const unsigned char shortDword[2] = {3, 0};
    WriteValue("Wavefmt", REG_DWORD, shortDword, sizeof(shortDword));
    g_app.settings = AppSettings{};
    LoadSettings();
    EXPECT_EQ(10u, g_app.settings.Wavefmt) << "a 2-byte REG_DWORD";
}

TEST_F(SettingsWinTest, RecordingFormatOutsideTheTableBecomesRowTen)
{
    for (DWORD stored : {17u, 255u, 0xFFFFFFFFu}) {
        WriteDword("Wavefmt", stored);
        g_app.settings = AppSettings{};
        g_app.settings.Wavefmt = 3;
        LoadSettings();
        EXPECT_EQ(10u, g_app.settings.Wavefmt) << stored;
    }
    WriteDword("Wavefmt", 0);
    LoadSettings();
    EXPECT_EQ(0u, g_app.settings.Wavefmt);
}

TEST_F(SettingsWinTest, TrayOffDeletesTheRunEntryAndTrayOnWritesIt)
{
    SaveSettings();
    ASSERT_TRUE(ReadValue(kRunPath, "VelutraTray").present);
    g_app.settings.Config &= ~CFG_TRAY;
    EXPECT_EQ(0, SaveSettings());
    EXPECT_FALSE(ReadValue(kRunPath, "VelutraTray").present);
    EXPECT_EQ(0, SaveSettings()) << "a missing entry is no error";
    EXPECT_EQ(Dword(0x1F), ReadValue(kSettingsPath, "Config").data);
}

TEST_F(SettingsWinTest, RunEntryQuotesAPathWithABlankAndNeverCutsOne)
{
    SetModulePath("C:\\Program Files\\Velutra\\velutra.exe");
    SaveSettings();
    EXPECT_EQ(std::string("\"C:\\Program Files\\Velutra\\velutra.exe\" TRAYAPP") + '\0',
              ReadValue(kRunPath, "VelutraTray").data);

    std::string longPath = "C:\\" + std::string(241, 'p') + "\\v.exe";  // 250 characters
    SetModulePath(longPath);
    SaveSettings();
    EXPECT_EQ(longPath + " TRAYAPP" + '\0', ReadValue(kRunPath, "VelutraTray").data) << "written whole";

    // A path that fills its buffer may have been cut by the system: the entry is left as it was.
    std::string fullPath = "C:\\" + std::string(246, 'q') + "\\v.exe";  // 255 characters
    SetModulePath(fullPath);
    ASSERT_EQ(255u, std::strlen(g_app.modulePath));
    EXPECT_EQ(0, SaveSettings());
    EXPECT_EQ(longPath + " TRAYAPP" + '\0', ReadValue(kRunPath, "VelutraTray").data);
}

}  // namespace
