// The skin resources and the painters, checked by the pixels they leave in memory device contexts.
#include <gtest/gtest.h>

#include <vector>

#include "app/app.h"
#include "resources/resource.h"
#include "model/palette.h"
#include "panels/panels.h"
#include "ui/skin.h"

namespace {

constexpr COLORREF kUntouched = RGB(255, 0, 255);

// A 32-bit top-down DIB section in a memory DC, filled with magenta so painted pixels show.
class Surface {
public:
    Surface(int width, int height) : width_(width), height_(height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < width * height; ++i) bits_[i] = 0x00FF00FF;
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    ~Surface()
    {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        DWORD p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int CountUntouched() const
    {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) n += At(x, y) == kUntouched;
        return n;
    }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    DWORD* bits_ = nullptr;
};

// The pixels of a bitmap resource, read straight from the resource data (8 or 24 bits).
struct ResourcePicture {
    int width = 0, height = 0, bits = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

ResourcePicture ReadBitmapResource(int id)
{
    ResourcePicture pic;
    HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    if (!res) return pic;
    auto* data = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, res)));
    auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(data);
    pic.width = header->biWidth;
    pic.height = header->biHeight;
    pic.bits = header->biBitCount;
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(data + header->biSize);
    int colours = pic.bits == 8 ? (header->biClrUsed ? static_cast<int>(header->biClrUsed) : 256) : 0;
    const BYTE* rows = data + header->biSize + colours * 4;
    int stride = ((pic.width * pic.bits + 31) / 32) * 4;
    for (int y = 0; y < pic.height; ++y) {
        const BYTE* row = rows + (pic.height - 1 - y) * stride;
        for (int x = 0; x < pic.width; ++x) {
            if (pic.bits == 8) {
                RGBQUAD q = table[row[x]];
                pic.pixels.push_back(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
            } else {
                pic.pixels.push_back(RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]));
            }
        }
    }
    return pic;
}

// Every pixel of the face at (x, y) on the surface equals the resource's pixel.
::testing::AssertionResult ShowsPicture(const Surface& s, int x, int y, int id)
{
    ResourcePicture pic = ReadBitmapResource(id);
    if (pic.width == 0) return ::testing::AssertionFailure() << "no bitmap " << id;
    for (int j = 0; j < pic.height; ++j)
        for (int i = 0; i < pic.width; ++i)
            if (s.At(x + i, y + j) != pic.At(i, j))
                return ::testing::AssertionFailure()
                       << "bitmap " << id << " differs at (" << i << ", " << j << "): 0x" << std::hex
                       << s.At(x + i, y + j) << " instead of 0x" << pic.At(i, j);
    return ::testing::AssertionSuccess();
}

class SkinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = g_app.settings;
        g_app.instance = GetModuleHandleA(nullptr);
        g_app.colorDepth = 32;
        g_app.palette = nullptr;
        InitMediaDevice(&g_app.CdDevice, MCI_DEVTYPE_CD_AUDIO);
        InitMediaDevice(&g_app.MidiDevice, MCI_DEVTYPE_SEQUENCER);
        InitMediaDevice(&g_app.SoundDevice, MCI_DEVTYPE_WAVEFORM_AUDIO);
        for (HWND* slot : {&g_app.MainPanel, &g_app.CdPanel, &g_app.MidiPanel, &g_app.SoundPanel}) {
            *slot = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, nullptr, nullptr);
        }
    }
    void TearDown() override
    {
        for (HWND* slot : {&g_app.MainPanel, &g_app.CdPanel, &g_app.MidiPanel, &g_app.SoundPanel}) {
            DestroyWindow(*slot);
            *slot = nullptr;
        }
        ClearPlaylist(&g_app.MidiDevice.playlist);
        ClearPlaylist(&g_app.SoundDevice.playlist);
        g_app.settings = saved_;
    }

    // Draws control `id` of `panel` at (x, y) as WM_DRAWITEM would ask for it.
    static void Draw(const Surface& s, HWND panel, int id, int x, int y, UINT action = ODA_DRAWENTIRE,
                     UINT state = 0)
    {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(id);
        item.itemAction = action;
        item.itemState = state;
        item.hDC = s.dc();
        item.rcItem = {x, y, x + 200, y + 100};
        DrawButtonFace(panel, &item);
    }

    AppSettings saved_;
};

