// The inspection report.
#include "encyclopedia/inspect.h"
#include "support/encyclopedia_builder.h"

#include <gtest/gtest.h>

namespace enc = tb::enc;
namespace t = tb::test;
using namespace std::string_literals;

namespace {

// Two of each kind of record, and one or two more that are skipped, each
// for its own reason.
enc::EncyclopediaContents contents() {
    enc::EncyclopediaContents c;
    auto deleted_team = t::team(3, "DEL");
    deleted_team.status = 4;
    auto untested_team = t::team(4, "UNT");
    untested_team.use_mark_50 = 0;
    c.teams = {{t::team(1, "NY"), t::team(2, "BOS"), deleted_team, untested_team}};
    c.players = {{t::player(1, 1960), t::player(2, 2025), t::player(3, 0)}};
    auto deleted_line = t::hitter_line(3, 1990, 2, 1, "Gone", "G");
    deleted_line.status = 1;
    c.stats = {{t::hitter_line(1, 1990, 2, 1, "Muñoz", "Élan"), t::hitter_line(1, 1990, 5, 1, "Muñoz", "Élan"),
                t::pitcher_line(2, 1991, 2, 2, "Šimek", "P"), t::hitter_line(2, 1991, 8, 2, "Šimek", "P", 3),
                t::pitcher_line(2, 1991, 1, 2, "Šimek", "P"), t::pitcher_line(2, 1991, 9, 7, "Šimek", "P"),
                t::pitcher_line(0, 1991, 2, 2, "Nobody", "N"), deleted_line}};
    c.team_seasons = {{t::team_season(1, 1990, 1, "New York", "Knights", 90, 72),
                       t::team_season(2, 1991, 1, "Boston", "Harbormen", 80, 82),
                       t::team_season(2, 0, 1, "Boston", "Harbormen", 1, 1)}};
    c.leagues = {{t::league(1, "Atlantic League"), t::league(2, "")}};
    return c;
}

TEST(Inspect, NamesFilesAndCountsUsedAndSkippedRecordsPhasesAndKinds) {
    t::TempDir dir;
    enc::write_encyclopedia(dir.path(), contents());
    const std::string r = enc::inspect_report(enc::Encyclopedia(dir.path()), 2025);
    for (const std::string& line :
         {"ENCTEAM.DAT: found (" + (dir / "ENCTEAM.DAT").string() + ")", "enclgyr.dat: missing"s,
          "records: 4 (56 bytes each), used: 2, skipped: 2"s, "skipped, status not 0: 1"s,
          "skipped, tested fields (offsets 50, 52) not above 0: 1"s, "skipped, league title not in use: 1"s,
          "records: 8 (344 bytes each), used: 6, skipped: 2"s, "skipped, player number 0 or less: 1"s,
          "skipped, season year 0 or less: 1"s, "skipped, birth year not between 1 and 2024: 2"s,
          "Players with a birth year: 1"s, "Players: 2 "s, "Teams: 2 "s, "hitting 2, pitching 3, two-way 1"s,
          "regular season 2, wild card 1, division series 0, LCS 0, world series 1, ignored (code 1) 1, "
          "unknown codes 1 (code 9: 1)"s,
          "Team seasons: 2, seasons 2 (1990-1991)"s, "Leagues: 1 (1 Atlantic League)"s,
          "1 used statistics lines name a team with no abbreviation"s})
        EXPECT_NE(r.find(line), std::string::npos) << line << "\n" << r;
}

}  // namespace
