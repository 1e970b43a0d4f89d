// Recognises "TRAYAPP" and "CD" as the whole argument string, in any case.
#include "model/start_words.h"

namespace {

bool EqualsIgnoringCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        char ca = *a, cb = *b;
        if (ca >= 'a' && ca <= 'z') ca = static_cast<char>(ca - 'a' + 'A');
        if (cb >= 'a' && cb <= 'z') cb = static_cast<char>(cb - 'a' + 'A');
        if (ca != cb) return false;
    }
    return *a == *b;
}

}  // namespace

const char* SkipLeadingBlanks(const char* args)
{
    if (!args) return "";
    while (*args >= 1 && *args <= 32) ++args;
    return args;
}

StartMode ParseStartWords(const char* args)
{
    const char* words = SkipLeadingBlanks(args);
    if (EqualsIgnoringCase(words, "TRAYAPP")) return START_TRAY;
    if (EqualsIgnoringCase(words, "CD")) return START_CD;
    return START_NORMAL;
}
