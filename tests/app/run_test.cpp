// The run as a whole: its reports, a fresh state for every run, cancel and
// failures that save nothing.
#include "app/run.h"
#include "run_fixture.h"
#include "support/workbook_dump.h"

#include <fstream>

namespace tb::test {
namespace {

using ProcessRun = RunFixture;

std::string read_file(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(ProcessRun, ReportsTheStatusTextsInOrderAndSaves) {
    add(batting(hitter_line(1, 2000, 2, 1, "Abel", "A"), 1, 1));
    add(batting(hitter_line(2, 2000, 2, 1, "Baker", "B"), 1, 1));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(observer.statuses,
              (std::vector<std::string>{"Reading the encyclopedia...", "TEAMS COMPLETED", "Abel,A", "Baker,B",
                                        "Saving the workbook...", "Processing Completed"}));
    EXPECT_EQ(observer.shown, 1);
    EXPECT_EQ(observer.last_done, 2);
    EXPECT_EQ(observer.last_total, 2);
    EXPECT_TRUE(std::filesystem::exists(options.output));
    EXPECT_EQ(result.summary.players, 2);
    EXPECT_EQ(result.summary.lines, 2);
}

TEST_F(ProcessRun, ViewingAfterCompletedShowsThePlayersOnlyWorkbookToo) {
    options.viewing = app::Viewing::AfterCompleted;
    add(batting(hitter_line(1, 2000, 2, 1, "Abel", "A"), 1, 1));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(observer.shown, 1);
}

TEST_F(ProcessRun, PlayersOnlySheetOrder) {
    add(batting(hitter_line(1, 2000, 2, 1, "Abel", "A"), 1, 1));
    add(pitching(pitcher_line(2, 2000, 2, 1, "Baker", "B"), 3, 0));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    auto sheets = book().SheetNames();
    ASSERT_GE(sheets.size(), 33u);
    EXPECT_EQ(sheets[0], "PitchRegTotals");
    EXPECT_EQ(sheets[1], "HitRegTotals");
    EXPECT_EQ(sheets[2], "A");
    EXPECT_EQ(sheets.back(), "AE");
}

TEST_F(ProcessRun, EveryRunStartsFresh) {
    add(batting(hitter_line(1, 2000, 2, 1, "Abel", "A"), 10, 3));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    const std::string first = dump_workbook(book());
    // A second run in the same process writes the player once, on the same rows.
    RecordingObserver again;
    app::RunState second(options, again, nullptr);
    ASSERT_EQ(app::run_with_state(second).outcome, app::RunOutcome::Completed);
    EXPECT_EQ(second.workbook.value("A", 0, 1).text, "Abel,A");
    EXPECT_EQ(second.workbook.value("A", 0, 6).kind, wb::CellValue::Kind::Empty);
    EXPECT_EQ(second.workbook.SheetNames(), book().SheetNames());
    EXPECT_EQ(dump_workbook(second.workbook), first);
}

TEST_F(ProcessRun, ALiveViewGetsCopiesOfTheLatestRows) {
    add(batting(hitter_line(1, 2000, 2, 1, "Abel", "A"), 10, 3));
    struct Viewer : RecordingObserver {
        std::vector<app::SheetSnapshot> seen;
        bool wants_snapshots() const override { return true; }
        void snapshot(app::SheetSnapshot s) override { seen.push_back(std::move(s)); }
    } viewer;
    std::filesystem::create_directories(options.folder);
    enc::write_encyclopedia(options.folder, contents);
    ASSERT_EQ(app::run_process(options, viewer).outcome, app::RunOutcome::Completed);
    ASSERT_FALSE(viewer.seen.empty());
    // The last copy is the end of the pass: the last rows written.
    const auto& snap = viewer.seen.back();
    EXPECT_EQ(snap.sheet, "A");
    EXPECT_EQ(snap.first_row, 1);
    ASSERT_GE(snap.rows.size(), 4u);
    EXPECT_EQ(snap.rows[0][0].text, "Abel,A");
    EXPECT_TRUE(snap.rows[0][0].style.bold);                      // as the workbook has it
    EXPECT_EQ(snap.rows[1][0].style.fill, wb::palette_rgb(19));
    EXPECT_EQ(snap.rows[2][3].text, ".300");                      // rates as the sheet shows them
    EXPECT_TRUE(snap.rows[2][3].number);
    EXPECT_EQ(snap.rows[3][1].text, "Totals");

    // With the team sheets, the run ends on the rows of "Team Records".
    contents.team_seasons = std::vector<enc::TeamSeasonRecord>{team_season(1, 2000, 1, "New York", "Yanks", 9, 7)};
    contents.league_seasons = std::vector<enc::LeagueSeasonRecord>{league_season(1, 2000, "American")};
    contents.leagues = std::vector<enc::LeagueRecord>{league(1, "American")};
    options.desired = sheets::SheetsDesired::PlayersAndTeams;
    enc::write_encyclopedia(options.folder, contents);
    viewer.seen.clear();
    ASSERT_EQ(app::run_process(options, viewer).outcome, app::RunOutcome::Completed);
    ASSERT_FALSE(viewer.seen.empty());
    EXPECT_EQ(viewer.seen.back().sheet, "Team Records");
    EXPECT_EQ(viewer.seen.back().rows[0][0].text, "New York Yanks");
}

TEST_F(ProcessRun, CancelSavesNothing) {
    add(batting(hitter_line(1, 2000, 2, 1, "Abel", "A"), 1, 1));
    std::filesystem::create_directories(options.folder);
    enc::write_encyclopedia(options.folder, contents);
    { std::ofstream(options.output) << "keep me"; }
    std::atomic<bool> cancel{true};
    auto r = app::run_process(options, observer, &cancel);
    EXPECT_EQ(r.outcome, app::RunOutcome::Cancelled);
    EXPECT_EQ(read_file(options.output), "keep me");
}

TEST_F(ProcessRun, AMissingFolderFailsNamingIt) {
    options.folder = dir / "no-such-folder";
    auto r = app::run_process(options, observer);
    EXPECT_EQ(r.outcome, app::RunOutcome::Failed);
    EXPECT_NE(r.error.find("no-such-folder"), std::string::npos) << r.error;
    EXPECT_FALSE(std::filesystem::exists(options.output));
    EXPECT_FALSE(std::filesystem::exists(options.folder));
}

TEST_F(ProcessRun, AnUnwritableOutputFailsAndKeepsNothing) {
    add(batting(hitter_line(1, 2000, 2, 1, "Abel", "A"), 1, 1));
    options.output = dir / "missing-dir" / "out.xlsx";
    EXPECT_EQ(run().outcome, app::RunOutcome::Failed);
    EXPECT_NE(result.error.find("missing-dir"), std::string::npos) << result.error;
    options.output = dir.path();
    EXPECT_EQ(run().outcome, app::RunOutcome::Failed);
}

}  // namespace
}  // namespace tb::test
