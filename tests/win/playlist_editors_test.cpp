// The playlist editor dialogs, built from the real templates and driven through their messages.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "app/app.h"
#include "panels/panels.h"
#include "resources/resource.h"
#include "tests/win/win_test_support.h"

namespace {

std::vector<std::string> PlaylistTexts(const Playlist& list)
{
    std::vector<std::string> texts;
    PlaylistEntry entry;
    for (PlaylistHandle node = FirstPlaylistNode(&list); node;) {
        node = ReadPlaylistNode(node, &entry);
        texts.emplace_back(entry.text);
    }
    return texts;
}

void FillPlaylist(Playlist* list, std::initializer_list<const char*> texts)
{
    ClearPlaylist(list);
    int number = 1;
    for (const char* text : texts) {
        PlaylistEntry entry;
        entry.number = number++;
        lstrcpynA(entry.text, text, sizeof entry.text);
        AppendPlaylistEntry(list, &entry);
    }
}

std::vector<std::string> ListTexts(HWND dialog)
{
    std::vector<std::string> texts;
    LRESULT count = SendDlgItemMessageA(dialog, IDC_LIST, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[300] = {};
        SendDlgItemMessageA(dialog, IDC_LIST, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        texts.emplace_back(text);
    }
    return texts;
}

void Command(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

void Select(HWND dialog, std::initializer_list<int> items)
{
    for (int i : items) SendDlgItemMessageA(dialog, IDC_LIST, LB_SETSEL, TRUE, i);
}

// The text of a message box and the answer given to it.
struct BoxAnswer {
    std::string text;
    bool asked = false;
};

void AnswerClear(HWND dialog, int answer, BoxAnswer* box)
{
    box->asked = AnswerModal("#32770", kAppName, [&](HWND found) {
        char text[256] = {};
        GetDlgItemTextA(found, 0xFFFF, text, sizeof text);
        box->text = text;
        PostMessageA(found, WM_COMMAND, static_cast<WPARAM>(answer), 0);
    }, [&] { Command(dialog, IDC_CLEAR); });
}

// The MIDI list names real files that the virtual sequencer opens, since OK reopens the device.
class PlaylistEditor : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(RegisterVirtualSequencer());
        SetSequencerSpeed(0);
        InitDefaults();
        dir_ = ScratchDirectory("editor");
        for (const char* name : {"one.mid", "two.mid", "three.mid", "four.mid", "five.mid"})
            ASSERT_TRUE(WriteBytes(dir_ + name, MidiOfLength(3000)));
        FillPlaylist(&g_app.MidiDevice.playlist, {Path("one.mid"), Path("two.mid"), Path("three.mid"),
                                                  Path("four.mid"), Path("five.mid")});
    }
    void TearDown() override
    {
        if (dialog_) DestroyWindow(dialog_);
        for (MediaDevice* device : {&g_app.MidiDevice, &g_app.SoundDevice}) {
            StopMedia(device);
            CloseMediaDevice(device);
        }
        SetSequencerSpeed(100);
        ClearPlaylist(&g_app.MidiDevice.playlist);
        ClearPlaylist(&g_app.SoundDevice.playlist);
        ClearPlaylist(&g_app.CdDevice.playlist);
    }
    HWND Open(int templateId, DLGPROC proc)
    {
        dialog_ = CreateDialogParamA(g_app.instance, MAKEINTRESOURCEA(templateId), nullptr, proc, 0);
        EXPECT_TRUE(dialog_) << "template " << templateId;
        ShowWindow(dialog_, SW_SHOWNOACTIVATE);
        return dialog_;
    }
    // EndDialog on a dialog made without its own modal loop hides it.
    bool Ended() const { return !IsWindowVisible(dialog_); }

    const char* Path(const char* name)
    {
        paths_.push_back(dir_ + name);
        return paths_.back().c_str();
    }

    HWND dialog_ = nullptr;
    std::string dir_;
    std::deque<std::string> paths_;
};

// One control of a dialog template as the resource holds it.
struct TemplateItem {
    DWORD style;
    int id;
    int classAtom;  // 0x80 button, 0x82 static, 0x83 list box
    std::string text;
};

struct DialogTemplate {
    DWORD style = 0;
    int width = 0, height = 0;
    std::string caption, font;
    int pointSize = 0;
    std::vector<TemplateItem> items;
};

std::string ReadTemplateText(const WORD** p)
{
    std::string text;
    for (; **p; ++*p) text += static_cast<char>(**p);
    ++*p;
    return text;
}

DialogTemplate ReadDialogTemplate(int id)
{
    DialogTemplate t;
    HRSRC found = FindResourceA(g_app.instance, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_DIALOG));
    if (!found) return t;
    auto dlg = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(g_app.instance, found)));
    t.style = dlg->style;
    t.width = dlg->cx;
    t.height = dlg->cy;
    auto p = reinterpret_cast<const WORD*>(dlg + 1);
    p += (*p == 0xFFFF) ? 2 : (ReadTemplateText(&p), 0);  // menu
    p += (*p == 0xFFFF) ? 2 : (ReadTemplateText(&p), 0);  // class
    t.caption = ReadTemplateText(&p);
    if (t.style & DS_SETFONT) {
        t.pointSize = *p++;
        t.font = ReadTemplateText(&p);
    }
    for (int i = 0; i < dlg->cdit; ++i) {
        p = reinterpret_cast<const WORD*>((reinterpret_cast<UINT_PTR>(p) + 3) & ~UINT_PTR{3});
        auto item = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
        TemplateItem ti{item->style, static_cast<short>(item->id), 0, {}};
        p = reinterpret_cast<const WORD*>(item + 1);
        if (*p == 0xFFFF) {
            ti.classAtom = p[1];
            p += 2;
        } else {
            ReadTemplateText(&p);
        }
        if (*p == 0xFFFF)
            p += 2;
        else
            ti.text = ReadTemplateText(&p);
        p += 1 + (*p ? *p / sizeof(WORD) : 0);  // creation data
        t.items.push_back(ti);
    }
    return t;
}

