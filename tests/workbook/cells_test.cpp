// Range operations on cells: merges, and the errors each reports. (Values,
// styles and borders as the sheets use them are in the whole-workbook test.)
#include "workbook/workbook.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace tb::wb;

namespace {

struct OneSheet : ::testing::Test {
    Workbook wb;
    void SetUp() override {
        wb.SheetsAdd();
        wb.NameActiveSheet("S");
    }
};

}  // namespace

// Every misuse throws WorkbookError naming the input, and changes nothing.
TEST_F(OneSheet, ErrorsNameTheProblemAndChangeNothing) {
    wb.range("A1").Value("kept");
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { column_index("A1"); }, "bad column letters \"A1\""},
        {[&] { column_letter(kMaxColumns); }, "column 16384 does not exist"},
        {[&] { wb.range("A1048577"); }, "row 1048577 is beyond the last row of a sheet (1048576)"},
        {[&] { wb.block(0, 0, 1, 1); }, "row 0 does not exist"},
        {[&] { wb.range("A1").Value(std::string(32768, 'x')); },
         "a text of 32768 characters is longer than a cell holds (32767)"},
        {[&] { wb.range("A1").Value(std::nan("")); }, "a cell cannot hold a number that is not finite"},
        {[&] { wb.range("A:A").Value("x"); }, "a value put on whole columns is not supported"},
        {[&] { wb.range("A1").Borders(5); }, "border edge 5 is not supported"},
        {[&] { wb.range("A1").Borders(xlEdgeTop).Weight(3); }, "border weight 3 is not supported"},
        {[&] { wb.range("A1").Borders(xlEdgeTop).Color(-1); }, "border colour -1 is not a BGR value"},
        {[&] { wb.range("A1").InteriorColorIndex(0); }, "colour index 0 is not in the palette (1..56)"},
        {[&] { wb.range("A1").FontSize(410); }, "font size 410 is not 1 to 409"},
        {[&] { wb.range("A1").NumberFormat(std::string(256, '0')); }, "number format longer than 255 characters"},
        {[&] { wb.NameActiveSheet(""); }, "sheet name \"\" must have 1 to 31 characters"},
        {[&] { wb.NameActiveSheet("a/b"); }, "sheet name \"a/b\" holds a character a sheet name cannot have"},
        {[&] { wb.Activate("T"); }, "no sheet named \"T\""},
        {[&] { wb.SetSheetSetup("S", {.freeze_rows = kMaxRows, .footer = {}}); },
         "a sheet setup of \"S\" is beyond the sheet"},
        {[&] { wb.SetSheetSetup("S", {.filter = true, .filter_area = {2, 5, 1, 1}, .footer = {}}); },
         "a filter block must run from top left to bottom right"},
        {[&] { wb.SetSheetSetup("S", {.footer = std::string(256, 'x')}); }, "a footer holds at most 255 characters"},
    };
    for (const char* bad : {"", "A", "5", "A0", "A5:", "A5:B", "1A", "A-1", "AAAA1", "A:1", "A1:B"})
        EXPECT_THROW(wb.range(bad), WorkbookError) << bad;
    for (const auto& [call, message] : cases) {
        try {
            call();
            ADD_FAILURE() << "nothing thrown for: " << message;
        } catch (const WorkbookError& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(wb.SheetNames(), std::vector<std::string>{"S"});
    EXPECT_EQ(wb.value("S", 0, 1).text, "kept");
    EXPECT_EQ(wb.style("S", 0, 1), Style{});
    EXPECT_EQ(wb.cell_count(), 1u);
    EXPECT_EQ(wb.sheet_setup("S"), SheetSetup{});
    wb.SheetsAdd();
    wb.NameActiveSheet("T");
    EXPECT_THROW(wb.NameActiveSheet("s"), WorkbookError);   // a duplicate in another case

    Workbook empty;   // no active sheet
    EXPECT_THROW(empty.range("A1"), WorkbookError);
    EXPECT_THROW(empty.NameActiveSheet("x"), WorkbookError);
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
    EXPECT_EQ(wb.merges("S"), (std::vector<MergeArea>{{0, 1, 4, 1}, {1, 3, 4, 3}, {0, 7, 2, 9}}));
    EXPECT_EQ(wb.value("S", 0, 1).text, "Smith,John");
    EXPECT_EQ(wb.value("S", 2, 1).kind, CellValue::Kind::Empty);
    for (int c = 0; c <= 4; ++c) EXPECT_EQ(wb.style("S", c, 1).bottom, (BorderEdge{0, xlMedium, -1}));
}
