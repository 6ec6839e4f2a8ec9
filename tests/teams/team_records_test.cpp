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
    void expect_sum_teams(const Texts& names) {
        for (std::size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(text(kRegTotals, "C", static_cast<int32_t>(i) + 2), names[i]) << i;
    }
};

TEST_F(TeamRecordsTest, OneSeasonTeamSection) {
    major_league();
    teams.push_back(team(1, "BOS"));
    auto& s = season(1, 2000, 1, "Boston", "Reds", 95, 67);
    s.RegTotals.Scored = 800;
    s.RegTotals.Allowed = 700;
    s.RegTotals.SHO = 10;
    s.RegTotals.GDP = 120;
    s.RegTotals.LOB = 1100;
    run();

    // Title row 1: A:C merged, bold, size 12, league colour, outlined.
    EXPECT_TRUE(merged_title(1));
    EXPECT_EQ(text(kRecords, "A", 1), "Boston Reds");
    const wb::Style title = style(kRecords, "A", 1);
    EXPECT_EQ(std::tuple(title.bold, title.font_size, title.fill, title.top.weight),
              std::tuple(true, 12, fill(38), wb::xlMedium));
    EXPECT_EQ(style(kRecords, "C", 1).right.line_style, wb::xlContinuous);
    // Bold, coloured headers in row 2, none over C.
    EXPECT_EQ(texts(kRecords, 2, "ABDEFGHIJKLMN"),
              (Texts{"League", "Division", "Year", "Won", "Lost", "Pct", "GB", "Finish", "Scored",
                     "Allowed", "SHO", "GDP", "LOB"}));
    EXPECT_TRUE(empty(kRecords, "C", 2));
    EXPECT_EQ(std::pair(style(kRecords, "N", 2).bold, style(kRecords, "N", 2).fill), std::pair(true, fill(38)));
    // The season row 3, outlined on its own.
    EXPECT_EQ(texts(kRecords, 3, "ABCI"), (Texts{"Major League", "East", "Boston Reds", "1st"}));
    EXPECT_EQ(numbers(kRecords, 3, "DEFGHJKLMN"), (Numbers{2000, 95, 67, 0.586, 0, 800, 700, 10, 120, 1100}));
    EXPECT_EQ(shown(kRecords, "G", 3), ".586");
    const int medium = wb::xlMedium;
    EXPECT_EQ(style(kRecords, "A", 3).left.weight, medium);
    EXPECT_EQ(std::pair(style(kRecords, "D", 3).top.weight, style(kRecords, "D", 3).bottom.weight),
              std::pair(medium, medium));
    EXPECT_EQ(style(kRecords, "N", 3).right.weight, medium);
    // Totals row 4: no label, E:G and J:N boxed with red sides and bottom.
    for (const char* c : {"A", "B", "C", "D", "H", "I"}) EXPECT_TRUE(empty(kRecords, c, 4)) << c;
    EXPECT_EQ(numbers(kRecords, 4, "EFN"), (Numbers{95, 67, 1100}));
    EXPECT_EQ(shown(kRecords, "G", 4), ".586");
    EXPECT_EQ(std::tuple(style(kRecords, "E", 4).left.color, style(kRecords, "G", 4).right.color,
                         style(kRecords, "J", 4).bottom.color),
              std::tuple(kRedRgb, kRedRgb, kRedRgb));
    EXPECT_EQ(style(kRecords, "E", 4).top, (wb::BorderEdge{wb::xlContinuous, medium, -1}));
    EXPECT_EQ(book.last_value_row(kRecords), 4);

    // "TeamRegTotals": the header row, then the team's row, outlined.
    EXPECT_EQ(texts(kRegTotals, 1, "CDEFGHIJK"),
              (Texts{"Team", "Won", "Lost", "Pct", "Scored", "Allowed", "SHO", "GDP", "LOB"}));
    EXPECT_EQ(style(kRegTotals, "K", 1).fill, fill(36));
    EXPECT_EQ(text(kRegTotals, "C", 2), "Boston Reds");
    EXPECT_EQ(numbers(kRegTotals, 2, "DEGK"), (Numbers{95, 67, 800, 1100}));
    EXPECT_EQ(shown(kRegTotals, "F", 2), ".586");
    EXPECT_EQ(style(kRegTotals, "C", 2).fill, fill(38));
    EXPECT_EQ(std::tuple(style(kRegTotals, "C", 1).top.weight, style(kRegTotals, "C", 2).left.weight,
                         style(kRegTotals, "K", 2).bottom.weight),
              std::tuple(medium, medium, medium));
    EXPECT_EQ(book.last_value_row(kRegTotals), 2);
    EXPECT_TRUE(notices.empty());
}

