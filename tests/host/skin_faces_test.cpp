// The background and face chosen for every panel, control, press and program state.
#include <gtest/gtest.h>

#include "model/palette.h"
#include "model/skin_faces.h"

namespace {

struct ExpectedFace {
    int id;
    PanelKind panel;
    int normal;
    int alternative;  // 0: none
    int pressed;
};

// Every control with a face, as the skin is drawn: normal, alternative, pressed.
const ExpectedFace kFaces[] = {
    {1000, PANEL_MAIN, 166, 200, 207},  {1001, PANEL_MAIN, 165, 199, 208},
    {1002, PANEL_MAIN, 167, 201, 210},  {1003, PANEL_MAIN, 168, 0, 209},
    {1004, PANEL_MAIN, 171, 0, 213},    {1018, PANEL_MAIN, 173, 0, 214},
    {1019, PANEL_MAIN, 174, 0, 215},    {1005, PANEL_CD, 176, 0, 194},
    {1006, PANEL_SOUND, 181, 212, 197}, {1007, PANEL_CD, 177, 0, 190},
    {1008, PANEL_MIDI, 178, 0, 191},    {1009, PANEL_CD, 170, 0, 195},
    {1010, PANEL_SOUND, 169, 0, 193},   {1012, PANEL_MIDI, 180, 0, 192},
    {1013, PANEL_CD, 182, 203, 216},    {1013, PANEL_MIDI, 186, 202, 217},
    {1013, PANEL_SOUND, 187, 204, 218}, {1014, PANEL_CD, 179, 0, 196},
    {1024, PANEL_CD, 175, 189, 188},    {1024, PANEL_MIDI, 175, 189, 188},
    {1024, PANEL_SOUND, 175, 189, 188},
};

// A state in which every alternative face's condition holds.
SkinState EverythingOn()
{
    SkinState s;
    s.config = CFG_BANNER | CFG_CD | CFG_MIDI | CFG_SOUND | CFG_TRAY | CFG_MIXER;
    s.trueColor = true;
    s.recording = true;
    s.discPresent = true;
    s.midiEntries = 3;
    s.soundEntries = 1;
    s.playing = true;
    return s;
}

TEST(SkinFaces, EveryControlHasItsNormalAlternativeAndPressedFace)
{
    const SkinState off;
    const SkinState on = EverythingOn();
    for (const ExpectedFace& f : kFaces) {
        EXPECT_EQ(f.normal, SkinFaceFor(f.id, f.panel, false, off)) << "normal face of " << f.id;
        int alternative = f.alternative ? f.alternative : f.normal;
        EXPECT_EQ(alternative, SkinFaceFor(f.id, f.panel, false, on)) << "alternative face of " << f.id;
        EXPECT_EQ(f.pressed, SkinFaceFor(f.id, f.panel, true, off)) << "pressed face of " << f.id;
        EXPECT_EQ(f.pressed, SkinFaceFor(f.id, f.panel, true, on)) << "pressed face of " << f.id << " lit";
    }
}

TEST(SkinFaces, ControlsWithoutFaceDrawNothing)
{
    const int noFace[] = {0, 1, 2, 999, 1011, 1015, 1016, 1017, 1020, 1021, 1022, 1023, 1025, 1027, 40006, -1};
    const PanelKind panels[] = {PANEL_MAIN, PANEL_CD, PANEL_MIDI, PANEL_SOUND, PANEL_NONE};
    for (int id : noFace) {
        for (PanelKind panel : panels) {
            EXPECT_EQ(0, SkinFaceFor(id, panel, false, EverythingOn())) << "id " << id << " panel " << panel;
            EXPECT_EQ(0, SkinFaceFor(id, panel, true, SkinState{})) << "id " << id << " panel " << panel;
        }
    }
}

TEST(SkinFaces, PlaylistButtonOutsideThePlayerPanelsDrawsNothing)
{
    EXPECT_EQ(0, SkinFaceFor(1013, PANEL_MAIN, false, SkinState{}));
    EXPECT_EQ(0, SkinFaceFor(1013, PANEL_NONE, false, EverythingOn()));
    EXPECT_EQ(0, SkinFaceFor(1013, PANEL_NONE, true, SkinState{}));
}

TEST(SkinFaces, ViewButtonsLightOnlyForTheirOwnBit)
{
    SkinState s;
    s.config = CFG_BANNER | CFG_MIDI | CFG_SOUND | CFG_TRAY;
    EXPECT_EQ(166, SkinFaceFor(1000, PANEL_MAIN, false, s)) << "CD after its panel was hidden";
    EXPECT_EQ(199, SkinFaceFor(1001, PANEL_MAIN, false, s));
    EXPECT_EQ(201, SkinFaceFor(1002, PANEL_MAIN, false, s));
    EXPECT_EQ(207, SkinFaceFor(1000, PANEL_MAIN, true, s)) << "CD held down";
    s.config = CFG_CD;
    EXPECT_EQ(200, SkinFaceFor(1000, PANEL_MAIN, false, s));
    EXPECT_EQ(165, SkinFaceFor(1001, PANEL_MAIN, false, s));
    EXPECT_EQ(167, SkinFaceFor(1002, PANEL_MAIN, false, s));
    EXPECT_EQ(168, SkinFaceFor(1003, PANEL_MAIN, false, EverythingOn())) << "MIXER has no lit face";
}

TEST(SkinFaces, PlaylistButtonsFollowTheirOwnPlayer)
{
    SkinState s;
    s.midiEntries = 1;
    EXPECT_EQ(202, SkinFaceFor(1013, PANEL_MIDI, false, s));
    EXPECT_EQ(187, SkinFaceFor(1013, PANEL_SOUND, false, s)) << "sound list empty";
    EXPECT_EQ(182, SkinFaceFor(1013, PANEL_CD, false, s)) << "no disc";
    s = SkinState{};
    s.soundEntries = 2;
    EXPECT_EQ(186, SkinFaceFor(1013, PANEL_MIDI, false, s));
    EXPECT_EQ(204, SkinFaceFor(1013, PANEL_SOUND, false, s));
    s = SkinState{};
    s.discPresent = true;
    EXPECT_EQ(203, SkinFaceFor(1013, PANEL_CD, false, s));
    EXPECT_EQ(216, SkinFaceFor(1013, PANEL_CD, true, s));
}

TEST(SkinFaces, RecordLightsOnlyWhileRecording)
{
    SkinState s = EverythingOn();
    s.recording = false;
    EXPECT_EQ(181, SkinFaceFor(1006, PANEL_SOUND, false, s));
    s = SkinState{};
    s.recording = true;
    EXPECT_EQ(212, SkinFaceFor(1006, PANEL_SOUND, false, s));
    EXPECT_EQ(197, SkinFaceFor(1006, PANEL_SOUND, true, s));
}

TEST(SkinFaces, PlayShowsPlayingOnlyWhenStateAndDeviceModeAgree)
{
    EXPECT_TRUE(PlayerCountsAsPlaying(1, 526));
    EXPECT_FALSE(PlayerCountsAsPlaying(1, 529)) << "MCI says paused";
    EXPECT_FALSE(PlayerCountsAsPlaying(1, 525)) << "MCI says stopped";
    EXPECT_FALSE(PlayerCountsAsPlaying(1, 524)) << "closed device: not ready";
    EXPECT_FALSE(PlayerCountsAsPlaying(2, 526)) << "paused state";
    EXPECT_FALSE(PlayerCountsAsPlaying(0, 526)) << "stopped state";
    for (std::uint32_t mode : {525u, 529u}) {
        SkinState s = EverythingOn();
        s.playing = PlayerCountsAsPlaying(1, mode);
        EXPECT_EQ(175, SkinFaceFor(1024, PANEL_MIDI, false, s)) << "mode " << mode;
    }
    SkinState s;
    s.playing = PlayerCountsAsPlaying(1, 526);
    EXPECT_EQ(189, SkinFaceFor(1024, PANEL_CD, false, s));
}

TEST(SkinFaces, BannerFaceFollowsTheArtSetAndStaysWhenPressed)
{
    for (int depth : {16, 24, 32}) {
        SkinState s;
        s.trueColor = UsesTrueColorArt(depth);
        EXPECT_EQ(206, SkinFaceFor(1026, PANEL_MAIN, false, s)) << depth << " bits";
        EXPECT_EQ(206, SkinFaceFor(1026, PANEL_MAIN, true, s)) << depth << " bits, pressed";
    }
    for (int depth : {1, 4, 8}) {
        SkinState s;
        s.trueColor = UsesTrueColorArt(depth);
        EXPECT_EQ(205, SkinFaceFor(1026, PANEL_MAIN, false, s)) << depth << " bits";
        EXPECT_EQ(205, SkinFaceFor(1026, PANEL_MAIN, true, s)) << depth << " bits, pressed";
    }
    const SkinFace* banner = FindSkinFace(1026, PANEL_MAIN);
    ASSERT_NE(nullptr, banner);
    EXPECT_TRUE(PressedFaceNeedsState(*banner));
    EXPECT_FALSE(PressedFaceNeedsState(*FindSkinFace(1024, PANEL_CD)));
}

TEST(SkinBackgrounds, EachPanelHasItsBitmapForEachArtSet)
{
    struct Row {
        int templateId, bitmap8, bitmap24, rows;
    };
    const Row rows[] = {{103, 102, 146, 72}, {104, 103, 147, 98}, {105, 105, 148, 98}, {106, 104, 149, 98}};
    for (const Row& r : rows) {
        BackgroundChoice b8 = ChooseBackground(r.templateId, false);
        BackgroundChoice b24 = ChooseBackground(r.templateId, true);
        EXPECT_EQ(r.bitmap8, b8.bitmap) << "template " << r.templateId;
        EXPECT_EQ(r.bitmap24, b24.bitmap) << "template " << r.templateId;
        EXPECT_EQ(r.rows, b8.rows) << "template " << r.templateId;
        EXPECT_EQ(r.rows, b24.rows) << "template " << r.templateId;
    }
}

TEST(SkinBackgrounds, UnknownTemplateGetsTheBannerBackground)
{
    for (int templateId : {0, 102, 107, 159, -1}) {
        EXPECT_EQ(102, ChooseBackground(templateId, false).bitmap) << templateId;
        EXPECT_EQ(146, ChooseBackground(templateId, true).bitmap) << templateId;
        EXPECT_EQ(72, ChooseBackground(templateId, true).rows) << templateId;
    }
}

TEST(SkinBackgrounds, DisplayDepthPicksTheSet)
{
    EXPECT_EQ(146, ChooseBackground(103, UsesTrueColorArt(16)).bitmap);
    EXPECT_EQ(146, ChooseBackground(103, UsesTrueColorArt(24)).bitmap);
    EXPECT_EQ(102, ChooseBackground(103, UsesTrueColorArt(8)).bitmap);
    EXPECT_EQ(102, ChooseBackground(103, UsesTrueColorArt(4)).bitmap);
}

}  // namespace
