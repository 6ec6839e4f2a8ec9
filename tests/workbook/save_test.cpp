// Saving: the file read back by an independent reader (openpyxl), and
// failed saves that leave nothing behind.
#include "workbook/sheet_set.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

using namespace tb::wb;
namespace fs = std::filesystem;

namespace {

struct TempDir {
    fs::path path;
    TempDir() {
        path = fs::temp_directory_path() /
               ("tb_wb_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

std::string read_all(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string json_string(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') { out += '\\'; out += static_cast<char>(c); }
        else if (c < 0x20) { char b[8]; std::snprintf(b, sizeof b, "\\u%04x", c); out += b; }
        else out += static_cast<char>(c);
    }
    return out + "\"";
}

std::string hex(int32_t rgb) {
    if (rgb < 0) return "null";
    char b[16];
    std::snprintf(b, sizeof b, "\"%06X\"", rgb);
    return b;
}

std::string number(double v) {
    char b[40];
    std::snprintf(b, sizeof b, "%.17g", v);
    return b;
}

// What the engine says each sheet holds, in the checker's dump format.
std::string expected_json(const Workbook& wb) {
    std::ostringstream o;
    o << "{\"sheets\": [";
    const auto names = wb.SheetNames();
    for (size_t i = 0; i < names.size(); ++i) o << (i ? ", " : "") << json_string(names[i]);
    o << "], \"active\": " << json_string(wb.ActiveSheetName()) << ", \"sheet\": {";
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& sh = names[i];
        o << (i ? ", " : "") << json_string(sh) << ": {\"cells\": {";
        bool first = true;
        for (int32_t r = 1; r <= wb.last_row(sh); ++r)
            for (int c = 0; c < 40; ++c) {
                const CellValue v = wb.value(sh, c, r);
                const Style s = wb.style(sh, c, r);
                if (v.kind == CellValue::Kind::Empty && s == Style{}) continue;
                o << (first ? "" : ", ") << json_string(column_letter(c) + std::to_string(r)) << ": {";
                first = false;
                o << "\"value\": "
                  << (v.kind == CellValue::Kind::Text     ? json_string(v.text)
                      : v.kind == CellValue::Kind::Number ? number(v.number)
                                                          : std::string("null"));
                o << ", \"number_format\": " << json_string(s.number_format.empty() ? "General" : s.number_format);
                o << ", \"fill\": " << hex(s.fill) << ", \"bold\": " << (s.bold ? "true" : "false");
                o << ", \"size\": " << s.font_size << ", \"align\": " << (s.align_right ? "\"right\"" : "null");
                o << ", \"borders\": {";
                bool fe = true;
                for (auto [edge, e] : {std::pair{"top", s.top}, {"bottom", s.bottom}, {"left", s.left}, {"right", s.right}}) {
                    if (!e.present()) continue;
                    o << (fe ? "" : ", ") << '"' << edge << "\": {\"style\": \""
                      << (e.weight == xlMedium ? "medium" : "thin") << "\", \"color\": " << hex(e.color) << "}";
                    fe = false;
                }
                o << "}}";
            }
        o << "}, \"merges\": [";
        const auto ms = wb.merges(sh);
        for (size_t k = 0; k < ms.size(); ++k)
            o << (k ? ", " : "") << json_string(column_letter(ms[k].c1) + std::to_string(ms[k].r1) + ":" +
                                                column_letter(ms[k].c2) + std::to_string(ms[k].r2));
        o << "], \"widths\": {";
        bool fw = true;
        for (int c = 0; c < 40; ++c) {
            const double w = wb.column_width(sh, c);
            if (w == Workbook::kDefaultColumnWidth) continue;
            o << (fw ? "" : ", ") << json_string(column_letter(c)) << ": " << number(w);
            fw = false;
        }
        o << "}}";
    }
    o << "}}\n";
    return o.str();
}

int run_checker(const std::string& args) {
    const std::string cmd = std::string(TALLYBOOK_PYTHON) + " " + TALLYBOOK_TEST_DIR + "/workbook/xlsx_check.py " + args;
    return std::system(cmd.c_str());
}

// A player block, a totals row and a team section, as the passes draw them.
void fill_sample(Workbook& wb) {
    create_sheet_set(wb, SheetsDesired::PlayersAndTeams);
    wb.Activate("S");
    wb.range("A1").Select();
    wb.range("A1:E1").Merge();
    wb.range("A1").Value("Smith,John");
    wb.range("R1:Y1").Merge();
    wb.range("R1").Value(int32_t{4711});
    wb.range("A1:Y1").FontBold(true);
    wb.range("A1:Y1").FontSize(12);
    for (const char* r : {"A1:E1", "R1:Y1"})
        for (int e : {xlEdgeTop, xlEdgeLeft, xlEdgeRight}) wb.range(r).Borders(e).LineStyle(xlContinuous);
    wb.range("A1:Y1").Borders(xlEdgeBottom).Weight(xlMedium);
    for (int c = 0; c < 25; ++c) {
        wb.cell(c, 2).Value(c == 0 ? "Year" : "H");
        wb.cell(c, 2).HorizontalAlignment(xlRight);
    }
    wb.range("A2:Y2").InteriorColorIndex(19);
    wb.range("A1:E1").InteriorColorIndex(19);
    wb.range("A3").Value(int32_t{1987});
    wb.range("B3").Value("BOS");
    wb.range("D3").Value(format_000_value(150.0 / 500));
    wb.range("E3").Value(format_000_value(59 / (240.0 / 27)));
    wb.range("F3").Value(66.2);
    wb.range("D3").NumberFormat("#.000");
    wb.range("E3").NumberFormat("##0.00");
    wb.range("F3").NumberFormat("0.0");
    wb.range("G3").NumberFormat("#0.0");
    wb.range("G3").Value(0.1);
    wb.range("A3:Y3").Borders(xlEdgeRight).Weight(xlMedium);
    wb.range("A3:Y3").Borders(xlEdgeLeft).Weight(xlMedium);
    wb.range("A4").Value(" ");
    wb.range("B4").Value("Totals");
    wb.range("A4:Y4").Borders(xlEdgeTopOfRange).Weight(xlMedium);
    wb.range("B4:Y4").Borders(xlEdgeBottom).Weight(xlMedium);
    wb.range("B4:Y4").Borders(xlEdgeBottom).Color(xlRed);
    wb.range("B4:Y4").Borders(xlEdgeLeft).Color(xlRed);
    wb.range("A5:C5").Merge();
    wb.range("A5").Value("- - W  S - -");
    wb.range("A5").InteriorColorIndex(20);
    autofit_columns(wb, 0, 25);
    wb.Activate("Team Records");
    for (int i = 0; i < 4; ++i) {
        const int32_t r = 1 + i;
        wb.range("C" + std::to_string(r) + ":K" + std::to_string(r)).InteriorColorIndex(36 + i);
        wb.cell(2, r).Value("Team " + std::to_string(i));
    }
    wb.range("b7").Value("1.5");   // text that looks like a number
}

}  // namespace

TEST(Save, RoundTripThroughAnIndependentReader) {
    TempDir dir;
    Workbook wb;
    wb.SheetsAdd();
    wb.NameActiveSheet("Prior");
    fill_sample(wb);
    wb.Delete("Prior");
    TeamTotalsCounters team;
    team.TeamWSLine = 3;
    end_team_sheets(wb, team);
    const fs::path book = dir.path / "book.xlsx";
    wb.save(book);
    {
        std::ofstream(dir.path / "expected.json") << expected_json(wb);
    }
    EXPECT_EQ(run_checker("compare " + book.string() + " " + (dir.path / "expected.json").string()), 0);

    // A few facts spelt out, so that the comparison cannot pass on a blank reading.
    ASSERT_EQ(run_checker("dump " + book.string() + " > " + (dir.path / "dump.json").string()), 0);
    const std::string dump = read_all(dir.path / "dump.json");
    for (const char* fact : {"\"FFFFCC\"", "\"CCFFFF\"", "\"FFFF99\"", "\"99CCFF\"", "\"FF99CC\"", "\"CC99FF\"",
                             "\"FF0000\"", "\"medium\"", "\"thin\"", "\"#.000\"", "\"##0.00\"", "\"A1:E1\"",
                             "\"R1:Y1\"", "6.638", "\"Smith,John\"", "\"1.5\"", "\"active\": \"Team Records\""})
        EXPECT_NE(dump.find(fact), std::string::npos) << fact;
    // Nothing but the book is left in the folder.
    EXPECT_FALSE(fs::exists(dir.path / ".book.xlsx.tmp"));
    int files = 0;
    for (const auto& e : fs::directory_iterator(dir.path)) files += e.path().extension() == ".tmp";
    EXPECT_EQ(files, 0);
}

TEST(Save, OverwritesAnExistingFile) {
    TempDir dir;
    const fs::path book = dir.path / "book.xlsx";
    std::ofstream(book) << "old";
    Workbook wb;
    wb.SheetsAdd();
    wb.NameActiveSheet("A");
    wb.range("A1").Value("new");
    wb.save(book);
    EXPECT_NE(read_all(book), "old");
}

TEST(Save, ADirectoryAsTargetThrowsWithThePath) {
    TempDir dir;
    Workbook wb;
    wb.SheetsAdd();
    try {
        wb.save(dir.path);
        FAIL();
    } catch (const WorkbookError& e) {
        EXPECT_NE(std::string(e.what()).find(dir.path.string()), std::string::npos);
    }
    EXPECT_THROW(wb.save(dir.path / "missing" / "book.xlsx"), WorkbookError);
}

TEST(Save, AWorkbookWithoutSheetsIsRefused) {
    TempDir dir;
    const fs::path book = dir.path / "book.xlsx";
    std::ofstream(book) << "old";
    Workbook wb;
    EXPECT_THROW(wb.save(book), WorkbookError);
    EXPECT_EQ(read_all(book), "old");
}

// A write that fails half way (here: the file size limit) leaves the
// existing file as it was and no temporary file behind.
TEST(Save, AFailedWriteLeavesTheExistingFileUntouched) {
    TempDir dir;
    const fs::path book = dir.path / "book.xlsx";
    std::ofstream(book) << "old";
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
    bool threw = false;
    std::string what;
    try {
        wb.save(book);
    } catch (const WorkbookError& e) {
        threw = true;
        what = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, old_handler);

    EXPECT_TRUE(threw);
    EXPECT_NE(what.find(book.string()), std::string::npos) << what;
    EXPECT_EQ(read_all(book), "old");
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path)) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(Save, UnwritableFolderThrows) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    TempDir dir;
    const fs::path book = dir.path / "book.xlsx";
    std::ofstream(book) << "old";
    fs::permissions(dir.path, fs::perms::owner_read | fs::perms::owner_exec);
    Workbook wb;
    wb.SheetsAdd();
    EXPECT_THROW(wb.save(book), WorkbookError);
    fs::permissions(dir.path, fs::perms::owner_all);
    EXPECT_EQ(read_all(book), "old");
}
