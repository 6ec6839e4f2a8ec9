// Rates as read back from "#.000" text, displayed texts and AutoFit widths.
#include "workbook/workbook.h"

#include <gtest/gtest.h>

using namespace tb::wb;

TEST(Format000Value, RoundsTheDecimalHalfAwayFromZero) {
    const std::pair<double, double> cases[] = {
        {59.0 / (240.0 / 27.0), 6.638},  // ERA 6.6375
        {0.3333, 0.333}, {2.0 / 3.0, 0.667}, {0.0005, 0.001}, {0.00049, 0.0}, {1.215, 1.215},
        {1.0005, 1.001},  // binary 1.000499999...
        {-0.0005, -0.001}, {-2.0 / 3.0, -0.667}, {0.9995, 1.0}, {999.99, 999.99}, {0.0, 0.0},
        {123456.78949, 123456.789}};
    for (const auto& [quotient, value] : cases) EXPECT_EQ(format_000_value(quotient), value) << quotient;
}

TEST(FormatNumber, EachFormatThePassesUseAndGeneral) {
    const std::tuple<double, const char*, const char*> cases[] = {
        {0.3, "#.000", ".300"}, {1.5, "#.000", "1.500"}, {0.0, "#.000", ".000"}, {-0.25, "#.000", "-.250"},
        {6.638, "##0.00", "6.64"}, {0.0, "##0.00", "0.00"}, {999.99, "##0.00", "999.99"}, {1234.5, "##0.00", "1234.50"},
        {66.2, "0.0", "66.2"}, {0.1, "0.0", "0.1"}, {0.25, "0.0", "0.3"},  // half away from zero
        {0.1, "#0.0", "0.1"}, {200.0 / 3, "#0.0", "66.7"},
        // General: integers plainly, others in eleven characters
        {1987, "", "1987"}, {-42, "", "-42"}, {0.3, "", "0.3"}, {1.0 / 3, "", "0.333333333"},
        {2.0 / 3, "", "0.666666667"}, {-2.0 / 3, "", "-0.66666667"}, {123.456, "General", "123.456"},
        {65000, "", "65000"}, {1e12, "", "1E+12"}};
    for (const auto& [value, format, text] : cases) {
        EXPECT_EQ(format_number(value, format), text) << value << " " << format;
        if (std::string_view(format) == "#.000") {
            EXPECT_EQ(format_000_text(value), text) << value;
        }
    }
    EXPECT_EQ(format_000_text(6.6375), "6.638");
}

// Expected widths from the advance widths (font units, 2048 per em) of
// Calibri/Carlito, each advance scaled to pixels at 96 dpi and rounded:
// 11 pt = 14.667 px per em, 12 pt = 16 px per em; width = (px + 5) / 7.
TEST(AutofitWidth, KnownStringsRegularAndBold) {
    // Y 998 -> 7, e 1019 -> 7, a 981 -> 7, r 714 -> 5: 26 px
    EXPECT_DOUBLE_EQ(autofit_width("Year", false, 11), 31.0 / 7);
    // . 517 -> 4, three zeros 1038 -> 7 each: 25 px
    EXPECT_DOUBLE_EQ(autofit_width(".300", false, 11), 30.0 / 7);
    EXPECT_DOUBLE_EQ(autofit_width("0", false, 11), 12.0 / 7);
    EXPECT_DOUBLE_EQ(autofit_width("", false, 11), Workbook::kDefaultColumnWidth);
    // Bold T 1014 -> 7, o 1101 -> 8, t 710 -> 5, a 1011 -> 7, l 503 -> 4, s 817 -> 6: 37 px
    EXPECT_DOUBLE_EQ(autofit_width("Totals", true, 11), 42.0 / 7);
    // Bold 12 pt: S 968->8 m 1666->13 i 503->4 t 710->6 h 1099->9 , 528->4
    // J 678->5 o 1101->9 h 1099->9 n 1099->9: 76 px
    EXPECT_DOUBLE_EQ(autofit_width("Smith,John", true, 12), 81.0 / 7);
    // Characters outside the table count as zero; Latin-1 is read as UTF-8 would be.
    EXPECT_DOUBLE_EQ(autofit_width("\xe2\x82\xac", false, 11), autofit_width("0", false, 11));  // U+20AC
    EXPECT_DOUBLE_EQ(autofit_width("\xc3\xbc", false, 11), autofit_width("\xfc", false, 11));
}

TEST(ColumnsAutoFit, WidestDisplayedTextAtThatMomentInItsFont) {
    Workbook wb;
    wb.SheetsAdd();
    wb.NameActiveSheet("A");
    wb.range("A1").Value("Year");
    wb.range("A2").Value(0.3);
    wb.range("A2").NumberFormat("#.000");
    wb.range("B1:E1").Merge();
    wb.range("B1").Value("a very long name that is merged");
    wb.range("A:B").ColumnsAutoFit();
    EXPECT_EQ(wb.displayed_text("A", 0, 2), ".300");  // numbers show through their cell's format
    EXPECT_EQ(wb.displayed_text("A", 9, 9), "");
    EXPECT_DOUBLE_EQ(wb.column_width("A", 0), autofit_width("Year", false, 11));
    EXPECT_DOUBLE_EQ(wb.column_width("A", 1), Workbook::kDefaultColumnWidth);  // merged cells do not count
    EXPECT_DOUBLE_EQ(wb.column_width("A", 2), Workbook::kDefaultColumnWidth);  // never fitted

    wb.range("A3").Value("Totals");
    wb.range("A3").FontBold(true);
    EXPECT_DOUBLE_EQ(wb.column_width("A", 0), autofit_width("Year", false, 11));  // not until fitted again
    wb.range("A:A").ColumnsAutoFit();
    EXPECT_DOUBLE_EQ(wb.column_width("A", 0), autofit_width("Totals", true, 11));
    wb.range("A1:A3").Value("");
    wb.range("A:A").ColumnsAutoFit();
    EXPECT_DOUBLE_EQ(wb.column_width("A", 0), Workbook::kDefaultColumnWidth);
}
