// Saving: the file read back by an independent reader (openpyxl), and
// failed saves that leave the existing file as it was.
#include "support/temp_dir.h"
#include "support/workbook_dump.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#endif

using namespace tb::wb;
using tb::test::read_bytes;
namespace fs = std::filesystem;

namespace {

// A folder holding only an "old" book.xlsx at first.
struct Folder : tb::test::TempDir {
    fs::path book = path() / "book.xlsx";
    Folder() { tb::test::write_bytes(book, "old"); }
    int entries() const { return static_cast<int>(std::distance(fs::directory_iterator(path()), {})); }
};

// The independent reader is Linux's python3; the Windows build, run under
// Wine, cannot start it (tests/windows checks its workbooks from Linux).
#ifdef _WIN32
#define SKIP_WITHOUT_CHECKER() GTEST_SKIP() << "the openpyxl checker runs only on Linux"
#else
#define SKIP_WITHOUT_CHECKER() static_cast<void>(0)
#endif

// What the independent reader sees in the saved `book`, in the words of
// dump_workbook(..., as_saved).
std::string read_back(const Folder& dir) {
    const fs::path out = dir.path() / "read-back.txt";
    const std::string cmd = std::string(TALLYBOOK_PYTHON) + " " + TALLYBOOK_TEST_DIR + "/workbook/xlsx_check.py dump " +
                            dir.book.string() + " > " + out.string();
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    const std::string text = read_bytes(out);
    fs::remove(out);
    return text;
}

// The message of the save's WorkbookError.
std::string save_error(Workbook& wb, const fs::path& path) {
    try {
        wb.save(path);
    } catch (const WorkbookError& e) {
        return e.what();
    }
    return "(nothing thrown)";
}

// A merged header block, a row of sums and a coloured section, with every
// kind of style the engine writes, and next to them a sheet of odd texts.
void fill_sample(Workbook& wb) {
    const SheetId s = wb.add_sheet("S");
    const SheetId records = wb.add_sheet("Team Records");
    const SheetId odd = wb.add_sheet("Odd");
    for (const Area& merged : {Area{0, 1, 4, 1}, Area{17, 1, 24, 1}, Area{0, 5, 2, 5}}) wb.merge(s, merged);
    for (auto [col, row, text] : {std::tuple{0, 1, "Smith,John"}, {0, 2, "Year"}, {1, 3, "BOS"}, {0, 4, " "},
                                  {1, 4, "Totals"}, {0, 5, "- - W  S - -"}})
        wb.put(s, col, row, text);
    for (int c = 1; c <= 24; ++c) wb.put(s, c, 2, "H");
    wb.put(s, 17, 1, int32_t{4711});
    wb.put(s, 0, 3, int32_t{1987});
    const std::tuple<int, double, const char*> numbers[] = {{3, 0.3, "#.000"}, {4, 6.638, "##0.00"},
                                                            {5, 66.2, "0.0"}, {6, 0.1, "#0.0"}};
    for (const auto& [col, value, format] : numbers) {
        wb.put(s, col, 3, value);
        wb.apply(s, Area::cell(col, 3), {.number_format = format});
    }
    wb.apply(s, Area::row_span(1, 0, 24), {.bold = true, .font_size = 12});
    wb.apply(s, Area::row_span(2, 0, 24), {.fill = 0xFFFFCC, .align_right = true});
    wb.apply(s, Area::row_span(1, 0, 4), {.fill = 0xFFFFCC});
    wb.apply(s, Area::cell(0, 5), {.fill = 0xCCFFFF});
    for (const Area& box : {Area{0, 1, 4, 1}, Area{17, 1, 24, 1}})
        wb.draw(s, box, kTopEdge | kLeftEdge | kRightEdge, {LineWeight::Thin});
    wb.draw(s, Area::row_span(1, 0, 24), kBottomEdge, {LineWeight::Medium});
    wb.draw(s, Area::row_span(3, 0, 24), kLeftEdge | kRightEdge, {LineWeight::Medium});
    wb.draw(s, Area::row_span(4, 0, 24), kTopEdge, {LineWeight::Medium});
    wb.draw(s, Area::row_span(4, 1, 24), kBottomEdge, {LineWeight::Medium, 0xFF0000});
    wb.draw(s, Area::row_span(4, 1, 24), kLeftEdge, {LineWeight::Thick, 0xFF0000});
    wb.draw(s, Area::row_span(3, 7, 8), kBottomEdge, {LineWeight::Hair});
    wb.autofit(s, 0, 25);
    const int32_t fills[] = {0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF};
    for (int i = 0; i < 4; ++i) {
        wb.apply(records, Area::row_span(i + 1, 2, 10), {.fill = fills[i]});
        wb.put(records, 2, i + 1, "Team " + std::to_string(i));
    }
    wb.put(records, 1, 7, "1.5");  // text that looks like a number
    // Texts that look like the file format's own escapes ("_x0041_" for "A")
    // must read back as written. (A text holding "x005F_" itself is left out:
    // spreadsheet applications read it back as written, but openpyxl 3.0
    // drops every "x005F_" it meets in the shared strings.)
    const char* texts[] = {"_x0041_Smith", "a_X00e9_b", "Smith_x00C9_", "__x0041__", "_x12_", "_x004G_"};
    for (int32_t r = 0; r < 6; ++r) wb.put(odd, 0, r + 1, texts[r]);
    wb.put(odd, 1, 1, int32_t{7});
    wb.apply(odd, Area::cell(1, 1), {.number_format = "#.000"});
}

}  // namespace

