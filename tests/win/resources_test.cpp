// The built resources in every language, read by language id: each translated dialog, menu and
// string block exists under the twelve versions and their regional copies, shaped like the English
// one and holding its version's captions and strings; no two controls of a dialog share an access key.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "tests/languages/languages.h"

namespace {

constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const std::vector<std::wstring> kEnglishOnly{L"#103", L"#104", L"#105", L"#106", L"MAIN"};  // panels, main menu

std::string Utf8(const std::wstring& text)
{
    char out[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out, sizeof(out) - 1, nullptr, nullptr);
    return out;
}

using Names = std::map<std::wstring, std::vector<LANGID>>;  // "#108" or "ABOUTBOX": its languages

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD id, LONG_PTR ids)
{
    reinterpret_cast<std::vector<LANGID>*>(ids)->push_back(id);
    return TRUE;
}

BOOL CALLBACK AddName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR names)
{
    std::wstring key = IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : name;
    std::vector<LANGID>& ids = (*reinterpret_cast<Names*>(names))[key];
    EnumResourceLanguagesW(module, type, name, AddLanguage, reinterpret_cast<LONG_PTR>(&ids));
    std::sort(ids.begin(), ids.end());
    return TRUE;
}

Names ResourcesOf(LPCWSTR type)
{
    Names names;
    EnumResourceNamesW(GetModuleHandleW(nullptr), type, AddName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

const void* Data(LPCWSTR type, const std::wstring& name, LANGID id)
{
    HRSRC found = FindResourceExW(GetModuleHandleW(nullptr), type, name.c_str(), id);
    return found ? LockResource(LoadResource(GetModuleHandleW(nullptr), found)) : nullptr;
}

INT_PTR CALLBACK Quiet(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// A dialog as its template builds it: the caption, then each control's "id class|text".
std::vector<std::wstring> Show(const std::wstring& name, LANGID id)
{
    static HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    auto data = static_cast<LPCDLGTEMPLATEW>(Data(MAKEINTRESOURCEW(5), name, id));
    HWND dialog = data ? CreateDialogIndirectParamW(GetModuleHandleW(nullptr), data, parent, Quiet, 0) : nullptr;
    std::vector<std::wstring> shown;
    wchar_t text[512], cls[32];
    for (HWND window = dialog; window; window = GetWindow(window, window == dialog ? GW_CHILD : GW_HWNDNEXT)) {
        GetWindowTextW(window, text, 512);
        GetClassNameW(window, cls, 32);
        shown.push_back(window == dialog ? text : std::to_wstring(GetDlgCtrlID(window)) + L" " + cls + L"|" + text);
    }
    if (dialog) DestroyWindow(dialog);
    return shown;
}

// The sixteen strings of a string-table block.
std::vector<std::wstring> Strings(const std::wstring& block, LANGID id)
{
    std::vector<std::wstring> strings;
    for (auto at = static_cast<const WCHAR*>(Data(MAKEINTRESOURCEW(6), block, id)); at && strings.size() < 16;
         at += 1 + *at)
        strings.emplace_back(at + 1, *at);
    return strings;
}

std::vector<UINT> MenuIds(const std::wstring& name, LANGID id)
{
    std::vector<UINT> ids;
    HMENU menu = LoadMenuIndirectW(Data(MAKEINTRESOURCEW(4), name, id));
    for (HMENU popup = GetSubMenu(menu, 0); popup && static_cast<int>(ids.size()) < GetMenuItemCount(popup);)
        ids.push_back(GetMenuItemID(popup, static_cast<int>(ids.size())));
    DestroyMenu(menu);
    return ids;
}

// What a control's text or a string has, apart from its words: whether there are any.
std::vector<bool> Filled(std::vector<std::wstring> texts, bool dialog)
{
    std::vector<bool> filled;
    for (const std::wstring& text : texts)
        filled.push_back(!text.empty() && (!dialog || text.back() != L'|'));
    return filled;
}

std::vector<std::wstring> Kinds(std::vector<std::wstring> controls)
{
    for (std::wstring& control : controls)
        control = control.find(L'|') == std::wstring::npos ? L"" : control.substr(0, control.find(L'|'));
    return controls;
}

wchar_t AccessKey(const std::wstring& text)
{
    for (std::size_t i = text.find(L'|') + 1; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        wchar_t key[2] = {text[i + 1], 0};
        if (key[0] == L'&') {
            ++i;
            continue;
        }
        CharUpperW(key);
        return key[0];
    }
    return 0;
}

}  // namespace

TEST(Resources, EveryLanguageHoldsEveryTranslatedResourceShapedLikeEnglish)
{
    auto translated = languages::TranslatedResourceLanguages();
    std::vector<LANGID> all(translated.begin(), translated.end());
    std::sort(all.begin(), all.end());
    for (int type : {4, 5, 6}) {
        for (const auto& [name, ids] : ResourcesOf(MAKEINTRESOURCEW(type))) {
            bool englishOnly = std::count(kEnglishOnly.begin(), kEnglishOnly.end(), name) > 0;
            EXPECT_EQ(englishOnly ? std::vector<LANGID>{kEnglish} : all, ids) << "type " << type << " " << Utf8(name);
            for (LANGID id : ids) {
                SCOPED_TRACE(testing::Message() << "type " << type << " " << Utf8(name) << " in 0x" << std::hex << id);
                if (type == 4) {
                    EXPECT_EQ(MenuIds(name, kEnglish), MenuIds(name, id));
                } else if (type == 6) {
                    EXPECT_EQ(Filled(Strings(name, kEnglish), false), Filled(Strings(name, id), false));
                }
                if (type != 5) continue;
                std::vector<std::wstring> english = Show(name, kEnglish), shown = Show(name, id);
                ASSERT_FALSE(shown.empty()) << "the template builds no dialog";
                EXPECT_EQ(Kinds(english), Kinds(shown)) << "controls";
                EXPECT_EQ(Filled(english, true), Filled(shown, true)) << "controls with a text";
            }
        }
    }
    const std::pair<const wchar_t*, int> captioned[] = {
        {L"ABOUTBOX", languages::CAPTION_ABOUT},         {L"#108", languages::CAPTION_MIDI_PLAYLIST},
        {L"#109", languages::CAPTION_CD_PLAYLIST},       {L"#110", languages::CAPTION_SOUND_PLAYLIST},
        {L"#123", languages::CAPTION_RECORD_REVIEW},     {L"#159", languages::CAPTION_PROPERTIES}};
    for (LANGID id : all) {
        const languages::Language* language = languages::LanguageOfResources(id);
        ASSERT_TRUE(language) << std::hex << id;
        SCOPED_TRACE(testing::Message() << language->tag << " under 0x" << std::hex << id);
        for (const auto& [name, caption] : captioned)
            EXPECT_EQ(Utf8(language->captions[caption]), Utf8(Show(name, id).at(0))) << Utf8(name);
        std::vector<std::wstring> strings = Strings(L"#1", id);
        for (std::size_t i = 1; i <= 13 && strings.size() == 16; ++i)
            EXPECT_EQ(Utf8(language->strings[i - 1]), Utf8(strings[i])) << "string " << i;
    }
}

// The review's note names its three buttons by their keys: its repeats are meant.
TEST(Resources, NoTwoControlsOfADialogShareAnAccessKeyInAnyLanguage)
{
    for (const auto& [name, ids] : ResourcesOf(MAKEINTRESOURCEW(5))) {
        for (LANGID id : ids) {
            std::map<wchar_t, std::wstring> taken;
            std::vector<std::wstring> shown = Show(name, id);
            for (std::size_t i = 1; i < shown.size(); ++i) {
                wchar_t key = AccessKey(shown[i]);
                if (!key || (name == L"#123" && shown[i].find(L" Static|") != std::wstring::npos)) continue;
                auto [first, fresh] = taken.emplace(key, shown[i]);
                EXPECT_TRUE(fresh) << "dialog " << Utf8(name) << " in 0x" << std::hex << id << ": \""
                                   << Utf8(first->second) << "\" and \"" << Utf8(shown[i]) << "\"";
            }
        }
    }
}