TEST_F(SkinTest, FaceIsDrawnAtTheItemsCornerInItsOwnSize)
{
    Surface s(300, 200);
    Draw(s, g_app.CdPanel, IDC_PLAY, 17, 9);
    EXPECT_TRUE(ShowsPicture(s, 17, 9, 175));
    EXPECT_EQ(kUntouched, s.At(16, 9)) << "left of the face";
    EXPECT_EQ(kUntouched, s.At(17 + 60, 9)) << "right of the 60-pixel face, though rcItem is wider";
    EXPECT_EQ(kUntouched, s.At(17, 9 + 21)) << "below the 21-pixel face";
    EXPECT_EQ(300 * 200 - 60 * 21, s.CountUntouched());
}

TEST_F(SkinTest, FocusChangesAndFacelessIdsDrawNothing)
{
    Surface s(300, 200);
    Draw(s, g_app.CdPanel, IDC_PLAY, 0, 0, ODA_FOCUS);
    Draw(s, g_app.CdPanel, IDC_PLAY, 0, 0, ODA_FOCUS | ODA_DRAWENTIRE);
    Draw(s, g_app.MainPanel, IDC_CD, 0, 0, ODA_FOCUS, ODS_FOCUS);
    for (int id : {IDC_TRACK, IDC_DISPLAY, IDC_RECORDEND, IDC_ADD, 1017, 1021, IDC_LOOP, IDC_LIST, IDC_HIDDEN_X, 999,
                   1027, IDOK}) {
        Draw(s, g_app.CdPanel, id, 0, 0);
        Draw(s, g_app.MainPanel, id, 0, 0, ODA_SELECT, ODS_SELECTED);
    }
    Draw(s, nullptr, IDC_PLAYLIST, 0, 0);
    Draw(s, g_app.MainPanel, IDC_PLAYLIST, 0, 0);
    EXPECT_EQ(300 * 200, s.CountUntouched());
}

TEST_F(SkinTest, PressedFacesAreDrawnWhileSelected)
{
    Surface s(300, 200);
    Draw(s, g_app.CdPanel, IDC_PLAY, 0, 0, ODA_SELECT, ODS_SELECTED);
    EXPECT_TRUE(ShowsPicture(s, 0, 0, 188));
    Draw(s, g_app.CdPanel, IDC_PLAY, 0, 0, ODA_SELECT, 0);
    EXPECT_TRUE(ShowsPicture(s, 0, 0, 175)) << "released";
    Draw(s, g_app.MainPanel, IDC_POWER, 0, 50, ODA_SELECT, ODS_SELECTED | ODS_FOCUS);
    EXPECT_TRUE(ShowsPicture(s, 0, 50, 213));
    Draw(s, g_app.SoundPanel, IDC_PLAYLIST, 100, 0, ODA_SELECT, ODS_SELECTED);
    EXPECT_TRUE(ShowsPicture(s, 100, 0, 218));
    Draw(s, g_app.MainPanel, IDC_EJECT, 0, 100, ODA_DRAWENTIRE, ODS_DISABLED);
    EXPECT_TRUE(ShowsPicture(s, 0, 100, 179)) << "disabled buttons look the same";
}

TEST_F(SkinTest, ViewButtonsFollowTheConfigBits)
{
    Surface s(100, 60);
    g_app.settings.Config = CFG_BANNER | CFG_CD | CFG_MIDI | CFG_SOUND;
    Draw(s, g_app.MainPanel, IDC_CD, 0, 0);
    EXPECT_TRUE(ShowsPicture(s, 0, 0, 200));
    Draw(s, g_app.MainPanel, IDC_CD, 0, 0, ODA_SELECT, ODS_SELECTED);
    EXPECT_TRUE(ShowsPicture(s, 0, 0, 207));
    g_app.settings.Config &= ~CFG_CD;
    Draw(s, g_app.MainPanel, IDC_CD, 0, 0, ODA_SELECT, 0);
    EXPECT_TRUE(ShowsPicture(s, 0, 0, 166));
    Draw(s, g_app.MainPanel, IDC_SOUND, 0, 30);
    EXPECT_TRUE(ShowsPicture(s, 0, 30, 201));
}

