// The program in each language version and in regions served one (sv-SE gets English). Wine takes a
// process's language from its Unix locale, so each start goes through /bin/sh with LANG and LC_ALL,
// LOCPATH naming the locales the rig made. The read-outs, a message and the Properties caption are
// read back in UTF-16; the tray menu, whose items only its own process can read while it shows, in
// each version the program holds.
#include "tests/e2e/driver.h"

#include <shellapi.h>

#include "resources/resource.h"
#include "tests/languages/languages.h"

namespace {

using e2e::Utf8;

class Languages : public e2e::VelutraTest {};

TEST_F(Languages, EachLocaleGetsItsVersion)
{
    std::vector<std::pair<std::string, const languages::Language*>> runs;
    for (const languages::Language& language : languages::kLanguages) runs.emplace_back(language.tag, &language);
    for (const languages::Region& region : languages::kRegions)
        runs.emplace_back(region.name, languages::FindLanguage(region.servedTag));
    HMODULE exe = LoadLibraryExA(copy.exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    for (const languages::Language& language : languages::kLanguages) {
        HRSRC found = FindResourceExA(exe, RT_MENU, IDR_TRAY_NAME, language.id);
        HMENU tray = found ? GetSubMenu(LoadMenuIndirectW(LockResource(LoadResource(exe, found))), 0) : nullptr;
        for (UINT i = 0; i < 3; ++i) {
            wchar_t item[256] = {};
            GetMenuStringW(tray, i, item, 256, MF_BYPOSITION);
            EXPECT_EQ(Utf8(language.trayItems[i]), Utf8(item)) << language.tag << ": tray menu item " << i;
        }
    }
    FreeLibrary(exe);
    const char* screenshots = getenv("VELUTRA_SCREENSHOTS");
    // Wine hides its tray window once it holds no icon, which with no window manager waits 2 s for
    // the window to be withdrawn: an icon of this test keeps it shown while each copy comes and goes.
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE, icon.uID = 1, icon.uFlags = NIF_ICON;
    icon.hWnd = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    icon.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &icon)) << "the test's own tray icon";
    for (const auto& [name, language] : runs) {
        SCOPED_TRACE(name);
        auto word = [language = language](int id) { return Utf8(language->strings[static_cast<std::size_t>(id - 1)]); };
        auto text = [](HWND panel, int id) { return e2e::WindowText(GetDlgItem(panel, id)); };
        std::string locale = name.substr(0, 2) + "_" + name.substr(3) + ".UTF-8";
        ASSERT_EQ(0, e2e::RunShell(
                         "env LANG=" + locale + " LC_ALL=" + locale + " LOCPATH=$VELUTRA_RIG_DIR/locale " +
                         "/usr/lib/wine/wine64 $WINEPREFIX/drive_c/velutra-e2e/EachLocaleGetsItsVersion/velutra.exe "
                         ">/dev/null 2>&1 & :"));
        HWND main = e2e::WaitForShown(0, e2e::kMainClass);
        ASSERT_TRUE(main) << "no main window";
        DWORD pid = 0;
        GetWindowThreadProcessId(main, &pid);
        programs.push_back({OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, pid), pid});
        HWND cd = e2e::FindPanel(main, e2e::Panel::Cd), midi = e2e::FindPanel(main, e2e::Panel::Midi);
        EXPECT_EQ("00:00 " + word(IDS_TRACK) + " 01", text(cd, IDC_TRACK));
        EXPECT_EQ("00:00 " + word(IDS_MUSIC) + " 01", text(midi, IDC_TRACK));
        EXPECT_EQ(word(IDS_EMPTY), text(midi, IDC_DISPLAY));
        EXPECT_TRUE(!screenshots || name != "en-US" ||
                    e2e::SaveScreenshot(main, std::string(screenshots) + "/en-US-main.png"));

        e2e::PostPress(midi, IDC_PLAY);
        HWND box = e2e::WaitForMessageBox(pid);
        ASSERT_TRUE(box) << "MIDI Play with an empty playlist showed no message";
        EXPECT_EQ(word(IDS_PLAYLIST_EMPTY), text(box, 0xFFFF));
        e2e::PressMessageBoxButton(box, IDOK);

        PostMessageA(main, WM_COMMAND, IDM_PROPERTIES, 0);
        HWND properties = e2e::WaitForShown(pid, "#32770");
        ASSERT_TRUE(properties) << "no Properties dialog";
        EXPECT_EQ(Utf8(language->captions[languages::CAPTION_PROPERTIES]), e2e::WindowText(properties));
        EXPECT_TRUE(!screenshots ||
                    e2e::SaveScreenshot(properties, std::string(screenshots) + "/" + name + "-properties.png"));
        e2e::PressMessageBoxButton(properties, IDCANCEL);
        e2e::EndProgram(&programs.back());
    }
}

}  // namespace