const TemplateItem* FindItem(const DialogTemplate& t, int id)
{
    for (const TemplateItem& item : t.items)
        if (item.id == id) return &item;
    return nullptr;
}

TEST_F(PlaylistEditor, TemplatesCarryTheirControls)
{
    struct Expect {
        int templateId;
        const char* caption;
        int height;
        bool editable;
    };
    for (Expect e : {Expect{IDD_MIDIPLAYLIST, "MIDI Playlist", 150, true}, Expect{IDD_CDPLAYLIST, "CD Playlist", 133, false},
                     Expect{IDD_SOUNDPLAYLIST, "Sound Playlist", 149, true}}) {
        DialogTemplate t = ReadDialogTemplate(e.templateId);
        EXPECT_EQ(e.caption, t.caption);
        EXPECT_EQ(DWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT),
                  t.style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT)) << e.caption;
        EXPECT_EQ(239, t.width) << e.caption;
        EXPECT_EQ(e.height, t.height) << e.caption;
        EXPECT_EQ("MS Sans Serif", t.font);
        EXPECT_EQ(8, t.pointSize);
        EXPECT_EQ(e.editable ? 8u : 7u, t.items.size()) << e.caption;

        const TemplateItem* label = FindItem(t, -1);
        ASSERT_TRUE(label) << e.caption;
        EXPECT_EQ(0x82, label->classAtom);
        EXPECT_EQ("Playlist:", label->text);

        const TemplateItem* list = FindItem(t, IDC_LIST);
        ASSERT_TRUE(list) << e.caption;
        EXPECT_EQ(0x83, list->classAtom);
        DWORD wanted = WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                       LBS_DISABLENOSCROLL | (e.editable ? LBS_EXTENDEDSEL : 0);
        EXPECT_EQ(wanted, list->style & (wanted | LBS_EXTENDEDSEL | LBS_MULTIPLESEL | LBS_SORT)) << e.caption;

        struct Button {
            int id;
            const char* text;
            DWORD kind;
            bool shown;
        };
        for (Button b : {Button{IDOK, "OK", BS_DEFPUSHBUTTON, true}, Button{IDCANCEL, "Cancel", BS_PUSHBUTTON, true},
                         Button{IDC_ADD, "&Add ...", BS_PUSHBUTTON, e.editable},
                         Button{IDC_REMOVE, "&Remove", BS_PUSHBUTTON, e.editable},
                         Button{IDC_CLEAR, "&Clear", BS_PUSHBUTTON, e.editable}}) {
            const TemplateItem* item = FindItem(t, b.id);
            ASSERT_TRUE(item) << e.caption << " button " << b.id;
            EXPECT_EQ(0x80, item->classAtom);
            EXPECT_EQ(b.text, item->text);
            EXPECT_EQ(b.kind, item->style & 0xF) << e.caption << " button " << b.id;
            EXPECT_EQ(b.shown, (item->style & WS_VISIBLE) != 0) << e.caption << " button " << b.id;
        }
        const TemplateItem* loop = FindItem(t, IDC_LOOP);
        EXPECT_EQ(e.editable, loop != nullptr) << e.caption;
        if (loop) {
            EXPECT_EQ(DWORD(BS_AUTOCHECKBOX), loop->style & 0xF);
            EXPECT_EQ("&Loop Playing", loop->text);
        }
    }
}

