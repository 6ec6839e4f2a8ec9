// The workbook of a whole conversion, saved by the package writer and by
// the reference writer (libxlsxwriter, as the save drove it before): every
// part the same, byte for byte, but the time of saving in docProps/core.xml.
// On the sample encyclopedia, and on a generated archive with names that
// read as escapes ("_x0041_"), which send their sheets to the shared strings.
// (The reference writer is built on Linux only.)
#ifdef TALLYBOOK_HAVE_REFERENCE
#include "app/run.h"
#include "archive/sample.h"
#include "support/encyclopedia_builder.h"
#include "support/reference_writer.h"
#include "support/zip_reader.h"

#include <gtest/gtest.h>

namespace tb::test {
namespace {

void expect_same_package(const enc::EncyclopediaContents& contents) {
    TempDir dir;
    enc::write_encyclopedia(dir / "enc", contents);
    app::RunOptions options;
    options.folder = dir / "enc";
    options.save = false;
    app::RunObserver quiet;
    wb::Workbook book;
    const auto result = app::convert(options, quiet, nullptr, book);
    ASSERT_EQ(result.outcome, app::RunOutcome::Completed) << result.error;
    write_reference(book, dir / "reference.xlsx");
    ASSERT_EQ(book.save(dir / "ours.xlsx"), wb::SaveOutcome::Saved);
    EXPECT_EQ(package_difference(dir / "ours.xlsx", dir / "reference.xlsx"), "");
}

TEST(Identity, TheSampleEncyclopedia) { expect_same_package(enc::make_sample({}).contents); }

TEST(Identity, AGeneratedArchiveWithNamesThatReadAsEscapes) {
    auto contents = enc::make_sample({.seed = 7, .seasons = 12, .players = 1500}).contents;
    auto& stats = *contents.stats;
    for (std::size_t i = 0; i < stats.size(); i += 97) stats[i].last_name = "Sm_x0041_th";
    stats.at(5).first_name = "_x00e9_ric";
    expect_same_package(contents);
}

}  // namespace
}  // namespace tb::test
#endif
