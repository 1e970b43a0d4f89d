// Position arithmetic of the players: CD skips, millisecond skips, track starts, read-outs.
#include <gtest/gtest.h>

#include "model/media_math.h"
#include "model/readout.h"

namespace {

TEST(CdSkipBackward, TenSecondsBackWithinTheTrack)
{
    SkipTarget atStart = CdSkipBackwardTarget(MakeTmsf(4, 0, 0, 0));
    EXPECT_FALSE(atStart.seek) << "0:00 of a track goes nowhere";

    SkipTarget early = CdSkipBackwardTarget(MakeTmsf(4, 0, 7, 0));
    EXPECT_TRUE(early.seek);
    EXPECT_EQ(MakeTmsf(4, 0, 0, 0), early.target) << "0:07 goes to 0:00 of the same track";

    SkipTarget later = CdSkipBackwardTarget(MakeTmsf(2, 3, 4, 0));
    EXPECT_TRUE(later.seek);
    EXPECT_EQ(MakeTmsf(2, 2, 54, 0), later.target) << "3:04 goes to 2:54";

    EXPECT_EQ(MakeTmsf(2, 3, 0, 0), CdSkipBackwardTarget(MakeTmsf(2, 3, 10, 0)).target);
    EXPECT_EQ(MakeTmsf(9, 0, 3, 0), CdSkipBackwardTarget(MakeTmsf(9, 0, 13, 44)).target)
        << "frames are dropped";
}

TEST(CdSkipForward, TenSecondsForwardCarriesIntoMinutes)
{
    EXPECT_EQ(MakeTmsf(1, 3, 5, 0), CdSkipForwardTarget(MakeTmsf(1, 2, 55, 0))) << "2:55 goes to 3:05";
    EXPECT_EQ(MakeTmsf(1, 1, 0, 0), CdSkipForwardTarget(MakeTmsf(1, 0, 50, 0)));
    EXPECT_EQ(MakeTmsf(7, 0, 19, 0), CdSkipForwardTarget(MakeTmsf(7, 0, 9, 60)));
    EXPECT_EQ(MakeTmsf(3, 80, 5, 0), CdSkipForwardTarget(MakeTmsf(3, 79, 55, 0)))
        << "no check against the track's length";
}

TEST(MillisecondSkips, OneSecondEachWayNeverBelowZero)
{
    EXPECT_EQ(0u, MsSkipBackwardTarget(0));
    EXPECT_EQ(0u, MsSkipBackwardTarget(999));
    EXPECT_EQ(0u, MsSkipBackwardTarget(1000));
    EXPECT_EQ(1500u, MsSkipBackwardTarget(2500));
    EXPECT_EQ(1000u, MsSkipForwardTarget(0));
    EXPECT_EQ(61999u, MsSkipForwardTarget(60999)) << "forward is unbounded";
}

TEST(TrackStarts, StartOfThePositionsTrackAndOfAnEntry)
{
    EXPECT_EQ(MakeTmsf(5, 0, 0, 0), CdTrackStartOf(MakeTmsf(5, 3, 27, 12)));
    EXPECT_EQ(MakeTmsf(1, 0, 0, 0), CdEntryStart(0));
    EXPECT_EQ(MakeTmsf(12, 0, 0, 0), CdEntryStart(11));
}

TEST(Tmsf, PacksAsMciDoes)
{
    EXPECT_EQ(0x0C1B0305u, MakeTmsf(5, 3, 27, 12));
    std::uint32_t packed = MakeTmsf(99, 74, 59, 74);
    EXPECT_EQ(99u, TmsfTrack(packed));
    EXPECT_EQ(74u, TmsfMinute(packed));
    EXPECT_EQ(59u, TmsfSecond(packed));
    EXPECT_EQ(74u, TmsfFrame(packed));
}

TEST(EntrySteps, NextAndPreviousWrap)
{
    EXPECT_EQ(1, NextEntryIndex(0, 3));
    EXPECT_EQ(0, NextEntryIndex(2, 3)) << "next on the last entry";
    EXPECT_EQ(0, NextEntryIndex(7, 3)) << "next from beyond the list";
    EXPECT_EQ(0, NextEntryIndex(0, 0));
    EXPECT_EQ(1, PreviousEntryIndex(2, 3));
    EXPECT_EQ(2, PreviousEntryIndex(0, 3)) << "previous on the first entry";
    EXPECT_EQ(-1, PreviousEntryIndex(0, 0)) << "previous on an empty list leaves no entry current";
}

TEST(CdReadout, FollowsTheDiscWhileTracksAreListed)
{
    CdReadout playing = CdReadoutOf(true, true, MakeTmsf(5, 3, 27, 40), 0);
    EXPECT_EQ(5, playing.number);
    EXPECT_EQ(3, playing.minutes);
    EXPECT_EQ(27, playing.seconds);
    EXPECT_EQ(4, playing.current) << "the current index follows the disc";

    CdReadout unread = CdReadoutOf(true, false, 0, 6);
    EXPECT_EQ(1, unread.number);
    EXPECT_EQ(0, unread.minutes);
    EXPECT_EQ(0, unread.seconds);
    EXPECT_EQ(0, unread.current) << "a failed position query goes back to the first entry";

    CdReadout closed = CdReadoutOf(false, false, 0, 2);
    EXPECT_EQ(3, closed.number) << "closed or empty: the current index + 1 at zero time";
    EXPECT_EQ(0, closed.minutes);
    EXPECT_EQ(2, closed.current);
}

TEST(DisplayKey, PacksNumberMinutesSecondsLikeTmsf)
{
    EXPECT_EQ(1u, DisplayKey(1, 0, 0)) << "the template's 00:00 Track 01";
    EXPECT_EQ(MakeTmsf(5, 3, 27, 0), DisplayKey(5, 3, 27));
    EXPECT_EQ(DisplayKey(1, 0, 0), DisplayKey(257, 0, 0)) << "only the number's low byte counts";
    EXPECT_NE(DisplayKey(1, 0, 1), DisplayKey(1, 1, 0));
}

TEST(ReadoutTexts, TwoDigitFieldsAndTheWord)
{
    char text[64];
    FormatReadout(text, sizeof(text), 3, 27, "Track", 5);
    EXPECT_STREQ("03:27 Track 05", text);
    FormatReadout(text, sizeof(text), 0, 0, "Track", 1);
    EXPECT_STREQ("00:00 Track 01", text);
    FormatReadout(text, sizeof(text), 72, 5, "Piste", 123);
    EXPECT_STREQ("72:05 Piste 123", text);

    char small[8];
    FormatReadout(small, sizeof(small), 3, 27, "Track", 5);
    EXPECT_STREQ("03:27 T", small) << "a short buffer is never overrun";

    char label[64];
    FormatTrackLabel(label, sizeof(label), "Track", 3);
    EXPECT_STREQ("Track 3", label);
    FormatTrackLabel(label, sizeof(label), "Track", 12);
    EXPECT_STREQ("Track 12", label);
}

}  // namespace
