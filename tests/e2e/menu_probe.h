// What the menu probe and the test that sets it share: the message that asks it to read a menu
// and the block of shared memory it hands the items over in.
#pragma once

#include <windows.h>

namespace e2e {

// Sent to a shown menu window: wParam is the asking process's id, lParam 1 to close the menu too.
constexpr wchar_t kMenuProbeMessage[] = L"VelutraMenuProbe";
// The shared block is named this plus the asking process's id.
constexpr wchar_t kMenuProbeBlockPrefix[] = L"VelutraMenuProbe-";

struct MenuProbeBlock {
    LONG itemCount;       // -1 until the probe has read the menu
    wchar_t items[4096];  // each item's text, ended by a line feed
};

}  // namespace e2e
