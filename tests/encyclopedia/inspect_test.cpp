// The inspection report.
#include "encyclopedia/inspect.h"
#include "raw_bytes.h"
#include "support/encyclopedia_builder.h"

#include <gtest/gtest.h>

namespace enc = tb::enc;
using tb::test::TempDir;

namespace {

bool has(const std::string& report, const std::string& text) { return report.find(text) != std::string::npos; }

class Inspect : public ::testing::Test {
protected:
    void SetUp() override {
        auto deleted_team = tb::test::team(3, "DEL");
        deleted_team.Status = 4;
        auto untested_team = tb::test::team(4, "UNT");
        untested_team.Field50 = 0;
        contents_.teams = {{tb::test::team(1, "NY"), tb::test::team(2, "BOS"), deleted_team, untested_team}};

        auto deleted_line = tb::test::hitter_line(3, 1990, 2, 1, "Gone", "G");
        deleted_line.Status = 1;
        contents_.stats = {{
            tb::test::hitter_line(1, 1990, 2, 1, "Muñoz", "Élan"),
            tb::test::hitter_line(1, 1990, 5, 1, "Muñoz", "Élan"),
            tb::test::pitcher_line(2, 1991, 2, 2, "Šimek", "P"),
            tb::test::two_way_line(2, 1991, 8, 2, "Šimek", "P"),
            tb::test::pitcher_line(2, 1991, 1, 2, "Šimek", "P"),
            tb::test::pitcher_line(2, 1991, 9, 7, "Šimek", "P"),
            tb::test::pitcher_line(0, 1991, 2, 2, "Nobody", "N"),
            deleted_line,
        }};
        contents_.team_seasons = {{tb::test::team_season(1, 1990, 1, "New York", "Knights", 90, 72),
                                   tb::test::team_season(2, 1991, 1, "Boston", "Harbormen", 80, 82),
                                   tb::test::team_season(2, 0, 1, "Boston", "Harbormen", 1, 1)}};
        contents_.leagues = {{tb::test::league(1, "Atlantic League"), tb::test::league(2, "")}};
    }

    std::string report() {
        enc::write_encyclopedia(dir_.path(), contents_);
        return enc::inspect_report(enc::Encyclopedia(dir_.path()), 2025);
    }

    TempDir dir_;
    enc::EncyclopediaContents contents_;
};

TEST_F(Inspect, NamesFoundAndMissingFiles) {
    const std::string r = report();
    EXPECT_TRUE(has(r, "ENCTEAM.DAT: found (" + (dir_ / "ENCTEAM.DAT").string() + ")")) << r;
    EXPECT_TRUE(has(r, "ENCPLYR.DAT: missing")) << r;
    EXPECT_TRUE(has(r, "enclgyr.dat: missing")) << r;
}

TEST_F(Inspect, CountsUsedAndSkippedRecordsWithTheReason) {
    const std::string r = report();
    EXPECT_TRUE(has(r, "records: 4 (56 bytes each), used: 2, skipped: 2")) << r;
    EXPECT_TRUE(has(r, "skipped, status not 0: 1")) << r;
    EXPECT_TRUE(has(r, "skipped, tested fields (offsets 50, 52) not above 0: 1")) << r;
    EXPECT_TRUE(has(r, "records: 8 (344 bytes each), used: 6, skipped: 2")) << r;
    EXPECT_TRUE(has(r, "skipped, player number 0 or less: 1")) << r;
    EXPECT_TRUE(has(r, "skipped, season year 0 or less: 1")) << r;
    EXPECT_TRUE(has(r, "skipped, league title not in use: 1")) << r;
}

TEST_F(Inspect, BirthYearsOutOfRangeAreExplained) {
    contents_.players = {{tb::test::player(1, 1960), tb::test::player(2, 2025), tb::test::player(3, 0)}};
    const std::string r = report();
    EXPECT_TRUE(has(r, "skipped, birth year not between 1 and 2024: 2")) << r;
    EXPECT_TRUE(has(r, "Players with a birth year: 1")) << r;
}

TEST_F(Inspect, SummarisesPlayersPhasesKindsAndSeasons) {
    const std::string r = report();
    EXPECT_TRUE(has(r, "Players: 2 ")) << r;
    EXPECT_TRUE(has(r, "regular season 2, wild card 1, division series 0, LCS 0, world series 1, ignored (code 1) 1, "
                       "unknown codes 1 (code 9: 1)"))
        << r;
    EXPECT_TRUE(has(r, "hitting 2, pitching 3, two-way 1")) << r;
    EXPECT_TRUE(has(r, "Teams: 2 ")) << r;
    EXPECT_TRUE(has(r, "Team seasons: 2, seasons 2 (1990-1991)")) << r;
    EXPECT_TRUE(has(r, "Leagues: 1 (1 Atlantic League)")) << r;
    EXPECT_TRUE(has(r, "1 used statistics lines name a team with no abbreviation")) << r;
}

TEST_F(Inspect, NotesAPartialTrailingRecord) {
    enc::write_encyclopedia(dir_.path(), contents_);
    {
        std::ofstream out(dir_ / "encleag.dat", std::ios::binary | std::ios::app);
        out << "0123456789";
    }
    const std::string r = enc::inspect_report(enc::Encyclopedia(dir_.path()), 2025);
    EXPECT_TRUE(has(r, "partial trailing record of 10 bytes ignored")) << r;
}

TEST_F(Inspect, AnUnreadableFileIsReportedNotThrown) {
    std::filesystem::create_directory(dir_ / "ENCPLYR.DAT");
    const std::string r = report();
    EXPECT_TRUE(has(r, "ENCPLYR.DAT: found")) << r;
    EXPECT_TRUE(has(r, "cannot be read")) << r;
    EXPECT_TRUE(has(r, "Players: 2 ")) << r;  // the rest is still reported
}

}  // namespace
