// Column AutoFit: text widths in Calibri, and column widths that follow the
// cells through any sequence of changes exactly as a fresh rescan would.
#include "workbook/workbook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
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

// Random edits of every kind on two sheets, fitting random columns as they
// go: every fit must give what a rescan of the column gives at that moment
// (merged cells left out), and leave the widths of other columns as they
// were until they are fitted again.
TEST(ColumnsAutoFit, RepeatedFitsAgreeWithAFullRescan) {
    constexpr int kCols = 6;
    constexpr int32_t kRows = 30;
    const std::string texts[] = {"", "a", "iiii", "Wide text", "WWWWWWWW", "\xc3\xa9t\xc3\xa9", "Smith,John",
                                 std::string(300, 'W')};
    const double numbers[] = {0, 0.3, 1987, -42, 99999999999, 1e11, 6.6375, -0.25, 123456.789, 2.0 / 3};
    const char* formats[] = {"General", "#.000", "##0.00", "0.0", "#0.0"};
    const int sizes[] = {8, 11, 14, 72};

    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 rng(seed);
        auto pick = [&](std::size_t n) { return static_cast<int>(rng() % n); };
        Workbook wb;
        const SheetId sheets[] = {wb.add_sheet("P"), wb.add_sheet("Q")};
        std::map<std::string, std::vector<double>> widths{{"P", std::vector<double>(kCols, 8.43)},
                                                          {"Q", std::vector<double>(kCols, 8.43)}};
        for (int step = 0; step < 800; ++step) {
            SCOPED_TRACE("seed " + std::to_string(seed) + " step " + std::to_string(step));
            // Mostly single cells, else small blocks.
            const int c1 = pick(kCols), c2 = std::min(kCols - 1, c1 + (pick(4) ? 0 : pick(3)));
            const int32_t r1 = 1 + pick(kRows), r2 = std::min(kRows, r1 + (pick(2) ? 0 : pick(4)));
            const SheetId id = sheets[pick(2)];
            const Area area{c1, r1, c2, r2};
            auto each = [&](auto put) {
                for (int32_t r = r1; r <= r2; ++r)
                    for (int c = c1; c <= c2; ++c) put(c, r);
            };
            switch (pick(11)) {
                case 0: case 1: case 2: {
                    const std::string& text = texts[pick(std::size(texts))];
                    each([&](int c, int32_t r) { wb.put(id, c, r, text); });
                    break;
                }
                case 3: case 4: {
                    const double number = numbers[pick(std::size(numbers))];
                    each([&](int c, int32_t r) { wb.put(id, c, r, number); });
                    break;
                }
                case 5: wb.apply(id, area, {.number_format = formats[pick(std::size(formats))]}); break;
                case 6: wb.apply(id, area, {.bold = pick(2) == 0}); break;
                case 7: wb.apply(id, area, {.font_size = sizes[pick(std::size(sizes))]}); break;
                case 8:
                    if (pick(4) == 0) wb.merge(id, area);
                    else wb.draw(id, area, kLeftEdge, {LineWeight::Medium});   // changes no width
                    break;
                default: {
                    wb.autofit(id, c1, c2);
                    const std::string sheet = wb.sheet_name(id);
                    for (int c = c1; c <= c2; ++c)
                        widths[sheet][static_cast<size_t>(c)] = rescanned_width(wb, sheet, c);
                    for (const auto& [name, expected] : widths)
                        for (int c = 0; c < kCols; ++c)
                            ASSERT_DOUBLE_EQ(wb.column_width(name, c), expected[static_cast<size_t>(c)])
                                << name << " column " << c;
                }
            }
        }
    }
}