TEST_F(PlaylistEditor, OpensOnThePlaylistInOrderWithTheLoopSwitch)
{
    g_app.MidiDevice.flags |= MDF_LOOP;
    HWND dialog = Open(IDD_MIDIPLAYLIST, MidiPlaylistProc);
    EXPECT_EQ(PlaylistTexts(g_app.MidiDevice.playlist), ListTexts(dialog));
    EXPECT_EQ(0, SendDlgItemMessageA(dialog, IDC_LIST, LB_GETSELCOUNT, 0, 0)) << "nothing selected";
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_LOOP));
    DestroyWindow(dialog);

    g_app.MidiDevice.flags &= ~MDF_LOOP;
    dialog = Open(IDD_MIDIPLAYLIST, MidiPlaylistProc);
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog, IDC_LOOP));
}

TEST_F(PlaylistEditor, RemoveDeletesExactlyTheSelectedItems)
{
    HWND dialog = Open(IDD_MIDIPLAYLIST, MidiPlaylistProc);
    Command(dialog, IDC_REMOVE);
    EXPECT_EQ(5u, ListTexts(dialog).size()) << "nothing selected: nothing removed";
    Select(dialog, {0, 2, 3});
    Command(dialog, IDC_REMOVE);
    EXPECT_EQ((std::vector<std::string>{dir_ + "two.mid", dir_ + "five.mid"}), ListTexts(dialog));
    EXPECT_EQ(5, g_app.MidiDevice.playlist.count) << "the playlist waits for OK";

    g_app.MidiDevice.playlist.current = 3;
    Command(dialog, IDOK);
    EXPECT_TRUE(Ended());
    EXPECT_EQ((std::vector<std::string>{dir_ + "two.mid", dir_ + "five.mid"}), PlaylistTexts(g_app.MidiDevice.playlist));
    EXPECT_EQ(0, g_app.MidiDevice.playlist.current) << "a rebuilt list starts at its first entry";
    PlaylistEntry entry;
    ReadPlaylistNode(FindPlaylistNode(&g_app.MidiDevice.playlist, 1), &entry);
    EXPECT_EQ(2, entry.number) << "renumbered from 1";
    EXPECT_NE(0u, g_app.MidiDevice.deviceId) << "the device is open again, on the first entry";
    EXPECT_TRUE(g_app.MidiDevice.flags & MDF_OPEN);
}

