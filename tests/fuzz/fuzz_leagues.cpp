// Any bytes as encleag.dat, with no team seasons and no league seasons: the
// records, their used rule (title in use), the first league colour of the
// league tables, then the standings of no team season.
#include "fuzz_check.h"

#include "teams/league_tables.h"
#include "teams/standings.h"

using namespace tb;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [records, used] = fuzz::read_checked(data, size, enc::kLeagueFile, &enc::Encyclopedia::read_leagues);
    for (const enc::LeagueEntry* r : used) TB_FUZZ_CHECK(r->title_in_use && !r->title.empty());

    const teams::LeagueTables tables({}, records, {});
    if (!used.empty()) TB_FUZZ_CHECK(tables.league_color(used.front()->league_id).has_value());
    TB_FUZZ_CHECK(!tables.bounds().made && tables.named_leagues() == 0 && tables.division_entries() == 0);
    TB_FUZZ_CHECK(teams::standings_by_team({}, tables, enc::TeamTable{}).empty());
    return 0;
}
