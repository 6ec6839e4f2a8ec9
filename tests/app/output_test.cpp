// The workbook's place, found and checked once before the run: what is
// replaced and how, and what a change under the run cannot do.
#include "run_fixture.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tb::test {
namespace {

class Output : public RunFixture {
protected:
    void SetUp() override {
        RunFixture::SetUp();
        options.desired = sheets::SheetsDesired::TeamsOnly;
        write();
        team_file = read_bytes(folder / "ENCTEAM.DAT");
    }
    std::vector<std::string> temporary_files(const fs::path& d) const {
        std::vector<std::string> out;
        for (const std::string& name : entries(d))
            if (name.starts_with(".tallybook-")) out.push_back(name);
        return out;
    }
    std::string team_file;
};

// Another file put where the workbook's name was, or a file where there was
// none, after the check: the run fails, writes nothing and leaves no
// temporary file.
TEST_F(Output, ANameThatChangesUnderTheRunIsNotWritten) {
    const std::string older = write_older_workbook(output);
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"a new file in the old one's place",
         [&] {
             // The old file stays alive under a side name so the new one
             // cannot be given its identity back.
             fs::rename(output, dir / "old.xlsx");
             write_bytes(output, "another file");
         }},
        {"a file where there was none", [&] { write_bytes(dir / "new.xlsx", "another file"); }},
    };
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        if (std::string_view(what) == "a file where there was none") options.output = dir / "new.xlsx";
        options.save_options.before_replace = change;
        const auto r = run(true);
        EXPECT_EQ(r.outcome, app::RunOutcome::Failed);
        EXPECT_NE(r.error.find("it changed during the run"), std::string::npos) << r.error;
        EXPECT_EQ(read_bytes(options.output), "another file");
        EXPECT_TRUE(temporary_files(dir.path()).empty());
    }
}

#ifndef _WIN32
// The folder swapped for a link to the encyclopedia folder, or the file for
// a link to one of its files: the encyclopedia stays as it was.
TEST_F(Output, ALinkSwappedInCannotSendTheWorkbookIntoTheEncyclopedia) {
    fs::create_directory(dir / "out");
    options.output = dir / "out" / "ENCTEAM.DAT";   // allowed: "out" is elsewhere
    options.save_options.before_replace = [&] {
        fs::rename(dir / "out", dir / "out.before");
        fs::create_directory_symlink(folder, dir / "out");
    };
    EXPECT_EQ(run(true).outcome, app::RunOutcome::Completed);
    EXPECT_EQ(read_bytes(folder / "ENCTEAM.DAT"), team_file);
    EXPECT_EQ(read_bytes(dir / "out.before" / "ENCTEAM.DAT").substr(0, 2), "PK");   // where it was checked

    write_older_workbook(output);
    options.output = output;
    options.save_options.before_replace = [&] {
        fs::remove(output);
        fs::create_symlink(folder / "ENCTEAM.DAT", output);
    };
    const auto r = run(true);
    EXPECT_EQ(r.outcome, app::RunOutcome::Failed);
    EXPECT_EQ(read_bytes(folder / "ENCTEAM.DAT"), team_file);
    EXPECT_TRUE(fs::is_symlink(output));
    EXPECT_TRUE(temporary_files(dir.path()).empty());
    EXPECT_EQ(entries(folder).size(), 6u);
}

// Through a link, the file it leads to is replaced and the link stays. The
// new file has the old one's permission bits from the moment it is made
// (never more open), and never its set-user, set-group or sticky bits.
TEST_F(Output, ALinkStaysAndTheNewFileIsNeverMoreOpenThanTheOldOne) {
    const fs::path target = dir / "target.xlsx";
    fs::create_symlink("target.xlsx", output);
    const std::pair<mode_t, mode_t> modes[] = {{0600, 0600}, {0640, 0640}, {04755, 0755}, {02750, 0750}};
    for (const auto& [before, after] : modes) {
        const std::string older = write_older_workbook(target);
        ASSERT_EQ(::chmod(target.c_str(), before), 0);
        std::vector<mode_t> seen;
        options.save_options.before_replace = [&] {
            for (const std::string& name : temporary_files(dir.path())) {
                struct stat st {};
                ::stat((dir / name).c_str(), &st);
                seen.push_back(st.st_mode & 07777);
            }
        };
        ASSERT_EQ(run(true).outcome, app::RunOutcome::Completed);
        EXPECT_EQ(seen, std::vector<mode_t>{after});
        struct stat st {};
        ASSERT_EQ(::stat(target.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, after) << std::oct << before;
        EXPECT_NE(read_bytes(target), older);
        EXPECT_TRUE(fs::is_symlink(output));
    }
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"book.xlsx", "enc", "target.xlsx"}));
}
#endif

// What is replaced: a workbook or an empty file (anything else only when
// asked to, as the cli test's --force asks). A refusal comes before the run
// says it has started.
TEST_F(Output, OnlyAWorkbookOrAnEmptyFileIsReplaced) {
    const std::tuple<std::string, const char*, bool> files[] = {
        {"my notes", "it is not a workbook", false},
        {std::string("PK\x03\x04", 4) + std::string(40, 'z'), "not a workbook", false},
        {"", "", true},
    };
    for (const auto& [bytes, words, replaced] : files) {
        write_bytes(output, bytes);
        const auto r = app::run_process(options, observer);
        EXPECT_EQ(r.outcome == app::RunOutcome::Completed, replaced) << r.error;
        EXPECT_NE(r.error.find(words), std::string::npos) << r.error;
        EXPECT_EQ(r.replace_refused, !replaced);
        EXPECT_EQ(read_bytes(output).substr(0, 2) == "PK" && read_bytes(output).size() > 100, replaced);
    }
    EXPECT_EQ(observer.starts, 1);   // only the run that could write
}

}  // namespace
}  // namespace tb::test
