// The settings in the registry, and the autostart entry.
#include <windows.h>

#include <string>

#include "settings/settings.h"

namespace {

constexpr char kSoftwareKey[] = "SOFTWARE";
constexpr char kSettingsKey[] = "VELUTRA";
constexpr char kRunKey[] = "Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunValue[] = "VelutraTray";

HKEY OpenSoftwareKey()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSoftwareKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return nullptr;
    return key;
}

HKEY CreateSubKey(HKEY parent, const char* name)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

// Only a 4-byte REG_DWORD replaces the default; anything else stored under the name is ignored.
void QueryDword(HKEY key, const char* name, std::uint32_t* value)
{
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof(data);
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS) return;
    if (type == REG_DWORD && size == sizeof(data)) *value = data;
}

void SetDword(HKEY key, const char* name, std::uint32_t value)
{
    DWORD data = value;
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
}

// While the tray icon is on, Windows starts the program hidden in the tray at log-on.
void UpdateRunEntry(HKEY run, const AppSettings* values, const char* modulePath)
{
    if (!(values->Config & CFG_TRAY)) {
        RegDeleteValueA(run, kRunValue);
        return;
    }
    std::string command = RunEntryText(modulePath);
    if (command.empty()) return;
    RegSetValueExA(run, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
}

// The installer writes the autostart entry under HKEY_CURRENT_USER when Windows keeps a standard
// user out of HKEY_LOCAL_MACHINE's Run key, which is not virtualised: turning the tray icon off
// removes that entry too, or a hidden copy with no icon would start at every log-on.
void RemoveUserRunEntry()
{
    HKEY run = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_SET_VALUE,
                      &run) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(run, kRunValue);
    RegCloseKey(run);
}

}  // namespace

int LoadSettings(AppSettings* values)
{
    HKEY software = OpenSoftwareKey();
    if (!software) return -1;
    if (HKEY settings = CreateSubKey(software, kSettingsKey)) {
        QueryDword(settings, "Config", &values->Config);
        QueryDword(settings, "Option", &values->Option);
        QueryDword(settings, "Wavefmt", &values->Wavefmt);
        RegCloseKey(settings);
    }
    values->Config |= CFG_BANNER;
    values->Wavefmt = ValidWavefmt(values->Wavefmt);
    RegCloseKey(software);
    return 0;
}

int SaveSettings(const AppSettings* values, const char* modulePath)
{
    HKEY software = OpenSoftwareKey();
    if (!software) return -1;
    if (HKEY settings = CreateSubKey(software, kSettingsKey)) {
        SetDword(settings, "Config", values->Config);
        SetDword(settings, "Option", values->Option);
        SetDword(settings, "Wavefmt", values->Wavefmt);
        RegCloseKey(settings);
    }
    if (HKEY run = CreateSubKey(software, kRunKey)) {
        UpdateRunEntry(run, values, modulePath);
        RegCloseKey(run);
    }
    RegCloseKey(software);
    if (!(values->Config & CFG_TRAY)) RemoveUserRunEntry();
    return 0;
}
