// Bad input through the run's entry point: damaged files, lines that cannot
// be written, outputs that must be refused, and saves that must not replace
// a good workbook with nothing.
#include "app/run.h"
#include "support/encyclopedia_builder.h"

#include <gtest/gtest.h>

#include <fstream>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tb::test {
namespace {

namespace fs = std::filesystem;

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_file(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

struct Recorder : app::RunObserver {
    std::vector<app::Notice> notices;
    std::function<void(app::Stage, int64_t, int64_t)> on_progress;
    void notice(const app::Notice& n) override { notices.push_back(n); }
    void progress(app::Stage s, int64_t d, int64_t t) override {
        if (on_progress) on_progress(s, d, t);
    }
    bool told(const std::string& text) const {
        return std::any_of(notices.begin(), notices.end(), [&](const app::Notice& n) { return n.text == text; });
    }
};

// A whole encyclopedia of one league season, two teams and two players,
// every file holding used records.
class BadInput : public ::testing::Test {
protected:
    TempDir dir;
    fs::path folder = dir / "enc";
    fs::path output = dir / "book.xlsx";
    enc::EncyclopediaContents contents;
    Recorder observer;
    app::RunOptions options;

    void SetUp() override {
        contents.teams = std::vector<enc::TeamRecord>{team(1, "NYA"), team(2, "BOS")};
        contents.players = std::vector<enc::PlayerRecord>{player(1, 1970), player(2, 1975)};
        auto pitcher = pitcher_line(2, 2000, 2, 2, "Baker", "Bo");
        pitcher.PitOuts = 30;
        contents.stats = std::vector<enc::PlayerSeasonStats>{hitter_line(1, 2000, 2, 1, "Abel", "Al"), pitcher};
        contents.team_seasons = std::vector<enc::TeamSeasonRecord>{
            team_season(1, 2000, 1, "New York", "Yanks", 90, 72), team_season(2, 2000, 1, "Boston", "Sox", 80, 82)};
        contents.league_seasons = std::vector<enc::LeagueSeasonRecord>{league_season(1, 2000, "American")};
        contents.leagues = std::vector<enc::LeagueRecord>{league(1, "American")};
        options.folder = folder;
        options.output = output;
        options.viewing = app::Viewing::AfterCompleted;
    }

    app::RunResult run() {
        fs::create_directories(folder);
        enc::write_encyclopedia(folder, contents);
        return app::run_process(options, observer);
    }
    // Runs on what the folder holds now.
    app::RunResult run_as_is() { return app::run_process(options, observer); }

    std::vector<std::string> entries(const fs::path& d) const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(d)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

// --- the six files ---------------------------------------------------------

struct FileCase {
    const char* file;
    std::size_t record_size;
};
const FileCase kFiles[] = {{"ENCTEAM.DAT", 56},  {"ENCPLYR.DAT", 52}, {"ENCPLSTATS.DAT", 344},
                           {"enctmyr.dat", 548}, {"enclgyr.dat", 1000}, {"encleag.dat", 50}};

TEST_F(BadInput, EachMissingEmptyCutOrUnusedFileIsToldAndTheRunGoesOn) {
    for (const FileCase& f : kFiles) {
        SCOPED_TRACE(f.file);
        const fs::path path = folder / f.file;
        // What each damage does to the file, and the words that tell it.
        const std::pair<std::function<void()>, std::string> damages[] = {
            {[&] { fs::remove(path); }, std::string(f.file) + " is missing"},
            {[&] { write_file(path, ""); }, std::string(f.file) + " is empty"},
            {[&] { write_file(path, read_file(path) + "xyz"); },
             std::string(f.file) + " ends with a partial record of 3 bytes, which is ignored"},
            {[&] {
                 std::string bytes = read_file(path);
                 for (std::size_t at = 0; at < bytes.size(); at += f.record_size) bytes[at] = 1;  // Status 1
                 write_file(path, bytes);
             },
             std::string(f.file) + " has no used record"},
        };
        for (const auto& [damage, words] : damages) {
            fs::remove_all(folder);
            fs::create_directories(folder);
            enc::write_encyclopedia(folder, contents);
            damage();
            observer.notices.clear();
            const auto r = run_as_is();
            const auto told = std::find_if(observer.notices.begin(), observer.notices.end(),
                                           [&](const app::Notice& n) { return n.text.rfind(words, 0) == 0; });
            ASSERT_NE(told, observer.notices.end()) << words;
            EXPECT_EQ(told->file, f.file);
            // Only the statistics and team-season files carry the data: the
            // run still writes the other's sheets.
            EXPECT_EQ(r.outcome, app::RunOutcome::Completed) << words << ": " << r.error;
        }
    }
}

TEST_F(BadInput, NothingToConvertFailsAndKeepsTheOldWorkbook) {
    struct Case {
        sheets::SheetsDesired desired;
        bool drop_stats, drop_seasons;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {sheets::SheetsDesired::PlayersOnly, true, false, {"ENCPLSTATS.DAT has no used statistics line (it is missing)"}},
        {sheets::SheetsDesired::TeamsOnly, false, true, {"enctmyr.dat has no used team season (it is missing)"}},
        {sheets::SheetsDesired::PlayersAndTeams, true, true,
         {"ENCPLSTATS.DAT has no used statistics line", "and enctmyr.dat has no used team season"}},
    };
    for (const Case& c : cases) {
        fs::remove_all(folder);
        if (c.drop_stats) contents.stats.reset();
        if (c.drop_seasons) contents.team_seasons.reset();
        options.desired = c.desired;
        write_file(output, "good workbook");
        const auto r = run();
        EXPECT_EQ(r.outcome, app::RunOutcome::Failed);
        EXPECT_NE(r.error.find("there is nothing to convert"), std::string::npos) << r.error;
        for (const auto& w : c.words) EXPECT_NE(r.error.find(w), std::string::npos) << r.error;
        EXPECT_EQ(read_file(output), "good workbook");
        SetUp();
    }
    // An empty folder, and lines that all pass over.
    fs::remove_all(folder);
    fs::create_directories(folder);
    EXPECT_EQ(run_as_is().outcome, app::RunOutcome::Failed);
    options.desired = sheets::SheetsDesired::PlayersOnly;
    for (auto& line : *contents.stats) line.PhaseCode = 5;  // post-season lines only
    const auto r = run();
    EXPECT_EQ(r.outcome, app::RunOutcome::Failed);
    EXPECT_NE(r.error.find("nothing to convert"), std::string::npos) << r.error;
    EXPECT_EQ(read_file(output), "good workbook");
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"book.xlsx", "enc"}));
}

