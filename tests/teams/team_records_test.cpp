// Team sections on "Team Records" and the rows of "TeamRegTotals".
#include "team_pass_fixture.h"

#include <algorithm>

namespace tb::teams::test {
namespace {

constexpr int32_t kRedRgb = 0xFF0000;

bool has_merge(const std::vector<wb::MergeArea>& merges, int c1, int32_t r1, int c2, int32_t r2) {
    return std::any_of(merges.begin(), merges.end(), [&](const wb::MergeArea& m) {
        return m.c1 == c1 && m.r1 == r1 && m.c2 == c2 && m.r2 == r2;
    });
}

class TeamRecordsTest : public TeamPassTest {
protected:
    void major_league() {
        leagues.push_back(league(1, "Major League"));
        league_seasons.push_back(
            divided_league_season(1, 2000, "Major League", {"East", "West"}, {{1, 2, 3}, {}}));
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
    EXPECT_TRUE(has_merge(book.merges(kRecords), 0, 1, 2, 1));
    EXPECT_EQ(text(kRecords, "A", 1), "Boston Reds");
    EXPECT_TRUE(style(kRecords, "A", 1).bold);
    EXPECT_EQ(style(kRecords, "A", 1).font_size, 12);
    EXPECT_EQ(style(kRecords, "C", 1).fill, wb::palette_rgb(38));
    EXPECT_EQ(style(kRecords, "A", 1).top.weight, wb::xlMedium);
    EXPECT_EQ(style(kRecords, "C", 1).right.line_style, wb::xlContinuous);

    // Column headers in row 2.
    const std::vector<std::pair<std::string, std::string>> headers = {
        {"A", "League"}, {"B", "Division"}, {"D", "Year"}, {"E", "Won"}, {"F", "Lost"},
        {"G", "Pct"}, {"H", "GB"}, {"I", "Finish"}, {"J", "Scored"}, {"K", "Allowed"},
        {"L", "SHO"}, {"M", "GDP"}, {"N", "LOB"}};
    for (const auto& [c, t] : headers) EXPECT_EQ(text(kRecords, c, 2), t);
    EXPECT_TRUE(empty(kRecords, "C", 2));
    EXPECT_TRUE(style(kRecords, "N", 2).bold);
    EXPECT_EQ(style(kRecords, "N", 2).fill, wb::palette_rgb(38));

    // The season row 3.
    EXPECT_EQ(text(kRecords, "A", 3), "Major League");
    EXPECT_EQ(text(kRecords, "B", 3), "East");
    EXPECT_EQ(text(kRecords, "C", 3), "Boston Reds");
    EXPECT_EQ(number(kRecords, "D", 3), 2000);
    EXPECT_EQ(number(kRecords, "E", 3), 95);
    EXPECT_EQ(number(kRecords, "F", 3), 67);
    EXPECT_DOUBLE_EQ(number(kRecords, "G", 3), 0.586);
    EXPECT_EQ(shown(kRecords, "G", 3), ".586");
    EXPECT_EQ(number(kRecords, "H", 3), 0);
    EXPECT_EQ(text(kRecords, "I", 3), "1st");
    EXPECT_EQ(number(kRecords, "J", 3), 800);
    EXPECT_EQ(number(kRecords, "K", 3), 700);
    EXPECT_EQ(number(kRecords, "L", 3), 10);
    EXPECT_EQ(number(kRecords, "M", 3), 120);
    EXPECT_EQ(number(kRecords, "N", 3), 1100);
    // Outline around that single row.
    EXPECT_EQ(style(kRecords, "A", 3).left.weight, wb::xlMedium);
    EXPECT_EQ(style(kRecords, "D", 3).top.weight, wb::xlMedium);
    EXPECT_EQ(style(kRecords, "D", 3).bottom.weight, wb::xlMedium);
    EXPECT_EQ(style(kRecords, "N", 3).right.weight, wb::xlMedium);

    // Totals row 4: no label, E:G and J:N boxed with red sides and bottom.
    for (const char* c : {"A", "B", "C", "D", "H", "I"}) EXPECT_TRUE(empty(kRecords, c, 4)) << c;
    EXPECT_EQ(number(kRecords, "E", 4), 95);
    EXPECT_EQ(number(kRecords, "F", 4), 67);
    EXPECT_EQ(shown(kRecords, "G", 4), ".586");
    EXPECT_EQ(number(kRecords, "N", 4), 1100);
    EXPECT_EQ(style(kRecords, "E", 4).left.color, kRedRgb);
    EXPECT_EQ(style(kRecords, "G", 4).right.color, kRedRgb);
    EXPECT_EQ(style(kRecords, "J", 4).bottom.color, kRedRgb);
    EXPECT_EQ(style(kRecords, "E", 4).top.weight, wb::xlMedium);
    EXPECT_EQ(style(kRecords, "E", 4).top.color, -1);
    EXPECT_EQ(book.last_value_row(kRecords), 4);

    // "TeamRegTotals": the header row, then the team's row, outlined.
    const std::vector<std::pair<std::string, std::string>> sum_headers = {
        {"C", "Team"}, {"D", "Won"}, {"E", "Lost"}, {"F", "Pct"}, {"G", "Scored"},
        {"H", "Allowed"}, {"I", "SHO"}, {"J", "GDP"}, {"K", "LOB"}};
    for (const auto& [c, t] : sum_headers) EXPECT_EQ(text(kRegTotals, c, 1), t);
    EXPECT_EQ(style(kRegTotals, "K", 1).fill, wb::palette_rgb(36));
    EXPECT_EQ(text(kRegTotals, "C", 2), "Boston Reds");
    EXPECT_EQ(number(kRegTotals, "D", 2), 95);
    EXPECT_EQ(number(kRegTotals, "E", 2), 67);
    EXPECT_EQ(shown(kRegTotals, "F", 2), ".586");
    EXPECT_EQ(number(kRegTotals, "G", 2), 800);
    EXPECT_EQ(number(kRegTotals, "K", 2), 1100);
    EXPECT_EQ(style(kRegTotals, "C", 2).fill, wb::palette_rgb(38));
    EXPECT_EQ(style(kRegTotals, "C", 1).top.weight, wb::xlMedium);
    EXPECT_EQ(style(kRegTotals, "C", 2).left.weight, wb::xlMedium);
    EXPECT_EQ(style(kRegTotals, "K", 2).bottom.weight, wb::xlMedium);
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
    EXPECT_EQ(number(kRecords, "E", 5), 165);
    EXPECT_EQ(number(kRecords, "F", 5), 159);
    EXPECT_EQ(style(kRecords, "A", 3).top.weight, wb::xlMedium);
    EXPECT_EQ(style(kRecords, "A", 4).bottom.weight, wb::xlMedium);
    // One empty row, then Boston.
    EXPECT_EQ(book.last_row(kRecords) >= 10, true);
    for (const char* c : {"A", "D", "E", "N"}) EXPECT_TRUE(empty(kRecords, c, 6)) << c;
    EXPECT_EQ(text(kRecords, "A", 7), "Boston Reds");
    EXPECT_TRUE(has_merge(book.merges(kRecords), 0, 7, 2, 7));
    EXPECT_EQ(text(kRecords, "A", 8), "League");
    EXPECT_EQ(number(kRecords, "D", 9), 2000);
    EXPECT_EQ(number(kRecords, "E", 10), 95);
    // A one-season team after a longer one: outline only around its own row.
    EXPECT_EQ(style(kRecords, "A", 9).bottom.weight, wb::xlMedium);
    EXPECT_EQ(text(kRegTotals, "C", 2), "Atlanta Birds");
    EXPECT_EQ(text(kRegTotals, "C", 3), "Boston Reds");
}

TEST_F(TeamRecordsTest, NoGamesShowsPctZero) {
    major_league();
    teams.push_back(team(1, "BOS"));
    season(1, 2000, 1, "Boston", "Reds", 0, 0);
    run();
    EXPECT_EQ(number(kRecords, "G", 3), 0);
    EXPECT_EQ(number(kRecords, "G", 4), 0);
    EXPECT_EQ(shown(kRecords, "G", 4), ".000");
    EXPECT_EQ(number(kRegTotals, "F", 2), 0);
}

TEST_F(TeamRecordsTest, TeamsOutsideTheDivisionListsHaveNoDivision) {
    leagues.push_back(league(1, "Major League"));
    league_seasons.push_back(
        divided_league_season(1, 2000, "Major League", {"East", "West"}, {{5, 6}, {7}}));
    teams.push_back(team(3, "AAA"));
    teams.push_back(team(6, "BBB"));
    season(3, 2000, 1, "Below", "Range", 80, 82);   // team number below those listed
    season(6, 2000, 1, "Listed", "Team", 80, 82);
    season(6, 2005, 1, "Listed", "Team", 80, 82);   // year after those listed
    run();
    EXPECT_TRUE(empty(kRecords, "B", 3));
    const int32_t r = find_row("A", "Listed Team");
    ASSERT_GT(r, 0);
    EXPECT_EQ(text(kRecords, "B", r + 2), "East");
    EXPECT_TRUE(empty(kRecords, "B", r + 3));
    EXPECT_EQ(number(kRecords, "D", r + 3), 2005);
}

TEST_F(TeamRecordsTest, TwoTeamNumbersWithOneAbbreviationGetSeparateSections) {
    major_league();
    teams.push_back(team(9, "NY"));
    teams.push_back(team(10, "NY"));
    season(9, 2000, 1, "New York", "Giants", 90, 72);
    season(10, 2000, 1, "New York", "Mets", 80, 82);
    run();
    // Team numbers sort as text: "10" before "9".
    EXPECT_EQ(text(kRecords, "A", 1), "New York Mets");
    EXPECT_EQ(text(kRecords, "A", 6), "New York Giants");
    EXPECT_EQ(number(kRecords, "E", 4), 80);
    EXPECT_EQ(number(kRecords, "E", 9), 90);
    EXPECT_EQ(text(kRegTotals, "C", 2), "New York Mets");
    EXPECT_EQ(text(kRegTotals, "C", 3), "New York Giants");
}

TEST_F(TeamRecordsTest, SectionsFollowAbbreviationsWithoutRegardToCase) {
    major_league();
    teams.push_back(team(1, "bos"));
    teams.push_back(team(2, "ATL"));
    teams.push_back(team(3, "Chi"));
    season(1, 2000, 1, "Boston", "Reds", 90, 72);
    season(2, 2000, 1, "Atlanta", "Birds", 80, 82);
    season(3, 2000, 1, "Chicago", "Cubs", 85, 77);
    run();
    EXPECT_EQ(text(kRegTotals, "C", 2), "Atlanta Birds");
    EXPECT_EQ(text(kRegTotals, "C", 3), "Boston Reds");
    EXPECT_EQ(text(kRegTotals, "C", 4), "Chicago Cubs");
}

TEST_F(TeamRecordsTest, RenamedTeamTitledByItsLastRecord) {
    major_league();
    teams.push_back(team(1, "CAT"));
    season(1, 1999, 1, "Old City", "Cats", 80, 82);
    season(1, 2000, 1, "New City", "Cats", 85, 77);
    run();
    EXPECT_EQ(text(kRecords, "A", 1), "New City Cats");
    EXPECT_EQ(text(kRecords, "C", 3), "Old City Cats");
    EXPECT_EQ(text(kRecords, "C", 4), "New City Cats");
    EXPECT_EQ(text(kRegTotals, "C", 2), "New City Cats");
}

TEST_F(TeamRecordsTest, LeagueShownUnderItsLastName) {
    leagues.push_back(league(1, "Major League"));
    league_seasons.push_back(league_season(1, 1999, "Old League"));
    league_seasons.push_back(league_season(1, 2000, "New League"));
    teams.push_back(team(1, "BOS"));
    season(1, 1999, 1, "Boston", "Reds", 80, 82);
    season(1, 2000, 1, "Boston", "Reds", 85, 77);
    run();
    EXPECT_EQ(text(kRecords, "A", 3), "New League");
    EXPECT_EQ(text(kRecords, "A", 4), "New League");
}

TEST_F(TeamRecordsTest, LeagueColoursByOrderOfLeaguesInUseAndFourthHasNoFill) {
    leagues.push_back(league(1, "First"));
    auto unused = league(9, "Dormant");
    unused.LeagueField44 = 0;
    leagues.push_back(unused);
    leagues.push_back(league(2, "Second"));
    leagues.push_back(league(3, "Third"));
    leagues.push_back(league(4, "Fourth"));
    for (int l = 1; l <= 4; ++l) {
        teams.push_back(team(l, "T" + std::to_string(l)));
        season(l, 2000, l, "Team", std::to_string(l), 80, 82);
    }
    run();
    const int expected[] = {38, 37, 39};
    for (int l = 1; l <= 3; ++l) {
        const int32_t title = find_row("A", "Team " + std::to_string(l));
        ASSERT_GT(title, 0);
        EXPECT_EQ(style(kRecords, "A", title).fill, wb::palette_rgb(expected[l - 1])) << l;
        EXPECT_EQ(style(kRegTotals, "C", l + 1).fill, wb::palette_rgb(expected[l - 1])) << l;
    }
    const int32_t fourth = find_row("A", "Team 4");
    ASSERT_GT(fourth, 0);
    EXPECT_EQ(style(kRecords, "A", fourth).fill, -1);
    EXPECT_EQ(style(kRecords, "N", fourth + 1).fill, -1);
    EXPECT_EQ(style(kRegTotals, "K", 5).fill, -1);
    // Still outlined and written like the others.
    EXPECT_EQ(style(kRecords, "A", fourth).top.weight, wb::xlMedium);
    EXPECT_EQ(text(kRegTotals, "C", 5), "Team 4");
}

TEST_F(TeamRecordsTest, TotalsRowTakesTheColourOfTheFirstSeasonsLeague) {
    leagues.push_back(league(1, "First"));
    leagues.push_back(league(2, "Second"));
    teams.push_back(team(1, "MOV"));
    season(1, 1999, 1, "Moving", "Vans", 80, 82);
    season(1, 2000, 2, "Moving", "Vans", 85, 77);
    run();
    EXPECT_EQ(style(kRecords, "A", 1).fill, wb::palette_rgb(38));
    EXPECT_EQ(style(kRegTotals, "C", 2).fill, wb::palette_rgb(38));
}

TEST_F(TeamRecordsTest, SecondEntryInTheFirstYearGetsItsOwnHeaders) {
    leagues.push_back(league(1, "First"));
    leagues.push_back(league(2, "Second"));
    teams.push_back(team(1, "TWO"));
    season(1, 2000, 1, "Twin", "Towns", 40, 41);
    season(1, 2000, 2, "Twin", "Towns", 42, 39);
    season(1, 2001, 1, "Twin", "Towns", 80, 82);
    run();
    EXPECT_EQ(text(kRecords, "A", 1), "Twin Towns");
    EXPECT_EQ(number(kRecords, "E", 3), 40);
    EXPECT_EQ(text(kRecords, "A", 4), "Twin Towns");
    EXPECT_EQ(style(kRecords, "A", 4).fill, wb::palette_rgb(37));
    EXPECT_EQ(text(kRecords, "A", 5), "League");
    EXPECT_EQ(number(kRecords, "E", 6), 42);
    EXPECT_EQ(number(kRecords, "D", 7), 2001);
    EXPECT_EQ(number(kRecords, "E", 8), 162);
    EXPECT_EQ(text(kRegTotals, "C", 2), "Twin Towns");
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
    EXPECT_EQ(number(kRecords, "D", 5), 2000);
    EXPECT_EQ(number(kRecords, "E", 5), 3);
}

// Mended: no fixed bounds on team or league numbers.
TEST_F(TeamRecordsTest, LargeTeamAndLeagueNumbers) {
    leagues.push_back(league(10500, "Big League"));
    league_seasons.push_back(
        divided_league_season(10500, 2000, "Big League", {"East", "West"}, {{12000}, {}}));
    teams.push_back(team(12000, "BIG"));
    season(12000, 2000, 10500, "Big", "Numbers", 90, 72);
    run();
    EXPECT_EQ(text(kRecords, "A", 1), "Big Numbers");
    EXPECT_EQ(style(kRecords, "A", 1).fill, wb::palette_rgb(38));
    EXPECT_EQ(text(kRecords, "A", 3), "Big League");
    EXPECT_EQ(text(kRecords, "B", 3), "East");
}

TEST_F(TeamRecordsTest, TeamMissingFromTeamFileStillGetsItsSection) {
    major_league();
    season(1, 2000, 1, "Nowhere", "Nomads", 90, 72);
    run();
    EXPECT_EQ(text(kRecords, "A", 1), "Nowhere Nomads");
    EXPECT_EQ(text(kRegTotals, "C", 2), "Nowhere Nomads");
}

}  // namespace
}  // namespace tb::teams::test
