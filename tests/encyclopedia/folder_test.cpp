// Finding the files of a folder, missing files, and folders or files that
// cannot be read.
#include "encyclopedia/encyclopedia.h"
#include "raw_bytes.h"
#include "support/encyclopedia_builder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace enc = tb::enc;
namespace fs = std::filesystem;
using tb::test::error_of;
using tb::test::TempDir;
using tb::test::write_raw;

namespace {

std::string team_bytes(const std::string& abbrev) { return enc::encode(tb::test::team(1, abbrev)); }

bool names(const std::string& what, const fs::path& path) { return what.find(path.string()) != std::string::npos; }

TEST(Folder, MissingFilesGiveNoRecordsAndAreNotCreated) {
    TempDir dir;
    const enc::Encyclopedia e(dir.path());
    EXPECT_TRUE(e.read_teams().empty() && e.read_players().empty() && e.read_stats().empty());
    EXPECT_TRUE(e.read_team_seasons().empty() && e.read_league_seasons().empty() && e.read_leagues().empty());
    EXPECT_FALSE(e.find(enc::kTeamFile));
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(Folder, EmptyAndShortFilesHaveNoRecordsAndReadingChangesNothing) {
    TempDir dir;
    const std::string bytes = team_bytes("NY") + "xyz";
    write_raw(dir / "ENCTEAM.DAT", bytes);
    write_raw(dir / "ENCPLSTATS.DAT", "");
    write_raw(dir / "encleag.dat", std::string(49, 'x'));
    const auto before = fs::last_write_time(dir / "ENCTEAM.DAT");
    const enc::Encyclopedia e(dir.path());
    EXPECT_EQ(e.read_teams().size(), 1u);
    EXPECT_TRUE(e.read_stats().empty());
    EXPECT_TRUE(e.read_leagues().empty());
    EXPECT_EQ(tb::test::read_raw(dir / "ENCTEAM.DAT"), bytes);
    EXPECT_EQ(fs::last_write_time(dir / "ENCTEAM.DAT"), before);
}

TEST(Folder, FilesAreFoundWhateverTheirLetterCase) {
    TempDir dir;
    write_raw(dir / "encteam.dat", team_bytes("lo"));
    write_raw(dir / "EncLeag.Dat", enc::encode(tb::test::league(1, "L")));
    write_raw(dir / "ENCTMYR.DAT", enc::encode(tb::test::team_season(1, 2000, 1, "C", "N", 1, 2)));
    const enc::Encyclopedia e(dir.path());
    ASSERT_EQ(e.read_teams().size(), 1u);
    EXPECT_EQ(e.read_teams()[0].TeamAbbrev, "lo");
    EXPECT_EQ(e.read_leagues().size(), 1u);
    EXPECT_EQ(e.read_team_seasons().size(), 1u);
    EXPECT_EQ(e.find(enc::kTeamFile), dir / "encteam.dat");
#ifndef _WIN32  // a Windows folder cannot hold two spellings of one name
    // Without the canonical spelling the choice is stable.
    write_raw(dir / "EncTeam.dat", team_bytes("mix"));
    EXPECT_EQ(enc::Encyclopedia(dir.path()).find(enc::kTeamFile), dir / "EncTeam.dat");
#endif
}

TEST(Folder, TheCanonicalSpellingWinsOverOtherMatches) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows: a folder cannot hold two spellings of one name (file names ignore letter case)";
#endif
    TempDir dir;
    write_raw(dir / "encteam.dat", team_bytes("low"));
    write_raw(dir / "ENCTEAM.DAT", team_bytes("UP"));
    write_raw(dir / "EncTeam.dat", team_bytes("mix"));
    write_raw(dir / "ENCLGYR.DAT", "");  // canonical is lower case here
    write_raw(dir / "enclgyr.dat", enc::encode(tb::test::league_season(1, 2000, "L")));
    const enc::Encyclopedia e(dir.path());
    ASSERT_EQ(e.read_teams().size(), 1u);
    EXPECT_EQ(e.read_teams()[0].TeamAbbrev, "UP");
    EXPECT_EQ(e.read_league_seasons().size(), 1u);
}

TEST(FolderErrors, AMissingFolderOrAFileGivenAsTheFolderIsNamed) {
    TempDir dir;
    write_raw(dir / "ENCTEAM.DAT", team_bytes("NY"));
    for (const auto& [path, reason] : {std::pair{dir / "no-such-folder", "does not exist"},
                                       std::pair{dir / "ENCTEAM.DAT", "not a folder"}}) {
        const std::string what = error_of([&] { enc::Encyclopedia e(path); });
        EXPECT_TRUE(names(what, path)) << what;
        EXPECT_NE(what.find(reason), std::string::npos) << what;
    }
    EXPECT_FALSE(fs::exists(dir / "no-such-folder"));
}

TEST(FolderErrors, AFolderOrSymlinkLoopInPlaceOfAFileIsNamed) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows: symbolic links need a privilege, and MinGW's std::filesystem cannot make them";
#endif
    TempDir dir;
    fs::create_directory(dir / "ENCPLSTATS.DAT");
    fs::create_symlink(dir / "ENCTEAM.DAT", dir / "ENCTEAM.DAT");
    fs::create_symlink(dir / "nowhere", dir / "ENCPLYR.DAT");
    fs::create_symlink(dir / "loop", dir / "loop");
    const enc::Encyclopedia e(dir.path());
    EXPECT_TRUE(names(error_of([&] { e.read_stats(); }), dir / "ENCPLSTATS.DAT"));
    EXPECT_TRUE(names(error_of([&] { e.read_teams(); }), dir / "ENCTEAM.DAT"));
    EXPECT_TRUE(e.read_players().empty());  // a dangling link is a missing file
    EXPECT_TRUE(e.read_leagues().empty());  // the other files are not affected
    EXPECT_TRUE(names(error_of([&] { enc::Encyclopedia looped(dir / "loop"); }), dir / "loop"));
}

