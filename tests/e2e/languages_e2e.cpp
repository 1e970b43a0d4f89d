// The real program in each language, one ctest run per locale: LANG and LC_ALL name the locale for
// the whole run (the driver too, so both share its ANSI code page and fonts), and
// VELUTRA_LANGUAGE_RUN names the language version, or the region, that the run expects. Everything
// is read back in UTF-16 from the windows as they hold it: the read-outs, the message boxes, the
// dialog captions, the CD track list, the tray menu. Every dialog text must fit its control and
// every text have glyphs in the font that draws it (boxes are what a missing font shows).
#include <windows.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <iomanip>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/shown_menu.h"
#include "tests/languages/languages.h"

namespace {

using languages::Language;

constexpr UINT kTrayCallback = WM_USER + 128;
constexpr UINT kTrayIconId = 147;

std::string Environment(const char* name)
{
    char value[1024] = {};
    DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
    return length > 0 && length < sizeof(value) ? std::string(value, length) : std::string();
}

std::string Utf8(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::string Hex(unsigned value)
{
    std::ostringstream out;
    out << "0x" << std::hex << std::setw(4) << std::setfill('0') << value;
    return out.str();
}

// What this run expects.
struct RunPlan {
    std::string name;                    // "ja-JP", or a region such as "de-AT"
    const char* locale = nullptr;        // the locale LANG must name
    LANGID userId = 0;                   // the user's language id in it
    const Language* language = nullptr;  // the version its user must get
};

std::optional<RunPlan> ThisRun()
{
    std::string name = Environment("VELUTRA_LANGUAGE_RUN");
    if (const Language* language = languages::FindLanguage(name))
        return RunPlan{name, language->locale, language->id, language};
    for (const languages::Region& region : languages::kRegions)
        if (name == region.name)
            return RunPlan{name, region.locale, region.userId, languages::FindLanguage(region.servedTag)};
    return std::nullopt;
}

DWORD ProcessOf(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

// The visible top-level window of a class in the process, other than the program's message boxes
// (captioned "Velutra"); null when none appears in time.
HWND WaitForWindow(DWORD pid, const wchar_t* className, bool messageBox = false)
{
    HWND found = nullptr;
    e2e::WaitUntil([&] {
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
            if (!IsWindowVisible(w) || ProcessOf(w) != pid || ClassOf(w) != className) continue;
            if ((e2e::WideWindowText(w) == L"Velutra") != messageBox) continue;
            found = w;
            return true;
        }
        return false;
    });
    return found;
}

void CloseWith(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(dialog); })) << "the window stayed open";
}

// The font a dialog template names, made as the dialog manager makes it.
LOGFONTW DialogFont(const Language& language)
{
    HDC screen = GetDC(nullptr);
    LOGFONTW font{};
    font.lfHeight = -MulDiv(language.fontPoints, GetDeviceCaps(screen, LOGPIXELSY), 72);
    font.lfWeight = FW_DONTCARE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = PROOF_QUALITY;
    lstrcpynW(font.lfFaceName, language.fontFace, LF_FACESIZE);
    ReleaseDC(nullptr, screen);
    return font;
}

NONCLIENTMETRICSW SystemFonts()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return metrics;
}

// A font selected into a screen DC for measuring, released with the object.
class Measure {
public:
    explicit Measure(const LOGFONTW& font)
        : dc_(GetDC(nullptr)), font_(CreateFontIndirectW(&font)), old_(SelectObject(dc_, font_))
    {
    }
    ~Measure()
    {
        SelectObject(dc_, old_);
        DeleteObject(font_);
        ReleaseDC(nullptr, dc_);
    }
    Measure(const Measure&) = delete;
    Measure& operator=(const Measure&) = delete;