TEST_F(BadInput, LinesPassedOverAreToldWithFileRecordFieldValueAndPlayer) {
    auto& stats = *contents.stats;
    for (int kind : {0, 4, 255}) {
        auto line = hitter_line(3, 2001, 2, 1, "Odd", "Kind");
        line.StatKind = static_cast<uint8_t>(kind);
        stats.push_back(line);
    }
    stats.push_back(hitter_line(1, 2001, 3, 1, "Abel", "Al"));    // phase 3: "this case is 3"
    stats.push_back(hitter_line(1, 2002, 2, 77, "Abel", "Al"));   // team 77 has no team record
    stats.push_back(hitter_line(1, 2003, 2, 77, "Abel", "Al"));   // ... told once
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed);

    std::vector<std::string> told;
    for (const auto& n : observer.notices) told.push_back(n.text + " | " + n.where());
    const std::vector<std::string> expected = {
        "this case is 3 | ENCPLSTATS.DAT record 6, PhaseCode 3, player Abel,Al",
        "team 77 has no used record in ENCTEAM.DAT; its lines show no team | "
        "ENCPLSTATS.DAT record 7, TeamId 77, player Abel,Al",
        "unknown stat kind 0: the line is passed over | ENCPLSTATS.DAT record 3, StatKind 0, player Odd,Kind",
        "unknown stat kind 4: the line is passed over | ENCPLSTATS.DAT record 4, StatKind 4, player Odd,Kind",
        "unknown stat kind 255: the line is passed over | ENCPLSTATS.DAT record 5, StatKind 255, player Odd,Kind",
    };
    EXPECT_EQ(told, expected);
}

// --- where the workbook goes ----------------------------------------------

TEST_F(BadInput, TheEncyclopediaFolderIsNeverWritten) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows: symbolic links need a privilege (tests/windows checks the other ways in)";
#endif
    fs::create_directories(folder);
    enc::write_encyclopedia(folder, contents);
    const std::string team_file = read_file(folder / "ENCTEAM.DAT");
    fs::create_directories(dir / "elsewhere");
    fs::create_directory_symlink(folder, dir / "link-to-enc");
    fs::create_symlink(folder / "ENCTEAM.DAT", dir / "link-to-team.xlsx");
    fs::create_hard_link(folder / "ENCTEAM.DAT", dir / "hard-link.xlsx");
    const fs::path outputs[] = {folder / "ENCTEAM.DAT",        folder / "book.xlsx",
                                dir / "elsewhere" / ".." / "enc" / "new.xlsx", dir / "link-to-enc" / "new.xlsx",
                                dir / "link-to-team.xlsx",     dir / "hard-link.xlsx",
                                folder};
    const auto before = entries(dir.path());
    for (const fs::path& out : outputs) {
        options.output = out;
        const auto r = run_as_is();
        EXPECT_EQ(r.outcome, app::RunOutcome::Failed) << out;
        EXPECT_NE(r.error.find("encyclopedia folder"), std::string::npos) << r.error;
        EXPECT_TRUE(observer.notices.empty()) << "refused before reading: " << out;
    }
    EXPECT_EQ(read_file(folder / "ENCTEAM.DAT"), team_file);
    EXPECT_EQ(entries(folder), (std::vector<std::string>{"ENCPLSTATS.DAT", "ENCPLYR.DAT", "ENCTEAM.DAT",
                                                         "encleag.dat", "enclgyr.dat", "enctmyr.dat"}));
    EXPECT_EQ(entries(dir.path()), before);
}

