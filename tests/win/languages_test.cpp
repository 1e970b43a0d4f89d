// The language versions of the translated resources, read straight from the built resources by
// language id: each has every dialog shaped like the English one, the tray menu and strings 1 to
// 13, with the texts its users must read, all of which survive the language's ANSI code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/languages/languages.h"

namespace {

using languages::Language;

HMODULE Module()
{
    return GetModuleHandleW(nullptr);
}

std::string Utf8(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::string Hex(LANGID id)
{
    std::ostringstream out;
    out << "0x" << std::hex << std::setw(4) << std::setfill('0') << id;
    return out.str();
}

// A translated resource: its type and name, and how a failure names it.
struct Translated {
    LPCWSTR type;
    LPCWSTR name;
    const char* label;
};

const Translated kDialogs[] = {
    {MAKEINTRESOURCEW(5), L"ABOUTBOX", "dialog ABOUTBOX"},
    {MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(IDD_MIDIPLAYLIST), "dialog 108"},
    {MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(IDD_CDPLAYLIST), "dialog 109"},
    {MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(IDD_SOUNDPLAYLIST), "dialog 110"},
    {MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(IDD_RECORDREVIEW), "dialog 123"},
    {MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(IDD_PROPERTIES), "dialog 159"},
};
// The caption each of kDialogs must have.
const int kCaptionOfDialog[] = {languages::CAPTION_ABOUT,          languages::CAPTION_MIDI_PLAYLIST,
                                languages::CAPTION_CD_PLAYLIST,    languages::CAPTION_SOUND_PLAYLIST,
                                languages::CAPTION_RECORD_REVIEW, languages::CAPTION_PROPERTIES};

const Translated kTrayMenu{MAKEINTRESOURCEW(4), L"TRAY", "menu TRAY"};
// Strings 1 to 13 lie in the block of ids 0 to 15, the resource named 1.
const Translated kStringBlock{MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(1), "string block 1"};

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found)
{
    reinterpret_cast<std::vector<LANGID>*>(found)->push_back(language);
    return TRUE;
}

std::vector<LANGID> LanguagesOf(const Translated& resource)
{
    std::vector<LANGID> found;
    EnumResourceLanguagesW(Module(), resource.type, resource.name, CollectLanguage, reinterpret_cast<LONG_PTR>(&found));
    std::sort(found.begin(), found.end());
    return found;
}

// The bytes of the resource under exactly `language` (FindResourceEx alone would fall back to
// the neutral sublanguage); empty when it has none.
std::vector<BYTE> Bytes(const Translated& resource, LANGID language)
{
    std::vector<LANGID> present = LanguagesOf(resource);
    if (std::find(present.begin(), present.end(), language) == present.end()) return {};
    HRSRC found = FindResourceExW(Module(), resource.type, resource.name, language);
    if (!found) return {};
    auto data = static_cast<const BYTE*>(LockResource(LoadResource(Module(), found)));
    return data ? std::vector<BYTE>(data, data + SizeofResource(Module(), found)) : std::vector<BYTE>{};
}

// Reads a dialog template, plain or extended.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<BYTE>& bytes) : bytes_(bytes) {}

    WORD Word()
    {
        WORD value = 0;
        if (at_ + 2 <= bytes_.size()) std::memcpy(&value, &bytes_[at_], 2);
        at_ += 2;
        return value;
    }
    DWORD Dword()
    {
        DWORD low = Word();
        return low | static_cast<DWORD>(Word()) << 16;
    }
    BYTE Byte() { return at_ < bytes_.size() ? bytes_[at_++] : 0; }
    std::wstring Text()
    {
        std::wstring text;
        for (WORD c = Word(); c != 0 && at_ <= bytes_.size(); c = Word()) text.push_back(static_cast<wchar_t>(c));
        return text;
    }
    // A name or an ordinal; an ordinal comes back as "#<number>".
    std::wstring NameOrOrdinal()
    {
        std::size_t start = at_;
        WORD first = Word();
        if (first == 0xFFFF) return L"#" + std::to_wstring(Word());
        at_ = start;
        return Text();
    }
    void AlignToDword() { at_ = (at_ + 3) & ~static_cast<std::size_t>(3); }
    bool Overrun() const { return at_ > bytes_.size(); }

private:
    const std::vector<BYTE>& bytes_;
    std::size_t at_ = 0;
};

