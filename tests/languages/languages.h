// The twelve language versions of the program's texts as users must read them; regions served one.
#pragma once

#include <windows.h>

#include <array>
#include <string>

namespace languages {

enum Caption : int {  // indexes into Language::captions
    CAPTION_ABOUT, CAPTION_MIDI_PLAYLIST, CAPTION_CD_PLAYLIST, CAPTION_SOUND_PLAYLIST, CAPTION_RECORD_REVIEW,
    CAPTION_PROPERTIES, CAPTION_COUNT};

struct Language {
    const char* tag;  // "ja-JP", also the name of its resource file and, as "ja_JP", of its locale
    LANGID id;        // the language id of its resources
    std::array<const wchar_t*, 13> strings;  // string table ids 1 to 13
    std::array<const wchar_t*, 3> trayItems;  // "TRAY": 101, 303, 106
    std::array<const wchar_t*, CAPTION_COUNT> captions;
};

extern const std::array<Language, 12> kLanguages;  // English (United States) first

// A locale with no version of its own, served another's texts.
struct Region {
    const char* name;  // "de-AT", used in test names
    const char* servedTag;
};

extern const std::array<Region, 8> kRegions;

const Language* FindLanguage(const std::string& tag);  // null for a tag the table lacks

}  // namespace languages
