// Panel backgrounds and button faces, painted from the skin bitmaps. Every paint loads its
// bitmaps and frees them again; nothing is kept between messages.
#include "base/app_state.h"
#include "media/media_device.h"
#include "model/palette.h"
#include "model/skin_faces.h"
#include "resources/resource.h"
#include "ui/skin.h"

namespace {

// A memory device context with one bitmap selected, both released when it goes out of scope.
class BitmapDC {
public:
    explicit BitmapDC(HDC like) : dc_(CreateCompatibleDC(like)) {}
    BitmapDC(const BitmapDC&) = delete;
    BitmapDC& operator=(const BitmapDC&) = delete;
    ~BitmapDC()
    {
        if (bitmap_) {
            SelectObject(dc_, previous_);
            DeleteObject(bitmap_);
        }
        if (dc_) DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    // Loads a skin bitmap into the context; false when it does not exist.
    bool Load(int id)
    {
        bitmap_ = LoadBitmapA(g_app.instance, MAKEINTRESOURCEA(id));
        if (!bitmap_ || !dc_) return false;
        previous_ = SelectObject(dc_, bitmap_);
        return true;
    }
    SIZE Size() const
    {
        BITMAP bm{};
        GetObjectA(bitmap_, sizeof bm, &bm);
        return {bm.bmWidth, bm.bmHeight};
    }

private:
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

void RealizeSkinPalette(HDC hdc)
{
    // A null palette (any display but an 8-bit one) selects and realises nothing.
    if (!g_app.palette) return;
    SelectPalette(hdc, g_app.palette, TRUE);
    RealizePalette(hdc);
}

MediaDevice* PlayerDevice(PanelKind panel)
{
    switch (panel) {
    case PANEL_CD:    return &g_app.CdDevice;
    case PANEL_MIDI:  return &g_app.MidiDevice;
    case PANEL_SOUND: return &g_app.SoundDevice;
    default:          return nullptr;
    }
}

// Both the program's play state and MCI's device mode are asked on every draw.
bool PanelPlayerIsPlaying(PanelKind panel)
{
    MediaDevice* device = PlayerDevice(panel);
    if (!device) return false;
    int state = PLAYSTATE_STOPPED;
    GetPlayState(device->deviceType, &state);
    DWORD mode = QueryDeviceMode(device->deviceId);
    return PlayerCountsAsPlaying(state, mode);
}

// The state a face condition reads; the device queries run only when the condition needs them.
SkinState ReadSkinState(FaceCondition condition, PanelKind panel)
{
    SkinState state;
    state.config = g_app.settings.Config;
    state.trueColor = UsesTrueColorArt(g_app.colorDepth);
    state.recording = (g_app.SoundDevice.flags & MDF_NEWRECORDING) != 0;
    state.midiEntries = g_app.MidiDevice.playlist.count;
    state.soundEntries = g_app.SoundDevice.playlist.count;
    if (condition == FACE_DISC_PRESENT) state.discPresent = IsAudioCdPresent(&g_app.CdDevice) != 0;
    if (condition == FACE_PLAYING) state.playing = PanelPlayerIsPlaying(panel);
    return state;
}

}  // namespace

int PaintPanelBackground(HDC hdc, int templateId)
{
    RealizeSkinPalette(hdc);
    BitmapDC memory(hdc);
    RealizeSkinPalette(memory.dc());
    BackgroundChoice background = ChooseBackground(templateId, UsesTrueColorArt(g_app.colorDepth));
    if (!memory.Load(background.bitmap)) return 0;
    BitBlt(hdc, 0, 0, kBackgroundCopyWidth, background.rows, memory.dc(), 0, 0, SRCCOPY);
    // The true-colour banner art is one row shorter than the banner; its last row is repeated
    // rather than leaving a stripe of dialog background between the banner and the CD panel.
    SIZE size = memory.Size();
    if (size.cy > 0 && size.cy < background.rows)
        StretchBlt(hdc, 0, size.cy, size.cx, background.rows - size.cy, memory.dc(), 0, size.cy - 1, size.cx, 1,
                   SRCCOPY);
    return 0;
}

int DrawButtonFace(HWND panel, const DRAWITEMSTRUCT* item)
{
    if (item->itemAction & ODA_FOCUS) return 0;
    int id = static_cast<int>(item->CtlID);
    if (id < IDC_CD || id > IDC_BANNER) return 0;  // not one of the panels' controls
    PanelKind kind = PanelKindOf(panel);
    const SkinFace* face = FindSkinFace(id, kind);
    if (!face) return 0;
    bool pressed = (item->itemState & ODS_SELECTED) != 0;
    SkinState state;
    if (!pressed || PressedFaceNeedsState(*face)) state = ReadSkinState(face->condition, kind);
    int bitmap = ChooseFaceBitmap(*face, pressed, state);
    // The button keeps the face it shows, so the timer can tell whether it needs drawing again.
    if (item->hwndItem) SetWindowLongPtrA(item->hwndItem, GWLP_USERDATA, pressed ? 0 : bitmap);
    BitmapDC memory(item->hDC);
    if (memory.Load(bitmap)) {
        SIZE size = memory.Size();
        BitBlt(item->hDC, item->rcItem.left, item->rcItem.top, size.cx, size.cy, memory.dc(), 0, 0, SRCCOPY);
    }
    return 0;
}

bool FaceOutOfDate(HWND control)
{
    HWND panel = GetParent(control);
    const SkinFace* face = FindSkinFace(GetDlgCtrlID(control), PanelKindOf(panel));
    if (!face) return false;
    // A pressed face, or one never drawn, is drawn again on every tick.
    LONG_PTR shown = GetWindowLongPtrA(control, GWLP_USERDATA);
    if (shown == 0 || (SendMessageA(control, BM_GETSTATE, 0, 0) & BST_PUSHED)) return true;
    return ChooseFaceBitmap(*face, false, ReadSkinState(face->condition, PanelKindOf(panel))) != shown;
}
