// The figures worked out from counts, case by case.
#include "rates/rates.h"

#include <gtest/gtest.h>

namespace tb::rates {
namespace {

// The batting rates are every hitting row of the golden letter and totals
// sheets, lines with no at-bats among them.
TEST(Rates, CountsOfALineDoNotOverflow) {
    EXPECT_EQ(total_bases(32767, 255, 255, 255), 32767 + 255 + 2 * 255 + 3 * 255);
}

TEST(Rates, InningsEraObaAndPct) {
    const std::pair<int64_t, double> innings[] = {{200, 66.2}, {201, 67.0}, {1, 0.1}, {0, 0.0}, {204, 68.0}};
    for (const auto& [outs, ip] : innings) EXPECT_DOUBLE_EQ(innings_of_outs(outs), ip) << outs;

    struct Era {
        int64_t er, outs;
        double era;
    };
    // ERA is rounded once, to the two decimals it shows.
    const Era eras[] = {{0, 0, 0}, {3, 0, 999.99}, {1, 1, 27.0}, {9, 200, 1.22},
                        {59, 240, 6.64},       // 6.6375
                        {67, 1800, 1.01},      // 1.005, a little less as a double
                        {1, 216, 0.13},        // 0.125
                        {1258, 11653, 2.91},   // 2.9148: not 2.915 and then 2.92
                        {-1, 0, 0}};
    for (const Era& e : eras) EXPECT_DOUBLE_EQ(era(e.er, e.outs), e.era) << e.er << "/" << e.outs;

    EXPECT_DOUBLE_EQ(opponents_average(10, 40), .25);
    EXPECT_DOUBLE_EQ(opponents_average(5, 0), 0);
    EXPECT_DOUBLE_EQ(won_lost_pct(2, 1), .667);
    EXPECT_DOUBLE_EQ(won_lost_pct(0, 0), 0);
    EXPECT_DOUBLE_EQ(won_lost_pct(98, 64), .605);
}

TEST(Rates, GamesBehind) {
    struct Case {
        int64_t lw, ll, w, l;
        double gb;
    };
    const Case cases[] = {{95, 67, 95, 67, 0}, {95, 67, 90, 72, 5}, {95, 67, 91, 70, 3.5}, {80, 80, 81, 79, -1}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(games_behind(c.lw, c.ll, c.w, c.l), c.gb);
}

}  // namespace
}  // namespace tb::rates