TEST_F(SkinTest, RecordAndPlaylistFacesFollowThePlayers)
{
    Surface s(300, 200);
    Draw(s, g_app.SoundPanel, IDC_RECORD, 0, 0);
    EXPECT_TRUE(ShowsPicture(s, 0, 0, 181));
    g_app.SoundDevice.flags |= MDF_NEWRECORDING;
    Draw(s, g_app.SoundPanel, IDC_RECORD, 0, 0);
    EXPECT_TRUE(ShowsPicture(s, 0, 0, 212));

    Draw(s, g_app.MidiPanel, IDC_PLAYLIST, 50, 0);
    EXPECT_TRUE(ShowsPicture(s, 50, 0, 186)) << "empty MIDI list";
    PlaylistEntry entry;
    entry.number = 1;
    lstrcpyA(entry.text, "C:\\music\\a.mid");
    AppendPlaylistEntry(&g_app.MidiDevice.playlist, &entry);
    Draw(s, g_app.MidiPanel, IDC_PLAYLIST, 50, 0);
    EXPECT_TRUE(ShowsPicture(s, 50, 0, 202)) << "one MIDI entry";
    Draw(s, g_app.SoundPanel, IDC_PLAYLIST, 100, 50);
    EXPECT_TRUE(ShowsPicture(s, 100, 50, 187)) << "the sound list is still empty";
}

TEST_F(SkinTest, PlayFaceOfAClosedDeviceIsNotPlaying)
{
    Surface s(100, 40);
    for (HWND panel : {g_app.CdPanel, g_app.MidiPanel, g_app.SoundPanel}) {
        Draw(s, panel, IDC_PLAY, 0, 0);
        EXPECT_TRUE(ShowsPicture(s, 0, 0, 175));
    }
}

TEST_F(SkinTest, BannerFaceAndBackgroundFollowTheDisplayDepth)
{
    Surface s(402, 100);
    g_app.colorDepth = 32;
    Draw(s, g_app.MainPanel, IDC_BANNER, 0, 0);
    EXPECT_TRUE(ShowsPicture(s, 0, 0, 206));
    Draw(s, g_app.MainPanel, IDC_BANNER, 0, 0, ODA_SELECT, ODS_SELECTED);
    EXPECT_TRUE(ShowsPicture(s, 0, 0, 206)) << "pressed banner keeps its face";
    g_app.colorDepth = 8;
    Draw(s, g_app.MainPanel, IDC_BANNER, 0, 30);
    EXPECT_TRUE(ShowsPicture(s, 0, 30, 205));
    g_app.colorDepth = 4;
    Draw(s, g_app.MainPanel, IDC_BANNER, 200, 30);
    EXPECT_TRUE(ShowsPicture(s, 200, 30, 205));
}

TEST_F(SkinTest, BackgroundsCoverThePanelFromTheTopLeftCorner)
{
    struct Case {
        int templateId, depth, bitmap, rows;
    };
    const Case cases[] = {{103, 32, 146, 71}, {104, 32, 147, 98}, {105, 24, 148, 98}, {106, 16, 149, 98},
                          {103, 8, 102, 72},  {104, 8, 103, 98},  {105, 8, 105, 98},  {106, 4, 104, 98},
                          {999, 32, 146, 71}};
    for (const Case& c : cases) {
        Surface s(410, 110);
        g_app.colorDepth = c.depth;
        PaintPanelBackground(s.dc(), c.templateId);
        ResourcePicture pic = ReadBitmapResource(c.bitmap);
        ASSERT_EQ(401, pic.width) << c.bitmap;
        for (int y = 0; y < c.rows; ++y)
            for (int x = 0; x < 401; x += 7)
                ASSERT_EQ(pic.At(x, y), s.At(x, y)) << "template " << c.templateId << " at (" << x << ", " << y << ")";
        int copied = c.bitmap == 146 ? 72 : 98;
        EXPECT_EQ(kUntouched, s.At(0, copied)) << "template " << c.templateId << ": only " << copied << " rows";
        EXPECT_EQ(kUntouched, s.At(403, 0)) << "template " << c.templateId;
    }
}

