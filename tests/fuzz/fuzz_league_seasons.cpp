// Any bytes as enclgyr.dat, with no team seasons and no leagues: the
// records, their used rule, and the league tables built from them (year and
// team ranges, league names, the division of each team in each season),
// then the standings of no team season.
#include "fuzz_check.h"

#include "teams/league_tables.h"
#include "teams/standings.h"

using namespace tb;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [records, used] =
        fuzz::read_checked(data, size, enc::kLeagueSeasonFile, &enc::Encyclopedia::read_league_seasons);

    const teams::LeagueTables tables(records, {}, {});
    TB_FUZZ_CHECK(tables.bounds().made == !used.empty());
    TB_FUZZ_CHECK(tables.named_teams() == 0);
    if (!used.empty()) TB_FUZZ_CHECK(tables.league_name(used.back()->league_id) == used.back()->name);

    // Every team a used league season places gets a division name (a league
    // season without divisions gives the blank one); slots 15k..15k+14 are
    // division k's.
    for (const enc::LeagueSeason* r : used) {
        TB_FUZZ_CHECK(r->year >= tables.bounds().min_year && r->year <= tables.bounds().max_year);
        const bool divisions = r->division_in_use[0] && r->division_in_use[1];
        for (std::size_t slot = 0; slot < 60; ++slot) {
            const int16_t team = r->division_teams[slot];
            if (team >= 0 && (!divisions || r->division_in_use[slot / 15]))
                TB_FUZZ_CHECK(!tables.division_of(r->year, team).empty());
        }
    }
    TB_FUZZ_CHECK(teams::standings_by_team({}, tables, enc::TeamTable{}).empty());
    return 0;
}
