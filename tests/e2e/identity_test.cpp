// The workbook of a whole conversion, saved by the package writer and by
// the reference writer (libxlsxwriter, as the save drove it before): every
// part the same, byte for byte, but the time of saving in docProps/core.xml.
// On the sample encyclopedia, converted in each mode and also checked by an
// independent reader that works out the expected totals on its own (texts
// that read as escapes are Package.EveryPartAsTheReferenceWritesIt's).
// (The reference writer is built on Linux only; tests/windows compares the
// Windows build's workbooks with the Linux build's, part by part.)
#ifdef TALLYBOOK_HAVE_REFERENCE
#include "app/run.h"
#include "archive/sample.h"
#include "support/encyclopedia_builder.h"
#include "support/reference_writer.h"
#include "support/zip_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tb::test {
namespace {

using D = sheets::SheetsDesired;

// `mode` names `desired` to check_sample.py; nullptr: no check by it.
void expect_same_package(const enc::EncyclopediaContents& contents, D desired = D::PlayersAndTeams,
                         const char* mode = nullptr) {
    TempDir dir;
    enc::write_encyclopedia(dir / "enc", contents);
    app::RunOptions options;
    options.folder = dir / "enc";
    options.output = dir / "ours.xlsx";
    options.desired = desired;
    app::RunObserver quiet;
    wb::Workbook book;
    const auto result = app::convert(options, quiet, nullptr, book);
    ASSERT_EQ(result.outcome, app::RunOutcome::Completed) << result.error;
    write_reference(book, dir / "reference.xlsx");
    EXPECT_EQ(package_difference(options.output, dir / "reference.xlsx"), "");
    if (!mode) return;
    const std::string cmd = std::string(TALLYBOOK_PYTHON) + " " + TALLYBOOK_TEST_DIR + "/e2e/check_sample.py '" +
                            options.folder.string() + "' '" + options.output.string() + "' " + mode;
    EXPECT_EQ(std::system(cmd.c_str()), 0);
}

TEST(Identity, TheSampleEncyclopedia) { expect_same_package(enc::make_sample({}).contents); }

TEST(SampleWorkbook, MatchesTheEncyclopediaInEveryMode) {
    const auto contents = enc::make_sample({.seasons = 4, .players = 120}).contents;
    for (const auto& [desired, mode] : {std::pair{D::PlayersAndTeams, "players-and-teams"},
                                        {D::PlayersOnly, "players-only"}, {D::TeamsOnly, "teams-only"}}) {
        SCOPED_TRACE(mode);
        expect_same_package(contents, desired, mode);
    }
}

}  // namespace
}  // namespace tb::test
#endif
