// Column AutoFit: text widths in Calibri, and column widths that follow the
// cells through any sequence of changes exactly as a fresh rescan would.
#include "workbook/workbook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

using namespace tb::wb;

// Expected widths from the advance widths (font units, 2048 per em) of
// Calibri/Carlito, each advance scaled to pixels at 96 dpi and rounded:
// 11 pt = 14.667 px per em, 12 pt = 16 px per em; width = (px + 5) / 7.
TEST(AutofitWidth, KnownTextsRegularAndBold) {
    const std::tuple<const char*, bool, int, double> cases[] = {
        {"Year", false, 11, 31.0 / 7},   // Y 998 -> 7, e 1019 -> 7, a 981 -> 7, r 714 -> 5: 26 px
        {".300", false, 11, 30.0 / 7},   // . 517 -> 4, 0 1038 -> 7: 25 px
        {"0", false, 11, 12.0 / 7},
        {"", false, 11, Workbook::kDefaultColumnWidth},
        {"Totals", true, 11, 42.0 / 7},  // bold T 7, o 8, t 5, a 7, l 4, s 6: 37 px
        // Bold 12 pt: S 8, m 13, i 4, t 6, h 9, ',' 4, J 5, o 9, h 9, n 9: 76 px
        {"Smith,John", true, 12, 81.0 / 7},
        {"\xe2\x82\xac", false, 11, 12.0 / 7},   // U+20AC, beyond the table: a digit's width
    };
    for (const auto& [text, bold, size, width] : cases)
        EXPECT_DOUBLE_EQ(autofit_width(text, bold, size), width) << text;
    // Bytes that are not UTF-8 are measured as the Latin-1 text a cell holds.
    EXPECT_DOUBLE_EQ(autofit_width("M\xfcller", false, 11), autofit_width("M\xc3\xbcller", false, 11));
    EXPECT_DOUBLE_EQ(autofit_width(std::string(400, 'W'), true, 20), 255.0);   // the widest column
}

namespace {

// AutoFit as it is defined, read back through the public interface: the
// widest displayed text among the column's non-empty cells outside merged
// areas.
double rescanned_width(const Workbook& wb, const std::string& sheet, int col) {
    const std::vector<Area> areas = wb.merges(sheet);
    double widest = -1;
    for (int32_t r = 1; r <= wb.last_row(sheet); ++r) {
        const std::string text = wb.displayed_text(sheet, col, r);
        const bool merged = std::any_of(areas.begin(), areas.end(), [&](const Area& m) {
            return m.first_col <= col && col <= m.last_col && m.first_row <= r && r <= m.last_row;
        });
        if (text.empty() || merged) continue;
        const Style s = wb.style(sheet, col, r);
        widest = std::max(widest, autofit_width(text, s.bold, s.font_size));
    }
    return widest < 0 ? Workbook::kDefaultColumnWidth : widest;
}

}  // namespace

// After a first fit, each change to a column's widest cell shows in its
// next fit as a rescan gives it (merged cells left out), and a column not
// fitted again keeps its width whatever happens to its cells.
TEST(ColumnsAutoFit, EachChangeShowsInTheNextFitOfItsColumnOnly) {
    using Change = void (*)(Workbook&, SheetId);
    const std::pair<const char*, Change> changes[] = {
        {"a shorter text", [](Workbook& wb, SheetId s) { wb.put(s, 0, 2, "a"); }},
        {"an empty text", [](Workbook& wb, SheetId s) { wb.put(s, 0, 2, ""); }},
        {"a wider text", [](Workbook& wb, SheetId s) { wb.put(s, 0, 2, std::string(300, 'W')); }},
        {"a smaller number", [](Workbook& wb, SheetId s) { wb.put(s, 0, 2, 5.0); }},
        {"a number format",
         [](Workbook& wb, SheetId s) { wb.apply(s, Area::cell(0, 2), {.number_format = "#.000"}); }},
        {"bold on the next widest", [](Workbook& wb, SheetId s) { wb.apply(s, Area::cell(0, 1), {.bold = true}); }},
        {"a larger font", [](Workbook& wb, SheetId s) { wb.apply(s, {0, 1, 1, 3}, {.font_size = 72}); }},
        {"a smaller font", [](Workbook& wb, SheetId s) { wb.apply(s, Area::cell(0, 2), {.font_size = 8}); }},
        {"a merge over it", [](Workbook& wb, SheetId s) { wb.merge(s, {0, 2, 1, 2}); }},
        {"a wider cell in a new row", [](Workbook& wb, SheetId s) { wb.put(s, 0, 40, "WWWWWWWWWWWW"); }},
        {"a border, which changes no width",
         [](Workbook& wb, SheetId s) { wb.draw(s, {0, 1, 1, 3}, kLeftEdge, {LineWeight::Medium}); }},
    };
    for (const auto& [what, change] : changes) {
        Workbook wb;
        const SheetId s = wb.add_sheet("S");
        wb.put(s, 0, 1, "Alvarez,Alfie");   // 72 pixels, 78 in bold
        wb.put(s, 0, 2, 2.0 / 3);           // "0.666666667", 74 pixels: the widest
        wb.put(s, 1, 2, "Smith,John");
        wb.autofit(s, 0, 1);
        const double fitted_before = wb.column_width("S", 1);
        change(wb, s);
        wb.put(s, 1, 3, std::string(40, 'W'));
        wb.autofit(s, 0, 0);
        EXPECT_DOUBLE_EQ(wb.column_width("S", 0), rescanned_width(wb, "S", 0)) << what;
        EXPECT_DOUBLE_EQ(wb.column_width("S", 1), fitted_before) << what;
        wb.autofit(s, 1, 1);
        EXPECT_DOUBLE_EQ(wb.column_width("S", 1), rescanned_width(wb, "S", 1)) << what;
    }
}
