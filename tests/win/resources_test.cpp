// The built resources in every language, read by language id: each translated dialog, menu and string
// block under every version and regional copy, shaped like English; each version's strings as its
// users must read them; no access key twice in a dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "tests/languages/languages.h"

namespace {

using Names = std::map<std::wstring, std::vector<LANGID>>;  // "#108" or "ABOUTBOX": its languages

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD id, LONG_PTR ids)
{
    reinterpret_cast<std::vector<LANGID>*>(ids)->push_back(id);
    return TRUE;
}

BOOL CALLBACK AddName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR names)
{
    std::wstring key = IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : name;
    std::vector<LANGID>* ids = &(*reinterpret_cast<Names*>(names))[key];
    EnumResourceLanguagesW(module, type, name, AddLanguage, reinterpret_cast<LONG_PTR>(ids));
    return TRUE;
}

Names ResourcesOf(int type)
{
    Names names;
    EnumResourceNamesW(nullptr, MAKEINTRESOURCEW(type), AddName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

// What a translation keeps of a resource: each control's "id class" ("&" marks a text, which follows
// "|" when asked for), which strings of a block exist.
std::vector<std::wstring> Shape(int type, const std::wstring& name, LANGID id, bool withTexts = false)
{
    HRSRC found = FindResourceExW(nullptr, MAKEINTRESOURCEW(type), name.c_str(), id);
    const void* data = found ? LockResource(LoadResource(nullptr, found)) : nullptr;
    std::vector<std::wstring> shape;
    HWND dialog = type == 5 && data ? CreateDialogIndirectParamW(nullptr, static_cast<LPCDLGTEMPLATEW>(data),
                                                                 GetDesktopWindow(), nullptr, 0) : nullptr;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        wchar_t text[512], cls[32];
        GetWindowTextW(control, text, 512);
        GetClassNameW(control, cls, 32);
        shape.push_back(std::to_wstring(GetDlgCtrlID(control)) + L" " + cls + (*text ? L"&" : L"") +
                        (withTexts ? L"|" + std::wstring(text) : L""));
    }
    if (dialog) DestroyWindow(dialog);
    if (type == 4 && data) shape.push_back(L"menu");
    for (auto at = static_cast<const WCHAR*>(data); type == 6 && at && shape.size() < 16; at += 1 + *at)
        shape.push_back(!*at ? L"" : withTexts ? L"&|" + std::wstring(at + 1, *at) : L"&");
    return shape;
}

}  // namespace

TEST(Resources, EveryLanguageHoldsEveryTranslatedResourceShapedLikeEnglish)
{
    const LANGID english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    const std::wstring englishOnly[] = {L"#103", L"#104", L"#105", L"#106", L"MAIN"};  // panels, main menu
    // The string block every version holds: the twelve, a copy for the other regions of each but English
    // and Chinese, and a copy each for Chinese in Hong Kong and Singapore.
    const std::vector<LANGID> all = ResourcesOf(6)[L"#1"];
    EXPECT_EQ(23u, all.size());
    for (const languages::Language& language : languages::kLanguages) {
        EXPECT_EQ(1, std::count(all.begin(), all.end(), language.id)) << language.tag;
        const std::vector<std::wstring> strings = Shape(6, L"#1", language.id, true);  // ids 0 to 15
        for (std::size_t i = 0; i < language.strings.size(); ++i)
            EXPECT_TRUE(strings.at(i + 1) == L"&|" + std::wstring(language.strings[i])) << language.tag << " " << i + 1;
    }
    for (int type : {4, 5, 6}) {
        for (const auto& [name, ids] : ResourcesOf(type)) {
            bool onlyEnglish = std::count(std::begin(englishOnly), std::end(englishOnly), name) > 0;
            EXPECT_EQ(onlyEnglish ? std::vector<LANGID>{english} : all, ids) << "type " << type << " " << name;
            std::vector<std::wstring> shape = Shape(type, name, english);
            EXPECT_FALSE(shape.empty()) << "type " << type << " " << name;
            for (LANGID id : ids)
                EXPECT_TRUE(shape == Shape(type, name, id)) << type << " " << name << " in " << std::hex << id;
        }
    }
}

// The review's note names its three buttons by their keys: its repeats are meant.
TEST(Resources, NoTwoControlsOfADialogShareAnAccessKeyInAnyLanguage)
{
    for (const auto& [name, ids] : ResourcesOf(5)) {
        for (LANGID id : ids) {
            std::map<wchar_t, std::wstring> taken;
            for (const std::wstring& control : Shape(5, name, id, true)) {
                std::size_t at = control.find(L'|');
                do at = control.find(L'&', at + 1);
                while (at != std::wstring::npos && control[at + 1] == L'&' && ++at);
                if (at == std::wstring::npos || (name == L"#123" && control.find(L" Static") != std::wstring::npos))
                    continue;
                wchar_t key[2] = {control[at + 1], 0};
                auto [first, fresh] = taken.emplace(CharUpperW(key)[0], control);
                EXPECT_TRUE(fresh) << name << " in " << std::hex << id << ": " << first->second << " and " << control;
            }
        }
    }
}
