// The save's steps through the file-operations seam, seen by a fake that
// records them: the new file reaches the disk, with the old file's
// permissions, before it replaces the old file; and a step that fails, or a
// cancel at any moment, leaves the old file as it was and nothing else.
#include "platform/file_ops.h"
#include "workbook/workbook.h"

#include <gtest/gtest.h>

#include <map>

using namespace tb::wb;
using tb::platform::FileError;
using tb::platform::FilePermissions;
namespace fs = std::filesystem;

namespace {

// A folder in memory that holds "book.xlsx" ("old", mode 0600) at first,
// logs every step ("write .tallybook-1.tmp", "replace .tallybook-1.tmp
// book.xlsx", ...) and fails the step named `fail` with a full disk.
struct FakeFiles : tb::platform::FileOps {
    std::map<std::string, std::string> files{{"book.xlsx", "old"}};
    std::vector<std::string> log;
    std::string fail;
    FilePermissions kept{0600, -1, -1};

    void step(const std::string& what, const std::string& name) {
        log.push_back(what + " " + name);
        if (what == fail) throw FileError("the disk is full");
    }

    struct File : tb::platform::NewFile {
        FakeFiles& f;
        std::string name;
        File(FakeFiles& files, std::string n) : f(files), name(std::move(n)) {}
        void write(const void* data, std::size_t size) override {
            f.step("write", name);
            f.files[name].append(static_cast<const char*>(data), size);
        }
        void set_permissions(const FilePermissions& p) override {
            f.step("permissions", name + (p == f.kept ? " of book.xlsx" : " other"));
        }
        void flush_to_disk() override { f.step("flush", name); }
        void close() override { f.step("close", name); }
    };
    struct Folder : tb::platform::Folder {
        FakeFiles& f;
        explicit Folder(FakeFiles& files) : f(files) {}
        std::unique_ptr<tb::platform::NewFile> create_new(const fs::path& name, uint32_t mode) override {
            f.step("create", name.string() + (mode == (f.kept.mode & 0777) ? " as book.xlsx" : " other"));
            if (f.files.count(name.string())) return nullptr;
            f.files[name.string()];
            return std::make_unique<File>(f, name.string());
        }
        std::optional<FilePermissions> permissions_of(const fs::path& name) override {
            if (!f.files.count(name.string())) return std::nullopt;
            return f.kept;
        }
        tb::platform::FileIdentity identity() override { return {1, 1}; }
        std::optional<tb::platform::EntryFacts> look_up(const fs::path& name) override {
            if (!f.files.count(name.string())) return std::nullopt;
            tb::platform::EntryFacts e;
            e.kind = tb::platform::EntryFacts::Kind::Regular;
            e.identity = {1, name.string() == "book.xlsx" ? 2u : 3u};
            e.permissions = f.kept;
            return e;
        }
        std::string read(const fs::path& name, uint64_t, std::size_t) override { return f.files[name.string()]; }
        void replace(const fs::path& from, const fs::path& to) override {
            f.step("replace", from.string() + " " + to.string());
            f.files[to.string()] = f.files[from.string()];
            f.files.erase(from.string());
        }
        void flush_to_disk() override { f.log.push_back("flush folder"); }
        void remove(const fs::path& name) override {
            f.log.push_back("remove " + name.string());
            f.files.erase(name.string());
        }
    };
    std::unique_ptr<tb::platform::Folder> open_folder(const fs::path& dir) override {
        step("open", dir.string());
        return std::make_unique<Folder>(*this);
    }

    // The steps taken on the new file, without its name: "write", "flush", ...
    std::vector<std::string> new_file_steps() const {
        std::vector<std::string> out;
        for (const std::string& line : log)
            if (line.find(".tallybook-") != std::string::npos) out.push_back(line.substr(0, line.find(' ')));
        return out;
    }
};

// Cancels at its `at`-th question (counting from 1); 0: never.
struct CancelAt : SaveMonitor {
    int at = 0;
    mutable int asked = 0;
    bool cancelled() const override { return ++asked == at; }
};

void fill(Workbook& wb) {
    const SheetId first = wb.add_sheet("Sheet1");
    for (int32_t r = 1; r <= 2000; ++r)
        for (int c = 0; c < 5; ++c) wb.put(first, c, r, r * 10.0 + c);
    wb.put(wb.add_sheet("Sheet2"), 0, 1, "second");
}

}  // namespace

TEST(SaveSteps, TheNewFileReachesTheDiskBeforeItReplacesTheOldOne) {
    FakeFiles files;
    Workbook wb;
    fill(wb);
    ASSERT_EQ(wb.save("dir/book.xlsx", nullptr, {.files = &files}), SaveOutcome::Saved);
    EXPECT_EQ(files.log.front(), "open dir");
    // Created, written, given the old file's permissions, flushed to the
    // disk and closed; only then put in the old file's place.
    std::vector<std::string> steps = files.new_file_steps();
    steps.erase(std::unique(steps.begin(), steps.end()), steps.end());
    EXPECT_EQ(steps, (std::vector<std::string>{"create", "write", "permissions", "flush", "close", "replace"}));
    EXPECT_EQ(files.log.back(), "flush folder");
    ASSERT_EQ(files.files.size(), 1u);
    EXPECT_EQ(files.files["book.xlsx"].substr(0, 2), "PK");
}

TEST(SaveSteps, AFailingStepLeavesTheOldFileAndNothingElse) {
    for (const char* failing : {"open", "create", "write", "permissions", "flush", "close", "replace"}) {
        FakeFiles files;
        files.fail = failing;
        Workbook wb;
        fill(wb);
        try {
            wb.save("dir/book.xlsx", nullptr, {.files = &files});
            ADD_FAILURE() << failing << ": no error";
        } catch (const WorkbookError& e) {
            EXPECT_STREQ(e.what(), "cannot save the workbook to dir/book.xlsx: the disk is full") << failing;
        }
        EXPECT_EQ(files.files, (std::map<std::string, std::string>{{"book.xlsx", "old"}})) << failing;
    }
}

// Cancelled at its first question, its second, ... until the save asks no
// more and completes.
TEST(SaveSteps, ACancelAtAnyMomentLeavesTheOldFileAndNothingElse) {
    int at = 1;
    for (;; ++at) {
        FakeFiles files;
        CancelAt cancel;
        cancel.at = at;
        Workbook wb;
        fill(wb);
        if (wb.save("book.xlsx", &cancel, {.files = &files, .threads = 2}) == SaveOutcome::Saved) break;
        EXPECT_EQ(files.files, (std::map<std::string, std::string>{{"book.xlsx", "old"}})) << at;
    }
    EXPECT_GT(at, 3);   // asked while scanning, making parts, and before the rename
}