    std::wstring Face() const
    {
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(dc_, LF_FACESIZE, face);
        return face;
    }
    // The characters that show as the font's box for a missing glyph, or as nothing, when drawn as
    // a window draws them: through Wine's font links, which GetGlyphIndices does not follow. Each
    // character is drawn alone and compared with a private-use character that no font here has.
    // Mnemonic markers and blanks are left out.
    std::wstring Missing(const std::wstring& text) const
    {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc_, &metrics);
        const int size = metrics.tmHeight * 2 + 4;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = size;
        info.bmiHeader.biHeight = -size;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC memory = CreateCompatibleDC(dc_);
        HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
        HGDIOBJ oldFont = SelectObject(memory, font_);
        auto pixels = static_cast<const DWORD*>(bits);
        auto draw = [&](wchar_t c) {
            PatBlt(memory, 0, 0, size, size, WHITENESS);
            ExtTextOutW(memory, 2, 2, 0, nullptr, &c, 1, nullptr);
            GdiFlush();
            return std::vector<DWORD>(pixels, pixels + size * size);
        };
        auto blank = [](const std::vector<DWORD>& image) {
            for (DWORD pixel : image)
                if ((pixel & 0xFFFFFF) != 0xFFFFFF) return false;
            return true;
        };
        const std::vector<DWORD> box = draw(L'\xE000');
        std::wstring missing;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == L'&' && i + 1 < text.size()) ++i;
            if (std::iswspace(text[i])) continue;
            std::vector<DWORD> image = draw(text[i]);
            if (image == box || blank(image)) missing.push_back(text[i]);
        }
        SelectObject(memory, oldFont);
        SelectObject(memory, oldBitmap);
        DeleteDC(memory);
        DeleteObject(bitmap);
        return missing;
    }
    // The extent of the text drawn as a control draws it: on one line, or broken into lines
    // `width` wide.
    SIZE Extent(const std::wstring& text, int width = 0) const
    {
        RECT r{0, 0, width, 0};
        UINT format = DT_CALCRECT | DT_EXPANDTABS | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE);
        DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &r, format);
        return {r.right, r.bottom};
    }

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ old_;
};

void ExpectGlyphs(const std::wstring& text, const LOGFONTW& font, const std::string& where)
{
    Measure measure(font);
    EXPECT_EQ("", Utf8(measure.Missing(text))) << where << " \"" << Utf8(text) << "\" lacks glyphs in "
                                               << Utf8(measure.Face());
}

// Every text of the dialog has glyphs in the dialog's font and fits its control: on one line for a
// button, a check box or a group box (beside its box or within its frame), in the static's
// rectangle when broken into lines. The margins are those the controls draw with.
void ExpectTextsFitAndShow(HWND dialog, const Language& language, const std::string& name)
{
    SCOPED_TRACE(name);
    LOGFONTW font = DialogFont(language);
    Measure measure(font);
    ExpectGlyphs(e2e::WideWindowText(dialog), SystemFonts().lfCaptionFont, name + " caption");
    int checked = 0;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        std::wstring text = e2e::WideWindowText(control);
        std::wstring className = ClassOf(control);
        LONG style = GetWindowLongW(control, GWL_STYLE);
        if (text.empty() || (className == L"Static" && (style & SS_TYPEMASK) == SS_ICON)) continue;
        std::string where = name + " control " + std::to_string(GetDlgCtrlID(control)) + " \"" + Utf8(text) + "\"";
        EXPECT_EQ("", Utf8(measure.Missing(text))) << where << " lacks glyphs in " << Utf8(measure.Face());
        RECT client{};
        GetClientRect(control, &client);
        SIZE need{};
        if (className == L"Button") {
            LONG type = style & BS_TYPEMASK;
            need = measure.Extent(text);
            if (type == BS_GROUPBOX) {
                need.cx += 16;
                need.cy = 0;  // the frame's text sits on its top edge
            } else if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX) {
                need.cx += 18;
            } else {
                need.cx += 6;
            }
        } else if (className == L"Static") {
            need = measure.Extent(text, client.right);
        } else {
            continue;
        }
        ++checked;
        EXPECT_LE(need.cx, client.right) << where << " is wider than its control";
        EXPECT_LE(need.cy, client.bottom) << where << " is taller than its control";
    }
    EXPECT_GT(checked, 0) << "no text checked";
}

