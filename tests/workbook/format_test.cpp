// Rates as read back from "#.000" text, displayed texts and AutoFit widths.
#include "workbook/workbook.h"

#include <gtest/gtest.h>

using namespace tb::wb;

TEST(Format000Value, RoundsTheDecimalHalfAwayFromZero) {
    EXPECT_EQ(format_000_value(59.0 / (240.0 / 27.0)), 6.638);   // ERA 6.6375
    EXPECT_EQ(format_000_value(0.3333), 0.333);
    EXPECT_EQ(format_000_value(2.0 / 3.0), 0.667);
    EXPECT_EQ(format_000_value(0.0005), 0.001);
    EXPECT_EQ(format_000_value(0.00049), 0.0);
    EXPECT_EQ(format_000_value(1.215), 1.215);
    EXPECT_EQ(format_000_value(1.0005), 1.001);    // binary 1.000499999...
    EXPECT_EQ(format_000_value(-0.0005), -0.001);
    EXPECT_EQ(format_000_value(-2.0 / 3.0), -0.667);
    EXPECT_EQ(format_000_value(0.9995), 1.0);
    EXPECT_EQ(format_000_value(999.99), 999.99);
    EXPECT_EQ(format_000_value(0.0), 0.0);
    EXPECT_EQ(format_000_value(123456.78949), 123456.789);
}

TEST(Format000Text, NoDigitBeforeThePointBelowOne) {
    EXPECT_EQ(format_000_text(0.3), ".300");
    EXPECT_EQ(format_000_text(1.0), "1.000");
    EXPECT_EQ(format_000_text(0.0), ".000");
    EXPECT_EQ(format_000_text(-0.25), "-.250");
    EXPECT_EQ(format_000_text(6.6375), "6.638");
}

TEST(FormatNumber, EachFormatThePassesUse) {
    EXPECT_EQ(format_number(0.3, "#.000"), ".300");
    EXPECT_EQ(format_number(1.5, "#.000"), "1.500");
    EXPECT_EQ(format_number(6.638, "##0.00"), "6.64");
    EXPECT_EQ(format_number(0.0, "##0.00"), "0.00");
    EXPECT_EQ(format_number(999.99, "##0.00"), "999.99");
    EXPECT_EQ(format_number(1234.5, "##0.00"), "1234.50");
    EXPECT_EQ(format_number(66.2, "0.0"), "66.2");
    EXPECT_EQ(format_number(0.1, "0.0"), "0.1");
    EXPECT_EQ(format_number(0.1, "#0.0"), "0.1");
    EXPECT_EQ(format_number(200.0 / 3, "#0.0"), "66.7");
    EXPECT_EQ(format_number(0.25, "0.0"), "0.3");   // half away from zero
}

TEST(FormatNumber, GeneralShowsIntegersPlainlyAndOthersInElevenCharacters) {
    EXPECT_EQ(format_number(1987, ""), "1987");
    EXPECT_EQ(format_number(-42, ""), "-42");
    EXPECT_EQ(format_number(0.3, ""), "0.3");
    EXPECT_EQ(format_number(1.0 / 3, ""), "0.333333333");
    EXPECT_EQ(format_number(2.0 / 3, ""), "0.666666667");
    EXPECT_EQ(format_number(-2.0 / 3, ""), "-0.66666667");
    EXPECT_EQ(format_number(123.456, "General"), "123.456");
    EXPECT_EQ(format_number(65000, ""), "65000");
    EXPECT_EQ(format_number(1e12, ""), "1E+12");
}

TEST(DisplayedText, NumbersGoThroughTheirCellsFormat) {
    Workbook wb;
    wb.SheetsAdd();
    wb.NameActiveSheet("A");
    wb.range("D5").Value(format_000_value(150.0 / 500.0));
    wb.range("D5").NumberFormat("#.000");
    EXPECT_EQ(wb.displayed_text("A", 3, 5), ".300");
    wb.range("E5").Value("Totals");
    EXPECT_EQ(wb.displayed_text("A", 4, 5), "Totals");
    EXPECT_EQ(wb.displayed_text("A", 9, 9), "");
}

// Expected widths from the advance widths (font units, 2048 per em) of
// Calibri/Carlito, each advance scaled to pixels at 96 dpi and rounded:
// 11 pt = 14.667 px per em, 12 pt = 16 px per em; width = (px + 5) / 7.
TEST(AutofitWidth, KnownStringsRegular) {
    // Y 998 -> 7, e 1019 -> 7, a 981 -> 7, r 714 -> 5: 26 px
    EXPECT_DOUBLE_EQ(autofit_width("Year", false, 11), 31.0 / 7);
    // . 517 -> 4, three zeros 1038 -> 7 each: 25 px
    EXPECT_DOUBLE_EQ(autofit_width(".300", false, 11), 30.0 / 7);
    EXPECT_DOUBLE_EQ(autofit_width("0", false, 11), 12.0 / 7);
    EXPECT_DOUBLE_EQ(autofit_width("", false, 11), Workbook::kDefaultColumnWidth);
}

TEST(AutofitWidth, KnownStringsBold) {
    // Bold T 1014 -> 7, o 1101 -> 8, t 710 -> 5, a 1011 -> 7, l 503 -> 4, s 817 -> 6: 37 px
    EXPECT_DOUBLE_EQ(autofit_width("Totals", true, 11), 42.0 / 7);
    // Bold 12 pt: S 968->8 m 1666->13 i 503->4 t 710->6 h 1099->9 , 528->4
    // J 678->5 o 1101->9 h 1099->9 n 1099->9: 76 px
    EXPECT_DOUBLE_EQ(autofit_width("Smith,John", true, 12), 81.0 / 7);
    EXPECT_GT(autofit_width("Totals", true, 11), autofit_width("Totals", false, 11));
}

TEST(AutofitWidth, CharactersOutsideTheTableCountAsZero) {
    EXPECT_DOUBLE_EQ(autofit_width("\xe2\x82\xac", false, 11), autofit_width("0", false, 11));   // U+20AC
    EXPECT_DOUBLE_EQ(autofit_width("\xc3\xbc", false, 11), autofit_width("\xfc", false, 11));    // UTF-8 vs Latin-1
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
    EXPECT_DOUBLE_EQ(wb.column_width("A", 0), autofit_width("Year", false, 11));
    EXPECT_DOUBLE_EQ(wb.column_width("A", 1), Workbook::kDefaultColumnWidth);   // merged cells do not count
    EXPECT_DOUBLE_EQ(wb.column_width("A", 2), Workbook::kDefaultColumnWidth);   // never fitted

    wb.range("A3").Value("Totals");
    wb.range("A3").FontBold(true);
    EXPECT_DOUBLE_EQ(wb.column_width("A", 0), autofit_width("Year", false, 11));   // not until fitted again
    wb.range("A:A").ColumnsAutoFit();
    EXPECT_DOUBLE_EQ(wb.column_width("A", 0), autofit_width("Totals", true, 11));

    wb.range("A1:A3").Value("");
    wb.range("A:A").ColumnsAutoFit();
    EXPECT_DOUBLE_EQ(wb.column_width("A", 0), Workbook::kDefaultColumnWidth);
}
