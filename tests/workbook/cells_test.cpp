// Range operations on cells: addressing, values, styles, borders, merges.
#include "workbook/workbook.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using namespace tb::wb;

namespace {

struct OneSheet : ::testing::Test {
    Workbook wb;
    void SetUp() override {
        wb.SheetsAdd();
        wb.NameActiveSheet("S");
    }
};

const BorderEdge kNone{};
const BorderEdge kThinLine{xlContinuous, 0, -1};
const BorderEdge kMediumOnly{0, xlMedium, -1};
const BorderEdge kMediumLine{xlContinuous, xlMedium, -1};

}  // namespace

TEST(Addressing, ColumnLettersBothWays) {
    EXPECT_EQ(column_index("A"), 0);
    EXPECT_EQ(column_index("z"), 25);
    EXPECT_EQ(column_index("AE"), 30);
    EXPECT_EQ(column_index("XFD"), 16383);
    EXPECT_EQ(column_letter(27), "AB");
    EXPECT_EQ(column_letter(16383), "XFD");
    EXPECT_THROW(column_index("XFE"), WorkbookError);
    EXPECT_THROW(column_index("A1"), WorkbookError);
    EXPECT_EQ(Letters[30], "AE");
}

TEST_F(OneSheet, LowerCaseAddressesAndBlocks) {
    wb.range("a5").Value("x");
    EXPECT_EQ(wb.value("S", 0, 5).text, "x");
    wb.range("b2:c3").Value(7.0);
    for (int c = 1; c <= 2; ++c)
        for (int r = 2; r <= 3; ++r) EXPECT_EQ(wb.value("s", c, r).number, 7.0);
    wb.range("C9:A8").FontBold(true);   // corners in any order
    EXPECT_TRUE(wb.style("S", 0, 8).bold);
    EXPECT_TRUE(wb.style("S", 2, 9).bold);
}

TEST_F(OneSheet, BadAddressesAndRowsBeyondTheSheetThrow) {
    for (const char* bad : {"", "A", "5", "A0", "A5:", "A5:B", "1A", "A-1", "AAAA1"})
        EXPECT_THROW(wb.range(bad), WorkbookError) << bad;
    EXPECT_THROW(wb.range("A1048577"), WorkbookError);
    EXPECT_THROW(wb.cell(0, kMaxRows + 1), WorkbookError);
    EXPECT_NO_THROW(wb.cell(0, kMaxRows).Value(1.0));
    try {
        wb.cell(3, kMaxRows + 1).Value("x");
        FAIL();
    } catch (const WorkbookError& e) {
        EXPECT_NE(std::string(e.what()).find("1048577"), std::string::npos);
    }
}

TEST(NoSheet, RangesNeedAnActiveSheet) {
    Workbook wb;
    EXPECT_THROW(wb.range("A1"), WorkbookError);
    EXPECT_THROW(wb.cell(0, 1), WorkbookError);
}

TEST_F(OneSheet, TextStaysTextAndEmptyTextEmptiesTheCell) {
    wb.range("A1").Value("123");
    EXPECT_EQ(wb.value("S", 0, 1).kind, CellValue::Kind::Text);
    wb.range("A2").Value(" ");
    EXPECT_EQ(wb.value("S", 0, 2).text, " ");
    wb.range("A3").Value(int32_t{1987});
    EXPECT_EQ(wb.value("S", 0, 3).kind, CellValue::Kind::Number);
    EXPECT_EQ(wb.displayed_text("S", 0, 3), "1987");
    wb.range("A3").FontBold(true);
    wb.range("A3").Value("");
    EXPECT_EQ(wb.value("S", 0, 3).kind, CellValue::Kind::Empty);
    EXPECT_TRUE(wb.style("S", 0, 3).bold);   // the style stays
    EXPECT_THROW(wb.range("A4").Value(std::nan("")), WorkbookError);
}

TEST_F(OneSheet, InvalidUtf8IsKeptAsLatin1) {
    wb.range("A1").Value(std::string_view("M\xfcller"));
    EXPECT_EQ(wb.value("S", 0, 1).text, "M\xc3\xbcller");
}

TEST_F(OneSheet, StylesChangeOnlyThePutProperty) {
    wb.range("A1:B1").InteriorColorIndex(19);
    wb.range("A1").FontSize(12);
    wb.range("A1").NumberFormat("#.000");
    wb.range("A1").HorizontalAlignment(xlRight);
    Style a = wb.style("S", 0, 1);
    EXPECT_EQ(a.fill, 0xFFFFCC);
    EXPECT_EQ(a.font_size, 12);
    EXPECT_EQ(a.number_format, "#.000");
    EXPECT_TRUE(a.align_right);
    EXPECT_FALSE(a.bold);
    Style b = wb.style("S", 1, 1);
    EXPECT_EQ(b.fill, 0xFFFFCC);
    EXPECT_EQ(b.font_size, 11);
    EXPECT_EQ(b.number_format, "");
    EXPECT_THROW(wb.range("A1").InteriorColorIndex(57), WorkbookError);
    EXPECT_THROW(wb.range("A1").FontSize(0), WorkbookError);
}