TEST_F(PlaylistEditor, ClearAsksFirstAndOnlyOkApplies)
{
    HWND dialog = Open(IDD_MIDIPLAYLIST, MidiPlaylistProc);
    BoxAnswer box;
    AnswerClear(dialog, IDNO, &box);
    ASSERT_TRUE(box.asked) << "no question";
    EXPECT_EQ("Do you want to clear the playlist?", box.text);
    EXPECT_EQ(5u, ListTexts(dialog).size()) << "No keeps the list";

    AnswerClear(dialog, IDYES, &box);
    ASSERT_TRUE(box.asked);
    EXPECT_TRUE(ListTexts(dialog).empty()) << "Yes empties the list box";
    AnswerClear(dialog, IDNO, &box);
    EXPECT_TRUE(box.asked) << "asked again on an empty list";

    g_app.MidiDevice.playlist.current = 2;
    Command(dialog, IDCANCEL);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(5, g_app.MidiDevice.playlist.count) << "Cancel drops the clearing";
    EXPECT_EQ(2, g_app.MidiDevice.playlist.current);
    DestroyWindow(dialog);

    // Yes and OK: the playlist is empty, the player says so and stays closed.
    dialog = Open(IDD_MIDIPLAYLIST, MidiPlaylistProc);
    AnswerClear(dialog, IDYES, &box);
    ASSERT_TRUE(box.asked);
    BoxAnswer empty;
    empty.asked = AnswerModal("#32770", kAppName, [&](HWND found) {
        char text[256] = {};
        GetDlgItemTextA(found, 0xFFFF, text, sizeof text);
        empty.text = text;
        PostMessageA(found, WM_COMMAND, IDOK, 0);
    }, [&] { Command(dialog, IDOK); });
    EXPECT_TRUE(empty.asked);
    EXPECT_EQ("Playlist is empty.", empty.text);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(0, g_app.MidiDevice.playlist.count);
    EXPECT_EQ(0u, g_app.MidiDevice.deviceId) << "the player stays closed";
}

TEST_F(PlaylistEditor, LoopSwitchTakesEffectOnlyThroughOk)
{
    HWND dialog = Open(IDD_SOUNDPLAYLIST, SoundPlaylistProc);
    g_app.SoundDevice.flags = MDF_OPEN;
    CheckDlgButton(dialog, IDC_LOOP, BST_CHECKED);
    Command(dialog, IDCANCEL);
    EXPECT_EQ(DWORD(MDF_OPEN), g_app.SoundDevice.flags) << "Cancel keeps the old setting";
    DestroyWindow(dialog);

    dialog = Open(IDD_SOUNDPLAYLIST, SoundPlaylistProc);
    CheckDlgButton(dialog, IDC_LOOP, BST_CHECKED);
    Command(dialog, IDOK);
    EXPECT_EQ(DWORD(MDF_OPEN | MDF_LOOP), g_app.SoundDevice.flags) << "OK sets only the loop bit";
    DestroyWindow(dialog);

    dialog = Open(IDD_SOUNDPLAYLIST, SoundPlaylistProc);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_LOOP));
    CheckDlgButton(dialog, IDC_LOOP, BST_UNCHECKED);
    Command(dialog, IDOK);
    EXPECT_EQ(DWORD(MDF_OPEN), g_app.SoundDevice.flags);
}

TEST_F(PlaylistEditor, OkWithoutEditsMovesOnlyToAChosenEntry)
{
    g_app.MidiDevice.playlist.current = 3;
    HWND dialog = Open(IDD_MIDIPLAYLIST, MidiPlaylistProc);
    // With nothing selected an extended-selection list box still answers LB_GETCURSEL with its
    // caret item, which is no choice of the user's.
    EXPECT_NE(3, SendDlgItemMessageA(dialog, IDC_LIST, LB_GETCURSEL, 0, 0)) << "the caret is not on entry 3";
    Command(dialog, IDOK);
    EXPECT_EQ(3, g_app.MidiDevice.playlist.current) << "no selection: the player stays where it is";
    EXPECT_EQ(5, g_app.MidiDevice.playlist.count);
    DestroyWindow(dialog);

    dialog = Open(IDD_MIDIPLAYLIST, MidiPlaylistProc);
    Select(dialog, {1});
    Command(dialog, IDOK);
    EXPECT_EQ(1, g_app.MidiDevice.playlist.current) << "the selected entry";
}

