// Standings as baseball ranks them: by winning percentage, ties shared,
// games behind the leader.
#include "teams/standings.h"

#include <gtest/gtest.h>

namespace tb::teams {
namespace {

struct Race {
    const char* what;
    std::vector<WonLost> teams;
    std::vector<int32_t> finish;
    std::vector<double> games_behind;
};

TEST(Standings, RankedByWinningPercentage) {
    const Race races[] = {
        {"equal wins: fewer losses lead", {{90, 72}, {90, 70}}, {2, 1}, {1, 0}},
        {"fewer wins, better percentage", {{93, 62}, {92, 56}}, {2, 1}, {2.5, 0}},
        {"a short schedule leads; the other is 26 games 'behind'", {{90, 30}, {10, 2}}, {2, 1}, {-26, 0}},
        {"equal percentages share first; the better record leads", {{2, 1}, {4, 2}}, {1, 1}, {0.5, 0}},
        {"level at the top", {{95, 67}, {95, 67}, {80, 82}}, {1, 1, 3}, {0, 0, 15}},
        {"a three-way tie for second", {{95, 67}, {90, 72}, {90, 72}, {90, 72}, {70, 92}},
         {1, 2, 2, 2, 5}, {0, 5, 5, 5, 25}},
        {"a team without games stands at .000", {{0, 0}, {1, 5}, {0, 3}}, {2, 1, 2}, {-2, 0, -0.5}},
        {"no team with games", {{0, 0}, {0, 0}}, {1, 1}, {0, 0}},
        {"one team", {{50, 50}}, {1}, {0}},
    };
    for (const Race& race : races) {
        const std::vector<Placing> placings = rank_division(race.teams);
        ASSERT_EQ(placings.size(), race.teams.size()) << race.what;
        for (std::size_t i = 0; i < placings.size(); ++i) {
            EXPECT_EQ(placings[i].finish, race.finish[i]) << race.what << ", team " << i;
            EXPECT_DOUBLE_EQ(placings[i].games_behind, race.games_behind[i]) << race.what << ", team " << i;
        }
    }
}

TEST(Standings, PercentagesAreComparedExactly) {
    // 1/3 and 2/6 are the same; 333/1000 is less, though a three-decimal
    // rate shows both as .333.
    const std::vector<Placing> p = rank_division({{1, 2}, {2, 4}, {333, 667}});
    EXPECT_EQ(p[0].finish, 1);
    EXPECT_EQ(p[1].finish, 1);
    EXPECT_EQ(p[2].finish, 3);
}

TEST(Standings, FourteenTeamsGetOrdinalsPastTwelfth) {
    std::vector<WonLost> teams;
    for (int k = 0; k < 14; ++k) teams.push_back({100 - k, 62 + k});
    const std::vector<Placing> p = rank_division(teams);
    EXPECT_EQ(p[12].finish, 13);
    EXPECT_EQ(p[13].finish, 14);
    EXPECT_EQ(Finish_Text(p[13].finish), "14th");
    EXPECT_DOUBLE_EQ(p[13].games_behind, 13);
}

TEST(Standings, EachYearLeagueAndDivisionIsItsOwnRace) {
    auto item = [](int year, int league, const char* division, int won, int lost, int team) {
        LstxItem i;
        i.year = year, i.league_id = league, i.Division = division;
        i.WonFrom300 = 300 - won, i.LostFrom300 = 300 - lost, i.team_id = team;
        i.Abbrev = "T" + std::to_string(team);
        return i;
    };
    std::vector<LstxItem> lstx = {item(2000, 1, "East", 90, 72, 1), item(2000, 1, "East", 91, 60, 2),
                                  item(2000, 1, "West", 80, 82, 3), item(2000, 2, "East", 70, 92, 4),
                                  item(2001, 1, "East", 60, 102, 5)};
    sort_work_list(lstx);
    const std::vector<StandingsEntry> s = Unravel_lstx(lstx);
    ASSERT_EQ(s.size(), 5u);
    const std::pair<const char*, double> want[] = {{"2nd", 6.5}, {"1st", 0}, {"1st", 0}, {"1st", 0}, {"1st", 0}};
    for (const StandingsEntry& e : s) {
        EXPECT_EQ(e.Finish, want[e.team_id - 1].first) << e.team_id;
        EXPECT_DOUBLE_EQ(e.GamesBehind, want[e.team_id - 1].second) << e.team_id;
    }
}

}  // namespace
}  // namespace tb::teams
