// Team sections on "Team Records" and the rows of "TeamRegTotals".
#include "team_pass_fixture.h"

#include <tuple>

namespace tb::teams::test {
namespace {

using Texts = std::vector<std::string>;
using Numbers = std::vector<double>;

class TeamRecordsTest : public TeamPassTest {
protected:
    void major_league() {
        leagues.push_back(league(1, "Major League"));
        league_seasons.push_back(
            divided_league_season(1, 2000, "Major League", {"East", "West"}, {{1, 2, 3}, {}}));
    }
    // Boston, the one team of the major league in `year`.
    enc::TeamSeasonRecord& boston(int year, int won, int lost) {
        if (teams.empty()) {
            major_league();
            teams.push_back(team(1, "BOS"));
        }
        return season(1, year, 1, "Boston", "Reds", won, lost);
    }
    void expect_sum_teams(const Texts& names) {
        for (std::size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(text(kRegTotals, "C", static_cast<int32_t>(i) + 2), names[i]) << i;
    }
};

TEST_F(TeamRecordsTest, TeamsOutsideTheDivisionListsHaveNoDivision) {
    leagues.push_back(league(1, "Major League"));
    league_seasons.push_back(divided_league_season(1, 2000, "Major League", {"East", "West"}, {{5, 6}, {7}}));
    teams.push_back(team(3, "AAA"));
    teams.push_back(team(6, "BBB"));
    season(3, 2000, 1, "Below", "Range", 80, 82);  // team number below those listed
    season(6, 2000, 1, "Listed", "Team", 80, 82);
    season(6, 2005, 1, "Listed", "Team", 80, 82);  // year after those listed
    run();
    // Below Range: title 1, row 3; Listed Team: title 6, rows 8 and 9.
    EXPECT_EQ(column(kRecords, "B", 1, 9), (Texts{"", "Division", "", "", "", "", "Division", "East", ""}));
    EXPECT_EQ(shown(kRecords, "D", 9), "2005");
}

TEST_F(TeamRecordsTest, SectionsFollowAbbreviationsIgnoringCaseAndSplitByTeamNumber) {
    major_league();
    teams = {team(1, "bos"), team(2, "ATL"), team(9, "NY"), team(10, "NY")};
    season(1, 2000, 1, "Boston", "Reds", 85, 77);
    season(2, 2000, 1, "Atlanta", "Birds", 0, 0);  // no games: Pct 0
    season(9, 2000, 1, "New York", "Giants", 90, 72);
    season(10, 2000, 1, "New York", "Mets", 80, 82);
    run();
    // Team numbers sort as text: "10" before "9".
    expect_sum_teams({"Atlanta Birds", "Boston Reds", "New York Mets", "New York Giants"});
    EXPECT_EQ(std::tuple(number(kRecords, "G", 3), number(kRecords, "G", 4), number(kRegTotals, "F", 2)),
              std::tuple(0.0, 0.0, 0.0));
    EXPECT_EQ(shown(kRecords, "G", 4), ".000");
    EXPECT_EQ(column(kRecords, "A", 11, 16), (Texts{"New York Mets", "League", "Major League", "", "", "New York Giants"}));
    EXPECT_EQ(column(kRecords, "E", 13, 19), (Texts{"80", "80", "", "", "Won", "90", "90"}));
}

TEST_F(TeamRecordsTest, RenamedTeamTitledByItsLastRecordAndLeagueByItsLastName) {
    leagues.push_back(league(1, "Major League"));
    league_seasons.push_back(league_season(1, 1999, "Old League"));
    league_seasons.push_back(league_season(1, 2000, "New League"));
    teams.push_back(team(1, "CAT"));
    season(1, 1999, 1, "Old City", "Cats", 80, 82);
    season(1, 2000, 1, "New City", "Cats", 85, 77);
    run();
    EXPECT_EQ(text(kRecords, "A", 1), "New City Cats");
    EXPECT_EQ(row(kRecords, 3, "AC"), (Texts{"New League", "Old City Cats"}));
    EXPECT_EQ(row(kRecords, 4, "AC"), (Texts{"New League", "New City Cats"}));
    EXPECT_EQ(text(kRegTotals, "C", 2), "New City Cats");
}

TEST_F(TeamRecordsTest, LeagueColoursByOrderOfLeaguesInUseAndFourthHasNoFill) {
    auto unused = league(9, "Dormant");
    unused.LeagueField44 = 0;
    leagues = {league(1, "First"), unused, league(2, "Second"), league(3, "Third"), league(4, "Fourth")};
    for (int l = 1; l <= 4; ++l) {
        teams.push_back(team(l, "T" + std::to_string(l)));
        season(l, 2000, l, "Team", std::to_string(l), 80, 82);
    }
    run();
    const int expected[] = {38, 37, 39};
    for (int l = 1; l <= 3; ++l) {
        const int32_t title = find_row("A", "Team " + std::to_string(l));
        ASSERT_GT(title, 0);
        EXPECT_EQ(style(kRecords, "A", title).fill, fill(expected[l - 1])) << l;
        EXPECT_EQ(style(kRegTotals, "C", l + 1).fill, fill(expected[l - 1])) << l;
    }
    // The fourth is written and outlined like the others, without a fill.
    const int32_t fourth = find_row("A", "Team 4");
    EXPECT_EQ(std::tuple(style(kRecords, "A", fourth).fill, style(kRecords, "N", fourth + 1).fill,
                         style(kRegTotals, "K", 5).fill, style(kRecords, "A", fourth).top.weight),
              std::tuple(-1, -1, -1, wb::xlMedium));
    EXPECT_EQ(text(kRegTotals, "C", 5), "Team 4");
}

TEST_F(TeamRecordsTest, SecondEntryInTheFirstYearGetsItsOwnHeaders) {
    leagues = {league(1, "First"), league(2, "Second")};
    teams.push_back(team(1, "TWO"));
    season(1, 2000, 1, "Twin", "Towns", 40, 41);
    season(1, 2000, 2, "Twin", "Towns", 42, 39);
    season(1, 2001, 1, "Twin", "Towns", 80, 82);
    run();
    // Title, headers, 2000 in the first league; title, headers, 2000 in the second, 2001; totals.
    EXPECT_EQ(column(kRecords, "A", 1, 5), (Texts{"Twin Towns", "League", "", "Twin Towns", "League"}));
    EXPECT_EQ(column(kRecords, "E", 3, 8), (Texts{"40", "", "Won", "42", "80", "162"}));
    EXPECT_EQ(shown(kRecords, "D", 7), "2001");
    EXPECT_EQ(style(kRecords, "A", 4).fill, fill(37));
}

// Mended: no used team season means nothing to write, and no failure.
TEST_F(TeamRecordsTest, UnusedRecordsStillCountForRecordNumbers) {
    boston(1999, 90, 72).Status = 1;
    auto& played = boston(2000, 95, 67);
    played = with_phase(played, 'D', 3, 1);
    run();
    // The post-season row is read back from record 2, not record 1.
    EXPECT_EQ(text(kRecords, "A", 5), "Divisional Championship");
    EXPECT_EQ(numbers(kRecords, 5, "DE"), (Numbers{2000, 3}));
}

// Mended: no fixed bounds on team or league numbers, and a team missing from
// the team file still gets its section.
TEST_F(TeamRecordsTest, LargeTeamAndLeagueNumbersAndTeamsWithoutAbbreviation) {
    leagues.push_back(league(10500, "Big League"));
    league_seasons.push_back(divided_league_season(10500, 2000, "Big League", {"East", "West"}, {{12000}, {}}));
    teams.push_back(team(12000, "BIG"));
    season(12000, 2000, 10500, "Big", "Numbers", 90, 72);
    season(7, 2000, 10500, "Nowhere", "Nomads", 80, 82);
    run();
    const int32_t big = find_row("A", "Big Numbers");
    ASSERT_GT(big, 0);
    EXPECT_EQ(style(kRecords, "A", big).fill, fill(38));
    EXPECT_EQ(row(kRecords, big + 2, "AB"), (Texts{"Big League", "East"}));
    EXPECT_GT(find_row("A", "Nowhere Nomads"), 0);
    EXPECT_GT(find_row("C", "Nowhere Nomads", kRegTotals), 0);
}

}  // namespace
}  // namespace tb::teams::test