std::wstring ListItem(HWND list, int index)
{
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                        e2e::kWaitMs, &length);
    return text;
}

class LanguageRun : public e2e::VelutraTest {
protected:
    void SetUp() override
    {
        e2e::VelutraTest::SetUp();
        std::optional<RunPlan> found = ThisRun();
        ASSERT_TRUE(found.has_value()) << "VELUTRA_LANGUAGE_RUN names no language or region: \""
                                       << Environment("VELUTRA_LANGUAGE_RUN") << "\"; run this through ctest";
        run = *found;
        language = run.language;
        // Wine reads the language from LC_ALL even for a locale the machine lacks, but the run is to
        // be what a user of that locale has: the locale itself, made by the rig.
        ASSERT_EQ(run.locale, Environment("LC_ALL")) << "LC_ALL of this run";
        std::string made = Environment("LOCPATH") + "/" + run.locale + "/LC_CTYPE";
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(("Z:" + made).c_str()))
            << "no locale " << made << ": rig.sh start makes those of tests/rig/locales";
        // A run that Wine does not give its language would quietly show English: that fails here.
        ASSERT_EQ(Hex(run.userId), Hex(GetUserDefaultUILanguage()))
            << "the run is not in " << run.locale << ": is LANG set and the locale made under the rig's "
            << "folder (LOCPATH)?";
        ASSERT_EQ(language->codePage, GetACP()) << "ANSI code page of " << run.locale;
        discPath = copy.folder + "\\disc.txt";
        SetEnvironmentVariableA("VCD_DISC", discPath.c_str());
        SetEnvironmentVariableA("VCD_LOG", (copy.folder + "\\vcd.log").c_str());
        std::string cdDriver = e2e::ReadRegistryString(HKEY_LOCAL_MACHINE,
                                                      "Software\\Microsoft\\Windows NT\\CurrentVersion\\MCI",
                                                      "cdaudio").value_or("");
        ASSERT_FALSE(cdDriver.empty()) << "the rig has not registered the virtual CD drive";
    }

    void TearDown() override
    {
        e2e::VelutraTest::TearDown();
        SetEnvironmentVariableA("VCD_DISC", nullptr);
        SetEnvironmentVariableA("VCD_LOG", nullptr);
    }

    void Launch(const char* disc)
    {
        HANDLE file = CreateFileA(discPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, disc, static_cast<DWORD>(lstrlenA(disc)), &written, nullptr);
        CloseHandle(file);
        mainWindow = StartAndWait();
        ASSERT_TRUE(mainWindow);
        pid = programs.back().pid;
        cdPanel = e2e::FindPanel(mainWindow, e2e::Panel::Cd);
        midiPanel = e2e::FindPanel(mainWindow, e2e::Panel::Midi);
        soundPanel = e2e::FindPanel(mainWindow, e2e::Panel::Sound);
        ASSERT_TRUE(cdPanel && midiPanel && soundPanel) << "the three player panels";
    }

    std::wstring Word(int id) const { return language->strings[static_cast<std::size_t>(id - 1)]; }
    std::wstring Caption(int caption) const { return language->captions[static_cast<std::size_t>(caption)]; }

    std::wstring Text(HWND panel, int id) { return e2e::WideWindowText(GetDlgItem(panel, id)); }

    // Waits until the control shows the text; what it shows in the end.
    std::string Shows(HWND panel, int id, const std::wstring& text)
    {
        e2e::WaitUntil([&] { return Text(panel, id) == text; });
        return Utf8(Text(panel, id));
    }

    // Waits for the program's message box, answers it and gives its text.
    std::wstring TakeBox(int answer)
    {
        HWND box = WaitForWindow(pid, L"#32770", true);
        if (!box) return L"(no message box)";
        HWND textControl = GetDlgItem(box, 0xFFFF);
        std::wstring text = textControl ? e2e::WideWindowText(textControl) : L"(no text)";
        ExpectGlyphs(text, SystemFonts().lfMessageFont, "message box");
        CloseWith(box, answer);
        return text;
    }

    HWND OpenDialog(HWND panel, int controlId)
    {
        e2e::PostPress(panel, controlId);
        HWND dialog = WaitForWindow(pid, L"#32770");
        if (!dialog) ADD_FAILURE() << "no dialog after control " << controlId;
        return dialog;
    }

    HWND OpenDialogByCommand(int command)
    {
        PostMessageW(mainWindow, WM_COMMAND, static_cast<WPARAM>(command), 0);
        HWND dialog = WaitForWindow(pid, L"#32770");
        if (!dialog) ADD_FAILURE() << "no dialog after command " << command;
        return dialog;
    }

    void Screenshot(HWND window, const char* what)
    {
        std::string folder = Environment("VELUTRA_SCREENSHOTS");
        if (folder.empty()) return;
        std::string path = folder + "/" + run.name + "-" + what + ".png";
        EXPECT_TRUE(e2e::SaveScreenshot(window, path)) << "no screenshot at " << path;
    }

    RunPlan run;
    const Language* language = nullptr;
    std::string discPath;
    HWND mainWindow = nullptr;
    HWND cdPanel = nullptr;
    HWND midiPanel = nullptr;
    HWND soundPanel = nullptr;
    DWORD pid = 0;
};