TEST_F(PlaylistEditor, DoubleClickActsAsOk)
{
    HWND dialog = Open(IDD_MIDIPLAYLIST, MidiPlaylistProc);
    HWND list = GetDlgItem(dialog, IDC_LIST);
    RECT item{};
    SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    LPARAM at = MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    EXPECT_TRUE(Ended()) << "the double-click closed the dialog";
    EXPECT_EQ(2, g_app.MidiDevice.playlist.current) << "on the double-clicked entry";
}

TEST_F(PlaylistEditor, CdDialogOnlyPicksATrack)
{
    FillPlaylist(&g_app.CdDevice.playlist, {"Track 1", "Track 2", "Track 3"});
    HWND dialog = Open(IDD_CDPLAYLIST, CdPlaylistProc);
    EXPECT_EQ(PlaylistTexts(g_app.CdDevice.playlist), ListTexts(dialog));
    Select(dialog, {0});
    SendDlgItemMessageA(dialog, IDC_LIST, LB_SETCURSEL, 0, 0);
    Command(dialog, IDC_REMOVE);
    Command(dialog, IDC_ADD);
    BoxAnswer box;
    box.asked = AnswerModal("#32770", kAppName, [](HWND found) { PostMessageA(found, WM_COMMAND, IDYES, 0); },
                            [&] { Command(dialog, IDC_CLEAR); }, 500);
    EXPECT_FALSE(box.asked) << "Clear asks nothing in the CD dialog";
    EXPECT_EQ(3u, ListTexts(dialog).size()) << "the hidden buttons do nothing";
    EXPECT_FALSE(Ended());

    SendDlgItemMessageA(dialog, IDC_LIST, LB_SETCURSEL, 2, 0);
    Command(dialog, IDOK);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(2, g_app.CdDevice.playlist.current) << "OK goes to the selected track";
    EXPECT_EQ(3, g_app.CdDevice.playlist.count);
}

// The real Open dialog, answered from a helper thread: the directory first, then three names.
TEST_F(PlaylistEditor, AddAppendsEachChosenFileInOrder)
{
    std::string dir = ScratchDirectory("add");
    for (const char* name : {"b.mid", "a.mid", "c.mid"}) ASSERT_TRUE(WriteBytes(dir + name, MidiOfLength(100)));
    std::string folder = dir.substr(0, dir.size() - 1);
    HWND dialog = Open(IDD_MIDIPLAYLIST, MidiPlaylistProc);
    bool answered = AnswerModal("#32770", "Open", [&](HWND open) {
        HWND name = GetDlgItem(open, 0x47C);  // the file name combo box
        if (!name) name = GetDlgItem(open, 0x480);
        SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
        SendMessageA(open, WM_COMMAND, IDOK, 0);
        Sleep(300);
        SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("\"b.mid\" \"a.mid\" \"c.mid\""));
        SendMessageA(open, WM_COMMAND, IDOK, 0);
    }, [&] { Command(dialog, IDC_ADD); });
    ASSERT_TRUE(answered) << "no Open dialog";
    std::vector<std::string> texts = ListTexts(dialog);
    ASSERT_EQ(8u, texts.size());
    EXPECT_EQ(dir + "b.mid", texts[5]);
    EXPECT_EQ(dir + "a.mid", texts[6]);
    EXPECT_EQ(dir + "c.mid", texts[7]);
    Command(dialog, IDOK);
    EXPECT_EQ(8, g_app.MidiDevice.playlist.count);
}

}  // namespace