TEST(Save, RoundTripThroughAnIndependentReader) {
    SKIP_WITHOUT_CHECKER();
    Folder dir;
    Workbook wb;
    fill_sample(wb);
    // The filter runs to the last row, as the totals sheets have it.
    wb.set_setup(*wb.find_sheet("S"), {.freeze_rows = 1, .freeze_cols = 2, .filter = true,
                                        .filter_area = {0, 1, 24, 5}, .landscape = true, .fit_to_page_width = true,
                                        .repeat_rows = 1, .footer = "&L&A&RPage &P of &N"});
    wb.show_on_opening(*wb.find_sheet("Team Records"));
    ASSERT_EQ(wb.save(dir.book), SaveOutcome::Saved);   // over the old file
    EXPECT_EQ(read_back(dir), tb::test::dump_workbook(wb, true));
    EXPECT_EQ(dir.entries(), 1);   // no temporary file left
}

#ifndef _WIN32
// A write that fails half way (here: the file size limit) leaves the
// existing file as it was and no temporary file behind.
TEST(Save, AFailedWriteLeavesTheExistingFileUntouched) {
    Folder dir;
    Workbook wb;
    const SheetId a = wb.add_sheet("A");
    for (int32_t r = 1; r <= 3000; ++r)
        for (int c = 0; c < 10; ++c) wb.put(a, c, r, "text " + std::to_string(r * 10 + c));
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 4096;
    auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string what = save_error(wb, dir.book);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, old_handler);
    EXPECT_NE(what.find(dir.book.string()), std::string::npos) << what;
    EXPECT_EQ(read_bytes(dir.book), "old");
    EXPECT_EQ(dir.entries(), 1);
}
#else
// A workbook that another program holds open (as a spreadsheet application
// does) cannot be replaced: the error says so, and the file is as it was.
TEST(Save, AWorkbookOpenInAnotherProgramIsNamedAndKept) {
    Folder dir;
    Workbook wb;
    wb.put(wb.add_sheet("Sheet1"), 0, 1, "new");
    const HANDLE held = ::CreateFileW(dir.book.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::string what = save_error(wb, dir.book);
    ::CloseHandle(held);
    EXPECT_NE(what.find("the workbook is open in another program"), std::string::npos) << what;
    EXPECT_EQ(read_bytes(dir.book), "old");
    EXPECT_EQ(dir.entries(), 1);
}
#endif
