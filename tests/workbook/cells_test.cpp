// Sheets and cells by id: the errors each call reports, and ids that stay
// with their sheets (styles and merges as the sheets use them are the
// goldens').
#include "workbook/workbook.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace tb::wb;

namespace {

struct OneSheet : ::testing::Test {
    Workbook wb;
    SheetId s = wb.add_sheet("S");
};

}  // namespace

// Every misuse throws WorkbookError naming the input, and changes nothing.
TEST_F(OneSheet, ErrorsNameTheProblemAndChangeNothing) {
    wb.put(s, 0, 1, "kept");
    const SheetId gone = wb.add_sheet("Gone");
    wb.remove_sheet(gone);
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { column_index("A1"); }, "bad column letters \"A1\""},
        {[&] { column_letter(kMaxColumns); }, "column 16384 does not exist"},
        {[&] { wb.put(s, 0, kMaxRows + 1, 1.0); },
         "sheet \"S\": row 1048577 is beyond the last row of a sheet (1048576)"},   // a row too many names its sheet
        {[&] { wb.put(s, 0, 0, 1.0); }, "row 0 does not exist"},
        {[&] { wb.apply(s, {2, 1, 1, 1}, {.bold = true}); }, "an area must run from top left to bottom right"},
        {[&] { wb.put(s, 0, 1, std::string(32768, 'x')); },
         "a text of 32768 characters is longer than a cell holds (32767)"},
        {[&] { wb.put(s, 0, 1, std::nan("")); }, "a cell cannot hold a number that is not finite"},
        {[&] { wb.draw(s, Area::cell(0, 1), kTopEdge, {LineWeight::Medium, 0x1000000}); },
         "border colour 16777216 is not an RGB value"},
        {[&] { wb.apply(s, Area::cell(0, 1), {.font_size = 410}); }, "font size 410 is not 1 to 409"},
        {[&] { wb.apply(s, Area::cell(0, 1), {.number_format = std::string(256, '0')}); },
         "number format longer than 255 characters"},
        {[&] { wb.add_sheet(""); }, "sheet name \"\" must have 1 to 31 characters"},
        {[&] { wb.add_sheet("a/b"); }, "sheet name \"a/b\" holds a character a sheet name cannot have"},
        {[&] { wb.add_sheet("s"); }, "a sheet named \"s\" already exists"},
        {[&] { wb.put(gone, 0, 1, 1.0); }, "no such sheet"},
        {[&] { wb.set_setup(s, {.freeze_rows = kMaxRows, .footer = {}}); },
         "a sheet setup of \"S\" is beyond the sheet"},
        {[&] { wb.set_setup(s, {.filter = true, .filter_area = {2, 5, 1, 1}, .footer = {}}); },
         "an area must run from top left to bottom right"},
        {[&] { wb.set_setup(s, {.footer = std::string(256, 'x')}); }, "a footer holds at most 255 characters"},
    };
    for (const auto& [call, message] : cases) {
        try {
            call();
            ADD_FAILURE() << "nothing thrown for: " << message;
        } catch (const WorkbookError& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(wb.sheet_names(), std::vector<std::string>{"S"});
    EXPECT_EQ(wb.value("S", 0, 1).text, "kept");
    EXPECT_EQ(wb.style("S", 0, 1), Style{});
    EXPECT_EQ(wb.cell_count(), 1u);
    EXPECT_EQ(wb.setup(s), SheetSetup{});
}

// Ids stay with their sheets whatever comes and goes around them; the tab
// shown on opening is the first until set.
TEST_F(OneSheet, SheetsKeepTheirIdsAndTheShownTab) {
    const SheetId t = wb.add_sheet("T");
    const SheetId between = wb.add_sheet_after(s, "Between");
    EXPECT_EQ(wb.sheet_names(), (std::vector<std::string>{"S", "Between", "T"}));
    EXPECT_EQ(wb.shown_sheet_name(), "S");
    wb.show_on_opening(t);
    wb.remove_sheet(s);
    EXPECT_EQ(wb.shown_sheet_name(), "T");
    EXPECT_EQ(wb.find_sheet("between"), between);
    EXPECT_FALSE(wb.find_sheet("S"));
    wb.put(t, 1, 2, "here");
    EXPECT_EQ(wb.value("T", 1, 2).text, "here");
}
