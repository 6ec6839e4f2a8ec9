// Finding the files of a folder, missing files, and folders or files that
// cannot be read.
#include "encyclopedia/encyclopedia.h"
#include "raw_bytes.h"
#include "support/encyclopedia_builder.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace enc = tb::enc;
namespace fs = std::filesystem;
using tb::test::TempDir;

namespace {

std::string team_bytes(const std::string& abbrev) { return enc::encode(tb::test::team(1, abbrev)); }

template <class F>
std::string error_of(F&& f) {
    try {
        f();
    } catch (const enc::EncyclopediaError& e) {
        return e.what();
    }
    return "";
}

TEST(Folder, MissingFilesGiveNoRecordsAndAreNotCreated) {
    TempDir dir;
    const enc::Encyclopedia e(dir.path());
    EXPECT_TRUE(e.read_teams().empty());
    EXPECT_TRUE(e.read_players().empty());
    EXPECT_TRUE(e.read_stats().empty());
    EXPECT_TRUE(e.read_team_seasons().empty());
    EXPECT_TRUE(e.read_league_seasons().empty());
    EXPECT_TRUE(e.read_leagues().empty());
    EXPECT_FALSE(e.find(enc::kTeamFile));
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(Folder, ReadingLeavesTheFilesUntouched) {
    TempDir dir;
    const std::string bytes = team_bytes("NY") + "xyz";
    tb::test::write_raw(dir / "ENCTEAM.DAT", bytes);
    const auto before = fs::last_write_time(dir / "ENCTEAM.DAT");
    EXPECT_EQ(enc::Encyclopedia(dir.path()).read_teams().size(), 1u);
    EXPECT_EQ(tb::test::read_raw(dir / "ENCTEAM.DAT"), bytes);
    EXPECT_EQ(fs::last_write_time(dir / "ENCTEAM.DAT"), before);
}

TEST(Folder, AnEmptyFileHasNoRecords) {
    TempDir dir;
    tb::test::write_raw(dir / "ENCPLSTATS.DAT", "");
    tb::test::write_raw(dir / "ENCTEAM.DAT", std::string(55, 'x'));
    const enc::Encyclopedia e(dir.path());
    EXPECT_TRUE(e.read_stats().empty());
    EXPECT_TRUE(e.read_teams().empty());
}

TEST(Folder, FilesAreFoundWhateverTheirLetterCase) {
    TempDir dir;
    tb::test::write_raw(dir / "encteam.dat", team_bytes("lo"));
    tb::test::write_raw(dir / "EncLeag.Dat", enc::encode(tb::test::league(1, "L")));
    tb::test::write_raw(dir / "ENCTMYR.DAT", enc::encode(tb::test::team_season(1, 2000, 1, "C", "N", 1, 2)));
    const enc::Encyclopedia e(dir.path());
    ASSERT_EQ(e.read_teams().size(), 1u);
    EXPECT_EQ(e.read_teams()[0].TeamAbbrev, "lo");
    EXPECT_EQ(e.read_leagues().size(), 1u);
    EXPECT_EQ(e.read_team_seasons().size(), 1u);
    EXPECT_EQ(e.find(enc::kTeamFile), dir / "encteam.dat");
}

TEST(Folder, TheCanonicalSpellingWinsOverOtherMatches) {
    TempDir dir;
    tb::test::write_raw(dir / "encteam.dat", team_bytes("low"));
    tb::test::write_raw(dir / "ENCTEAM.DAT", team_bytes("UP"));
    tb::test::write_raw(dir / "EncTeam.dat", team_bytes("mix"));
    tb::test::write_raw(dir / "ENCLGYR.DAT", "");  // canonical is lower case here
    tb::test::write_raw(dir / "enclgyr.dat", enc::encode(tb::test::league_season(1, 2000, "L")));
    const enc::Encyclopedia e(dir.path());
    ASSERT_EQ(e.read_teams().size(), 1u);
    EXPECT_EQ(e.read_teams()[0].TeamAbbrev, "UP");
    EXPECT_EQ(e.read_league_seasons().size(), 1u);
}

TEST(Folder, WithoutTheCanonicalSpellingTheChoiceIsStable) {
    TempDir dir;
    tb::test::write_raw(dir / "encteam.dat", team_bytes("low"));
    tb::test::write_raw(dir / "EncTeam.dat", team_bytes("mix"));
    EXPECT_EQ(enc::Encyclopedia(dir.path()).find(enc::kTeamFile), dir / "EncTeam.dat");
}

TEST(FolderErrors, AFolderThatDoesNotExistIsNamed) {
    TempDir dir;
    const auto missing = dir / "no-such-folder";
    const std::string what = error_of([&] { enc::Encyclopedia e(missing); });
    EXPECT_NE(what.find(missing.string()), std::string::npos) << what;
    EXPECT_NE(what.find("does not exist"), std::string::npos) << what;
    EXPECT_FALSE(fs::exists(missing));
}

TEST(FolderErrors, AFileGivenAsTheFolderIsNamed) {
    TempDir dir;
    tb::test::write_raw(dir / "ENCTEAM.DAT", team_bytes("NY"));
    const std::string what = error_of([&] { enc::Encyclopedia e(dir / "ENCTEAM.DAT"); });
    EXPECT_NE(what.find("ENCTEAM.DAT"), std::string::npos) << what;
    EXPECT_NE(what.find("not a folder"), std::string::npos) << what;
}

TEST(FolderErrors, AFolderInPlaceOfAFileIsNamed) {
    TempDir dir;
    fs::create_directory(dir / "ENCPLSTATS.DAT");
    const enc::Encyclopedia e(dir.path());
    const std::string what = error_of([&] { e.read_stats(); });
    EXPECT_NE(what.find((dir / "ENCPLSTATS.DAT").string()), std::string::npos) << what;
    EXPECT_TRUE(e.read_teams().empty());  // the other files are not affected
}

TEST(FolderErrors, UnreadableFolderAndFileAreNamed) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    TempDir dir;
    const auto locked = dir / "locked";
    fs::create_directory(locked);
    tb::test::write_raw(dir / "ENCTEAM.DAT", team_bytes("NY"));
    fs::permissions(dir / "ENCTEAM.DAT", fs::perms::none);
    fs::permissions(locked, fs::perms::none);

    const std::string folder_error = error_of([&] { enc::Encyclopedia e(locked); });
    EXPECT_NE(folder_error.find(locked.string()), std::string::npos) << folder_error;
    const enc::Encyclopedia e(dir.path());
    const std::string file_error = error_of([&] { e.read_teams(); });
    EXPECT_NE(file_error.find((dir / "ENCTEAM.DAT").string()), std::string::npos) << file_error;

    fs::permissions(locked, fs::perms::owner_all);
}

TEST(FolderErrors, AFileRemovedAfterTheListingReadsAsMissing) {
    TempDir dir;
    tb::test::write_raw(dir / "ENCTEAM.DAT", team_bytes("NY"));
    const enc::Encyclopedia e(dir.path());
    fs::remove(dir / "ENCTEAM.DAT");
    EXPECT_TRUE(e.read_teams().empty());
    EXPECT_FALSE(fs::exists(dir / "ENCTEAM.DAT"));
}

TEST(Writing, WritesOnlyTheGivenFilesUnderTheirCanonicalNames) {
    TempDir dir;
    enc::EncyclopediaContents contents;
    contents.teams = {{tb::test::team(1, "NY"), tb::test::team(2, "BOS")}};
    contents.league_seasons = std::vector<enc::LeagueSeasonRecord>{};
    enc::write_encyclopedia(dir / "new" / "folder", contents);
    const auto folder = dir / "new" / "folder";
    EXPECT_EQ(fs::file_size(folder / "ENCTEAM.DAT"), 2 * 56u);
    EXPECT_EQ(fs::file_size(folder / "enclgyr.dat"), 0u);
    EXPECT_FALSE(fs::exists(folder / "ENCPLSTATS.DAT"));
    EXPECT_EQ(enc::Encyclopedia(folder).read_teams()[1].TeamAbbrev, "BOS");
}

TEST(Writing, AFolderThatCannotBeMadeIsNamed) {
    TempDir dir;
    tb::test::write_raw(dir / "file", "x");
    enc::EncyclopediaContents contents;
    contents.teams = std::vector<enc::TeamRecord>{};
    const std::string what = error_of([&] { enc::write_encyclopedia(dir / "file" / "sub", contents); });
    EXPECT_NE(what.find((dir / "file").string()), std::string::npos) << what;
}

}  // namespace

namespace {

TEST(FolderErrors, ASymlinkLoopIsNamedAndADanglingLinkIsMissing) {
    TempDir dir;
    fs::create_symlink(dir / "ENCTEAM.DAT", dir / "ENCTEAM.DAT");
    fs::create_symlink(dir / "nowhere", dir / "ENCPLYR.DAT");
    fs::create_symlink(dir / "loop", dir / "loop");
    const enc::Encyclopedia e(dir.path());
    const std::string what = error_of([&] { e.read_teams(); });
    EXPECT_NE(what.find((dir / "ENCTEAM.DAT").string()), std::string::npos) << what;
    EXPECT_TRUE(e.read_players().empty());
    const std::string folder_error = error_of([&] { enc::Encyclopedia looped(dir / "loop"); });
    EXPECT_NE(folder_error.find((dir / "loop").string()), std::string::npos) << folder_error;
}

}  // namespace
