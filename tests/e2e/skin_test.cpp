// The skin as a user sees it: the running program's pixels on the screen compared with the
// bitmaps in its own resources, the LCD colours, and the banner's buttons and drag.
#include "tests/e2e/driver.h"

#include <vector>

#include "model/playlist_store.h"

namespace {

// The pixels of the whole screen, read through the screen's device context.
class ScreenShot {
public:
    ScreenShot()
    {
        width_ = GetSystemMetrics(SM_CXSCREEN);
        height_ = GetSystemMetrics(SM_CYSCREEN);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        void* bits = nullptr;
        HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ previous = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
        GdiFlush();
        auto* p = static_cast<const DWORD*>(bits);
        pixels_.assign(p, p + width_ * height_);
        SelectObject(memory, previous);
        DeleteObject(dib);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }
    COLORREF At(POINT pt) const
    {
        if (pt.x < 0 || pt.y < 0 || pt.x >= width_ || pt.y >= height_) return CLR_INVALID;
        DWORD p = pixels_[static_cast<size_t>(pt.y * width_ + pt.x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    int width_ = 0, height_ = 0;
    std::vector<DWORD> pixels_;
};

// A bitmap of the program's resources, decoded from its DIB (8 or 24 bits).
struct Art {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

Art LoadArt(const std::string& exe, int id)
{
    Art art;
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return art;
    HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    if (res) {
        auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, res)));
        auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(data);
        art.width = h->biWidth;
        art.height = h->biHeight;
        int colours = h->biBitCount == 8 ? (h->biClrUsed ? static_cast<int>(h->biClrUsed) : 256) : 0;
        auto* table = reinterpret_cast<const RGBQUAD*>(data + h->biSize);
        const BYTE* rows = data + h->biSize + colours * 4;
        int stride = ((art.width * h->biBitCount + 31) / 32) * 4;
        for (int y = 0; y < art.height; ++y) {
            const BYTE* row = rows + (art.height - 1 - y) * stride;
            for (int x = 0; x < art.width; ++x) {
                if (h->biBitCount == 8)
                    art.pixels.push_back(RGB(table[row[x]].rgbRed, table[row[x]].rgbGreen, table[row[x]].rgbBlue));
                else
                    art.pixels.push_back(RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]));
            }
        }
    }
    FreeLibrary(module);
    return art;
}

class SkinOnScreen : public e2e::VelutraTest {
protected:
    void StartProgram()
    {
        main = StartAndWait();
        ASSERT_NE(nullptr, main);
        banner = e2e::FindPanel(main, e2e::Panel::Main);
        cd = e2e::FindPanel(main, e2e::Panel::Cd);
        midi = e2e::FindPanel(main, e2e::Panel::Midi);
        ASSERT_TRUE(banner && cd && midi);
        e2e::RunXdotool("mousemove 1000 740");
    }

