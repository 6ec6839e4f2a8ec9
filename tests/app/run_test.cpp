// The run as a whole: its status texts, a fresh state for every run, and the
// copies a live view gets.
#include "run_fixture.h"
#include "sheets/cell_styles.h"
#include "support/sheet_dump.h"

namespace tb::test {
namespace {

using ProcessRun = RunFixture;

TEST_F(ProcessRun, ReportsTheStatusTextsInOrderSavesAndShowsTheWorkbookOnceOnItsOpeningTab) {
    const auto r = run();
    ASSERT_EQ(r.outcome, app::RunOutcome::Completed);
    EXPECT_EQ(observer.statuses, (std::vector<std::string>{"Reading the encyclopedia...", "TEAMS COMPLETED", "Abel,Al",
                                                           "Baker,Bo", "Writing the team sheets...",
                                                           "Saving the workbook...", "Processing Completed"}));
    EXPECT_EQ(observer.shown, 1);
    EXPECT_EQ(read_bytes(output).substr(0, 2), "PK");
    EXPECT_EQ(r.summary.players, 2);
    // Viewed after completion, a players-only workbook is shown too.
    options.viewing = app::Viewing::AfterCompleted;
    options.desired = sheets::SheetsDesired::PlayersOnly;
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed);
    EXPECT_EQ(observer.shown, 2);
    // It opens on the world series hitting totals when there are any, else
    // on "A" (with the team sheets, on "Team Records": the golden's).
    EXPECT_EQ(book->shown_sheet_name(), "A");
    contents.stats->push_back(hitter_line(1, 2000, 8, 1, "Abel", "Al"));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed);
    EXPECT_EQ(book->shown_sheet_name(), "HitWSTotals");
}

TEST_F(ProcessRun, ALiveViewGetsCopiesOfTheLatestRows) {
    observer.wants_copies = true;
    contents.stats = std::vector{hitter_line(1, 2000, 2, 1, "Abel", "Al")};
    put(contents.stats->at(0).hitting.at_bats, 10), put(contents.stats->at(0).hitting.hits, 3);
    options.desired = sheets::SheetsDesired::PlayersOnly;
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed);
    ASSERT_FALSE(observer.copies.empty());
    const app::SheetSnapshot last = observer.copies.back();   // the end of the pass
    EXPECT_EQ(last.sheet, "A");
    EXPECT_EQ(last.first_row, 1);
    ASSERT_GE(last.rows.size(), 4u);
    EXPECT_EQ(last.rows[0][0].text, "Abel,Al");
    EXPECT_EQ(last.rows[1][0].style.fill, sheets::kHittingFill);   // as the workbook has it
    EXPECT_EQ(last.rows[2][3].text, ".300");   // rates as the sheet shows them
    EXPECT_TRUE(last.rows[2][3].number);
    EXPECT_EQ(last.rows[3][1].text, "Totals");
}

#ifndef _WIN32
// The window runs many conversions in one process: each starts afresh, and
// none may leave a file open (a file the save made, a folder, a temporary file).
TEST_F(ProcessRun, ThreeRunsInOneProcessWriteTheSameWorkbookAndLeaveNoFileOpen) {
    auto open_files = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed);   // whatever a first run opens for good
    const std::string first = dump_workbook(*book);
    const auto before = open_files();
    for (int i = 0; i < 3; ++i) ASSERT_EQ(run().outcome, app::RunOutcome::Completed);
    EXPECT_EQ(dump_workbook(*book), first);
    EXPECT_EQ(open_files(), before);
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"book.xlsx", "enc"}));
}
#endif

}  // namespace
}  // namespace tb::test
