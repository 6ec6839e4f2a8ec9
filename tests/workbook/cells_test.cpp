// Sheets and range operations on cells: addressing, values, styles, borders,
// merges, reading back, and the errors each reports.
#include "workbook/workbook.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
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

std::string joined(const std::vector<std::string>& names) {
    std::string out;
    for (const auto& n : names) out += (out.empty() ? "" : ",") + n;
    return out;
}

}  // namespace

TEST(Sheets, AddBeforeOrAfterRenameActivateAndDelete) {
    Workbook wb;
    EXPECT_EQ(wb.ActiveSheetName(), "");
    wb.SheetsAdd();
    wb.NameActiveSheet("Sheet2");   // the next default name is skipped
    wb.SheetsAdd();                 // before the active sheet
    EXPECT_EQ(joined(wb.SheetNames()), "Sheet3,Sheet2");
    wb.SheetsAddAfter("sheet2");    // after the last, in any case
    wb.NameActiveSheet("Last");
    wb.SheetsAddAfter("Sheet3");    // in the middle; default names are never reused
    EXPECT_EQ(joined(wb.SheetNames()), "Sheet3,Sheet5,Sheet2,Last");
    EXPECT_EQ(wb.ActiveSheetName(), "Sheet5");
    wb.NameActiveSheet("sheet5");   // its own name in another case
    EXPECT_TRUE(wb.HasSheet("SHEET5"));
    // The sheet to the right becomes active, or, at the end, the one to the left.
    const std::pair<const char*, const char*> deletes[] = {
        {"sheet5", "Sheet2"}, {"Last", "Sheet2"}, {"Sheet3", "Sheet2"}, {"Sheet2", ""}};
    for (const auto& [gone, active] : deletes) {
        wb.Activate(gone);
        wb.Delete(gone);
        EXPECT_EQ(wb.ActiveSheetName(), active) << gone;
    }
    EXPECT_EQ(wb.SheetCount(), 0u);
}

