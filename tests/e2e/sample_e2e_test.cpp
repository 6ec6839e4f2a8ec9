// Converts the sample encyclopedia and checks the saved workbook with an
// independent reader that works out the expected figures on its own.
#include "app/run.h"
#include "encyclopedia/sample.h"
#include "support/encyclopedia_builder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tb::test {
namespace {

struct Quiet : app::RunObserver {
    std::vector<std::string> notices;
    void notice(const tb::app::Notice& n) override { notices.push_back(n.text + " " + n.where()); }
};

int check(const std::filesystem::path& folder, const std::filesystem::path& book, const char* mode) {
    const std::string cmd = std::string(TALLYBOOK_PYTHON) + " " + TALLYBOOK_TEST_DIR +
                            "/e2e/check_sample.py '" + folder.string() + "' '" + book.string() + "' " + mode;
    return std::system(cmd.c_str());
}

class SampleWorkbook : public ::testing::TestWithParam<std::pair<sheets::SheetsDesired, const char*>> {};

TEST_P(SampleWorkbook, MatchesTheEncyclopedia) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows: the checker runs on /usr/bin/python3 (tests/windows runs it on the Windows build's "
                    "workbook from Linux)";
#endif
    TempDir dir;
    enc::SampleOptions sample_options;
    sample_options.seasons = 4;
    sample_options.players = 120;
    enc::write_encyclopedia(dir / "enc", enc::make_sample(sample_options).contents);

    app::RunOptions options;
    options.folder = dir / "enc";
    options.output = dir / "sample.xlsx";
    options.desired = GetParam().first;
    Quiet observer;
    const auto result = app::run_process(options, observer);
    ASSERT_EQ(result.outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(check(options.folder, options.output, GetParam().second), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, SampleWorkbook,
                         ::testing::Values(std::pair{sheets::SheetsDesired::PlayersAndTeams, "players-and-teams"},
                                           std::pair{sheets::SheetsDesired::PlayersOnly, "players-only"},
                                           std::pair{sheets::SheetsDesired::TeamsOnly, "teams-only"}),
                         [](const auto& info) {
                             std::string name = info.param.second;
                             std::erase(name, '-');
                             return name;
                         });

}  // namespace
}  // namespace tb::test