TEST_F(SkinTest, ShortBannerArtRepeatsItsLastRow)
{
    Surface s(410, 80);
    g_app.colorDepth = 32;
    PaintPanelBackground(s.dc(), IDD_MAINPANEL);
    for (int x = 0; x < 401; ++x) ASSERT_EQ(s.At(x, 70), s.At(x, 71)) << x;
}

// ---- LCD lines ----

class LcdTest : public SkinTest {
protected:
    void SetUp() override
    {
        SkinTest::SetUp();
        button_ = CreateWindowExA(0, "BUTTON", "", BS_OWNERDRAW, 0, 0, 145, 19, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(button_);
        SkinTest::TearDown();
    }
    void DrawLine(const Surface& s, int id, const char* text, UINT action = ODA_DRAWENTIRE)
    {
        SetWindowTextA(button_, text);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(id);
        item.itemAction = action;
        item.hwndItem = button_;
        item.hDC = s.dc();
        item.rcItem = {10, 5, 155, 24};
        DrawLcdItem(g_app.CdPanel, &item);
    }
    // Counts the pixels of the item rectangle: black, shades of the text colour, anything else.
    static void Census(const Surface& s, bool cyan, int* black, int* lit, int* other)
    {
        *black = *lit = *other = 0;
        for (int y = 5; y < 24; ++y) {
            for (int x = 10; x < 155; ++x) {
                COLORREF p = s.At(x, y);
                int r = GetRValue(p), g = GetGValue(p), b = GetBValue(p);
                bool shade = cyan ? (r == 0 && g == b) : (r == g && g == b);
                if (p == RGB(0, 0, 0))
                    ++*black;
                else if (shade)
                    ++*lit;
                else
                    ++*other;
            }
        }
    }
    HWND button_ = nullptr;
};

TEST_F(LcdTest, TrackLineIsWhiteOnBlack)
{
    Surface s(170, 30);
    DrawLine(s, IDC_TRACK, "00:00 Track 01");
    int black, lit, other;
    Census(s, false, &black, &lit, &other);
    EXPECT_EQ(0, other);
    EXPECT_GT(lit, 40) << "the text shows";
    EXPECT_GT(black, lit);
    EXPECT_EQ(170 * 30 - 145 * 19, s.CountUntouched()) << "nothing outside rcItem";
}

TEST_F(LcdTest, DisplayLineIsCyanOnBlack)
{
    Surface s(170, 30);
    DrawLine(s, IDC_DISPLAY, "EMPTY");
    int black, lit, other;
    Census(s, true, &black, &lit, &other);
    EXPECT_EQ(0, other);
    EXPECT_GT(lit, 10);
    bool cyan = false;
    for (int y = 5; y < 24; ++y)
        for (int x = 10; x < 155; ++x) cyan |= s.At(x, y) == RGB(0, 255, 255);
    EXPECT_TRUE(cyan);
}

TEST_F(LcdTest, EmptyTextGivesABlackRectangle)
{
    for (int id : {IDC_TRACK, IDC_DISPLAY}) {
        Surface s(170, 30);
        DrawLine(s, id, "");
        int black, lit, other;
        Census(s, false, &black, &lit, &other);
        EXPECT_EQ(145 * 19, black) << id;
    }
}

TEST_F(LcdTest, OnlyAWholeRedrawPaintsAndOnlyTheTwoLines)
{
    Surface s(170, 30);
    DrawLine(s, IDC_TRACK, "00:00 Track 01", ODA_SELECT);
    DrawLine(s, IDC_DISPLAY, "EMPTY", ODA_FOCUS);
    DrawLine(s, IDC_PLAY, "Play");
    DrawLine(s, IDC_PLAYLIST, "Playlist");
    EXPECT_EQ(170 * 30, s.CountUntouched());
}

TEST_F(LcdTest, LongTextIsClippedToTheLine)
{
    Surface s(170, 30);
    DrawLine(s, IDC_TRACK, "A very long title that is far wider than the read-out of the panel");
    EXPECT_EQ(170 * 30 - 145 * 19, s.CountUntouched());
}

// ---- palette ----

TEST(SkinPaletteWin, PaletteHoldsTheTabledEntries)
{
    HPALETTE palette = CreateSkinPalette(256);
    ASSERT_NE(nullptr, palette);
    PALETTEENTRY e[256] = {};
    ASSERT_EQ(256u, GetPaletteEntries(palette, 0, 256, e));
    auto rgb = [&](int i) { return RGB(e[i].peRed, e[i].peGreen, e[i].peBlue); };
    EXPECT_EQ(RGB(33, 33, 33), rgb(4));
    EXPECT_EQ(RGB(255, 255, 255), rgb(31));
    EXPECT_EQ(RGB(255, 255, 255), rgb(32));
    EXPECT_EQ(RGB(191, 0, 0), rgb(237));
    EXPECT_EQ(RGB(255, 255, 255), rgb(251));
    EXPECT_EQ(RGB(0, 0, 0), rgb(255));
    for (const PALETTEENTRY& entry : e) EXPECT_EQ(0, entry.peFlags);
    DeleteObject(palette);
}

TEST(SkinPaletteWin, OnlyTheFullPaletteIsMade)
{
    for (int entries : {0, 1, 255, 257, -1}) {
        HPALETTE palette = CreateSkinPalette(entries);
        EXPECT_EQ(nullptr, palette) << entries << " entries";
        if (palette) DeleteObject(palette);
    }
}

TEST(SkinPaletteWin, DisplayDepthIsBitsTimesPlanes)
{
    HDC ic = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    int expected = GetDeviceCaps(ic, BITSPIXEL) * GetDeviceCaps(ic, PLANES);
    DeleteDC(ic);
    EXPECT_EQ(expected, GetDisplayColorDepth());
    EXPECT_GE(GetDisplayColorDepth(), 1);
}

TEST(SkinPaletteWin, SelectingSwapsAndRestoresThePalette)
{
    g_app.mainWindow = nullptr;
    g_app.palette = CreateSkinPalette(256);
    ASSERT_NE(nullptr, g_app.palette);
    SelectSkinPalette(TRUE);
    EXPECT_NE(nullptr, g_app.replacedPalette) << "the screen's previous palette is kept";
    EXPECT_NE(g_app.palette, g_app.replacedPalette);
    SelectSkinPalette(FALSE);
    DeleteObject(g_app.palette);
    g_app.palette = nullptr;
    g_app.replacedPalette = nullptr;
}

// ---- resources ----

TEST(SkinResources, EveryBitmapHasItsSizeAndFormat)
{
    struct Art {
        int id, width, height, bits;
    };
    const Art art[] = {
        {102, 401, 72, 8},  {103, 401, 98, 8},  {105, 401, 98, 8},  {104, 401, 99, 8},  {146, 401, 71, 24},
        {147, 401, 98, 24}, {148, 401, 98, 24}, {149, 401, 98, 24}, {166, 48, 25, 8},   {200, 48, 25, 8},
        {207, 48, 25, 8},   {165, 48, 25, 8},   {199, 48, 25, 8},   {208, 48, 25, 8},   {167, 48, 25, 8},
        {201, 48, 25, 8},   {210, 48, 25, 8},   {168, 48, 25, 8},   {209, 48, 25, 8},   {171, 64, 23, 24},
        {213, 64, 23, 24},  {176, 35, 30, 8},   {194, 35, 30, 8},   {181, 35, 30, 8},   {212, 35, 30, 8},
        {197, 35, 30, 8},   {177, 35, 21, 8},   {190, 35, 21, 8},   {178, 35, 21, 8},   {191, 35, 21, 8},
        {170, 35, 30, 8},   {195, 35, 30, 8},   {169, 35, 30, 8},   {193, 35, 30, 8},   {180, 35, 30, 8},
        {192, 35, 30, 8},   {182, 186, 27, 8},  {203, 186, 27, 8},  {216, 186, 27, 24}, {186, 145, 40, 8},
        {202, 145, 40, 8},  {217, 145, 40, 24}, {187, 121, 82, 8},  {204, 121, 82, 8},  {218, 121, 82, 24},
        {179, 35, 30, 8},   {196, 35, 30, 8},   {173, 28, 23, 24},  {214, 28, 23, 24},  {174, 21, 23, 24},
        {215, 21, 23, 24},  {175, 60, 21, 8},   {189, 60, 21, 8},   {188, 60, 21, 8},   {205, 156, 26, 8},
        {206, 156, 26, 24},
    };
    static_assert(std::size(art) == 56);
    for (const Art& a : art) {
        HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(a.id), MAKEINTRESOURCEA(2));
        ASSERT_NE(nullptr, res) << "bitmap " << a.id;
        auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, res)));
        EXPECT_EQ(a.width, header->biWidth) << "bitmap " << a.id;
        EXPECT_EQ(a.height, header->biHeight) << "bitmap " << a.id;
        EXPECT_EQ(a.bits, header->biBitCount) << "bitmap " << a.id;
        EXPECT_EQ(static_cast<DWORD>(BI_RGB), header->biCompression) << "bitmap " << a.id;
        if (a.bits == 8) {
            auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(header) + header->biSize);
            int colours = header->biClrUsed ? static_cast<int>(header->biClrUsed) : 256;
            ASSERT_EQ(256, colours) << "bitmap " << a.id;
            for (int i = 0; i < 256; ++i) {
                SkinColor c = SkinPaletteEntry(i);
                ASSERT_TRUE(table[i].rgbRed == c.red && table[i].rgbGreen == c.green && table[i].rgbBlue == c.blue)
                    << "bitmap " << a.id << " colour " << i;
            }
        }
        HBITMAP loaded = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(a.id));
        ASSERT_NE(nullptr, loaded) << "bitmap " << a.id;
        BITMAP bm{};
        GetObjectA(loaded, sizeof bm, &bm);
        EXPECT_EQ(a.width, bm.bmWidth) << "bitmap " << a.id;
        EXPECT_EQ(a.height, bm.bmHeight) << "bitmap " << a.id;
        DeleteObject(loaded);
    }
}