std::wstring Readout(const std::wstring& word)
{
    return L"00:00 " + word + L" 01";
}

}  // namespace

TEST_F(LanguageRun, ReadoutsMessagesAndTheTrayMenuAreInTheLanguage)
{
    Launch("disc=none\n");
    EXPECT_EQ(Utf8(Readout(Word(IDS_TRACK))), Shows(cdPanel, IDC_TRACK, Readout(Word(IDS_TRACK))));
    EXPECT_EQ(Utf8(Readout(Word(IDS_MUSIC))), Shows(midiPanel, IDC_TRACK, Readout(Word(IDS_MUSIC))));
    EXPECT_EQ(Utf8(Word(IDS_EMPTY)), Shows(midiPanel, IDC_DISPLAY, Word(IDS_EMPTY)));
    EXPECT_EQ(Utf8(Readout(Word(IDS_SOUND))), Shows(soundPanel, IDC_TRACK, Readout(Word(IDS_SOUND))));
    EXPECT_EQ(Utf8(Word(IDS_EMPTY)), Shows(soundPanel, IDC_DISPLAY, Word(IDS_EMPTY)));

    e2e::PostPress(cdPanel, IDC_PLAY);
    EXPECT_EQ(Utf8(Word(IDS_NO_CD)), Utf8(TakeBox(IDOK))) << "CD Play without a disc";
    e2e::PostPress(midiPanel, IDC_PLAY);
    EXPECT_EQ(Utf8(Word(IDS_PLAYLIST_EMPTY)), Utf8(TakeBox(IDOK))) << "MIDI Play with an empty playlist";

    HWND editor = OpenDialog(midiPanel, IDC_PLAYLIST);
    ASSERT_TRUE(editor);
    EXPECT_EQ(Utf8(Caption(languages::CAPTION_MIDI_PLAYLIST)), Utf8(e2e::WideWindowText(editor)));
    PostMessageW(editor, WM_COMMAND, IDC_CLEAR, 0);
    EXPECT_EQ(Utf8(Word(IDS_CLEAR_PLAYLIST)), Utf8(TakeBox(IDNO))) << "Clear in the MIDI playlist";
    CloseWith(editor, IDCANCEL);

    PostMessageW(mainWindow, kTrayCallback, kTrayIconId, WM_RBUTTONDOWN);
    HWND menu = WaitForWindow(pid, L"#32768");
    ASSERT_TRUE(menu) << "no tray menu";
    std::optional<std::vector<std::wstring>> items = e2e::ShownMenuItems(menu, true);
    ASSERT_TRUE(items.has_value()) << "the menu could not be read";
    ASSERT_EQ(3u, items->size());
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Utf8(language->trayItems[i]), Utf8((*items)[i])) << "item " << i;
        ExpectGlyphs((*items)[i], SystemFonts().lfMenuFont, "tray menu item");
    }
    EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(menu); })) << "the menu stayed open";
}

