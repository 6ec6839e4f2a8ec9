// Pitching lines and totals: ERA, PCT, OBA, the innings figure and the
// totals sheets.
#include "pitching/pitching.h"
#include "run_fixture.h"

namespace tb::test {
namespace {

using Pitching = RunFixture;

TEST(Innings, TheDigitAfterThePointCountsOuts) {
    EXPECT_DOUBLE_EQ(pitching::innings_of_outs(200), 66.2);
    EXPECT_DOUBLE_EQ(pitching::innings_of_outs(201), 67.0);
    EXPECT_DOUBLE_EQ(pitching::innings_of_outs(1), 0.1);
    EXPECT_DOUBLE_EQ(pitching::innings_of_outs(0), 0.0);
}

TEST_F(Pitching, EraCases) {
    add(pitching(pitcher_line(1, 2000, 2, 1, "Era", "Zero"), 0, 0));
    add(pitching(pitcher_line(1, 2001, 2, 1, "Era", "Zero"), 0, 3));
    add(pitching(pitcher_line(1, 2002, 2, 1, "Era", "Zero"), 1, 1));
    add(pitching(pitcher_line(1, 2003, 2, 1, "Era", "Zero"), 200, 9));
    add(pitching(pitcher_line(1, 2004, 2, 1, "Era", "Zero"), 240, 59));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(shown("E", "D", 3), "0.00");
    EXPECT_DOUBLE_EQ(num("E", "D", 4), 999.99);
    EXPECT_DOUBLE_EQ(num("E", "D", 5), 27.0);
    EXPECT_EQ(shown("E", "D", 5), "27.00");
    EXPECT_DOUBLE_EQ(num("E", "D", 6), 1.215);
    EXPECT_DOUBLE_EQ(num("E", "D", 7), 6.638);   // decimal rounding of 6.6375
    EXPECT_EQ(shown("E", "O", 6), "66.2");
    EXPECT_EQ(style("E", "D", 3).number_format, "##0.00");
    EXPECT_EQ(style("E", "O", 3).number_format, "0.0");
}

TEST_F(Pitching, NoOutsEitherWayOnTheTotalsRows) {
    add(pitching(pitcher_line(1, 2000, 2, 1, "None", "N"), 0, 0));
    add(pitching(pitcher_line(2, 2000, 2, 1, "Only", "Runs"), 0, 2));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(num("N", "D", 4), 0);
    EXPECT_DOUBLE_EQ(num("O", "D", 4), 999.99);
    EXPECT_EQ(num("PitchRegTotals", "C", 2), 0);
    EXPECT_DOUBLE_EQ(num("PitchRegTotals", "C", 3), 999.99);
}

TEST_F(Pitching, InningsOfTheTotalsComeFromTheSummedOuts) {
    add(pitching(pitcher_line(1, 2000, 2, 1, "Inn", "I"), 200, 0));
    add(pitching(pitcher_line(1, 2001, 2, 1, "Inn", "I"), 4, 0));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_DOUBLE_EQ(num("I", "O", 3), 66.2);
    EXPECT_DOUBLE_EQ(num("I", "O", 4), 1.1);
    EXPECT_DOUBLE_EQ(num("I", "O", 5), 68.0);
    EXPECT_DOUBLE_EQ(num("PitchRegTotals", "N", 2), 68.0);
    EXPECT_EQ(style("PitchRegTotals", "N", 2).number_format, "#0.0");
}

TEST_F(Pitching, ObaPctAndHolds) {
    add(pitching(pitcher_line(1, 2000, 2, 1, "Rates", "R"), 30, 1, 0, 0, 0, 0, 10));
    add(pitching(pitcher_line(1, 2001, 2, 1, "Rates", "R"), 30, 1, 2, 1, 40, 10, 5));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(shown("R", "S", 3), ".000");
    EXPECT_EQ(num("R", "G", 3), 0);
    EXPECT_DOUBLE_EQ(num("R", "G", 4), 0.667);
    EXPECT_DOUBLE_EQ(num("R", "S", 4), 0.25);
    EXPECT_EQ(num("R", "I", 5), 15);
    EXPECT_EQ(text("R", "B", 5), "Totals");
}

TEST_F(Pitching, HeaderAndTotalsRowLayout) {
    add(pitching(pitcher_line(1, 2000, 2, 1, "Arm", "A"), 30, 1));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(text("A", "AB", 2), "BK");
    EXPECT_TRUE(style("A", "A", 2).align_right);
    EXPECT_EQ(style("A", "AB", 2).fill, wb::palette_rgb(20));
    EXPECT_EQ(style("A", "A", 2).top.weight, wb::xlMedium);
    EXPECT_EQ(style("A", "A", 1).fill, wb::palette_rgb(20));
    EXPECT_EQ(style("A", "AB", 4).top.weight, wb::xlMedium);
    EXPECT_EQ(style("A", "AB", 4).bottom.color, 0xFF0000);
    EXPECT_TRUE(empty("A", "C", 4));
    EXPECT_EQ(text("PitchRegTotals", "AA", 1), "BK");
    EXPECT_TRUE(empty("PitchRegTotals", "AB", 1));
    EXPECT_EQ(style("PitchRegTotals", "AA", 2).right.weight, wb::xlMedium);
}

TEST_F(Pitching, LastYearIsTheLastLineInListOrder) {
    add(pitching(pitcher_line(1, 2005, 2, 1, "Late", "L"), 3, 0));
    add(pitching(pitcher_line(1, 2003, 2, 1, "Late", "L"), 3, 0));
    add(pitching(pitcher_line(1, 2005, 5, 1, "Late", "L"), 3, 0));   // wild-card lines keep file order
    add(pitching(pitcher_line(1, 2003, 5, 1, "Late", "L"), 3, 0));
    add(pitching(pitcher_line(1, 2004, 8, 1, "Late", "L"), 3, 0));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(num("PitchRegTotals", "B", 2), 2005);
    EXPECT_EQ(text("L", "A", 6), "- - L D S - -");
    EXPECT_EQ(num("L", "A", 7), 2005);
    EXPECT_EQ(num("PitchWCSTotals", "B", 2), 2003);
    EXPECT_EQ(text("L", "A", 10), "- -  W  S  - -");
    EXPECT_EQ(style("L", "A", 10).fill, wb::palette_rgb(20));
    EXPECT_EQ(num("PitchWSTotals", "B", 2), 2004);
}

TEST_F(Pitching, PitcherBlockNextToAHitterBlockOnOneSheet) {
    add(batting(hitter_line(1, 2000, 2, 1, "Mays", "W"), 10, 3));
    add(pitching(pitcher_line(2, 2000, 2, 1, "Mays", "Z"), 30, 1));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(text("M", "A", 2), "Year");
    EXPECT_EQ(text("M", "Y", 2), "TB");
    EXPECT_EQ(text("M", "A", 6), "Mays,Z");
    EXPECT_EQ(text("M", "D", 7), "ERA");
    EXPECT_EQ(text("M", "B", 9), "Totals");
}

TEST_F(Pitching, AHitterWhoLaterPitchesGetsNoPitchingHeader) {
    add(batting(hitter_line(1, 2000, 2, 1, "Mixed", "M"), 10, 3));
    add(pitching(pitcher_line(1, 2001, 2, 1, "Mixed", "M"), 30, 1));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(text("M", "D", 2), "BAVG");
    EXPECT_EQ(num("M", "A", 4), 2001);
    EXPECT_EQ(text("M", "B", 5), "Totals");
    // The last line walked is a pitching line: the totals are pitching totals.
    EXPECT_EQ(text("PitchRegTotals", "A", 2), "Mixed,M");
}

}  // namespace
}  // namespace tb::test