struct Control {
    DWORD style = 0;
    DWORD id = 0;
    std::wstring className;  // "#128" for the predefined button class, and so on
    std::wstring text;
};

struct Dialog {
    bool valid = false;
    DWORD style = 0;
    std::wstring caption;
    int points = 0;
    std::wstring face;
    std::vector<Control> controls;
};

Dialog ReadDialog(const std::vector<BYTE>& bytes)
{
    Dialog dialog;
    if (bytes.size() < 18) return dialog;
    TemplateReader in(bytes);
    WORD version = in.Word();
    WORD signature = in.Word();
    bool extended = version == 1 && signature == 0xFFFF;
    WORD count = 0;
    if (extended) {
        in.Dword();  // help id
        in.Dword();  // extended style
        dialog.style = in.Dword();
    } else {
        dialog.style = version | static_cast<DWORD>(signature) << 16;
        in.Dword();  // extended style
    }
    count = in.Word();
    for (int i = 0; i < 4; ++i) in.Word();  // x, y, cx, cy
    in.NameOrOrdinal();                    // menu
    in.NameOrOrdinal();                    // class
    dialog.caption = in.Text();
    if (dialog.style & DS_SETFONT) {
        dialog.points = in.Word();
        if (extended) {
            in.Word();  // weight
            in.Byte();  // italic
            in.Byte();  // character set
        }
        dialog.face = in.Text();
    }
    for (WORD i = 0; i < count; ++i) {
        in.AlignToDword();
        Control control;
        if (extended) {
            in.Dword();  // help id
            in.Dword();  // extended style
            control.style = in.Dword();
        } else {
            control.style = in.Dword();
            in.Dword();  // extended style
        }
        for (int j = 0; j < 4; ++j) in.Word();  // x, y, cx, cy
        control.id = extended ? in.Dword() : in.Word();
        control.className = in.NameOrOrdinal();
        control.text = in.NameOrOrdinal();
        WORD extra = in.Word();
        for (WORD j = 0; j < extra; ++j) in.Byte();
        dialog.controls.push_back(control);
    }
    dialog.valid = !in.Overrun();
    return dialog;
}

// What makes a control the control it is, apart from its text: its class, the type bits of its
// style within that class, and whether it shows.
std::string KindOf(const Control& control)
{
    DWORD type = 0;
    if (control.className == L"#128") type = control.style & BS_TYPEMASK;
    if (control.className == L"#130") type = control.style & SS_TYPEMASK;
    if (control.className == L"#131") type = control.style & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL);
    if (control.className == L"#133") type = control.style & 3;  // simple, drop-down or drop-down list
    std::ostringstream out;
    out << Utf8(control.className) << " type " << type << ((control.style & WS_VISIBLE) ? " shown" : " hidden");
    return out.str();
}

struct MenuItem {
    UINT id;
    std::wstring text;
};

// The tray menu's pop-up and its items, as the menu built from the template holds them.
bool ReadTrayMenu(const std::vector<BYTE>& bytes, std::wstring* popupText, std::vector<MenuItem>* items)
{
    HMENU menu = bytes.empty() ? nullptr : LoadMenuIndirectW(bytes.data());
    if (!menu) return false;
    wchar_t text[256] = {};
    GetMenuStringW(menu, 0, text, static_cast<int>(std::size(text)), MF_BYPOSITION);
    *popupText = text;
    HMENU popup = GetSubMenu(menu, 0);
    bool ok = GetMenuItemCount(menu) == 1 && popup;
    for (int i = 0; popup && i < GetMenuItemCount(popup); ++i) {
        wchar_t item[256] = {};
        GetMenuStringW(popup, static_cast<UINT>(i), item, static_cast<int>(std::size(item)), MF_BYPOSITION);
        items->push_back({GetMenuItemID(popup, i), item});
    }
    DestroyMenu(menu);
    return ok;
}

