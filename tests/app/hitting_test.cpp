// Hitting lines and totals: the rates, their rounding and the sums.
#include "run_fixture.h"

namespace tb::test {
namespace {

using Hitting = RunFixture;

TEST_F(Hitting, NoAtBatsWithTwoWalks) {
    add(batting(hitter_line(1, 2000, 2, 1, "Walker", "W"), 0, 0, 0, 0, 0, 2));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(shown("W", "D", 3), ".000");
    EXPECT_EQ(shown("W", "E", 3), "1.000");
    EXPECT_EQ(shown("W", "F", 3), ".000");
    EXPECT_EQ(shown("W", "G", 3), "1.000");
    EXPECT_EQ(num("W", "H", 3), 2);
}

TEST_F(Hitting, TotalBasesAndAverages) {
    add(batting(hitter_line(1, 2000, 2, 1, "Slugger", "S"), 500, 150, 30, 5, 20));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(num("S", "Y", 3), 250);
    EXPECT_DOUBLE_EQ(num("S", "D", 3), 0.3);
    EXPECT_DOUBLE_EQ(num("S", "F", 3), 0.5);
    EXPECT_EQ(style("S", "D", 3).number_format, "#.000");
}

TEST_F(Hitting, PlateAppearancesLeaveOutSacrificeHits) {
    add(batting(hitter_line(1, 2000, 2, 1, "Patient", "P"), 500, 100, 0, 0, 0, 50, 5, 5, 10));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(num("P", "H", 3), 560);
    EXPECT_EQ(num("P", "V", 3), 10);
}

TEST_F(Hitting, OpsIsTheSumOfTheRoundedTerms) {
    // 3 AB, 1 hit (a double), 3 walks: OBP 4/6 = .6667 -> .667, SPC 2/3 -> .667,
    // OPS of the rounded terms 1.334 (not 1.333 from the unrounded sum).
    add(batting(hitter_line(1, 2000, 2, 1, "Ops", "O"), 3, 1, 1, 0, 0, 3));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_DOUBLE_EQ(num("O", "E", 3), 0.667);
    EXPECT_DOUBLE_EQ(num("O", "F", 3), 0.667);
    EXPECT_DOUBLE_EQ(num("O", "G", 3), 1.334);
}

TEST_F(Hitting, TotalsAddUpTheLinesAndRecomputeTheRates) {
    add(batting(hitter_line(1, 2000, 2, 1, "Two", "T"), 300, 90));
    add(batting(hitter_line(1, 2001, 2, 1, "Two", "T"), 200, 50, 0, 0, 0, 10));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(text("T", "A", 5), " ");
    EXPECT_EQ(text("T", "B", 5), "Totals");
    EXPECT_TRUE(empty("T", "C", 5));
    EXPECT_EQ(num("T", "I", 5), 500);
    EXPECT_EQ(num("T", "J", 5), 140);
    EXPECT_DOUBLE_EQ(num("T", "D", 5), 0.28);
    // OBP from the summed OB and PA: 150 / 510.
    EXPECT_DOUBLE_EQ(num("T", "E", 5), 0.294);
    EXPECT_NEAR(num("T", "G", 5), 0.294 + 0.28, 1e-12);
}

TEST_F(Hitting, APhaseWithoutAtBatsOrWalksShowsZeroRates) {
    add(batting(hitter_line(1, 2000, 2, 1, "Zero", "Z"), 0, 0));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    for (const char* col : {"D", "E", "F", "G"}) EXPECT_EQ(shown("Z", col, 4), ".000") << col;
}

TEST_F(Hitting, LargeFiguresDoNotOverflowTheLineSums) {
    auto line = batting(hitter_line(1, 2000, 2, 1, "Huge", "H"), 32767, 32767, 255, 255, 255, 32767, 255, 255);
    add(line);
    add(line);
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(num("H", "H", 3), 32767 + 32767 + 255 + 255);
    EXPECT_EQ(num("H", "Y", 3), 32767 + 255 + 2 * 255 + 3 * 255);
    EXPECT_EQ(num("H", "H", 5), 2.0 * (32767 + 32767 + 255 + 255));
}

}  // namespace
}  // namespace tb::test