TEST(Palette, ColoursThePassesUse) {
    EXPECT_EQ(palette_rgb(19), 0xFFFFCC);
    EXPECT_EQ(palette_rgb(20), 0xCCFFFF);
    EXPECT_EQ(palette_rgb(36), 0xFFFF99);
    EXPECT_EQ(palette_rgb(37), 0x99CCFF);
    EXPECT_EQ(palette_rgb(38), 0xFF99CC);
    EXPECT_EQ(palette_rgb(39), 0xCC99FF);
    EXPECT_EQ(palette_rgb(1), 0x000000);
    EXPECT_EQ(palette_rgb(56), 0x333333);
    EXPECT_THROW(palette_rgb(0), WorkbookError);
}

TEST_F(OneSheet, EachSideEdgeAppliesToEveryCellOfTheRange) {
    wb.range("A1:C2").Borders(xlEdgeTop).LineStyle(xlContinuous);
    wb.range("A1:C2").Borders(xlEdgeLeft).Weight(xlMedium);
    wb.range("A1:C2").Borders(xlEdgeRight).Color(xlRed);
    wb.range("A1:C2").Borders(xlEdgeBottom).LineStyle(xlContinuous);
    wb.range("A1:C2").Borders(xlEdgeBottom).Weight(xlMedium);
    for (int c = 0; c <= 2; ++c)
        for (int r = 1; r <= 2; ++r) {
            Style s = wb.style("S", c, r);
            EXPECT_EQ(s.top, kThinLine);
            EXPECT_EQ(s.left, kMediumOnly);
            EXPECT_EQ(s.right, (BorderEdge{0, 0, 0xFF0000}));
            EXPECT_EQ(s.bottom, kMediumLine);
        }
    EXPECT_EQ(wb.style("S", 3, 1).left, kNone);
}

TEST_F(OneSheet, EdgeEightIsTheTopOfTheRangesTopRowOnly) {
    wb.range("A3:B4").Borders(xlEdgeTopOfRange).Weight(xlMedium);
    EXPECT_EQ(wb.style("S", 0, 3).top, kMediumOnly);
    EXPECT_EQ(wb.style("S", 1, 3).top, kMediumOnly);
    EXPECT_EQ(wb.style("S", 0, 4).top, kNone);
    EXPECT_EQ(wb.style("S", 0, 3).bottom, kNone);
}

TEST_F(OneSheet, LaterPutsKeepEarlierProperties) {
    auto e = wb.range("B2").Borders(xlEdgeLeft);
    e.Weight(xlMedium);
    e.Color(xlRed);
    e.LineStyle(xlContinuous);
    EXPECT_EQ(wb.style("S", 1, 2).left, (BorderEdge{xlContinuous, xlMedium, 0xFF0000}));
    EXPECT_THROW(wb.range("B2").Borders(5), WorkbookError);
    EXPECT_THROW(e.Weight(3), WorkbookError);
}

TEST_F(OneSheet, MergeKeepsFirstValueAndEveryCellsBorders) {
    wb.range("A1:E1").Borders(xlEdgeBottom).Weight(xlMedium);
    wb.range("C1").Value("gone");
    wb.range("A1:E1").Merge();
    wb.range("A1").Value("Smith,John");
    ASSERT_EQ(wb.merges("S").size(), 1u);
    MergeArea m = wb.merges("S")[0];
    EXPECT_EQ(std::tie(m.c1, m.r1, m.c2, m.r2), std::make_tuple(0, 1, 4, 1));
    EXPECT_EQ(wb.value("S", 0, 1).text, "Smith,John");
    EXPECT_EQ(wb.value("S", 2, 1).kind, CellValue::Kind::Empty);
    for (int c = 0; c <= 4; ++c) EXPECT_EQ(wb.style("S", c, 1).bottom, kMediumOnly);
}

TEST_F(OneSheet, OverlappingMergeTakesTheOldAreaIn) {
    wb.range("B1:D1").Merge();
    wb.range("A1:B1").Merge();
    ASSERT_EQ(wb.merges("S").size(), 1u);
    EXPECT_EQ(wb.merges("S")[0].c2, 3);
    wb.range("F1").Merge();   // one cell: nothing
    EXPECT_EQ(wb.merges("S").size(), 1u);
}

TEST_F(OneSheet, LastRowsAndCellCount) {
    EXPECT_EQ(wb.last_row("S"), 0);
    wb.range("A2").Value(1.0);
    wb.range("B7").Borders(xlEdgeLeft).Weight(xlMedium);
    EXPECT_EQ(wb.last_row("S"), 7);
    EXPECT_EQ(wb.last_value_row("S"), 2);
    EXPECT_EQ(wb.cell_count(), 2u);
    EXPECT_EQ(wb.last_row("nope"), 0);
}

TEST_F(OneSheet, WholeColumnsOnlyAutofit) {
    EXPECT_NO_THROW(wb.range("A:C").ColumnsAutoFit());
    EXPECT_THROW(wb.range("A:A").Value("x"), WorkbookError);
    EXPECT_THROW(wb.range("A:1"), WorkbookError);
}
