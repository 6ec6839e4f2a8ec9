// Any bytes as enctmyr.dat, with no league seasons and no leagues: the
// records, their used rule, the league tables (team-season names) and the
// standings (games behind and finishing places).
#include "fuzz_check.h"

#include "teams/league_tables.h"
#include "teams/standings.h"

#include <cmath>
#include <vector>

using namespace tb;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [records, used] =
        fuzz::read_checked(data, size, enc::kTeamSeasonFile, &enc::Encyclopedia::read_team_seasons);

    const teams::LeagueTables tables({}, {}, records);
    TB_FUZZ_CHECK(tables.named_teams() <= used.size());
    TB_FUZZ_CHECK(!tables.bounds().made && tables.named_leagues() == 0 && tables.division_entries() == 0);
    if (!used.empty()) TB_FUZZ_CHECK(tables.team_name(used.back()->team_id) == teams::season_team_name(*used.back()));

    std::vector<enc::Numbered<enc::TeamSeason>> numbered;
    for (const enc::TeamSeason* r : used) numbered.push_back({static_cast<int32_t>(r - records.data() + 1), *r});
    const auto standings = teams::standings_by_team(numbered, tables, enc::TeamTable{});
    TB_FUZZ_CHECK(standings.size() == used.size());

    // Every used record stands exactly once, with its own wins and losses.
    std::vector<bool> seen(records.size() + 1, false);
    for (const teams::TeamStanding& e : standings) {
        const auto n = static_cast<std::size_t>(e.record_number);
        TB_FUZZ_CHECK(n >= 1 && n <= records.size() && !seen[n]);
        seen[n] = true;
        const enc::TeamSeason& r = records[n - 1];
        TB_FUZZ_CHECK(enc::is_used(r) && e.team_id == r.team_id && e.year == r.year);
        TB_FUZZ_CHECK(e.regular.won == r.regular.won && e.regular.lost == r.regular.lost);
        TB_FUZZ_CHECK(std::isfinite(e.games_behind) && !e.finish.empty());
        TB_FUZZ_CHECK(e.division.empty());   // no league seasons: no divisions
    }
    return 0;
}