TEST_F(TeamRecordsTest, SectionsAreOneEmptyRowApart) {
    major_league();
    teams.push_back(team(1, "BOS"));
    teams.push_back(team(2, "ATL"));
    season(1, 2000, 1, "Boston", "Reds", 95, 67);
    season(2, 1999, 1, "Atlanta", "Birds", 80, 82);
    season(2, 2000, 1, "Atlanta", "Birds", 85, 77);
    run();
    // Atlanta first: title 1, headers 2, seasons 3 and 4 in year order, totals 5.
    EXPECT_EQ(text(kRecords, "A", 1), "Atlanta Birds");
    EXPECT_EQ(number(kRecords, "D", 3), 1999);
    EXPECT_EQ(number(kRecords, "D", 4), 2000);
    EXPECT_EQ(numbers(kRecords, 5, "EF"), (Numbers{165, 159}));
    EXPECT_EQ(style(kRecords, "A", 3).top.weight, wb::xlMedium);
    EXPECT_EQ(style(kRecords, "A", 4).bottom.weight, wb::xlMedium);
    // One empty row, then Boston, outlined only around its own row.
    for (const char* c : {"A", "D", "E", "N"}) EXPECT_TRUE(empty(kRecords, c, 6)) << c;
    EXPECT_EQ(text(kRecords, "A", 7), "Boston Reds");
    EXPECT_TRUE(merged_title(7));
    EXPECT_EQ(text(kRecords, "A", 8), "League");
    EXPECT_EQ(number(kRecords, "D", 9), 2000);
    EXPECT_EQ(style(kRecords, "A", 9).bottom.weight, wb::xlMedium);
    EXPECT_EQ(number(kRecords, "E", 10), 95);
    expect_sum_teams({"Atlanta Birds", "Boston Reds"});
}

TEST_F(TeamRecordsTest, NoGamesShowsPctZero) {
    major_league();
    teams.push_back(team(1, "BOS"));
    season(1, 2000, 1, "Boston", "Reds", 0, 0);
    run();
    EXPECT_EQ(number(kRecords, "G", 3), 0);
    EXPECT_EQ(shown(kRecords, "G", 4), ".000");
    EXPECT_EQ(number(kRegTotals, "F", 2), 0);
}

TEST_F(TeamRecordsTest, TeamsOutsideTheDivisionListsHaveNoDivision) {
    leagues.push_back(league(1, "Major League"));
    league_seasons.push_back(divided_league_season(1, 2000, "Major League", {"East", "West"}, {{5, 6}, {7}}));
    teams.push_back(team(3, "AAA"));
    teams.push_back(team(6, "BBB"));
    season(3, 2000, 1, "Below", "Range", 80, 82);  // team number below those listed
    season(6, 2000, 1, "Listed", "Team", 80, 82);
    season(6, 2005, 1, "Listed", "Team", 80, 82);  // year after those listed
    run();
    EXPECT_TRUE(empty(kRecords, "B", 3));
    const int32_t r = find_row("A", "Listed Team");
    ASSERT_GT(r, 0);
    EXPECT_EQ(text(kRecords, "B", r + 2), "East");
    EXPECT_TRUE(empty(kRecords, "B", r + 3));
    EXPECT_EQ(number(kRecords, "D", r + 3), 2005);
}