// The sixteen strings of a string-table block: each a length and that many UTF-16 units.
std::vector<std::wstring> ReadStringBlock(const std::vector<BYTE>& bytes)
{
    std::vector<std::wstring> strings;
    TemplateReader in(bytes);
    for (int i = 0; i < 16; ++i) {
        WORD length = in.Word();
        std::wstring text;
        for (WORD j = 0; j < length; ++j) text.push_back(static_cast<wchar_t>(in.Word()));
        strings.push_back(in.Overrun() ? L"(cut short)" : text);
    }
    return strings;
}

// True when the text comes back unchanged from the code page, with no character replaced.
bool SurvivesCodePage(const std::wstring& text, UINT codePage)
{
    if (text.empty()) return true;
    BOOL replaced = FALSE;
    char narrow[1024] = {};
    int size = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.c_str(), static_cast<int>(text.size()), narrow,
                                   sizeof(narrow), nullptr, &replaced);
    if (size <= 0 || replaced) return false;
    wchar_t wide[1024] = {};
    int back = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, narrow, size, wide, static_cast<int>(std::size(wide)));
    return std::wstring(wide, static_cast<std::size_t>(back > 0 ? back : 0)) == text;
}

class LanguageResources : public ::testing::TestWithParam<LANGID> {
protected:
    void SetUp() override
    {
        language = languages::LanguageOfResources(GetParam());
        ASSERT_NE(nullptr, language) << "no language holds resources under " << Hex(GetParam());
    }
    const Language* language = nullptr;
};

std::string ParamName(const ::testing::TestParamInfo<LANGID>& info)
{
    const Language* language = languages::LanguageOfResources(info.param);
    std::string name = Hex(info.param) + "_" + (language ? language->tag : "none");
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

}  // namespace

TEST_P(LanguageResources, DialogsHaveTheControlsOfEnglishAndTheirOwnCaptionAndFont)
{
    const LANGID english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    for (std::size_t d = 0; d < std::size(kDialogs); ++d) {
        const Translated& resource = kDialogs[d];
        SCOPED_TRACE(testing::Message() << resource.label << " in " << Hex(GetParam()));
        Dialog reference = ReadDialog(Bytes(resource, english));
        Dialog dialog = ReadDialog(Bytes(resource, GetParam()));
        ASSERT_TRUE(reference.valid) << "English";
        ASSERT_TRUE(dialog.valid) << "missing or malformed";
        EXPECT_EQ(reference.style, dialog.style);
        EXPECT_EQ(Utf8(language->captions[kCaptionOfDialog[d]]), Utf8(dialog.caption));
        EXPECT_EQ(Utf8(language->fontFace), Utf8(dialog.face));
        EXPECT_EQ(language->fontPoints, dialog.points);
        ASSERT_EQ(reference.controls.size(), dialog.controls.size());
        for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
            const Control& want = reference.controls[i];
            const Control& got = dialog.controls[i];
            EXPECT_EQ(want.id, got.id) << "control " << i;
            EXPECT_EQ(KindOf(want), KindOf(got)) << "control " << want.id;
            EXPECT_EQ(want.text.empty(), got.text.empty()) << "control " << want.id << ": " << Utf8(got.text);
            // The icon, the version line and the separator are the same in every language.
            if (want.text.rfind(L"#", 0) == 0 || want.text == L"Velutra 3.00" || want.text.empty()) {
                EXPECT_EQ(Utf8(want.text), Utf8(got.text)) << "control " << want.id;
            }
        }
    }
}

TEST_P(LanguageResources, TrayMenuHasItsThreeItems)
{
    std::wstring popup;
    std::vector<MenuItem> items;
    ASSERT_TRUE(ReadTrayMenu(Bytes(kTrayMenu, GetParam()), &popup, &items)) << "menu TRAY missing or malformed";
    EXPECT_EQ("&File", Utf8(popup));
    ASSERT_EQ(3u, items.size());
    const UINT ids[] = {IDM_OPEN, IDM_ABOUT, IDM_EXIT};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(ids[i], items[i].id) << "item " << i;
        EXPECT_EQ(Utf8(language->trayItems[i]), Utf8(items[i].text)) << "item " << ids[i];
    }
}

