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
    for (const char* name : {"S", "TeamWSTotals", "Team Records"}) {
        wb.SheetsAdd();
        wb.NameActiveSheet(name);
    }
    wb.Activate("S");
    for (const char* merged : {"A1:E1", "R1:Y1", "A5:C5"}) wb.range(merged).Merge();
    for (auto [at, text] : {std::pair{"A1", "Smith,John"}, {"A2", "Year"}, {"B2:Y2", "H"}, {"B3", "BOS"}, {"A4", " "},
                            {"B4", "Totals"}, {"A5", "- - W  S - -"}})
        wb.range(at).Value(text);
    wb.range("R1").Value(int32_t{4711});
    wb.range("A3").Value(int32_t{1987});
    const std::tuple<const char*, double, const char*> numbers[] = {{"D3", 0.3, "#.000"},
                                                                     {"E3", 6.638, "##0.00"},
                                                                     {"F3", 66.2, "0.0"}, {"G3", 0.1, "#0.0"}};
    for (const auto& [at, value, format] : numbers) {
        wb.range(at).Value(value);
        wb.range(at).NumberFormat(format);
    }
    wb.range("A1:Y1").FontBold(true);
    wb.range("A1:Y1").FontSize(12);
    wb.range("A2:Y2").HorizontalAlignment(xlRight);
    for (auto [at, index] : {std::pair{"A2:Y2", 19}, {"A1:E1", 19}, {"A5", 20}}) wb.range(at).InteriorColorIndex(index);
    for (const char* r : {"A1:E1", "R1:Y1"})
        for (int e : {xlEdgeTop, xlEdgeLeft, xlEdgeRight}) wb.range(r).Borders(e).LineStyle(xlContinuous);
    for (auto [r, edge] : {std::pair{"A1:Y1", xlEdgeBottom}, {"A3:Y3", xlEdgeRight}, {"A3:Y3", xlEdgeLeft},
                           {"A4:Y4", xlEdgeTopOfRange}, {"B4:Y4", xlEdgeBottom}})
        wb.range(r).Borders(edge).Weight(xlMedium);
    wb.range("B4:Y4").Borders(xlEdgeBottom).Color(xlRed);
    wb.range("B4:Y4").Borders(xlEdgeLeft).Color(xlRed);  // colour only: a thin line
    wb.range("A:Z").ColumnsAutoFit();
    wb.Activate("Team Records");
    for (int i = 0; i < 4; ++i) {
        wb.range("C" + std::to_string(i + 1) + ":K" + std::to_string(i + 1)).InteriorColorIndex(36 + i);
        wb.cell(2, i + 1).Value("Team " + std::to_string(i));
    }
    wb.range("b7").Value("1.5");  // text that looks like a number
    // Texts that look like the file format's own escapes ("_x0041_" for "A")
    // must read back as written. (A text holding "x005F_" itself is left out:
    // spreadsheet applications read it back as written, but openpyxl 3.0
    // drops every "x005F_" it meets in the shared strings.)
    wb.SheetsAddAfter("Team Records");
    wb.NameActiveSheet("Odd");
    const char* texts[] = {"_x0041_Smith", "a_X00e9_b", "Smith_x00C9_", "__x0041__", "_x12_", "_x004G_"};
    for (int32_t r = 0; r < 6; ++r) wb.cell(0, r + 1).Value(texts[r]);
    wb.cell(1, 1).Value(int32_t{7});
    wb.cell(1, 1).NumberFormat("#.000");
}

}  // namespace

TEST(Save, RoundTripThroughAnIndependentReader) {
    SKIP_WITHOUT_CHECKER();
    Folder dir;
    Workbook wb;
    wb.SheetsAdd();
    wb.NameActiveSheet("Prior");
    fill_sample(wb);
    wb.Delete("Prior");
    wb.Delete("TeamWSTotals");
    // The filter runs to the last row, as the totals sheets have it.
    wb.SetSheetSetup("S", {.freeze_rows = 1, .freeze_cols = 2, .filter = true, .filter_area = {0, 1, 24, 5},
                           .landscape = true, .fit_to_page_width = true, .repeat_rows = 1,
                           .footer = "&L&A&RPage &P of &N"});
    wb.Activate("Team Records");
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
    wb.SheetsAdd();
    wb.NameActiveSheet("A");
    for (int32_t r = 1; r <= 3000; ++r)
        for (int c = 0; c < 10; ++c) wb.cell(c, r).Value("text " + std::to_string(r * 10 + c));
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
    wb.SheetsAdd();
    wb.cell(0, 1).Value("new");
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
