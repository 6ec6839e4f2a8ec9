// Numbers as the spreadsheet displays them through a number format.
#include "workbook/workbook.h"

#include <gtest/gtest.h>

using namespace tb::wb;

TEST(FormatNumber, FixedPointFormatsAndGeneral) {
    const std::tuple<double, const char*, const char*> cases[] = {
        {0.3, "#.000", ".300"}, {1.5, "#.000", "1.500"}, {0.0, "#.000", ".000"}, {-0.25, "#.000", "-.250"},
        {6.638, "##0.00", "6.64"}, {0.0, "##0.00", "0.00"}, {999.99, "##0.00", "999.99"}, {1234.5, "##0.00", "1234.50"},
        {66.2, "0.0", "66.2"}, {0.1, "0.0", "0.1"}, {0.25, "0.0", "0.3"},  // half away from zero
        {0.1, "#0.0", "0.1"}, {200.0 / 3, "#0.0", "66.7"},
        // General: integers plainly, others in eleven characters
        {1987, "", "1987"}, {-42, "", "-42"}, {0.3, "", "0.3"}, {1.0 / 3, "", "0.333333333"},
        {2.0 / 3, "", "0.666666667"}, {-2.0 / 3, "", "-0.66666667"}, {123.456, "General", "123.456"},
        {65000, "", "65000"}, {1e12, "", "1E+12"}, {1e-10, "", "1E-10"},
        // "#" alone still shows a digit; formats of other kinds show General
        {0.0, "#", "0"}, {0.5, "0%", "0.5"}, {1.25, "#.0#", "1.25"}};
    for (const auto& [value, format, text] : cases) {
        EXPECT_EQ(format_number(value, format), text) << value << " " << format;
    }
    EXPECT_EQ(format_number(6.6375, "#.000"), "6.638");
}
