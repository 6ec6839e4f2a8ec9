// The package the save writes: every part byte for byte as the reference
// writer (libxlsxwriter) writes it for workbooks that use every feature of
// the engine, however many threads and however little memory the save has
// (number texts as its printf's "%.16G" among them), in every locale.
#include "support/temp_dir.h"
#include "support/zip_reader.h"
#include "workbook/workbook.h"
#ifdef TALLYBOOK_HAVE_REFERENCE
#include "support/reference_writer.h"
#endif

#include <gtest/gtest.h>

#include <clocale>

using namespace tb::wb;
namespace fs = std::filesystem;

namespace {

// Every feature of the engine on a few sheets: merged areas (some covering
// values and styles), fitted widths (the default one and ones below one
// character), frozen rows and columns, a filter, print titles, a footer,
// fonts, fills (black too), borders of every weight and colour, number
// formats, right alignment, styled empty cells, texts that need escaping,
// control characters, white space at either end, non-BMP characters, a
// longest text, texts that read as escapes, and numbers of every shape.
[[maybe_unused]] void fill_every_feature(Workbook& wb) {
    const SheetId hit = wb.add_sheet("Hit Reg");
    for (int c = 0; c < 6; ++c) wb.put(hit, c, 1, "Head " + std::to_string(c));
    const double numbers[] = {0.1, 1.0 / 3, -1.5, 1e-300, 1e300, 9007199254740993.0, 123456789012345678.0, 1e15,
                              1e16, 1e17, 1e-5, 0.0001, 150, -0.0, 2.5e-7, 65000, 4.35, 1e21, 0.3, 5e-324,
                              2.2250738585072014e-308, 1.7976931348623157e307};
    int32_t row = 2;
    for (double n : numbers) {
        wb.put(hit, 0, row, "n" + std::to_string(row));
        wb.put(hit, 1, row, n);
        wb.put(hit, 2, row, n * 7);
        ++row;
    }
    wb.apply(hit, {1, 2, 1, 8}, {.number_format = "#.000"});
    wb.apply(hit, {2, 2, 2, 8}, {.number_format = "0.0 \"&<>\""});
    wb.apply(hit, Area::row_span(1, 0, 5), {.bold = true, .font_size = 12, .fill = 0x000000});   // black
    wb.apply(hit, {1, 2, 5, 4}, {.fill = 0xFFFFCC});
    wb.apply(hit, {3, 2, 5, 10}, {.align_right = true});
    wb.draw(hit, Area::row_span(2, 0, 5), kTopEdge, {LineWeight::Thin});
    wb.draw(hit, Area::row_span(4, 0, 5), kBottomEdge, {LineWeight::Medium});
    wb.draw(hit, Area::row_span(5, 0, 5), kLeftEdge, {LineWeight::Thick});
    wb.draw(hit, Area::row_span(6, 0, 5), kRightEdge, {LineWeight::Hair});
    wb.draw(hit, Area::row_span(7, 0, 5), kRightEdge, {LineWeight::Thin, 0xFF0000});
    wb.draw(hit, Area::row_span(8, 0, 5), kBottomEdge, {LineWeight::Thin, 0x000000});   // black
    wb.draw(hit, Area::row_span(9, 0, 5), kTopEdge, {LineWeight::Medium});
    wb.apply(hit, {4, 12, 5, 14}, {.fill = 0xFFFF99});   // styled empty cells
    wb.autofit(hit, 0, 5);
    wb.set_setup(hit, {.freeze_rows = 1, .freeze_cols = 1, .filter = true, .filter_area = {0, 1, 5, row - 1},
                       .landscape = true, .fit_to_page_width = true, .repeat_rows = 1,
                       .footer = "&L&A&RPage &P of &N <&&>"});

    const SheetId odd = wb.add_sheet("Odd 'texts' é");
    const std::string texts[] = {"a & b < c > d \" e ' f", "\x01start", "end\x1f", "tab\tin", " leading",
                                 "trailing ", "\ttab first", "line\nfeed", "cr\rhere", "\x0b\x0c", "emoji 😀 𝄞",
                                 "Ünïcödé ÅÉÎ", "1.5", std::string(32767, 'x'), "amp&amp;"};
    for (std::size_t i = 0; i < std::size(texts); ++i) wb.put(odd, 0, static_cast<int32_t>(i + 1), texts[i]);
    wb.merge(odd, {2, 2, 4, 4});
    wb.put(odd, 2, 2, "merged");
    wb.put(odd, 3, 3, 5.0);          // covered: not written, its style is
    wb.apply(odd, {2, 2, 4, 4}, {.bold = true});
    wb.merge(odd, {6, 1, 7, 1});     // an area of empty, unstyled cells
    wb.apply(odd, Area::cell(1, 1), {.font_size = 1});
    wb.put(odd, 1, 1, ".");
    wb.autofit(odd, 0, 2);           // C: widths below one character, and the default
    wb.set_setup(odd, {.freeze_rows = 3, .footer = ""});

    const SheetId escapes = wb.add_sheet("Escapes");
    const char* looks[] = {"_x0041_Smith", "a_X00e9_b", "Smith_x00C9_", "__x0041__", "_x12_", "plain", "plain",
                           "_x0041_Smith", "\x02_x0041_", " _x0020_ "};
    for (int r = 0; r < 10; ++r) wb.put(escapes, r % 3, r + 1, looks[r]);
    wb.apply(escapes, {0, 1, 2, 3}, {.bold = true});
    wb.put(escapes, 0, 20, 42.0);
    wb.set_setup(escapes, {.freeze_cols = 2, .fit_to_page_width = true, .footer = ""});

    wb.add_sheet("Empty");
    const SheetId merge_only = wb.add_sheet("Only a merge");
    wb.merge(merge_only, {1, 2, 2, 3});
    wb.set_setup(merge_only, {.repeat_rows = 2, .footer = "&C&P"});
    wb.show_on_opening(odd);
    wb.set_properties(
        {"Title & <more>", "Subject", "Written by \"us\"",
         std::chrono::system_clock::time_point{std::chrono::seconds(1700000000)}});
}

std::string part(const fs::path& file, std::string_view name) {
    for (auto& p : tb::test::read_zip(file))
        if (p.name == name) return std::move(p.data);
    return "(no part " + std::string(name) + ")";
}

}  // namespace