    // Waits until the screen shows bitmap `id` at the panel's client point (x, y), then reports
    // the first pixel that differs (or success).
    ::testing::AssertionResult ShowsArt(HWND panel, int x, int y, int id)
    {
        Art art = LoadArt(copy.exe, id);
        if (art.width == 0) return ::testing::AssertionFailure() << "no bitmap " << id;
        std::string difference;
        auto matches = [&] {
            ScreenShot shot;
            for (int j = 0; j < art.height; ++j) {
                for (int i = 0; i < art.width; ++i) {
                    POINT pt{x + i, y + j};
                    ClientToScreen(panel, &pt);
                    if (shot.At(pt) != art.At(i, j)) {
                        char text[96];
                        wsprintfA(text, "bitmap %d pixel (%d, %d) shows %06lx, not %06lx", id, i, j,
                                  static_cast<unsigned long>(shot.At(pt)), static_cast<unsigned long>(art.At(i, j)));
                        difference = text;
                        return false;
                    }
                }
            }
            return true;
        };
        if (e2e::WaitUntil(matches, 5000)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << difference;
    }

    // The face of control `id` as placed on the panel.
    ::testing::AssertionResult ShowsFace(HWND panel, int controlId, int bitmapId)
    {
        RECT r = e2e::WindowRectIn(GetDlgItem(panel, controlId), panel);
        return ShowsArt(panel, r.left, r.top, bitmapId);
    }

    POINT ScreenPoint(HWND panel, int x, int y)
    {
        POINT pt{x, y};
        ClientToScreen(panel, &pt);
        return pt;
    }

    HWND main = nullptr, banner = nullptr, cd = nullptr, midi = nullptr;
};

TEST_F(SkinOnScreen, TrueColourBannerAndFacesOnA24BitDisplay)
{
    StartProgram();
    // The banner's background around its buttons: the grille at the left, the gap right of Power.
    Art background = LoadArt(copy.exe, 146);
    ASSERT_EQ(401, background.width);
    ScreenShot shot;
    for (POINT p : {POINT{5, 5}, POINT{60, 20}, POINT{80, 38}, POINT{310, 30}, POINT{398, 68}})
        EXPECT_EQ(background.At(p.x, p.y), shot.At(ScreenPoint(banner, p.x, p.y))) << p.x << "," << p.y;
    EXPECT_TRUE(ShowsFace(banner, 1026, 206));
    EXPECT_TRUE(ShowsFace(banner, 1004, 171));
    EXPECT_TRUE(ShowsFace(banner, 1000, 200)) << "CD lit while its panel shows";
    EXPECT_TRUE(ShowsFace(banner, 1001, 199));
    EXPECT_TRUE(ShowsFace(banner, 1002, 201));
    EXPECT_TRUE(ShowsFace(banner, 1003, 168));
    EXPECT_TRUE(ShowsFace(cd, 1024, 175));
    EXPECT_TRUE(ShowsFace(cd, 1013, 182)) << "no disc";
    EXPECT_TRUE(ShowsFace(midi, 1013, 186)) << "empty MIDI playlist";
    Art cdArt = LoadArt(copy.exe, 147);
    ScreenShot again;
    for (POINT p : {POINT{20, 50}, POINT{200, 20}, POINT{390, 50}, POINT{5, 95}})
        EXPECT_EQ(cdArt.At(p.x, p.y), again.At(ScreenPoint(cd, p.x, p.y))) << "CD panel " << p.x << "," << p.y;
}

TEST_F(SkinOnScreen, CdFaceShowsHeldThenUnlitAfterThePress)
{
    StartProgram();
    RECT r = e2e::WindowRectIn(GetDlgItem(banner, 1000), banner);
    POINT centre = e2e::ScreenCentre(banner, r);
    ASSERT_EQ(0, e2e::RunXdotool("mousemove --sync " + std::to_string(centre.x) + " " + std::to_string(centre.y) +
                                 " mousedown 1"));
    EXPECT_TRUE(ShowsFace(banner, 1000, 207)) << "held down";
    ASSERT_EQ(0, e2e::RunXdotool("mouseup 1"));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !e2e::HasVisibleStyle(cd); })) << "CD panel hidden";
    e2e::RunXdotool("mousemove 1000 740");
    EXPECT_TRUE(ShowsFace(banner, 1000, 166)) << "unlit after the press";
    EXPECT_TRUE(ShowsFace(banner, 1001, 199)) << "MIDI stays lit";
}

TEST_F(SkinOnScreen, LcdLinesAreWhiteAndCyanOnBlack)
{
    StartProgram();
    auto census = [&](HWND panel, int id, bool cyan, int* lit, int* other) {
        ScreenShot shot;
        RECT r = e2e::WindowRectIn(GetDlgItem(panel, id), panel);
        *lit = *other = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                COLORREF p = shot.At(ScreenPoint(panel, x, y));
                int red = GetRValue(p), g = GetGValue(p), b = GetBValue(p);
                if (p == RGB(0, 0, 0)) continue;
                bool shade = cyan ? (red == 0 && g == b) : (red == g && g == b);
                ++*(shade ? lit : other);
            }
        }
    };
    int lit = 0, other = 0;
    ASSERT_TRUE(e2e::WaitUntil([&] { census(cd, 1020, false, &lit, &other); return lit > 40; }));
    EXPECT_EQ(0, other) << "Track line: only black and white";
    census(midi, 1016, true, &lit, &other);
    EXPECT_GT(lit, 10) << "\"EMPTY\" in cyan";
    EXPECT_EQ(0, other) << "Display line: only black and cyan";
    census(cd, 1016, true, &lit, &other);
    EXPECT_EQ(0, lit + other) << "the CD's empty Display line is plain black";
}

TEST_F(SkinOnScreen, BannerButtonsChangeTheWindow)
{
    StartProgram();
    RECT before;
    GetWindowRect(main, &before);
    EXPECT_EQ(366, before.bottom - before.top) << "all three players shown";
    ASSERT_TRUE(e2e::ClickAt(e2e::ScreenCentre(banner, e2e::WindowRectIn(GetDlgItem(banner, 1001), banner))));
    EXPECT_TRUE(e2e::WaitUntil([&] {
        RECT r;
        GetWindowRect(main, &r);
        return r.bottom - r.top == 268;
    })) << "MIDI hidden: the window shrinks by one panel";
    ASSERT_TRUE(e2e::ClickAt(e2e::ScreenCentre(banner, e2e::WindowRectIn(GetDlgItem(banner, 1018), banner))));
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsIconic(main) != FALSE; })) << "Minimize";
    ShowWindow(main, SW_RESTORE);
    // The tray option is on by default: Power hides the window and the program runs on.
    ASSERT_TRUE(e2e::ClickAt(e2e::ScreenCentre(banner, e2e::WindowRectIn(GetDlgItem(banner, 1004), banner))));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(main); })) << "Power with the tray icon on";
    EXPECT_FALSE(e2e::WaitForExit(programs.back(), 500).has_value()) << "still running in the tray";
}