TEST(FolderErrors, UnreadableFolderAndFileAreNamed) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows: no permission bits make a file or a folder unreadable";
#else
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
#endif
    TempDir dir;
    fs::create_directory(dir / "locked");
    write_raw(dir / "ENCTEAM.DAT", team_bytes("NY"));
    fs::permissions(dir / "ENCTEAM.DAT", fs::perms::none);
    fs::permissions(dir / "locked", fs::perms::none);
    EXPECT_TRUE(names(error_of([&] { enc::Encyclopedia e(dir / "locked"); }), dir / "locked"));
    EXPECT_TRUE(names(error_of([&] { enc::Encyclopedia(dir.path()).read_teams(); }), dir / "ENCTEAM.DAT"));
    fs::permissions(dir / "locked", fs::perms::owner_all);
}

TEST(FolderErrors, AFileRemovedAfterTheListingReadsAsMissing) {
    TempDir dir;
    write_raw(dir / "ENCTEAM.DAT", team_bytes("NY"));
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
    const auto folder = dir / "new" / "folder";
    enc::write_encyclopedia(folder, contents);
    EXPECT_EQ(fs::file_size(folder / "ENCTEAM.DAT"), 2 * 56u);
    EXPECT_EQ(fs::file_size(folder / "enclgyr.dat"), 0u);
    EXPECT_FALSE(fs::exists(folder / "ENCPLSTATS.DAT"));
    EXPECT_EQ(enc::Encyclopedia(folder).read_teams()[1].TeamAbbrev, "BOS");
    // A folder that cannot be made is named.
    write_raw(dir / "file", "x");
    EXPECT_TRUE(names(error_of([&] { enc::write_encyclopedia(dir / "file" / "sub", contents); }), dir / "file"));
}

}  // namespace
