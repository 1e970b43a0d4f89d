// The skin, the pointer and the panel stack as a user meets them: the screen's pixels against the
// bitmaps in the program's own resources, the hand over hot spots, real clicks on the banner's
// buttons stacking the players in order and sizing the window, dragging, and Power with the tray off.
#include "tests/e2e/driver.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>

#include "resources/resource.h"

namespace {

using e2e::Panel;

class Skin : public e2e::VelutraTest {
protected:
    // Waits until the screen shows bitmap `id` (its top-left `size`, or all of it) at the panel's client point `at`.
    bool Shows(HWND panel, int id, POINT at, SIZE size = {999, 999})
    {
        HMODULE exe = LoadLibraryExA(copy.exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        auto art = static_cast<HBITMAP>(LoadImageA(exe, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        BITMAP b{};
        GetObjectA(art, sizeof(b), &b);
        size = {std::min(b.bmWidth, size.cx), std::min(b.bmHeight, size.cy)};
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        HDC screen = GetDC(nullptr), from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
        void *want = nullptr, *seen = nullptr;
        HBITMAP wanted = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &want, nullptr, 0);
        HBITMAP shot = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &seen, nullptr, 0);
        SelectObject(from, art);
        SelectObject(to, wanted);
        BitBlt(to, 0, 0, size.cx, size.cy, from, 0, 0, SRCCOPY);
        SelectObject(to, shot);
        ClientToScreen(panel, &at);
        auto same = [&] {
            BitBlt(to, 0, 0, size.cx, size.cy, screen, at.x, at.y, SRCCOPY);
            return GdiFlush() && !memcmp(want, seen, static_cast<std::size_t>(size.cx * size.cy * 4));
        };
        bool shown = art && e2e::WaitUntil(same, 5000);
        DeleteDC(from);
        DeleteDC(to);
        ReleaseDC(nullptr, screen);
        for (HBITMAP bitmap : {art, wanted, shot}) DeleteObject(bitmap);
        FreeLibrary(exe);
        return shown;
    }
    POINT Corner(HWND panel, int id)
    {
        RECT r = e2e::WindowRectIn(GetDlgItem(panel, id), panel);
        return {r.left, r.top};
    }
    POINT Centre(HWND panel, int control)
    {
        return e2e::ScreenCentre(panel, e2e::WindowRectIn(GetDlgItem(panel, control), panel));
    }
    // The pointer's shape at a screen point once it is one that `wanted` accepts.
    HCURSOR CursorAt(POINT at, const std::function<bool(HCURSOR)>& wanted)
    {
        CURSORINFO cursor{sizeof(cursor), 0, nullptr, {}};
        e2e::MovePointer(at);
        auto there = [&] { return GetCursorInfo(&cursor) && cursor.ptScreenPos.x == at.x && wanted(cursor.hCursor); };
        e2e::WaitUntil(there, 5000);
        return cursor.hCursor;
    }
    // Clicks a banner button; then the players `shown` stand in this order under the banner, each 98 high.
    void ClickAndExpectStack(int button, std::vector<Panel> shown, const char* step)
    {
        e2e::ClickAt(Centre(banner, button));
        int bottom = 100 + 72 + 98 * static_cast<int>(shown.size());
        EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::WindowRectIn(main, nullptr).bottom == bottom; }))
            << step << ": height";
        for (Panel panel : {Panel::Cd, Panel::Midi, Panel::Sound}) {
            int place = static_cast<int>(std::find(shown.begin(), shown.end(), panel) - shown.begin());
            HWND window = e2e::FindPanel(main, panel);
            EXPECT_EQ(place < static_cast<int>(shown.size()), e2e::HasVisibleStyle(window))
                << step << ": " << e2e::PanelName(panel);
            EXPECT_TRUE(place == static_cast<int>(shown.size()) ||
                        e2e::WindowRectIn(window, main).top == 72 + 98 * place)
                << step << ": place of " << e2e::PanelName(panel);
        }
    }
    HWND main = nullptr, banner = nullptr;
};

