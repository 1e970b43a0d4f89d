// The choice of background and face bitmaps from the skin tables.
#include "model/skin_faces.h"

const SkinFace* FindSkinFace(int controlId, PanelKind panel)
{
    for (const SkinFace& face : SkinFaces) {
        if (face.controlId != controlId) continue;
        if (face.panel == PANEL_NONE || face.panel == panel) return &face;
    }
    return nullptr;
}

bool PressedFaceNeedsState(const SkinFace& face)
{
    return face.pressed == 0;
}

bool FaceConditionHolds(FaceCondition condition, const SkinState& state)
{
    switch (condition) {
    case FACE_NO_ALTERNATIVE: return false;
    case FACE_CD_SHOWN:       return (state.config & CFG_CD) != 0;
    case FACE_MIDI_SHOWN:     return (state.config & CFG_MIDI) != 0;
    case FACE_SOUND_SHOWN:    return (state.config & CFG_SOUND) != 0;
    case FACE_RECORDING:      return state.recording;
    case FACE_DISC_PRESENT:   return state.discPresent;
    case FACE_MIDI_ENTRIES:   return state.midiEntries != 0;
    case FACE_SOUND_ENTRIES:  return state.soundEntries != 0;
    case FACE_PLAYING:        return state.playing;
    case FACE_TRUE_COLOR:     return state.trueColor;
    }
    return false;
}

bool PlayerCountsAsPlaying(int playState, std::uint32_t mciMode)
{
    return playState == PLAYSTATE_PLAYING && mciMode == kMciModePlay;
}

int ChooseFaceBitmap(const SkinFace& face, bool pressed, const SkinState& state)
{
    if (pressed && face.pressed != 0) return face.pressed;
    if (face.alternative != 0 && FaceConditionHolds(face.condition, state)) return face.alternative;
    return face.normal;
}

int SkinFaceFor(int controlId, PanelKind panel, bool pressed, const SkinState& state)
{
    const SkinFace* face = FindSkinFace(controlId, panel);
    return face ? ChooseFaceBitmap(*face, pressed, state) : 0;
}

BackgroundChoice ChooseBackground(int templateId, bool trueColor)
{
    const SkinBackground* row = &SkinBackgrounds[0];
    for (const SkinBackground& background : SkinBackgrounds) {
        if (background.templateId == templateId) row = &background;
    }
    return {trueColor ? row->bitmap24 : row->bitmap8, row->rows};
}