// Every misuse throws WorkbookError naming the input, and changes nothing.
TEST_F(OneSheet, ErrorsNameTheProblemAndChangeNothing) {
    wb.range("A1").Value("kept");
    SheetSetup far_freeze;
    far_freeze.freeze_rows = kMaxRows;
    SheetSetup upside_down;
    upside_down.filter = true;
    upside_down.filter_area = {2, 5, 1, 1};
    SheetSetup long_footer;
    long_footer.footer = std::string(256, 'x');
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { column_index("A1"); }, "bad column letters \"A1\""},
        {[&] { column_index("XFE"); }, "column \"XFE\" is beyond the last column"},
        {[&] { column_letter(kMaxColumns); }, "column 16384 does not exist"},
        {[&] { palette_rgb(57); }, "colour index 57 is not in the palette (1..56)"},
        {[&] { wb.range("A1048577"); }, "row 1048577 is beyond the last row of a sheet (1048576)"},
        {[&] { wb.cell(-1, 1); }, "column -1 does not exist"},
        {[&] { wb.block(0, 0, 1, 1); }, "row 0 does not exist"},
        {[&] { wb.range("A1").Value(std::string(32768, 'x')); },
         "a text of 32768 characters is longer than a cell holds (32767)"},
        {[&] { wb.range("A1").Value(std::nan("")); }, "a cell cannot hold a number that is not finite"},
        {[&] { wb.range("A:A").Value("x"); }, "a value put on whole columns is not supported"},
        {[&] { wb.range("A:B").Merge(); }, "Merge on whole columns is not supported"},
        {[&] { wb.range("A1").Borders(5); }, "border edge 5 is not supported"},
        {[&] { wb.range("A1").Borders(xlEdgeTop).Weight(3); }, "border weight 3 is not supported"},
        {[&] { wb.range("A1").Borders(xlEdgeTop).LineStyle(2); }, "border line style 2 is not supported"},
        {[&] { wb.range("A1").Borders(xlEdgeTop).Color(-1); }, "border colour -1 is not a BGR value"},
        {[&] { wb.range("A1").InteriorColorIndex(0); }, "colour index 0 is not in the palette (1..56)"},
        {[&] { wb.range("A1").FontSize(410); }, "font size 410 is not 1 to 409"},
        {[&] { wb.range("A1").NumberFormat(std::string(256, '0')); }, "number format longer than 255 characters"},
        {[&] { wb.range("A1").HorizontalAlignment(7); }, "horizontal alignment 7 is not supported"},
        {[&] { wb.NameActiveSheet(""); }, "sheet name \"\" must have 1 to 31 characters"},
        {[&] { wb.NameActiveSheet(std::string(32, 'n')); }, "must have 1 to 31 characters"},
        {[&] { wb.NameActiveSheet("a/b"); }, "sheet name \"a/b\" holds a character a sheet name cannot have"},
        {[&] { wb.NameActiveSheet("'q"); }, "holds a character a sheet name cannot have"},
        {[&] { wb.Activate("T"); }, "no sheet named \"T\""},
        {[&] { wb.Delete("T"); }, "no sheet named \"T\""},
        {[&] { wb.SheetsAddAfter("T"); }, "no sheet named \"T\""},
        {[&] { wb.SetSheetSetup("T", {}); }, "no sheet named \"T\""},
        {[&] { wb.SetSheetSetup("S", far_freeze); }, "a sheet setup of \"S\" is beyond the sheet"},
        {[&] { wb.SetSheetSetup("S", upside_down); }, "a filter block must run from top left to bottom right"},
        {[&] { wb.SetSheetSetup("S", long_footer); }, "a footer holds at most 255 characters"},
    };
    for (const auto& [call, message] : cases) {
        try {
            call();
            ADD_FAILURE() << "nothing thrown for: " << message;
        } catch (const WorkbookError& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(joined(wb.SheetNames()), "S");
    EXPECT_EQ(wb.value("S", 0, 1).text, "kept");
    EXPECT_EQ(wb.style("S", 0, 1), Style{});
    EXPECT_EQ(wb.cell_count(), 1u);
    EXPECT_EQ(wb.sheet_setup("S"), SheetSetup{});
    wb.SheetsAdd();
    wb.NameActiveSheet("T");
    EXPECT_THROW(wb.NameActiveSheet("s"), WorkbookError);   // a duplicate in another case

    Workbook empty;   // no active sheet
    EXPECT_THROW(empty.range("A1"), WorkbookError);
    EXPECT_THROW(empty.range("A:A"), WorkbookError);
    EXPECT_THROW(empty.NameActiveSheet("x"), WorkbookError);
}

TEST_F(OneSheet, AddressesInAnyCaseAndBlocksWithCornersInAnyOrder) {
    for (auto [letters, index] : {std::pair{"A", 0}, {"z", 25}, {"AE", 30}, {"XFD", 16383}}) {
        EXPECT_EQ(column_index(letters), index) << letters;
        EXPECT_EQ(column_index(column_letter(index)), index);
    }
    EXPECT_EQ(column_letter(27), "AB");
    for (const char* bad : {"", "A", "5", "A0", "A5:", "A5:B", "1A", "A-1", "AAAA1", "A:1", "A1:B"})
        EXPECT_THROW(wb.range(bad), WorkbookError) << bad;
    wb.range("a5").Value("x");
    EXPECT_EQ(wb.value("S", 0, 5).text, "x");
    wb.range("b2:c3").Value(7.0);
    for (int c = 1; c <= 2; ++c)
        for (int r = 2; r <= 3; ++r) EXPECT_EQ(wb.value("s", c, r).number, 7.0);
    wb.range("C9:A8").FontBold(true);
    EXPECT_TRUE(wb.style("S", 0, 8).bold && wb.style("S", 2, 9).bold);
    EXPECT_NO_THROW(wb.cell(0, kMaxRows).Value(1.0));
    EXPECT_NO_THROW(wb.range("A:C").ColumnsAutoFit());   // whole columns: only autofit
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
    EXPECT_TRUE(wb.style("S", 0, 3).bold);   // the style stays
    wb.range("A4").Value(-0.0);
    EXPECT_FALSE(std::signbit(wb.value("S", 0, 4).number));
    // Bytes that are not UTF-8 are taken as Latin-1; a text of 32767
    // characters fits, counted as characters.
    wb.range("A5").Value(std::string_view("M\xfcller"));
    EXPECT_EQ(wb.value("S", 0, 5).text, "M\xc3\xbcller");
    std::string longest;
    for (int i = 0; i < 32767; ++i) longest += "\xc3\xa9";
    EXPECT_NO_THROW(wb.range("A6").Value(longest));
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
    wb.range("A1").NumberFormat("General");
    wb.range("A1").HorizontalAlignment(-4131);
    wb.range("A1").InteriorColorIndex(-4142);
    const Style undone = wb.style("S", 0, 1);
    EXPECT_EQ(std::tie(undone.number_format, undone.align_right, undone.fill, undone.font_size),
              std::make_tuple(std::string(), false, -1, 12));
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
    e.LineStyle(-4142);   // none: the whole edge goes
    EXPECT_EQ(wb.style("S", 1, 2).left, kNone);
}

TEST_F(OneSheet, MergesKeepTheFirstValueAndEveryCellsBordersAndTakeOverlapsIn) {
    wb.range("A1:E1").Borders(xlEdgeBottom).Weight(xlMedium);
    wb.range("C1").Value("gone");
    wb.range("A1:E1").Merge();
    wb.range("A1").Value("Smith,John");
    wb.range("C3:E3").Merge();
    wb.range("B3:C3").Merge();   // overlapping: one area
    wb.range("G3").Merge();      // one cell: no merge
    wb.range("A7:B8").Merge();
    wb.range("B8:C9").Merge();   // grows over A7:B8 into A7:C9
    const auto m = wb.merges("S");
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(std::tie(m[0].c1, m[0].r1, m[0].c2, m[0].r2), std::make_tuple(0, 1, 4, 1));
    EXPECT_EQ(std::tie(m[1].c1, m[1].r1, m[1].c2, m[1].r2), std::make_tuple(1, 3, 4, 3));
    EXPECT_EQ(std::tie(m[2].c1, m[2].r1, m[2].c2, m[2].r2), std::make_tuple(0, 7, 2, 9));
    EXPECT_EQ(wb.value("S", 0, 1).text, "Smith,John");
    EXPECT_EQ(wb.value("S", 2, 1).kind, CellValue::Kind::Empty);
    for (int c = 0; c <= 4; ++c) EXPECT_EQ(wb.style("S", c, 1).bottom, kMediumOnly);
}

TEST_F(OneSheet, ReadingBackMissingSheetsCellsAndExtents) {
    EXPECT_EQ(wb.last_row("S"), 0);
    wb.range("A2").Value(1.0);
    wb.range("B7").Borders(xlEdgeLeft).Weight(xlMedium);
    EXPECT_EQ(wb.last_row("S"), 7);
    EXPECT_EQ(wb.last_value_row("S"), 2);
    EXPECT_EQ(wb.cell_count(), 2u);
    EXPECT_EQ(wb.displayed_text("S", 9, 9), "");
    for (const char* sheet : {"nope", ""}) {
        EXPECT_EQ(wb.last_row(sheet), 0);
        EXPECT_EQ(wb.value(sheet, 0, 2).kind, CellValue::Kind::Empty);
        EXPECT_EQ(wb.style(sheet, 0, 2), Style{});
        EXPECT_EQ(wb.column_width(sheet, 0), Workbook::kDefaultColumnWidth);
        EXPECT_TRUE(wb.merges(sheet).empty());
    }
}