TEST_F(BadInput, AnOutputThatIsNotARegularFileIsRefused) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows: no FIFOs, no /dev/null, and symbolic links need a privilege "
                    "(tests/windows checks a folder as the output)";
#else
    fs::create_directories(dir / "a-folder");
    ASSERT_EQ(::mkfifo((dir / "fifo.xlsx").c_str(), 0644), 0);
    fs::create_directory_symlink(dir / "a-folder", dir / "link-to-folder.xlsx");
    const std::pair<fs::path, std::string> cases[] = {
        {dir / "a-folder", "it is a folder"},
        {dir / "fifo.xlsx", "FIFO"},
        {"/dev/null", "device"},
        {dir / "link-to-folder.xlsx", "it is a folder"},
    };
    for (const auto& [out, words] : cases) {
        options.output = out;
        const auto r = run();
        EXPECT_EQ(r.outcome, app::RunOutcome::Failed) << out;
        EXPECT_NE(r.error.find(words), std::string::npos) << r.error;
    }
    EXPECT_TRUE(fs::is_fifo(dir / "fifo.xlsx"));
    EXPECT_TRUE(fs::is_symlink(dir / "link-to-folder.xlsx"));
#endif
}

TEST_F(BadInput, ReplacingKeepsLinksAndPermissionBits) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows: no POSIX permission bits, and symbolic links need a privilege";
#else
    write_file(dir / "target.xlsx", "old");
    ::chmod((dir / "target.xlsx").c_str(), 0600);
    fs::create_symlink("target.xlsx", dir / "link.xlsx");
    options.output = dir / "link.xlsx";
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed);
    EXPECT_TRUE(fs::is_symlink(dir / "link.xlsx"));
    EXPECT_EQ(read_file(dir / "target.xlsx").substr(0, 2), "PK");
    struct stat st {};
    ASSERT_EQ(::stat((dir / "target.xlsx").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"enc", "link.xlsx", "target.xlsx"}));
#endif
}

TEST_F(BadInput, ALongOutputNameWorksAndClearReasonsForBadOnes) {
    options.output = dir / (std::string(245, 'n') + ".xlsx");  // 250 characters
    EXPECT_EQ(run().outcome, app::RunOutcome::Completed) << observer.notices.size();
    EXPECT_TRUE(fs::exists(options.output));

    write_file(dir / "plain-file", "x");
    const std::pair<fs::path, std::string> cases[] = {
        {dir / (std::string(300, 'n') + ".xlsx"), "the name is too long"},
        {dir / "plain-file" / "book.xlsx", "is not a folder"},
        {dir / "no-such-folder" / "book.xlsx", "does not exist"},
    };
    for (const auto& [out, words] : cases) {
        options.output = out;
        const auto r = run_as_is();
        EXPECT_EQ(r.outcome, app::RunOutcome::Failed);
        EXPECT_NE(r.error.find(words), std::string::npos) << r.error;
    }
}

TEST_F(BadInput, ACancelDuringTheSaveKeepsTheOldWorkbookAndLeavesNoTemporaryFile) {
    for (auto& line : *contents.stats) line.HitAB = 1;
    for (int p = 10; p < 3000; ++p) contents.stats->push_back(hitter_line(p, 2000, 2, 1, "Name", std::to_string(p)));
    write_file(output, "good workbook");
    std::atomic<bool> cancel{false};
    bool saving_seen = false;
    observer.on_progress = [&](app::Stage s, int64_t done, int64_t total) {
        if (s != app::Stage::Saving) return;
        saving_seen = true;
        if (done == total) cancel = true;  // the last moment: the file is packed next
    };
    fs::create_directories(folder);
    enc::write_encyclopedia(folder, contents);
    const auto r = app::run_process(options, observer, &cancel);
    EXPECT_TRUE(saving_seen);
    EXPECT_EQ(r.outcome, app::RunOutcome::Cancelled);
    EXPECT_EQ(read_file(output), "good workbook");
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"book.xlsx", "enc"}));
}

}  // namespace
}  // namespace tb::test