TEST_P(LanguageResources, StringsOneToThirteenHaveTheirTexts)
{
    std::vector<std::wstring> strings = ReadStringBlock(Bytes(kStringBlock, GetParam()));
    ASSERT_EQ(16u, strings.size());
    EXPECT_EQ(L"", strings[0]) << "string 0";
    for (std::size_t id = 1; id <= 13; ++id) {
        EXPECT_FALSE(strings[id].empty()) << "string " << id;
        EXPECT_EQ(Utf8(language->strings[id - 1]), Utf8(strings[id])) << "string " << id;
    }
    EXPECT_EQ(L"", strings[14]);
    EXPECT_EQ(L"", strings[15]);
}

// The program shows every text through the A functions, that is through the ANSI code page of
// the language's own locale.
TEST_P(LanguageResources, EveryTextSurvivesTheLanguagesCodePage)
{
    const UINT codePage = language->codePage;
    std::vector<std::pair<std::string, std::wstring>> texts;
    for (const Translated& resource : kDialogs) {
        Dialog dialog = ReadDialog(Bytes(resource, GetParam()));
        texts.push_back({std::string(resource.label) + " caption", dialog.caption});
        for (const Control& control : dialog.controls)
            if (control.text.rfind(L"#", 0) != 0)
                texts.push_back({std::string(resource.label) + " control " + std::to_string(control.id), control.text});
    }
    std::wstring popup;
    std::vector<MenuItem> items;
    ReadTrayMenu(Bytes(kTrayMenu, GetParam()), &popup, &items);
    for (const MenuItem& item : items) texts.push_back({"tray item " + std::to_string(item.id), item.text});
    std::vector<std::wstring> strings = ReadStringBlock(Bytes(kStringBlock, GetParam()));
    for (std::size_t id = 1; id < strings.size(); ++id) texts.push_back({"string " + std::to_string(id), strings[id]});
    ASSERT_GT(texts.size(), 60u);
    for (const auto& [where, text] : texts)
        EXPECT_TRUE(SurvivesCodePage(text, codePage)) << where << " \"" << Utf8(text) << "\" in code page " << codePage;
}

// A regional copy is the same bytes as its language's own version, so there is nothing to keep
// in step by hand.
TEST_P(LanguageResources, RegionalCopyIsItsLanguagesOwnVersion)
{
    if (GetParam() == language->id) return;
    std::vector<Translated> all(std::begin(kDialogs), std::end(kDialogs));
    all.push_back(kTrayMenu);
    all.push_back(kStringBlock);
    for (const Translated& resource : all) {
        std::vector<BYTE> own = Bytes(resource, language->id);
        EXPECT_FALSE(own.empty()) << resource.label;
        EXPECT_TRUE(own == Bytes(resource, GetParam())) << resource.label << " differs from " << language->tag;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryVersion, LanguageResources,
                         ::testing::ValuesIn(languages::TranslatedResourceLanguages()), ParamName);

// Nothing translated lies under LANG_NEUTRAL, which the lookup would serve to every language, nor
// under an id of no version: each exists under exactly the twelve ids and their regional copies.
TEST(LanguageSet, TranslatedResourcesExistUnderExactlyTheirLanguageIds)
{
    auto expected = languages::TranslatedResourceLanguages();
    std::vector<LANGID> want(expected.begin(), expected.end());
    std::sort(want.begin(), want.end());
    std::vector<Translated> all(std::begin(kDialogs), std::end(kDialogs));
    all.push_back(kTrayMenu);
    all.push_back(kStringBlock);
    for (const Translated& resource : all) {
        std::vector<LANGID> got = LanguagesOf(resource);
        EXPECT_EQ(want, got) << resource.label;
        EXPECT_EQ(0, std::count(got.begin(), got.end(), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL))) << resource.label;
    }
}

TEST(LanguageSet, PanelsMainMenuAndAcceleratorsAreEnglishOnly)
{
    const std::vector<LANGID> english{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)};
    const Translated englishOnly[] = {
        {MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(IDD_MAINPANEL), "dialog 103"},
        {MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(IDD_CDPANEL), "dialog 104"},
        {MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(IDD_MIDIPANEL), "dialog 105"},
        {MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(IDD_SOUNDPANEL), "dialog 106"},
        {MAKEINTRESOURCEW(4), L"MAIN", "menu MAIN"},
        {MAKEINTRESOURCEW(9), L"MAIN", "accelerators MAIN"},
    };
    for (const Translated& resource : englishOnly) EXPECT_EQ(english, LanguagesOf(resource)) << resource.label;
}
