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
const BorderEdge kMediumOnly{0, xlMedium, -1};

}  // namespace

TEST_F(OneSheet, LowerCaseAddressesAndBlocksWithCornersInAnyOrder) {
    wb.range("a5").Value("x");
    EXPECT_EQ(wb.value("S", 0, 5).text, "x");
    wb.range("b2:c3").Value(7.0);
    for (int c = 1; c <= 2; ++c)
        for (int r = 2; r <= 3; ++r) EXPECT_EQ(wb.value("s", c, r).number, 7.0);
    wb.range("C9:A8").FontBold(true);
    EXPECT_TRUE(wb.style("S", 0, 8).bold && wb.style("S", 2, 9).bold);
}

TEST_F(OneSheet, ColumnLettersBadAddressesAndRowsBeyondTheSheet) {
    for (auto [letters, index] : {std::pair{"A", 0}, {"z", 25}, {"AE", 30}, {"XFD", 16383}})
        EXPECT_EQ(column_index(letters), index) << letters;
    EXPECT_EQ(column_letter(27), "AB");
    EXPECT_EQ(column_letter(16383), "XFD");
    EXPECT_THROW(column_index("XFE"), WorkbookError);
    EXPECT_THROW(column_index("A1"), WorkbookError);
    for (const char* bad : {"", "A", "5", "A0", "A5:", "A5:B", "1A", "A-1", "AAAA1", "A1048577", "A:1"})
        EXPECT_THROW(wb.range(bad), WorkbookError) << bad;
    EXPECT_NO_THROW(wb.cell(0, kMaxRows).Value(1.0));
    try {
        wb.cell(3, kMaxRows + 1).Value("x");
        FAIL();
    } catch (const WorkbookError& e) {
        EXPECT_NE(std::string(e.what()).find("1048577"), std::string::npos);
    }
    EXPECT_NO_THROW(wb.range("A:C").ColumnsAutoFit());  // whole columns only autofit
    EXPECT_THROW(wb.range("A:A").Value("x"), WorkbookError);
}

TEST_F(OneSheet, TextStaysTextAndEmptyTextEmptiesTheCell) {
    wb.range("A1").Value("123");
    EXPECT_EQ(wb.value("S", 0, 1).kind, CellValue::Kind::Text);
    wb.range("A2").Value(" ");
    EXPECT_EQ(wb.value("S", 0, 2).text, " ");
    wb.range("A3").Value(int32_t{1987});
    EXPECT_EQ(wb.displayed_text("S", 0, 3), "1987");
    wb.range("A3").FontBold(true);
    wb.range("A3").Value("");
    EXPECT_EQ(wb.value("S", 0, 3).kind, CellValue::Kind::Empty);
    EXPECT_TRUE(wb.style("S", 0, 3).bold);  // the style stays
    EXPECT_THROW(wb.range("A4").Value(std::nan("")), WorkbookError);
    wb.range("A5").Value(std::string_view("M\xfcller"));  // not UTF-8: taken as Latin-1
    EXPECT_EQ(wb.value("S", 0, 5).text, "M\xc3\xbcller");
}

TEST_F(OneSheet, StylesChangeOnlyThePutProperty) {
    wb.range("A1:B1").InteriorColorIndex(19);
    wb.range("A1").FontSize(12);
    wb.range("A1").NumberFormat("#.000");
    wb.range("A1").HorizontalAlignment(xlRight);
    const Style a = wb.style("S", 0, 1), b = wb.style("S", 1, 1);
    EXPECT_EQ(std::tie(a.fill, a.font_size, a.number_format, a.align_right, a.bold),
              std::make_tuple(0xFFFFCC, 12, std::string("#.000"), true, false));
    EXPECT_EQ(std::tie(b.fill, b.font_size, b.number_format, b.align_right),
              std::make_tuple(0xFFFFCC, 11, std::string(), false));
    EXPECT_THROW(wb.range("A1").InteriorColorIndex(57), WorkbookError);
    EXPECT_THROW(wb.range("A1").FontSize(0), WorkbookError);
}

// Side edges apply to every cell of the range; edge 8 to the top of the
// range's top row only. No neighbour or other side changes.
TEST(Borders, EachEdgeCodeOnACellAndOnABlock) {
    struct Case { int edge; BorderEdge Style::*side; bool top_row_only; };
    for (const auto& [edge, side, top_row_only] :
         {Case{xlEdgeTop, &Style::top, false}, {xlEdgeBottom, &Style::bottom, false}, {xlEdgeLeft, &Style::left, false},
          {xlEdgeRight, &Style::right, false}, {xlEdgeTopOfRange, &Style::top, true}}) {
        Workbook wb;
        wb.SheetsAdd();
        wb.NameActiveSheet("S");
        wb.range("B2").Borders(edge).Weight(xlMedium);
        wb.range("D2:F4").Borders(edge).Weight(xlMedium);
        for (int c = 0; c <= 6; ++c)
            for (int r = 1; r <= 5; ++r) {
                const bool marked = (c == 1 && r == 2) || (c >= 3 && c <= 5 && r >= 2 && r <= (top_row_only ? 2 : 4));
                const Style s = wb.style("S", c, r);
                for (auto any : {&Style::top, &Style::bottom, &Style::left, &Style::right})
                    EXPECT_EQ(s.*any, marked && any == side ? kMediumOnly : kNone) << edge << " at " << c << "," << r;
            }
    }
}

TEST_F(OneSheet, EachBorderPropertyAloneAndLaterPutsKeepEarlierOnes) {
    wb.range("A1").Borders(xlEdgeTop).LineStyle(xlContinuous);
    wb.range("A1").Borders(xlEdgeLeft).Color(xlRed);
    EXPECT_EQ(wb.style("S", 0, 1).top, (BorderEdge{xlContinuous, 0, -1}));
    EXPECT_EQ(wb.style("S", 0, 1).left, (BorderEdge{0, 0, 0xFF0000}));
    auto e = wb.range("B2").Borders(xlEdgeLeft);
    e.Weight(xlMedium);
    e.Color(xlRed);
    e.LineStyle(xlContinuous);
    EXPECT_EQ(wb.style("S", 1, 2).left, (BorderEdge{xlContinuous, xlMedium, 0xFF0000}));
    EXPECT_THROW(wb.range("B2").Borders(5), WorkbookError);
    EXPECT_THROW(e.Weight(3), WorkbookError);
}

TEST_F(OneSheet, MergesKeepTheFirstValueAndEveryCellsBordersAndTakeOverlapsIn) {
    wb.range("A1:E1").Borders(xlEdgeBottom).Weight(xlMedium);
    wb.range("C1").Value("gone");
    wb.range("A1:E1").Merge();
    wb.range("A1").Value("Smith,John");
    wb.range("C3:E3").Merge();
    wb.range("B3:C3").Merge();  // overlapping: one area
    wb.range("G3").Merge();     // one cell: no merge
    const auto m = wb.merges("S");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(std::tie(m[0].c1, m[0].r1, m[0].c2, m[0].r2), std::make_tuple(0, 1, 4, 1));
    EXPECT_EQ(std::tie(m[1].c1, m[1].r1, m[1].c2, m[1].r2), std::make_tuple(1, 3, 4, 3));
    EXPECT_EQ(wb.value("S", 0, 1).text, "Smith,John");
    EXPECT_EQ(wb.value("S", 2, 1).kind, CellValue::Kind::Empty);
    for (int c = 0; c <= 4; ++c) EXPECT_EQ(wb.style("S", c, 1).bottom, kMediumOnly);
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
