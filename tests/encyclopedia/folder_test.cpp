// Finding the files of a folder, missing files, and folders or files that
// cannot be read.
#include "encyclopedia/encyclopedia.h"
#include "support/encyclopedia_builder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace enc = tb::enc;
namespace fs = std::filesystem;
using namespace tb::test;

namespace {

std::string team_bytes(const std::string& abbrev) { return enc::encode(team(1, abbrev)); }

// Whether `f` throws an EncyclopediaError whose message names `path`.
template <class F>
bool error_names(F&& f, const fs::path& path) {
    try {
        f();
    } catch (const enc::EncyclopediaError& e) {
        return std::string(e.what()).find(path.string()) != std::string::npos;
    }
    return false;
}

TEST(Folder, MissingEmptyAndShortFilesGiveNoRecordsAndReadingChangesNothing) {
    TempDir dir;
    const std::string bytes = team_bytes("NY") + "xyz";
    write_bytes(dir / "ENCTEAM.DAT", bytes);
    write_bytes(dir / "ENCPLSTATS.DAT", "");
    write_bytes(dir / "encleag.dat", std::string(49, 'x'));
    write_bytes(dir / "ENCPLYR.DAT", enc::encode(player(1, 1970)));
    const auto before = fs::last_write_time(dir / "ENCTEAM.DAT");
    const enc::Encyclopedia e(dir.path());
    fs::remove(dir / "ENCPLYR.DAT");   // gone after the listing: missing
    EXPECT_EQ(e.read_teams().size(), 1u);
    EXPECT_TRUE(e.read_stats().empty() && e.read_leagues().empty() && e.read_players().empty());
    EXPECT_TRUE(e.read_team_seasons().empty() && e.read_league_seasons().empty());
    EXPECT_FALSE(e.find(enc::kLeagueSeasonFile));
    EXPECT_EQ(read_bytes(dir / "ENCTEAM.DAT"), bytes);
    EXPECT_EQ(fs::last_write_time(dir / "ENCTEAM.DAT"), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 3);
}

TEST(Folder, FilesAreFoundWhateverTheirLetterCaseAndTheCanonicalSpellingWins) {
    TempDir dir;
    write_bytes(dir / "encteam.dat", team_bytes("low"));
    write_bytes(dir / "EncLeag.Dat", enc::encode(league(1, "L")));
    const enc::Encyclopedia e(dir.path());
    ASSERT_EQ(e.read_teams().size(), 1u);
    EXPECT_EQ(e.read_teams()[0].abbreviation, "low");
    EXPECT_EQ(e.read_leagues().size(), 1u);
    EXPECT_EQ(e.find(enc::kTeamFile), dir / "encteam.dat");
#ifndef _WIN32  // a Windows folder cannot hold two spellings of one name
    write_bytes(dir / "EncTeam.dat", team_bytes("mix"));
    EXPECT_EQ(enc::Encyclopedia(dir.path()).find(enc::kTeamFile), dir / "EncTeam.dat");   // a stable choice
    write_bytes(dir / "ENCTEAM.DAT", team_bytes("UP"));
    write_bytes(dir / "ENCLGYR.DAT", "");   // canonical is lower case here
    write_bytes(dir / "enclgyr.dat", enc::encode(league_season(1, 2000, "L")));
    const enc::Encyclopedia both(dir.path());
    EXPECT_EQ(both.read_teams().at(0).abbreviation, "UP");
    EXPECT_EQ(both.read_league_seasons().size(), 1u);
#endif
}

// Each error names the path at fault.
TEST(FolderErrors, MissingFoldersFilesFoldersLinksAndPermissionsInTheWayAreNamed) {
    TempDir dir;
    write_bytes(dir / "file", "x");
    for (const fs::path& path : {dir / "no-such-folder", dir / "file"})
        EXPECT_TRUE(error_names([&] { enc::Encyclopedia e(path); }, path)) << path;
    EXPECT_FALSE(fs::exists(dir / "no-such-folder"));
#ifndef _WIN32  // Windows: symbolic links need a privilege, and no permission bits make a file unreadable
    fs::create_directory(dir / "ENCPLSTATS.DAT");
    fs::create_symlink(dir / "ENCTEAM.DAT", dir / "ENCTEAM.DAT");
    fs::create_symlink(dir / "nowhere", dir / "ENCPLYR.DAT");
    fs::create_symlink(dir / "loop", dir / "loop");
    const enc::Encyclopedia e(dir.path());
    EXPECT_TRUE(error_names([&] { e.read_stats(); }, dir / "ENCPLSTATS.DAT"));
    EXPECT_TRUE(error_names([&] { e.read_teams(); }, dir / "ENCTEAM.DAT"));
    EXPECT_TRUE(e.read_players().empty());   // a dangling link is a missing file
    EXPECT_TRUE(e.read_leagues().empty());   // the other files are not affected
    EXPECT_TRUE(error_names([&] { enc::Encyclopedia looped(dir / "loop"); }, dir / "loop"));
    if (::geteuid() == 0) return;   // permissions do not bind the superuser
    fs::create_directory(dir / "locked");
    write_bytes(dir / "locked" / "ENCTEAM.DAT", team_bytes("NY"));
    fs::permissions(dir / "locked" / "ENCTEAM.DAT", fs::perms::none);
    EXPECT_TRUE(error_names([&] { enc::Encyclopedia(dir / "locked").read_teams(); }, dir / "locked" / "ENCTEAM.DAT"));
    fs::permissions(dir / "locked", fs::perms::none);
    EXPECT_TRUE(error_names([&] { enc::Encyclopedia e(dir / "locked"); }, dir / "locked"));
    fs::permissions(dir / "locked", fs::perms::owner_all);
#endif
}

}  // namespace