TEST_F(Skin, PixelsPointerAndStacking)
{
    DWORD config = 0x1F;  // every panel, no tray
    e2e::WriteRegistryValue(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, "Config", REG_DWORD, &config, sizeof(config));
    const std::vector<unsigned char> store = e2e::StoreFile({"C:\\a"});
    ASSERT_TRUE(e2e::PutFileBytes(copy.folder + "\\velutra.s", store));
    main = StartAndWait();
    ASSERT_TRUE(main);
    banner = e2e::FindPanel(main, Panel::Main);
    HWND midi = e2e::FindPanel(main, Panel::Midi);
    RECT r = e2e::WindowRectIn(main, nullptr);
    EXPECT_TRUE(r.left == 100 && r.top == 100 && r.right == 501 && r.bottom == 466) << "the window's place and size";
    e2e::MovePointer({1000, 740});
    EXPECT_TRUE(Shows(e2e::FindPanel(main, Panel::Cd), 147, {0, 0}, {10, 98})) << "the CD panel's left edge";
    EXPECT_TRUE(Shows(banner, 171, Corner(banner, IDC_POWER))) << "the Power face";
    EXPECT_TRUE(Shows(banner, 200, Corner(banner, IDC_CD))) << "CD lit while its panel shows";
    EXPECT_TRUE(Shows(midi, 202, Corner(midi, IDC_PLAYLIST))) << "the MIDI playlist face with one entry";

    HCURSOR plain = CursorAt(e2e::ScreenCentre(banner, {0, 0, 20, 20}), [](HCURSOR) { return true; });
    HCURSOR hand = CursorAt(Centre(banner, IDC_MIDI), [&](HCURSOR shown) { return shown != plain; });
    EXPECT_NE(plain, hand) << "no hand over the MIDI button";
    EXPECT_EQ(hand, CursorAt(Centre(midi, IDC_PLAY), [&](HCURSOR shown) { return shown == hand; })) << "over MIDI Play";

    ClickAndExpectStack(IDC_CD, {Panel::Midi, Panel::Sound}, "CD hidden");
    ClickAndExpectStack(IDC_MIDI, {Panel::Sound}, "MIDI hidden");
    ClickAndExpectStack(IDC_CD, {Panel::Cd, Panel::Sound}, "CD shown");
    ClickAndExpectStack(IDC_MIDI, {Panel::Cd, Panel::Midi, Panel::Sound}, "MIDI shown");
    ASSERT_TRUE(e2e::MovePointer(e2e::ScreenCentre(banner, {0, 0, 20, 20})) && e2e::PressKeys("alt+c"));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !e2e::HasVisibleStyle(e2e::FindPanel(main, Panel::Cd)); })) << "Alt+C";

    POINT grip = e2e::ScreenCentre(banner, {0, 0, 120, 40});
    e2e::RunXdotool("mousemove --sync " + std::to_string(grip.x) + " " + std::to_string(grip.y) +
                    " mousedown 1 mousemove_relative --sync 40 30 mouseup 1");
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::WindowRectIn(main, nullptr).left == 140; })) << "no drag";
    ASSERT_TRUE(e2e::ClickAt(Centre(banner, IDC_POWER)));
    EXPECT_EQ(0u, e2e::WaitForExit(programs.back()).value_or(99)) << "Power with the tray off ends with 0";
    EXPECT_EQ(store, e2e::ReadFileBytes(copy.folder + "\\velutra.s")) << "Power with the tray off saves the lists";
    EXPECT_EQ(0x1Bu, e2e::ReadRegistryDword(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, "Config").value_or(0));
    EXPECT_FALSE(e2e::ReadRegistryString(HKEY_LOCAL_MACHINE, e2e::kRunKey, e2e::kRunValue)) << "tray off: no autostart";
}

}  // namespace
