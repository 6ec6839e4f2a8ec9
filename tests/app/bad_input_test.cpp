// Bad input through the run's entry point: damaged files, outputs that must
// be refused, saves that must not replace a good workbook with nothing, and
// what a change to the output's place under the run cannot do.
#include "run_fixture.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tb::test {
namespace {

using BadInput = RunFixture;

TEST_F(BadInput, EachMissingEmptyCutOrUnusedFileIsToldAndTheRunGoesOn) {
    const std::pair<const char*, std::size_t> files[] = {{"ENCTEAM.DAT", 56},  {"ENCPLYR.DAT", 52},
                                                         {"ENCPLSTATS.DAT", 344}, {"enctmyr.dat", 548},
                                                         {"enclgyr.dat", 1000}, {"encleag.dat", 50}};
    for (const auto& [file, record_size] : files) {
        const fs::path path = folder / file;
        // What each damage does to the file, and the words that tell it.
        const std::pair<std::function<void()>, std::string> damages[] = {
            {[&] { fs::remove(path); }, " is missing"},
            {[&] { write_bytes(path, ""); }, " is empty"},
            {[&] { write_bytes(path, read_bytes(path) + "xyz"); },
             " ends with a partial record of 3 bytes, which is ignored"},
            {[&] {
                 std::string bytes = read_bytes(path);
                 for (std::size_t at = 0; at < bytes.size(); at += record_size) bytes[at] = 1;  // status 1
                 write_bytes(path, bytes);
             },
             " has no used record"},
        };
        for (const auto& [damage, words] : damages) {
            SCOPED_TRACE(file + words);
            fs::remove_all(folder);
            write();
            damage();
            observer.told.clear();
            const auto r = run(true);
            const auto told = std::find_if(observer.told.begin(), observer.told.end(), [&](const app::Notice& n) {
                return n.text.rfind(file + words, 0) == 0;
            });
            ASSERT_NE(told, observer.told.end());
            EXPECT_EQ(told->file, file);
            // Only the statistics and team-season files carry the data: the
            // run still writes the other's sheets.
            EXPECT_EQ(r.outcome, app::RunOutcome::Completed) << r.error;
        }
    }
}

TEST_F(BadInput, NothingToConvertFailsAndKeepsTheOldWorkbook) {
    using D = sheets::SheetsDesired;
    const std::tuple<D, std::function<void()>, std::vector<std::string>> cases[] = {
        {D::PlayersOnly, [&] { contents.stats.reset(); },
         {"ENCPLSTATS.DAT has no used statistics line (it is missing)"}},
        {D::TeamsOnly, [&] { contents.team_seasons.reset(); }, {"enctmyr.dat has no used team season (it is missing)"}},
        {D::PlayersAndTeams, [&] { contents.stats.reset(), contents.team_seasons.reset(); },
         {"ENCPLSTATS.DAT has no used statistics line", "and enctmyr.dat has no used team season"}},
        {D::PlayersOnly, [&] { for (auto& line : *contents.stats) line.phase_code = 5; }, {}},   // post-season only
        {D::PlayersAndTeams, [&] { contents = {}; }, {}},   // an empty folder
    };
    const std::string older = write_older_workbook(output);
    for (const auto& [desired, change, words] : cases) {
        SetUp();
        fs::remove_all(folder);
        change();
        options.desired = desired;
        const auto r = run();
        EXPECT_EQ(r.outcome, app::RunOutcome::Failed);
        EXPECT_NE(r.error.find("there is nothing to convert"), std::string::npos) << r.error;
        for (const auto& w : words) EXPECT_NE(r.error.find(w), std::string::npos) << r.error;
        EXPECT_EQ(read_bytes(output), older);
        EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"book.xlsx", "enc"}));
    }
}

