// Rounding as a spreadsheet rounds: on the 15 significant digits it keeps,
// half away from zero (the two places of ERA are Rates.InningsEraObaAndPct's).
#include "text/decimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace tb::text {
namespace {

TEST(RoundHalfAway, OnTheFifteenDigitDecimalValue) {
    const std::tuple<double, int, double> cases[] = {
        {59.0 / (240.0 / 27.0), 3, 6.638},  // 6.6375 less a little in binary
        {0.3333, 3, 0.333}, {2.0 / 3.0, 3, 0.667}, {0.0005, 3, 0.001}, {0.00049, 3, 0.0}, {1.215, 3, 1.215},
        {1.0005, 3, 1.001},  // binary 1.000499999...
        {-0.0005, 3, -0.001}, {-2.0 / 3.0, 3, -0.667}, {0.9995, 3, 1.0}, {999.99, 3, 999.99}, {0.0, 3, 0.0},
        {123456.78949, 3, 123456.789}, {2.5, 0, 3.0}, {-2.5, 0, -3.0}, {0.5, 20, 0.5}};
    for (const auto& [value, decimals, want] : cases)
        EXPECT_EQ(round_half_away(value, decimals), want) << value << " to " << decimals;
}

TEST(RoundHalfAway, DigitsAndTheSignOfZero) {
    const DecimalDigits d = round_decimal(-0.0004, 3);
    EXPECT_TRUE(d.negative);
    EXPECT_TRUE(d.is_zero());
    EXPECT_EQ(decimal_value(d), 0.0);
    EXPECT_FALSE(std::signbit(decimal_value(d)));
    const DecimalDigits e = round_decimal(1234.5678, 2);
    EXPECT_EQ(e.int_digits, "1234");
    EXPECT_EQ(e.frac_digits, "57");
}

}  // namespace
}  // namespace tb::text
