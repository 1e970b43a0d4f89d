// What the player journeys share: one start of the real program, its panel, message boxes, dialogs
// and file dialogs worked as a user would, a virtual device's log, and the step each failure names.
#pragma once

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/e2e/driver.h"

namespace journey {

using namespace e2e;

inline std::vector<std::string> LogLines(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line.substr(0, line.find('\r')));
    return lines;
}

class Journey : public VelutraTest {
protected:
    // Names the step that every failure belongs to, until the next step.
    void Step(const char* name) { trace.reset(), trace.emplace(__FILE__, __LINE__, std::string("step: ") + name); }

    void Launch(Panel which, const std::string& words = "")
    {
        ASSERT_TRUE(main = StartAndWait(words));
        pid = programs.back().pid;
        panel = FindPanel(main, which), banner = FindPanel(main, Panel::Main);
        ASSERT_TRUE(panel && banner);
    }
    std::string Text(int id) { return WindowText(GetDlgItem(panel, id)); }
    bool Shows(int id, const std::string& text) { return WaitUntil([&] { return Text(id) == text; }); }

    // A press of the panel's control (handled on return), and the read-out it leads to.
    void Tap(int id, const char* readout = nullptr)
    {
        Press(panel, id);
        if (readout) EXPECT_TRUE(Shows(IDC_TRACK, readout)) << "after " << id << ": " << Text(IDC_TRACK);
    }
    // The command `id` sent to a window (none: the box comes by itself): the message box it shows,
    // answered; its text.
    std::string Box(HWND window, int id, int answer = IDOK)
    {
        if (window) PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
        HWND box = WaitForMessageBox(pid);
        std::string text = box ? MessageBoxText(box) : "(no message box)";
        if (box) PressMessageBoxButton(box, answer);
        return text;
    }
    bool NoBox() { return WaitForMessageBox(pid, 0) == nullptr; }

    HWND Dialog(const char* title)
    {
        std::vector<HWND> shown;
        WaitUntil([&] { return !(shown = ShownWindows(pid, "#32770", title)).empty(); });
        return shown.empty() ? nullptr : shown.front();
    }
    bool Ends(HWND dialog, int id)
    {
        PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0);
        return WaitUntil([&] { return !IsWindow(dialog); });
    }
    // The Open or Save As dialog answered with a name typed into it and OK, handled on return.
    bool Answer(const char* title, const std::string& name)
    {
        HWND dialog = Dialog(title), edit = nullptr;
        DWORD_PTR r = 0;
        return dialog && WaitUntil([&] { return (edit = GetDlgItem(dialog, 0x47C)) || (edit = GetDlgItem(dialog, 0x480)); }) &&
               SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()), SMTO_NORMAL, kWaitMs, &r) &&
               SendMessageTimeoutA(dialog, WM_COMMAND, IDOK, 0, SMTO_NORMAL, kWaitMs, &r);
    }

    // The playlist editor, and files of a folder added in it through the Open dialog.
    HWND Editor(const char* title)
    {
        PostMessageA(panel, WM_COMMAND, IDC_PLAYLIST, 0);
        return Dialog(title);
    }
    bool Add(HWND editor, const std::string& folder, const std::string& quotedNames, int count)
    {
        PostMessageA(editor, WM_COMMAND, IDC_ADD, 0);
        return Answer("Open", folder) && Answer("Open", quotedNames) && WaitUntil([&] { return ListCount(editor) == count; });
    }
    int ListCount(HWND editor) { return static_cast<int>(SendDlgItemMessageA(editor, IDC_LIST, LB_GETCOUNT, 0, 0)); }

    HWND main = nullptr, panel = nullptr, banner = nullptr;
    DWORD pid = 0;
    std::optional<testing::ScopedTrace> trace;
};

}  // namespace journey
