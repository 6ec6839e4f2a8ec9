// Games behind and finishing places, read back from the season rows.
#include "team_pass_fixture.h"

#include "teams/standings.h"

#include <utility>

namespace tb::teams::test {
namespace {

struct Standings : TeamPass {
    // Division "East" of league 1 in `year` holding the given teams.
    void division(int year, const std::vector<int>& members) {
        league_seasons.push_back(
            divided_league_season(1, year, "Major League", {"East", "West"}, {members, {}}));
    }
    // A team with its own abbreviation and one season in league 1.
    void club(int id, int year, int won, int lost) {
        teams.push_back(team(id, "T" + std::to_string(id)));
        season(id, year, 1, "City" + std::to_string(id), "Club", won, lost);
    }
    int32_t row_of(int id) const {
        const int32_t r = find_row("C", "City" + std::to_string(id) + " Club");
        EXPECT_GT(r, 0) << "no season row for team " << id;
        return r;
    }
    double gb(int id) const { return number(kRecords, "H", row_of(id)); }
    std::string finish(int id) const { return text(kRecords, "I", row_of(id)); }
    std::string division_of(int id) const { return text(kRecords, "B", row_of(id)); }
};
class StandingsTest : public ::testing::Test, public Standings {};

TEST(StandingsOfOneDivision, GamesBehindAndTiedPlaces) {
    struct Race {
        std::vector<std::pair<int, int>> records;  // won-lost of teams 1, 2, ...
        std::vector<double> gb;
        std::vector<std::string> finish;
    };
    const Race races[] = {
        {{{95, 67}, {90, 72}, {90, 72}}, {0, 5, 5}, {"1st", "2nd", "2nd"}},
        // A third tied team takes its position less one.
        {{{95, 67}, {90, 72}, {90, 72}, {90, 72}}, {0, 5, 5, 5}, {"1st", "2nd", "2nd", "3rd"}},
        // Level with the leader: no shared place.
        {{{95, 67}, {95, 67}}, {0, 0}, {"1st", "2nd"}},
        // Equal wins: the one with more losses leads, the other is a game "behind" at -1.
        {{{90, 70}, {90, 72}}, {-1, 0}, {"2nd", "1st"}},
        {{{95, 67}, {91, 70}}, {0, 3.5}, {"1st", "2nd"}},
    };
    for (const Race& race : races) {
        Standings s;
        std::vector<int> ids;
        for (std::size_t i = 1; i <= race.records.size(); ++i) ids.push_back(static_cast<int>(i));
        s.division(2000, ids);
        for (int id : ids) s.club(id, 2000, race.records[id - 1].first, race.records[id - 1].second);
        s.run();
        for (int id : ids) {
            SCOPED_TRACE("race of " + std::to_string(ids.size()) + ", team " + std::to_string(id));
            EXPECT_EQ(s.gb(id), race.gb[id - 1]);
            EXPECT_EQ(s.finish(id), race.finish[id - 1]);
        }
    }
}

TEST_F(StandingsTest, FirstDivisionOfAYearDoesNotTieWithThePreviousGroup) {
    division(2000, {1, 2});
    division(2001, {3, 4});
    club(1, 2000, 95, 67);
    club(2, 2000, 90, 72);
    club(3, 2001, 95, 67);
    club(4, 2001, 90, 72);
    run();
    EXPECT_EQ(finish(2), "2nd");
    EXPECT_EQ(gb(4), 5);
    EXPECT_EQ(finish(4), "2nd");
}

TEST_F(StandingsTest, DivisionsOfOneLeagueAreSeparateGroupsAndUnusedOnesGiveNoDivision) {
    league_seasons.push_back(divided_league_season(1, 2000, "Major League", {"East", "West", "", "South"},
                                                   {{1, 2}, {3, 4}, {5}, {6}}));
    const std::pair<int, int> records[] = {{95, 67}, {80, 82}, {85, 77}, {70, 92}, {75, 87}, {60, 102}};
    for (int id = 1; id <= 6; ++id) club(id, 2000, records[id - 1].first, records[id - 1].second);
    run();
    EXPECT_EQ(finish(1), "1st");
    EXPECT_EQ(finish(3), "1st");
    EXPECT_EQ(gb(4), 15);
    EXPECT_EQ(division_of(3), "West");
    EXPECT_TRUE(empty(kRecords, "B", row_of(5)));
    EXPECT_EQ(division_of(6), "South");
    EXPECT_EQ(finish(6), "1st");
}

TEST_F(StandingsTest, LeagueWithoutDivisionsFormsOneGroup) {
    // Division names 2 and 3 set but 0 and 1 not: still no divisions.
    league_seasons.push_back(divided_league_season(1, 2000, "Major League", {"", "", "North", "South"},
                                                   {{1}, {2}, {3}, {}}));
    for (int id = 1; id <= 3; ++id) club(id, 2000, 100 - 5 * id, 62 + 5 * id);
    run();
    EXPECT_EQ(finish(2), "2nd");
    EXPECT_EQ(finish(3), "3rd");
    EXPECT_EQ(gb(3), 10);
    EXPECT_EQ(division_of(3), std::string(20, ' '));
}

TEST_F(StandingsTest, LaterLeagueSeasonOfTheYearWinsTheDivision) {
    league_seasons.push_back(divided_league_season(1, 2000, "Major League", {"East", "West"}, {{1}, {}}));
    league_seasons.push_back(divided_league_season(2, 2000, "Other League", {"North", "South"}, {{}, {1}}));
    club(1, 2000, 95, 67);
    run();
    EXPECT_EQ(division_of(1), "South");
}

TEST_F(StandingsTest, CommaInTeamNameKeepsEveryField) {
    division(2000, {1, 2});
    teams.push_back(team(1, "STL"));
    season(1, 2000, 1, "St. Louis, MO", "Cards", 95, 67);
    club(2, 2000, 90, 72);
    run();
    EXPECT_EQ(text(kRecords, "A", 1), "St. Louis, MO Cards");
    EXPECT_EQ(row(kRecords, 3, "CEI"), (std::vector<std::string>{"St. Louis, MO Cards", "95", "1st"}));
    EXPECT_EQ(gb(2), 5);
}

// Mended: places past the twelfth get their ordinal instead of stopping the run.
TEST(FinishText, OrdinalsBeyondTheTable) {
    const std::pair<int, const char*> places[] = {{3, "3rd"},     {4, "4th"},     {101, "101st"},
                                                 {111, "111th"}, {112, "112th"}, {113, "113th"},
                                                 {122, "122nd"}};
    for (const auto& [n, place] : places) EXPECT_EQ(Finish_Text(n), place);
}

// Team sections follow the standings list, whose texts begin with the
// abbreviation: accents after base letters, case ignored.
TEST_F(StandingsTest, SectionsFollowAbbreviationsInReadingOrder) {
    const std::pair<int, std::string> clubs[] = {
        {1, "AZO"}, {2, "\xC3\x81LV"}, {3, "Mtz"}, {4, "M\xC3\xADn"}, {5, "bos"}};
    for (const auto& [id, abbrev] : clubs) {
        teams.push_back(team(id, abbrev));
        season(id, 2000, 1, "City" + std::to_string(id), "Club", 80, 82);
    }
    run();
    std::vector<int32_t> rows;
    for (int id : {2, 1, 5, 4, 3}) rows.push_back(find_row("C", "City" + std::to_string(id) + " Club"));
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end()))
        << rows[0] << " " << rows[1] << " " << rows[2] << " " << rows[3] << " " << rows[4];
    EXPECT_GT(rows.front(), 0);
}

}  // namespace
}  // namespace tb::teams::test
