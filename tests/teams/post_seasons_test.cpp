// Post-season blocks on "Team Records" and the post-season team totals sheets.
#include "team_pass_fixture.h"

#include <tuple>

namespace tb::teams::test {
namespace {

constexpr std::string_view kDcs = "TeamDCSTotals";
constexpr std::string_view kLcs = "TeamLCSTotals";
constexpr std::string_view kWs = "TeamWSTotals";
using Texts = std::vector<std::string>;

class PostSeasonTest : public TeamPassTest {
protected:
    void SetUp() override { leagues = {league(1, "First League"), league(2, "Second League")}; }
    void add(enc::TeamSeasonRecord r) { seasons.push_back(std::move(r)); }
    void clubs(std::vector<std::string> abbrevs) {
        for (std::size_t i = 0; i < abbrevs.size(); ++i) teams.push_back(team(static_cast<int>(i) + 1, abbrevs[i]));
    }
};

TEST_F(PostSeasonTest, TitleColourBySeasonLeagueSheetRowByLastPostSeasonRecord) {
    clubs({"MOV"});
    add(with_phase(team_season(1, 1999, 1, "Moving", "Vans", 95, 67), 'D', 3, 1));
    add(with_phase(team_season(1, 2000, 2, "Moving", "Vans", 96, 66), 'W', 4, 1));
    run();
    // The section and its "TeamRegTotals" row take the first season's league.
    EXPECT_EQ(style(kRecords, "A", 1).fill, fill(38));
    EXPECT_EQ(style(kRegTotals, "C", 2).fill, fill(38));
    // Rows: seasons 3, 4; totals 5; DCS 6, 7; WS 8, 9.
    EXPECT_EQ(row(kRecords, 6, "A"), Texts{"Divisional Championship"});
    EXPECT_EQ(std::pair(style(kRecords, "A", 6).fill, style(kRecords, "C", 8).fill), std::pair(fill(38), fill(37)));
    // The division series was played in league 1, but the last post-season
    // record read belongs to league 2.
    EXPECT_EQ(std::pair(style(kDcs, "D", 2).fill, style(kWs, "L", 2).fill), std::pair(fill(37), fill(37)));
}

// A sheet past its last row ends the run rather than costing one team.
TEST_F(PostSeasonTest, RowOverflowFailsTheRun) {
    clubs({"BOS"});
    add(with_phase(team_season(1, 2000, 1, "Boston", "Reds", 95, 67), 'D', 3, 1));
    counters.TeamDCSLine = wb::kMaxRows;
    EXPECT_THROW(run(), wb::WorkbookError);
}

// Mended: no fixed bound on the post-season seasons of a team.
TEST_F(PostSeasonTest, MoreThanTwoHundredPostSeasons) {
    clubs({"BOS"});
    for (int year = 1800; year < 2005; ++year)
        add(with_phase(team_season(1, year, 1, "Boston", "Reds", 95, 67), 'D', 3, 1));
    run();
    EXPECT_EQ(numbers(kDcs, 2, "EF"), (std::vector<double>{3 * 205, 205}));
    EXPECT_TRUE(notices.empty());
}

}  // namespace
}  // namespace tb::teams::test
