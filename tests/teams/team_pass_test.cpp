// What the whole-workbook test cannot hold: a team with more post-seasons
// than a fixed table would take.
#include "app/run_fixture.h"

namespace tb::test {
namespace {

using TeamPass = RunFixture;

TEST_F(TeamPass, MoreThanTwoHundredPostSeasonsOfOneTeam) {
    options.desired = sheets::SheetsDesired::TeamsOnly;
    for (int year = 1800; year < 2005; ++year) {
        contents.team_seasons->push_back(team_season(1, year, 1, "Boston", "Reds", 95, 67));
        contents.team_seasons->back().division_series.won = 3;
        contents.team_seasons->back().division_series.lost = 1;
    }
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed);
    EXPECT_EQ(text("TeamDCSTotals", "D", 2), "Boston Reds");
    EXPECT_EQ(text("TeamDCSTotals", "E", 2), "615");
    EXPECT_EQ(text("TeamDCSTotals", "F", 2), "205");
    EXPECT_TRUE(observer.told.empty());
}

}  // namespace
}  // namespace tb::test
