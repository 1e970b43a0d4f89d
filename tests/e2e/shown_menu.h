// Reading a menu that the program shows, through the menu probe hooked onto its thread.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

// The item texts of a shown menu window (class "#32768") of another process, as that process
// holds them; `close` closes the menu afterwards. Nothing when they could not be read.
std::optional<std::vector<std::wstring>> ShownMenuItems(HWND menuWindow, bool close);

}  // namespace e2e
