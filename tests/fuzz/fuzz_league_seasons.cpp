// Any bytes as enclgyr.dat, with no team seasons and no leagues: the
// records, their used rule, and the league tables built from them (year and
// team ranges, league names), then the standings of no team season.
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

    for (const enc::LeagueSeason* r : used)
        TB_FUZZ_CHECK(r->year >= tables.bounds().min_year && r->year <= tables.bounds().max_year);
    TB_FUZZ_CHECK(teams::standings_by_team({}, tables, enc::TeamTable{}).empty());
    return 0;
}