TEST_F(LanguageRun, DialogsAndTheRecordReviewHaveTheirCaptionsAndTheirTextsFit)
{
    Launch("disc=audio\ntracks=60,60\nspeed=1\n");

    HWND cdEditor = OpenDialog(cdPanel, IDC_PLAYLIST);
    ASSERT_TRUE(cdEditor);
    EXPECT_EQ(Utf8(Caption(languages::CAPTION_CD_PLAYLIST)), Utf8(e2e::WideWindowText(cdEditor)));
    HWND list = GetDlgItem(cdEditor, IDC_LIST);
    EXPECT_EQ(Utf8(Word(IDS_TRACK) + L" 1"), Utf8(ListItem(list, 0))) << "the disc's tracks";
    EXPECT_EQ(Utf8(Word(IDS_TRACK) + L" 2"), Utf8(ListItem(list, 1)));
    ExpectTextsFitAndShow(cdEditor, *language, "CD Playlist");
    CloseWith(cdEditor, IDCANCEL);

    HWND midiEditor = OpenDialog(midiPanel, IDC_PLAYLIST);
    ASSERT_TRUE(midiEditor);
    EXPECT_EQ(Utf8(Caption(languages::CAPTION_MIDI_PLAYLIST)), Utf8(e2e::WideWindowText(midiEditor)));
    ExpectTextsFitAndShow(midiEditor, *language, "MIDI Playlist");
    CloseWith(midiEditor, IDCANCEL);

    HWND soundEditor = OpenDialog(soundPanel, IDC_PLAYLIST);
    ASSERT_TRUE(soundEditor);
    EXPECT_EQ(Utf8(Caption(languages::CAPTION_SOUND_PLAYLIST)), Utf8(e2e::WideWindowText(soundEditor)));
    ExpectTextsFitAndShow(soundEditor, *language, "Sound Playlist");
    CloseWith(soundEditor, IDCANCEL);

    HWND properties = OpenDialogByCommand(IDM_PROPERTIES);
    ASSERT_TRUE(properties);
    EXPECT_EQ(Utf8(Caption(languages::CAPTION_PROPERTIES)), Utf8(e2e::WideWindowText(properties)));
    ExpectTextsFitAndShow(properties, *language, "Properties");
    Screenshot(properties, "properties");
    CloseWith(properties, IDCANCEL);

    HWND about = OpenDialogByCommand(IDM_ABOUT);
    ASSERT_TRUE(about);
    EXPECT_EQ(Utf8(Caption(languages::CAPTION_ABOUT)), Utf8(e2e::WideWindowText(about)));
    ExpectTextsFitAndShow(about, *language, "About");
    CloseWith(about, IDOK);

    e2e::Press(soundPanel, IDC_RECORD);
    EXPECT_EQ(Utf8(Word(IDS_RECORDING)), Shows(soundPanel, IDC_DISPLAY, Word(IDS_RECORDING)));
    // The position runs on while recording: only its minutes and seconds are not known beforehand.
    std::wstring readout;
    EXPECT_TRUE(e2e::WaitUntil([&] {
        readout = Text(soundPanel, IDC_TRACK);
        return readout.size() > 6 && readout.substr(5) == L" " + Word(IDS_RECORD) + L" 01";
    })) << Utf8(readout);

    e2e::PostPress(soundPanel, IDC_STOP);
    HWND review = WaitForWindow(pid, L"#32770");
    ASSERT_TRUE(review) << "no record review dialog";
    EXPECT_EQ(Utf8(Caption(languages::CAPTION_RECORD_REVIEW)), Utf8(e2e::WideWindowText(review)));
    ExpectTextsFitAndShow(review, *language, "Record review");
    CloseWith(review, IDCANCEL);
    EXPECT_EQ(Utf8(Word(IDS_EMPTY)), Shows(soundPanel, IDC_DISPLAY, Word(IDS_EMPTY))) << "the recording was dropped";

    Screenshot(mainWindow, "main");
}
