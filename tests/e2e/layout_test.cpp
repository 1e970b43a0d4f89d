// Placement of the main window, its four panels and their controls, and the stacking of the
// player panels for every combination of the view buttons.
#include "tests/e2e/driver.h"

#include "resources/resource.h"

namespace {

using e2e::Panel;

// A tabled control's place in its panel's client area, in pixels.
struct Placed {
    int id;
    int left, top, width, height;
};

const Placed kMainPanelControls[] = {
    {1026, 125, 2, 156, 26}, {1004, 0, 42, 64, 23},   {1018, 340, 42, 28, 23}, {1019, 370, 42, 21, 23},
    {1000, 99, 41, 48, 25},  {1001, 151, 41, 48, 25}, {1002, 202, 41, 48, 25}, {1003, 253, 41, 48, 25},
};
const Placed kCdPanelControls[] = {
    {1013, 10, 6, 186, 27},  {1020, 231, 9, 145, 19},  {1016, 231, 28, 145, 20}, {1012, 61, 58, 35, 30},
    {1010, 98, 58, 36, 30},  {1014, 136, 58, 35, 30},  {1009, 174, 58, 35, 30},  {1005, 212, 58, 35, 30},
    {1008, 250, 66, 35, 21}, {1024, 288, 66, 60, 21},  {1007, 350, 66, 35, 21},
};
const Placed kMidiPanelControls[] = {
    {1013, 19, 10, 146, 40}, {1020, 231, 10, 145, 19}, {1016, 231, 29, 145, 20}, {1012, 95, 59, 35, 30},
    {1010, 133, 59, 35, 30}, {1009, 171, 59, 35, 30},  {1005, 208, 59, 35, 30},  {1008, 250, 67, 35, 21},
    {1024, 288, 67, 60, 21}, {1007, 350, 67, 35, 21},
};
const Placed kSoundPanelControls[] = {
    {1013, 6, 7, 121, 82},   {1020, 231, 10, 145, 19}, {1016, 231, 29, 145, 20}, {1012, 135, 31, 35, 30},
    {1010, 173, 31, 35, 30}, {1006, 135, 61, 35, 30},  {1009, 173, 61, 35, 30},  {1005, 211, 61, 35, 30},
    {1008, 250, 67, 35, 21}, {1024, 288, 67, 60, 21},  {1007, 350, 67, 35, 21},
};

template <std::size_t N>
void ExpectControlsPlaced(HWND panel, const Placed (&rows)[N], const char* panelName)
{
    for (const Placed& row : rows) {
        HWND control = GetDlgItem(panel, row.id);
        ASSERT_NE(nullptr, control) << panelName << " has no control " << row.id;
        RECT r = e2e::WindowRectIn(control, panel);
        EXPECT_EQ(row.left, r.left) << panelName << " control " << row.id << " left";
        EXPECT_EQ(row.top, r.top) << panelName << " control " << row.id << " top";
        EXPECT_EQ(row.width, r.right - r.left) << panelName << " control " << row.id << " width";
        EXPECT_EQ(row.height, r.bottom - r.top) << panelName << " control " << row.id << " height";
        EXPECT_TRUE(e2e::HasVisibleStyle(control)) << panelName << " control " << row.id << " is hidden";
    }
}

// Where a panel sits in the main window's client area, and whether it is shown.
void ExpectPanelAt(HWND mainWindow, Panel panel, int top, int height)
{
    HWND window = e2e::FindPanel(mainWindow, panel);
    ASSERT_NE(nullptr, window) << "no " << e2e::PanelName(panel);
    RECT r = e2e::WindowRectIn(window, mainWindow);
    EXPECT_EQ(0, r.left) << e2e::PanelName(panel) << " left";
    EXPECT_EQ(top, r.top) << e2e::PanelName(panel) << " top";
    EXPECT_EQ(401, r.right - r.left) << e2e::PanelName(panel) << " width";
    EXPECT_EQ(height, r.bottom - r.top) << e2e::PanelName(panel) << " height";
    EXPECT_TRUE(e2e::HasVisibleStyle(window)) << e2e::PanelName(panel) << " is hidden";
}

void ExpectPanelHidden(HWND mainWindow, Panel panel)
{
    HWND window = e2e::FindPanel(mainWindow, panel);
    ASSERT_NE(nullptr, window) << "no " << e2e::PanelName(panel) << ": panels are never destroyed while running";
    EXPECT_FALSE(e2e::HasVisibleStyle(window)) << e2e::PanelName(panel) << " is shown";
}

// A player panel's top, or kHidden.
constexpr int kHidden = -1;

void ExpectPlayerStack(HWND mainWindow, int cdTop, int midiTop, int soundTop, int windowHeight)
{
    const struct {
        Panel panel;
        int top;
    } players[] = {{Panel::Cd, cdTop}, {Panel::Midi, midiTop}, {Panel::Sound, soundTop}};
    for (const auto& player : players) {
        if (player.top == kHidden)
            ExpectPanelHidden(mainWindow, player.panel);
        else
            ExpectPanelAt(mainWindow, player.panel, player.top, 98);
    }
    ExpectPanelAt(mainWindow, Panel::Main, 0, 72);
    RECT r = e2e::WindowRectIn(mainWindow, nullptr);
    EXPECT_EQ(401, r.right - r.left) << "main window width";
    EXPECT_EQ(windowHeight, r.bottom - r.top) << "main window height";
    EXPECT_EQ(100, r.left) << "the main window moved";
    EXPECT_EQ(100, r.top) << "the main window moved";
}

class Layout : public e2e::VelutraTest {};

TEST_F(Layout, DefaultStartPlacesWindowPanelsAndControls)
{
    HWND mainWindow = StartAndWait();
    ASSERT_NE(nullptr, mainWindow);
    RECT r = e2e::WindowRectIn(mainWindow, nullptr);
    EXPECT_EQ(100, r.left);
    EXPECT_EQ(100, r.top);
    EXPECT_EQ(401, r.right - r.left);
    EXPECT_EQ(366, r.bottom - r.top);
    EXPECT_TRUE(IsWindowVisible(mainWindow));
    LONG_PTR style = GetWindowLongPtrA(mainWindow, GWL_STYLE);
    EXPECT_EQ(WS_POPUP | WS_BORDER | WS_SYSMENU, style & (WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CAPTION))
        << "style " << std::hex << style;
    EXPECT_EQ(nullptr, GetMenu(mainWindow)) << "the main window carries no menu";
    EXPECT_EQ("Velutra", e2e::WindowText(mainWindow));

    ExpectPanelAt(mainWindow, Panel::Main, 0, 72);
    ExpectPanelAt(mainWindow, Panel::Cd, 72, 98);
    ExpectPanelAt(mainWindow, Panel::Midi, 170, 98);
    ExpectPanelAt(mainWindow, Panel::Sound, 268, 98);

    ExpectControlsPlaced(e2e::FindPanel(mainWindow, Panel::Main), kMainPanelControls, "MainPanel");
    ExpectControlsPlaced(e2e::FindPanel(mainWindow, Panel::Cd), kCdPanelControls, "CdPanel");
    ExpectControlsPlaced(e2e::FindPanel(mainWindow, Panel::Midi), kMidiPanelControls, "MidiPanel");
    ExpectControlsPlaced(e2e::FindPanel(mainWindow, Panel::Sound), kSoundPanelControls, "SoundPanel");

    // The two controls in no table keep their template place and stay hidden.
    HWND hiddenX = GetDlgItem(e2e::FindPanel(mainWindow, Panel::Main), IDC_HIDDEN_X);
    ASSERT_NE(nullptr, hiddenX);
    EXPECT_FALSE(e2e::HasVisibleStyle(hiddenX));
    HWND recordEnd = GetDlgItem(e2e::FindPanel(mainWindow, Panel::Sound), IDC_RECORDEND);
    ASSERT_NE(nullptr, recordEnd);
    EXPECT_FALSE(e2e::HasVisibleStyle(recordEnd));
}

TEST_F(Layout, PanelTextsComeFromTheTemplates)
{
    HWND mainWindow = StartAndWait();
    ASSERT_NE(nullptr, mainWindow);
    EXPECT_EQ("&Velutra", e2e::WindowText(GetDlgItem(e2e::FindPanel(mainWindow, Panel::Main), IDC_BANNER)));
    EXPECT_EQ("00:00 Track 01", e2e::WindowText(GetDlgItem(e2e::FindPanel(mainWindow, Panel::Cd), IDC_TRACK)));
    EXPECT_EQ("00:00 Music 01", e2e::WindowText(GetDlgItem(e2e::FindPanel(mainWindow, Panel::Midi), IDC_TRACK)));
    EXPECT_EQ("00:00 Sound 01", e2e::WindowText(GetDlgItem(e2e::FindPanel(mainWindow, Panel::Sound), IDC_TRACK)));
    EXPECT_EQ("EMPTY", e2e::WindowText(GetDlgItem(e2e::FindPanel(mainWindow, Panel::Sound), IDC_DISPLAY)));
}

TEST_F(Layout, HidingMidiMovesSoundUp)
{
    HWND mainWindow = StartAndWait();
    ASSERT_NE(nullptr, mainWindow);
    e2e::Press(e2e::FindPanel(mainWindow, Panel::Main), IDC_MIDI);
    ExpectPlayerStack(mainWindow, 72, kHidden, 170, 268);
}

// One walk through all eight combinations of the three view buttons, switching the players on and
// off in different orders; the stack is always CD, MIDI, Sound under the banner.
TEST_F(Layout, EveryCombinationStacksInFixedOrder)
{
    struct Step {
        int button;
        const char* shown;  // after the press
        int cdTop, midiTop, soundTop, height;
    };
    const Step walk[] = {
        {IDC_SOUND, "CD MIDI", 72, 170, kHidden, 268},
        {IDC_CD, "MIDI", kHidden, 72, kHidden, 170},
        {IDC_MIDI, "none", kHidden, kHidden, kHidden, 72},
        {IDC_SOUND, "Sound", kHidden, kHidden, 72, 170},
        {IDC_CD, "CD Sound", 72, kHidden, 170, 268},
        {IDC_MIDI, "CD MIDI Sound", 72, 170, 268, 366},
        {IDC_CD, "MIDI Sound", kHidden, 72, 170, 268},
        {IDC_SOUND, "MIDI", kHidden, 72, kHidden, 170},
        {IDC_CD, "CD MIDI", 72, 170, kHidden, 268},
        {IDC_MIDI, "CD", 72, kHidden, kHidden, 170},
        {IDC_SOUND, "CD Sound", 72, kHidden, 170, 268},
        {IDC_MIDI, "CD MIDI Sound", 72, 170, 268, 366},
        {IDC_MIDI, "CD Sound", 72, kHidden, 170, 268},
        {IDC_CD, "Sound", kHidden, kHidden, 72, 170},
        {IDC_SOUND, "none", kHidden, kHidden, kHidden, 72},
        {IDC_MIDI, "MIDI", kHidden, 72, kHidden, 170},
        {IDC_SOUND, "MIDI Sound", kHidden, 72, 170, 268},
        {IDC_CD, "CD MIDI Sound", 72, 170, 268, 366},
    };
    HWND mainWindow = StartAndWait();
    ASSERT_NE(nullptr, mainWindow);
    HWND banner = e2e::FindPanel(mainWindow, Panel::Main);
    ASSERT_NE(nullptr, banner);
    int stepNumber = 0;
    for (const Step& step : walk) {
        SCOPED_TRACE(testing::Message() << "step " << ++stepNumber << ": pressed " << step.button << ", shown "
                                        << step.shown);
        e2e::Press(banner, step.button);
        ExpectPlayerStack(mainWindow, step.cdTop, step.midiTop, step.soundTop, step.height);
    }
}

}  // namespace
