// Saving: the file read back by an independent reader (openpyxl), and
// failed saves that leave the existing file as it was.
#include "workbook/workbook.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace tb::wb;
namespace fs = std::filesystem;

namespace {

long process_id() {
#ifdef _WIN32
    return static_cast<long>(::GetCurrentProcessId());
#else
    return static_cast<long>(::getpid());
#endif
}

// A fresh folder per test, holding only an "old" book.xlsx at first.
struct TempDir {
    fs::path path = fs::temp_directory_path() / ("tb_wb_" + std::to_string(process_id()) + "_" +
                                                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::path book = path / "book.xlsx";
    TempDir() {
        fs::create_directories(path);
        std::ofstream(book) << "old";
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    int entries() const { return static_cast<int>(std::distance(fs::directory_iterator(path), {})); }
};

std::string read_all(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// JSON pieces. The sample's texts hold no quote, backslash or control character.
std::string q(const std::string& s) { return '"' + s + '"'; }
template <class... Args>
std::string fmt(const char* format, Args... args) {
    char b[64];
    std::snprintf(b, sizeof b, format, args...);
    return b;
}
std::string num(double v) { return fmt("%.17g", v); }
std::string rgb(int32_t c) { return c < 0 ? "null" : fmt("\"%06X\"", c); }
std::string list(const std::vector<std::string>& items, char open, char close) {
    std::string out(1, open);
    for (const auto& item : items) out += (out.size() > 1 ? ", " : "") + item;
    return out + close;
}
std::string addr(int c, int32_t r) { return column_letter(c) + std::to_string(r); }

std::string cell_json(const CellValue& v, const Style& s) {
    std::vector<std::string> borders;
    for (auto [edge, e] : {std::pair{"top", s.top}, {"bottom", s.bottom}, {"left", s.left}, {"right", s.right}})
        if (e.present())
            borders.push_back(q(edge) + ": {\"style\": " + q(e.weight == xlMedium ? "medium" : "thin") +
                              ", \"color\": " + rgb(e.color) + "}");
    const std::string value = v.kind == CellValue::Kind::Text     ? q(v.text)
                              : v.kind == CellValue::Kind::Number ? num(v.number)
                                                                  : "null";
    return "{\"value\": " + value + ", \"number_format\": " + q(s.number_format.empty() ? "General" : s.number_format) +
           ", \"fill\": " + rgb(s.fill) + ", \"bold\": " + (s.bold ? "true" : "false") +
           ", \"size\": " + std::to_string(s.font_size) + ", \"align\": " + (s.align_right ? "\"right\"" : "null") +
           ", \"borders\": " + list(borders, '{', '}') + "}";
}

// What the engine says the book holds, in the checker's dump format.
std::string expected_json(const Workbook& wb) {
    std::vector<std::string> names, sheets;
    for (const std::string& sh : wb.SheetNames()) {
        std::vector<std::string> cells, merges, widths;
        for (int32_t r = 1; r <= wb.last_row(sh); ++r)
            for (int c = 0; c < 40; ++c)
                if (wb.value(sh, c, r).kind != CellValue::Kind::Empty || wb.style(sh, c, r) != Style{})
                    cells.push_back(q(addr(c, r)) + ": " + cell_json(wb.value(sh, c, r), wb.style(sh, c, r)));
        for (const MergeArea& m : wb.merges(sh)) merges.push_back(q(addr(m.c1, m.r1) + ":" + addr(m.c2, m.r2)));
        for (int c = 0; c < 40; ++c)
            if (wb.column_width(sh, c) != Workbook::kDefaultColumnWidth)
                widths.push_back(q(column_letter(c)) + ": " + num(wb.column_width(sh, c)));
        names.push_back(q(sh));
        sheets.push_back(q(sh) + ": {\"cells\": " + list(cells, '{', '}') + ", \"merges\": " + list(merges, '[', ']') +
                         ", \"widths\": " + list(widths, '{', '}') + "}");
    }
    return "{\"sheets\": " + list(names, '[', ']') + ", \"active\": " + q(wb.ActiveSheetName()) +
           ", \"sheet\": " + list(sheets, '{', '}') + "}\n";
}

// The independent reader is Linux's python3; the Windows build, run under
// Wine, cannot start it (tests/windows checks its workbooks from Linux).
#ifdef _WIN32
#define SKIP_WITHOUT_CHECKER() GTEST_SKIP() << "the openpyxl checker runs only on Linux"
#else
#define SKIP_WITHOUT_CHECKER() static_cast<void>(0)
#endif

int run_checker(const std::string& args) {
    const std::string cmd = std::string(TALLYBOOK_PYTHON) + " " + TALLYBOOK_TEST_DIR + "/workbook/xlsx_check.py " + args;
    return std::system(cmd.c_str());
}

// A merged header block, a row of sums and a coloured section, with every
// kind of style the engine writes.
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
    const std::tuple<const char*, double, const char*> numbers[] = {{"D3", format_000_value(150.0 / 500), "#.000"},
                                                                     {"E3", format_000_value(59 / (240.0 / 27)), "##0.00"},
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
}

}  // namespace

TEST(Save, RoundTripThroughAnIndependentReader) {
    SKIP_WITHOUT_CHECKER();
    TempDir dir;
    Workbook wb;
    wb.SheetsAdd();
    wb.NameActiveSheet("Prior");
    fill_sample(wb);
    wb.Delete("Prior");
    wb.Delete("TeamWSTotals");
    wb.Activate("Team Records");
    wb.save(dir.book);  // over the old file
    std::ofstream(dir.path / "expected.json") << expected_json(wb);
    EXPECT_EQ(run_checker("compare " + dir.book.string() + " " + (dir.path / "expected.json").string()), 0);

    // A few facts spelt out, so that the comparison cannot pass on a blank reading.
    ASSERT_EQ(run_checker("dump " + dir.book.string() + " > " + (dir.path / "dump.json").string()), 0);
    const std::string dump = read_all(dir.path / "dump.json");
    for (const char* fact : {"\"FFFFCC\"", "\"CCFFFF\"", "\"FFFF99\"", "\"99CCFF\"", "\"FF99CC\"", "\"CC99FF\"",
                             "\"FF0000\"", "\"medium\"", "\"thin\"", "\"#.000\"", "\"##0.00\"", "\"A1:E1\"",
                             "\"R1:Y1\"", "6.638", "\"Smith,John\"", "\"1.5\"", "\"active\": \"Team Records\""})
        EXPECT_NE(dump.find(fact), std::string::npos) << fact;
    EXPECT_EQ(dir.entries(), 3);  // book, expected.json, dump.json: no temporary file left
}

TEST(Save, RefusedSavesThrowWithThePathAndKeepTheExistingFile) {
    TempDir dir;
    Workbook wb;
    EXPECT_THROW(wb.save(dir.book), WorkbookError);  // no sheets
    wb.SheetsAdd();
    try {
        wb.save(dir.path);
        FAIL();
    } catch (const WorkbookError& e) {
        EXPECT_NE(std::string(e.what()).find(dir.path.string()), std::string::npos) << e.what();
    }
    EXPECT_THROW(wb.save(dir.path / "missing" / "book.xlsx"), WorkbookError);
#ifndef _WIN32
    if (::geteuid() != 0) {  // permissions do not bind root
        fs::permissions(dir.path, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_THROW(wb.save(dir.book), WorkbookError);
        fs::permissions(dir.path, fs::perms::owner_all);
    }
#endif
    EXPECT_EQ(read_all(dir.book), "old");
}

#ifndef _WIN32
// A write that fails half way (here: the file size limit) leaves the
// existing file as it was and no temporary file behind.
TEST(Save, AFailedWriteLeavesTheExistingFileUntouched) {
    TempDir dir;
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
    std::string what = "(nothing thrown)";
    try {
        wb.save(dir.book);
    } catch (const WorkbookError& e) {
        what = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, old_handler);
    EXPECT_NE(what.find(dir.book.string()), std::string::npos) << what;
    EXPECT_EQ(read_all(dir.book), "old");
    EXPECT_EQ(dir.entries(), 1);
}
#else
// A workbook that another program holds open (as a spreadsheet application
// does) cannot be replaced: the error says so, and the file is as it was.
TEST(Save, AWorkbookOpenInAnotherProgramIsNamedAndKept) {
    TempDir dir;
    Workbook wb;
    wb.SheetsAdd();
    wb.cell(0, 1).Value("new");
    const HANDLE held = ::CreateFileW(dir.book.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::string what = "(nothing thrown)";
    try {
        wb.save(dir.book);
    } catch (const WorkbookError& e) {
        what = e.what();
    }
    ::CloseHandle(held);
    EXPECT_NE(what.find("the workbook is open in another program"), std::string::npos) << what;
    EXPECT_EQ(read_all(dir.book), "old");
    EXPECT_EQ(dir.entries(), 1);
}
#endif

// Texts that look like the file format's own escapes ("_x0041_" for "A")
// read back exactly as written, next to ordinary texts on other sheets.
// (A text holding "x005F_" itself is left out: spreadsheet applications read
// it back as written, but openpyxl 3.0 drops every "x005F_" it meets in the
// shared strings.)
TEST(Save, TextsThatLookLikeEscapesReadBackAsWritten) {
    SKIP_WITHOUT_CHECKER();
    TempDir dir;
    Workbook wb;
    wb.SheetsAdd();
    wb.NameActiveSheet("Plain");
    wb.range("A1").Value("Smith,John");
    wb.SheetsAddAfter("Plain");
    wb.NameActiveSheet("Odd");
    const char* texts[] = {"_x0041_Smith", "a_X00e9_b", "Smith_x00C9_", "__x0041__", "_x12_", "_x004G_"};
    for (int32_t r = 0; r < 6; ++r) wb.cell(0, r + 1).Value(texts[r]);
    wb.cell(1, 1).Value(int32_t{7});
    wb.cell(1, 1).NumberFormat("#.000");
    ASSERT_EQ(wb.save(dir.book), SaveOutcome::Saved);
    std::ofstream(dir.path / "expected.json") << expected_json(wb);
    EXPECT_EQ(run_checker("compare " + dir.book.string() + " " + (dir.path / "expected.json").string()), 0);
}