TEST_F(TeamRecordsTest, SectionsFollowAbbreviationsIgnoringCaseAndSplitByTeamNumber) {
    major_league();
    teams = {team(1, "bos"), team(2, "ATL"), team(9, "NY"), team(10, "NY")};
    season(1, 2000, 1, "Boston", "Reds", 85, 77);
    season(2, 2000, 1, "Atlanta", "Birds", 70, 92);
    season(9, 2000, 1, "New York", "Giants", 90, 72);
    season(10, 2000, 1, "New York", "Mets", 80, 82);
    run();
    // Team numbers sort as text: "10" before "9".
    expect_sum_teams({"Atlanta Birds", "Boston Reds", "New York Mets", "New York Giants"});
    const int32_t mets = find_row("A", "New York Mets");
    EXPECT_EQ(mets, 11);
    EXPECT_EQ(number(kRecords, "E", mets + 3), 80);
    EXPECT_EQ(text(kRecords, "A", mets + 5), "New York Giants");
    EXPECT_EQ(number(kRecords, "E", mets + 8), 90);
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
    EXPECT_EQ(texts(kRecords, 3, "AC"), (Texts{"New League", "Old City Cats"}));
    EXPECT_EQ(texts(kRecords, 4, "AC"), (Texts{"New League", "New City Cats"}));
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
    ASSERT_GT(fourth, 0);
    EXPECT_EQ(style(kRecords, "A", fourth).fill, -1);
    EXPECT_EQ(style(kRecords, "N", fourth + 1).fill, -1);
    EXPECT_EQ(style(kRegTotals, "K", 5).fill, -1);
    EXPECT_EQ(style(kRecords, "A", fourth).top.weight, wb::xlMedium);
    EXPECT_EQ(text(kRegTotals, "C", 5), "Team 4");
}

TEST_F(TeamRecordsTest, SecondEntryInTheFirstYearGetsItsOwnHeaders) {
    leagues = {league(1, "First"), league(2, "Second")};
    teams.push_back(team(1, "TWO"));
    season(1, 2000, 1, "Twin", "Towns", 40, 41);
    season(1, 2000, 2, "Twin", "Towns", 42, 39);
    season(1, 2001, 1, "Twin", "Towns", 80, 82);
    run();
    EXPECT_EQ(text(kRecords, "A", 1), "Twin Towns");
    EXPECT_EQ(number(kRecords, "E", 3), 40);
    EXPECT_EQ(text(kRecords, "A", 4), "Twin Towns");
    EXPECT_EQ(style(kRecords, "A", 4).fill, fill(37));
    EXPECT_EQ(text(kRecords, "A", 5), "League");
    EXPECT_EQ(number(kRecords, "E", 6), 42);
    EXPECT_EQ(number(kRecords, "D", 7), 2001);
    EXPECT_EQ(number(kRecords, "E", 8), 162);
}

// Mended: no used team season means nothing to write, and no failure.
TEST_F(TeamRecordsTest, NoUsedTeamSeasonWritesNothing) {
    major_league();
    teams.push_back(team(1, "BOS"));
    season(1, 2000, 1, "Boston", "Reds", 90, 72).Status = 1;
    season(1, 0, 1, "Boston", "Reds", 90, 72);
    EXPECT_NO_THROW(run());
    EXPECT_EQ(book.last_row(kRecords), 0);
    EXPECT_EQ(book.last_row(kRegTotals), 0);
    EXPECT_EQ(counters.TeamDCSLine, 1);
    EXPECT_TRUE(notices.empty());
}

TEST_F(TeamRecordsTest, UnusedRecordsStillCountForRecordNumbers) {
    major_league();
    teams.push_back(team(1, "BOS"));
    season(1, 1999, 1, "Boston", "Reds", 90, 72).Status = 1;
    seasons.push_back(with_phase(team_season(1, 2000, 1, "Boston", "Reds", 95, 67), 'D', 3, 1));
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
    EXPECT_EQ(text(kRecords, "A", 1), "Big Numbers");
    EXPECT_EQ(style(kRecords, "A", 1).fill, fill(38));
    EXPECT_EQ(texts(kRecords, 3, "AB"), (Texts{"Big League", "East"}));
    EXPECT_GT(find_row("A", "Nowhere Nomads"), 0);
    EXPECT_GT(find_row("C", "Nowhere Nomads", kRegTotals), 0);
}

}  // namespace
}  // namespace tb::teams::test
