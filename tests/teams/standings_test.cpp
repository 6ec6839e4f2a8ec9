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
        // 1/3 and 2/6 are the same; 333/1000 is less, though both show as .333.
        {"percentages compared exactly", {{1, 2}, {2, 4}, {333, 667}}, {1, 1, 3}, {0, 0.5, 166.5}},
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

// Places past any fixed table of ordinals.
TEST(Standings, FourteenTeamsAndOrdinalsPastTwelfth) {
    std::vector<WonLost> teams;
    for (int k = 0; k < 14; ++k) teams.push_back({100 - k, 62 + k});
    const std::vector<Placing> p = rank_division(teams);
    EXPECT_EQ(p[13].finish, 14);
    EXPECT_DOUBLE_EQ(p[13].games_behind, 13);
    const std::pair<int, const char*> places[] = {{3, "3rd"},     {4, "4th"},     {13, "13th"},   {101, "101st"},
                                                 {111, "111th"}, {112, "112th"}, {113, "113th"}, {122, "122nd"}};
    for (const auto& [n, place] : places) EXPECT_EQ(finish_text(n), place);
}

}  // namespace
}  // namespace tb::teams
