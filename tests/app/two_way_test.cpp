// Two-way players: the whole player comes from the two-way chain, hitting
// block first, then the pitching block below it.
#include "run_fixture.h"

namespace tb::test {
namespace {

using TwoWay = RunFixture;

enc::PlayerSeasonStats both(int year, int phase, int ab, int h, int outs, int er) {
    return pitching(batting(two_way_line(5, year, phase, 1, "Ohtani", "S"), ab, h), outs, er);
}

TEST_F(TwoWay, HittingThenPitchingBlockWithTwoPostSeasonSections) {
    add(both(2020, 2, 100, 30, 90, 10));
    add(both(2021, 2, 200, 50, 180, 20));
    add(both(2021, 6, 10, 4, 9, 1));
    add(both(2021, 8, 20, 6, 27, 3));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;

    EXPECT_EQ(text("O", "A", 1), "Ohtani,S");
    EXPECT_EQ(text("O", "D", 2), "BAVG");
    EXPECT_EQ(num("O", "A", 3), 2020);
    EXPECT_EQ(text("O", "B", 5), "Totals");
    EXPECT_EQ(num("O", "I", 5), 300);        // regular-season AB, counted once
    EXPECT_EQ(text("O", "A", 6), "- - L D S - -");
    EXPECT_EQ(num("O", "I", 8), 10);
    EXPECT_EQ(text("O", "A", 9), "- - W  S - -");
    EXPECT_EQ(num("O", "I", 11), 20);
    EXPECT_TRUE(empty("O", "A", 12));        // one empty row between the blocks
    EXPECT_EQ(text("O", "A", 13), "Ohtani,S");
    EXPECT_EQ(text("O", "D", 14), "ERA");
    EXPECT_EQ(num("O", "A", 15), 2020);
    EXPECT_EQ(text("O", "B", 17), "Totals");
    EXPECT_DOUBLE_EQ(num("O", "O", 17), 90.0);   // 270 outs
    EXPECT_EQ(text("O", "A", 18), "- - L D S - -");
    EXPECT_EQ(style("O", "A", 18).fill, wb::palette_rgb(20));
    EXPECT_EQ(text("O", "B", 20), "Totals");
    EXPECT_EQ(text("O", "A", 21), "- -  W  S  - -");
    EXPECT_EQ(text("O", "B", 23), "Totals");
    EXPECT_DOUBLE_EQ(num("O", "O", 23), 9.0);
    EXPECT_EQ(state->SheetRow.at("O"), 25);

    EXPECT_EQ(text("HitRegTotals", "A", 2), "Ohtani,S");
    EXPECT_EQ(text("HitDCSTotals", "A", 2), "Ohtani,S");
    EXPECT_EQ(text("HitWSTotals", "A", 2), "Ohtani,S");
    EXPECT_EQ(text("PitchRegTotals", "A", 2), "Ohtani,S");
    EXPECT_EQ(text("PitchDCSTotals", "A", 2), "Ohtani,S");
    EXPECT_EQ(text("PitchWSTotals", "A", 2), "Ohtani,S");
    EXPECT_TRUE(empty("PitchRegTotals", "A", 3));
    EXPECT_TRUE(empty("HitDCSTotals", "A", 3));
    EXPECT_FALSE(book().HasSheet("PitchLCSTotals"));
    EXPECT_TRUE(observer.notices.empty());
}

TEST_F(TwoWay, ATwoWayLineAnywhereMakesTheWholePlayerTwoWay) {
    add(batting(hitter_line(5, 2019, 2, 1, "Ohtani", "S"), 50, 10));
    add(both(2020, 2, 100, 30, 90, 10));
    add(both(2020, 7, 10, 2, 9, 0));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(num("O", "A", 3), 2019);
    EXPECT_EQ(num("O", "A", 4), 2020);
    EXPECT_EQ(num("O", "I", 5), 150);           // both lines once, no stale cells
    EXPECT_EQ(text("O", "A", 6), "- - L C S - -");
    EXPECT_EQ(text("O", "B", 8), "Totals");
    EXPECT_EQ(text("O", "A", 10), "Ohtani,S");  // pitching block
    EXPECT_EQ(text("O", "B", 14), "Totals");
    EXPECT_EQ(num("O", "E", 14), 0);
    EXPECT_EQ(text("O", "A", 15), "- - L C S - -");
    EXPECT_EQ(text("O", "B", 17), "Totals");
    EXPECT_TRUE(empty("O", "A", 18));
    EXPECT_TRUE(empty("O", "A", 19));
    EXPECT_EQ(state->counters.HitLCSLine, 2);    // the LCS walk does not write it again
    EXPECT_EQ(state->counters.PitchLCSLine, 2);
}

TEST_F(TwoWay, NextPlayerStartsBelowThePitchingBlock) {
    add(both(2020, 2, 100, 30, 90, 10));
    add(batting(hitter_line(6, 2020, 2, 1, "Otis", "A"), 10, 1));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    // Hitting: 1..4, empty 5, pitching: 6..9, empty 10, next player 11.
    EXPECT_EQ(text("O", "B", 9), "Totals");
    EXPECT_EQ(text("O", "A", 1), "Ohtani,S");
    EXPECT_EQ(text("O", "A", 11), "Otis,A");
}

}  // namespace
}  // namespace tb::test
