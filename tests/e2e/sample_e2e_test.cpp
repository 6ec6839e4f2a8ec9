// Converts the sample encyclopedia in each mode and checks the saved
// workbook with an independent reader that works out the expected figures
// on its own.
#include "app/run.h"
#include "archive/sample.h"
#include "support/encyclopedia_builder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tb::test {
namespace {

TEST(SampleWorkbook, MatchesTheEncyclopediaInEveryMode) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows: the checker runs on /usr/bin/python3 (tests/windows runs it on the Windows build's "
                    "workbook from Linux)";
#endif
    TempDir dir;
    enc::write_encyclopedia(dir / "enc", enc::make_sample({.seasons = 4, .players = 120}).contents);
    using D = sheets::SheetsDesired;
    for (const auto& [desired, mode] : {std::pair{D::PlayersAndTeams, "players-and-teams"},
                                        {D::PlayersOnly, "players-only"}, {D::TeamsOnly, "teams-only"}}) {
        SCOPED_TRACE(mode);
        app::RunOptions options;
        options.folder = dir / "enc";
        options.output = dir / (std::string(mode) + ".xlsx");
        options.desired = desired;
        app::RunObserver quiet;
        const auto result = app::run_process(options, quiet);
        ASSERT_EQ(result.outcome, app::RunOutcome::Completed) << result.error;
        const std::string cmd = std::string(TALLYBOOK_PYTHON) + " " + TALLYBOOK_TEST_DIR + "/e2e/check_sample.py '" +
                                options.folder.string() + "' '" + options.output.string() + "' " + mode;
        EXPECT_EQ(std::system(cmd.c_str()), 0);
    }
}

}  // namespace
}  // namespace tb::test
