// Any bytes as encleag.dat, with no team seasons and no league seasons: the
// records, their used rule (title in use), the league colours of the league
// tables, then the standings of no team season.
#include "fuzz_check.h"

#include "encyclopedia/encyclopedia.h"
#include "teams/league_tables.h"
#include "teams/standings.h"

#include <algorithm>
#include <iterator>

using namespace tb;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    enc::FileFacts facts;
    const auto records = fuzz::read_checked(data, size, enc::kLeagueFile, &enc::Encyclopedia::read_leagues, facts);

    std::size_t used = 0;
    const enc::LeagueEntry* first_used = nullptr;
    for (const auto& r : records) {
        if (!enc::is_used(r)) continue;
        ++used;
        if (!first_used) first_used = &r;
        TB_FUZZ_CHECK(r.title_in_use && !r.title.empty());
    }
    fuzz::check_problems(facts, used);

    const teams::LeagueTables tables({}, records, {});
    std::size_t colored = 0;
    for (const auto& r : records) {
        const auto color = tables.league_color(r.league_id);
        if (!color) continue;
        ++colored;
        TB_FUZZ_CHECK(std::find(std::begin(teams::kLeagueColors), std::end(teams::kLeagueColors), *color) !=
                      std::end(teams::kLeagueColors));
    }
    TB_FUZZ_CHECK(colored <= records.size());
    if (first_used) TB_FUZZ_CHECK(tables.league_color(first_used->league_id).has_value());
    TB_FUZZ_CHECK(!tables.bounds().made && tables.named_leagues() == 0 && tables.division_entries() == 0);
    TB_FUZZ_CHECK(teams::standings_by_team({}, tables, enc::TeamTable{}).empty());
    return 0;
}
