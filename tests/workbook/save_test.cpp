// Failed saves leave the existing file as it was.
#include "support/temp_dir.h"
#include "workbook/workbook.h"

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

// The message of the save's WorkbookError.
std::string save_error(Workbook& wb, const fs::path& path) {
    try {
        wb.save(path);
    } catch (const WorkbookError& e) {
        return e.what();
    }
    return "(nothing thrown)";
}

}  // namespace

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