TEST_F(SkinOnScreen, DraggingTheBannerBackgroundMovesTheWindow)
{
    StartProgram();
    RECT before;
    GetWindowRect(main, &before);
    POINT grip = ScreenPoint(banner, 60, 20);
    std::string drag = "mousemove --sync " + std::to_string(grip.x) + " " + std::to_string(grip.y) +
                       " mousedown 1 sleep 0.2 mousemove_relative --sync 40 30 sleep 0.2 mousemove_relative --sync 10 5 "
                       "sleep 0.2 mouseup 1";
    ASSERT_EQ(0, e2e::RunXdotool(drag));
    RECT after{};
    EXPECT_TRUE(e2e::WaitUntil([&] {
        GetWindowRect(main, &after);
        return after.left == before.left + 50 && after.top == before.top + 35;
    })) << "moved from " << before.left << "," << before.top << " to " << after.left << "," << after.top;

    // A press inside the Banner button is the button's own: no drag.
    RECT name = e2e::WindowRectIn(GetDlgItem(banner, 1026), banner);
    POINT inside = ScreenPoint(banner, name.left + 10, name.top + 10);
    GetWindowRect(main, &before);
    drag = "mousemove --sync " + std::to_string(inside.x) + " " + std::to_string(inside.y) +
           " mousedown 1 sleep 0.2 mousemove_relative --sync 40 30 sleep 0.2 mouseup 1";
    ASSERT_EQ(0, e2e::RunXdotool(drag));
    Sleep(300);
    GetWindowRect(main, &after);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.top, after.top);
}

TEST_F(SkinOnScreen, MidiPlaylistFaceLightsWithEntries)
{
    Playlist midiList{}, soundList{};
    PlaylistEntry entry;
    entry.number = 1;
    lstrcpyA(entry.text, "C:\\music\\tune.mid");
    AppendPlaylistEntry(&midiList, &entry);
    std::vector<unsigned char> store = EncodePlaylistStore({&midiList, 0}, {&soundList, 0});
    ClearPlaylist(&midiList);
    HANDLE file = CreateFileA((copy.folder + "\\velutra.s").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, store.data(), static_cast<DWORD>(store.size()), &written, nullptr);
    CloseHandle(file);

    StartProgram();
    EXPECT_TRUE(ShowsFace(midi, 1013, 202)) << "one MIDI entry";
    HWND soundPanel = e2e::FindPanel(main, e2e::Panel::Sound);
    EXPECT_TRUE(ShowsFace(soundPanel, 1013, 187)) << "the sound list is empty";
}

TEST_F(SkinOnScreen, PowerExitsWhenTheTrayIconIsOff)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, e2e::kVelutraKey, 0, nullptr, 0, KEY_SET_VALUE,
                                             nullptr, &key, nullptr));
    DWORD config = 0x1F;
    RegSetValueExA(key, "Config", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&config), sizeof(config));
    RegCloseKey(key);
    StartProgram();
    ASSERT_TRUE(e2e::ClickAt(e2e::ScreenCentre(banner, e2e::WindowRectIn(GetDlgItem(banner, 1004), banner))));
    EXPECT_EQ(0u, e2e::WaitForExit(programs.back()).value_or(999)) << "Power exits through Exit";
}

// The virtual CD drive of the rig plays a disc described in a file named by VCD_DISC, which the
// program inherits from the test.
TEST_F(SkinOnScreen, DiscAndPlayFacesFollowTheCdPlayer)
{
    std::string disc = copy.folder + "\\disc.txt";
    std::string log = copy.folder + "\\vcd.log";
    HANDLE file = CreateFileA(disc.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    const char description[] = "disc=audio\ntracks=300,300\nspeed=1\n";
    DWORD written = 0;
    WriteFile(file, description, sizeof description - 1, &written, nullptr);
    CloseHandle(file);
    SetEnvironmentVariableA("VCD_DISC", disc.c_str());
    SetEnvironmentVariableA("VCD_LOG", log.c_str());
    StartProgram();
    SetEnvironmentVariableA("VCD_DISC", nullptr);
    SetEnvironmentVariableA("VCD_LOG", nullptr);

    EXPECT_TRUE(ShowsFace(cd, 1013, 203)) << "an audio disc is in the drive";
    EXPECT_TRUE(ShowsFace(cd, 1024, 175)) << "stopped";
    e2e::Press(cd, 1024);
    EXPECT_TRUE(ShowsFace(cd, 1024, 189)) << "playing";
    e2e::Press(cd, 1008);
    EXPECT_TRUE(ShowsFace(cd, 1024, 175)) << "paused";
    e2e::Press(cd, 1008);
    EXPECT_TRUE(ShowsFace(cd, 1024, 189)) << "playing again";
    e2e::Press(cd, 1007);
    EXPECT_TRUE(ShowsFace(cd, 1024, 175)) << "stopped again";
}

}  // namespace