TEST(SkinResources, LitAndPlayingFacesCarryTheirColours)
{
    auto share = [](int id, auto pred) {
        ResourcePicture pic = ReadBitmapResource(id);
        int n = 0;
        for (COLORREF p : pic.pixels) n += pred(GetRValue(p), GetGValue(p), GetBValue(p));
        return pic.pixels.empty() ? 0 : n * 100 / static_cast<int>(pic.pixels.size());
    };
    auto tealGreen = [](int r, int g, int b) { return r == 0 && g > 150 && (b > 150 || b == 0); };
    auto green = [](int r, int g, int b) { return r == 0 && g > 150 && b == 0; };
    auto red = [](int r, int g, int b) { return r > 150 && g == 0 && b == 0; };
    for (int id : {199, 200, 201}) EXPECT_GT(share(id, tealGreen), 40) << "lit face " << id;
    for (int id : {165, 166, 167}) EXPECT_LT(share(id, tealGreen), 5) << "unlit face " << id;
    EXPECT_GT(share(189, green), 40);
    EXPECT_LT(share(175, green), 5);
    EXPECT_GT(share(212, red), 40);
    EXPECT_LT(share(181, red), 15);
}

TEST(SkinResources, IconsAndTheHandCursorExist)
{
    HINSTANCE self = GetModuleHandleA(nullptr);
    for (int id : {147, 148, 149, 150, 151, 152, 153, 154, 155, 157}) {
        EXPECT_NE(nullptr, FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14))) << "icon " << id;
        HICON icon = LoadIconA(self, MAKEINTRESOURCEA(id));
        EXPECT_NE(nullptr, icon) << "icon " << id;
    }
    EXPECT_EQ(nullptr, FindResourceA(nullptr, MAKEINTRESOURCEA(156), MAKEINTRESOURCEA(14))) << "no icon 156";

    HCURSOR hand = LoadCursorA(self, MAKEINTRESOURCEA(IDCUR_HAND));
    ASSERT_NE(nullptr, hand);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(0u, info.xHotspot);
    EXPECT_EQ(0u, info.yHotspot);
    EXPECT_EQ(nullptr, info.hbmColor) << "monochrome";
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(32, mask.bmWidth);
    EXPECT_EQ(64, mask.bmHeight) << "AND and XOR halves of a 32 x 32 cursor";
    DeleteObject(info.hbmMask);
}

}  // namespace