#ifdef TALLYBOOK_HAVE_REFERENCE
// One thread or many, all the memory or so little that every sheet is made
// and compressed a piece at a time, zip64 records or not: the same parts.
TEST(Package, EveryPartAsTheReferenceWritesIt) {
    tb::test::TempDir dir;
    Workbook wb;
    fill_every_feature(wb);
    // Large enough (8 MB of XML) that with little memory it is made in
    // several pieces.
    const SheetId big = wb.add_sheet("Big");
    for (int32_t r = 1; r <= 60000; ++r) {
        wb.put(big, 0, r, "row " + std::to_string(r % 977));
        wb.put(big, 1, r, r * 0.37);
        wb.put(big, 2, r, static_cast<double>(r));
    }
    wb.apply(big, {1, 1, 1, 60000}, {.number_format = "#.000"});
    tb::test::write_reference(wb, dir / "reference.xlsx");
    const SaveOptions ways[] = {{}, {.threads = 1}, {.threads = 4}, {.threads = 3, .memory_budget = 1},
                                {.threads = 2, .force_zip64 = true}};
    for (const SaveOptions& way : ways) {
        ASSERT_EQ(wb.save(dir / "ours.xlsx", nullptr, way), SaveOutcome::Saved);
        EXPECT_EQ(tb::test::package_difference(dir / "ours.xlsx", dir / "reference.xlsx"), "")
            << way.threads << " threads, budget " << way.memory_budget;
        EXPECT_EQ(part(dir / "ours.xlsx", "docProps/core.xml"), part(dir / "reference.xlsx", "docProps/core.xml"));
    }
}
#endif

// The window's toolkit takes the user's locale (Qt sets it from the
// environment); the reference writer's printf then wrote "0,3" where the
// file needs "0.3". The save writes the same in every locale.
TEST(Package, NumbersAreWrittenAlikeInEveryLocale) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    const char* comma = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "German_Germany.1252"})
        if (std::setlocale(LC_ALL, name)) {
            comma = name;
            break;
        }
    if (!comma) GTEST_SKIP() << "no locale with a decimal comma is installed";
    tb::test::TempDir dir;
    Workbook wb;
    const SheetId id = wb.add_sheet("Sheet1");
    wb.put(id, 0, 1, 0.3);
    wb.autofit(id, 0, 0);
    const SaveOutcome saved = wb.save(dir / "book.xlsx");
    std::setlocale(LC_ALL, before.c_str());
    ASSERT_EQ(saved, SaveOutcome::Saved);
    const std::string sheet = part(dir / "book.xlsx", "xl/worksheets/sheet1.xml");
    EXPECT_NE(sheet.find("<v>0.3</v>"), std::string::npos) << comma << ": " << sheet;
    EXPECT_NE(sheet.find("<pageMargins left=\"0.7\""), std::string::npos) << comma << ": " << sheet;
}