// Every refusal comes before anything is read.
TEST_F(BadInput, OutputsThatCannotOrMustNotBeWrittenAreRefused) {
    write();
    const std::string team_file = read_bytes(folder / "ENCTEAM.DAT");
    write_bytes(dir / "plain-file", "x");
    std::vector<std::pair<fs::path, std::string>> cases = {
        {dir / (std::string(300, 'n') + ".xlsx"), "the name is too long"},
        {dir / "plain-file" / "book.xlsx", "is not a folder"},
        {dir / "no-such-folder" / "book.xlsx", "does not exist"},
    };
#ifndef _WIN32  // Windows: no FIFOs or devices, and links need a privilege (tests/windows tries the other ways in)
    fs::create_directories(dir / "elsewhere");
    fs::create_directories(dir / "a-folder");
    fs::create_directory_symlink(folder, dir / "link-to-enc");
    fs::create_symlink(folder / "ENCTEAM.DAT", dir / "link-to-team.xlsx");
    fs::create_hard_link(folder / "ENCTEAM.DAT", dir / "hard-link.xlsx");
    ASSERT_EQ(::mkfifo((dir / "fifo.xlsx").c_str(), 0644), 0);
    fs::create_directory_symlink(dir / "a-folder", dir / "link-to-folder.xlsx");
    cases.insert(cases.end(), {{folder / "ENCTEAM.DAT", "encyclopedia folder"},
                               {folder / "book.xlsx", "encyclopedia folder"},
                               {dir / "elsewhere" / ".." / "enc" / "new.xlsx", "encyclopedia folder"},
                               {folder, "it is a folder"},
                               {dir / "link-to-enc" / "new.xlsx", "encyclopedia folder"},
                               {dir / "link-to-team.xlsx", "encyclopedia folder"},
                               {dir / "hard-link.xlsx", "encyclopedia folder"},
                               {dir / "a-folder", "it is a folder"},
                               {dir / "fifo.xlsx", "FIFO"},
                               {"/dev/null", "device"},
                               {dir / "link-to-folder.xlsx", "it is a folder"}});
#endif
    const auto before = entries(dir.path());
    for (const auto& [out, words] : cases) {
        options.output = out;
        const auto r = run(true);
        EXPECT_EQ(r.outcome, app::RunOutcome::Failed) << out;
        EXPECT_NE(r.error.find(words), std::string::npos) << out << ": " << r.error;
        EXPECT_TRUE(observer.told.empty()) << out;
    }
    EXPECT_EQ(read_bytes(folder / "ENCTEAM.DAT"), team_file);
    EXPECT_EQ(entries(folder), (std::vector<std::string>{"ENCPLSTATS.DAT", "ENCPLYR.DAT", "ENCTEAM.DAT",
                                                         "encleag.dat", "enclgyr.dat", "enctmyr.dat"}));
    EXPECT_EQ(entries(dir.path()), before);

    options.output = dir / (std::string(245, 'n') + ".xlsx");   // 250 characters are fine
    EXPECT_EQ(run(true).outcome, app::RunOutcome::Completed);
    EXPECT_TRUE(fs::exists(options.output));
}

TEST_F(BadInput, ACancelAtTheLastMomentOfTheSaveKeepsTheOldWorkbookAndNoTemporaryFile) {
    for (int p = 10; p < 3000; ++p) contents.stats->push_back(hitter_line(p, 2000, 2, 1, "Name", std::to_string(p)));
    const std::string older = write_older_workbook(output);
    std::atomic<bool> cancel{false};
    observer.on_progress = [&](app::Stage s, int64_t done, int64_t total) {
        // The package is written (the rest is the file's flush and rename).
        if (s == app::Stage::Saving && total > 0 && done * 50 >= total * 49) cancel = true;
    };
    EXPECT_EQ(run(false, &cancel).outcome, app::RunOutcome::Cancelled);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(read_bytes(output), older);
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"book.xlsx", "enc"}));
}

class Output : public RunFixture {
protected:
    void SetUp() override {
        RunFixture::SetUp();
        options.desired = sheets::SheetsDesired::TeamsOnly;
        write();
    }
    std::vector<std::string> temporary_files(const fs::path& d) const {
        std::vector<std::string> out;
        for (const std::string& name : entries(d))
            if (name.starts_with(".tallybook-")) out.push_back(name);
        return out;
    }
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
// a link to one of its files, between the check and the save: the
// encyclopedia stays as it was.
TEST_F(Output, ALinkSwappedInCannotSendTheWorkbookIntoTheEncyclopedia) {
    const std::string team_file = read_bytes(folder / "ENCTEAM.DAT");
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

}  // namespace
}  // namespace tb::test
