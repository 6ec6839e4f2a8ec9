// Any bytes as enctmyr.dat, with no league seasons and no leagues: the
// records, their used rule, the league tables (team-season names) and the
// standings (lstx, then games behind and finishing places).
#include "fuzz_check.h"

#include "encyclopedia/encyclopedia.h"
#include "teams/league_tables.h"
#include "teams/standings.h"

#include <cmath>
#include <vector>

using namespace tb;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    enc::FileFacts facts;
    const auto records =
        fuzz::read_checked(data, size, enc::kTeamSeasonFile, &enc::Encyclopedia::read_team_seasons, facts);

    std::size_t used = 0;
    const enc::TeamSeason* last_used = nullptr;
    for (const auto& r : records) {
        if (!enc::is_used(r)) continue;
        ++used;
        last_used = &r;
    }
    fuzz::check_problems(facts, used);

    const teams::LeagueTables tables = teams::Build_League_Tables({}, {}, records);
    TB_FUZZ_CHECK(tables.TeamSeasonName.size() <= used);
    TB_FUZZ_CHECK(!tables.Bounds.made && tables.names.empty() && tables.DivisionOf.empty());
    if (last_used)
        TB_FUZZ_CHECK(tables.team_season_name(last_used->team_id) == teams::Season_Team_Name(*last_used));

    const auto lstx = teams::Build_Lstx(records, tables, enc::TeamTable{});
    TB_FUZZ_CHECK(lstx.size() == used);
    const auto standings = teams::Unravel_lstx(lstx);
    TB_FUZZ_CHECK(standings.size() == lstx.size());

    // Every used record stands exactly once.
    std::vector<bool> seen(records.size() + 1, false);
    for (std::size_t i = 0; i < standings.size(); ++i) {
        const teams::StandingsEntry& e = teams::Unravel_Standings(standings, i);
        TB_FUZZ_CHECK(&e == &standings[i]);
        TB_FUZZ_CHECK(e.RecordNumber >= 1 && static_cast<std::size_t>(e.RecordNumber) <= records.size());
        TB_FUZZ_CHECK(!seen[static_cast<std::size_t>(e.RecordNumber)]);
        seen[static_cast<std::size_t>(e.RecordNumber)] = true;
        const enc::TeamSeason& r = records[static_cast<std::size_t>(e.RecordNumber) - 1];
        TB_FUZZ_CHECK(enc::is_used(r) && e.team_id == r.team_id && e.year == r.year);
        TB_FUZZ_CHECK(e.won == r.regular.won && e.lost == r.regular.lost);
        TB_FUZZ_CHECK(std::isfinite(e.GamesBehind) && !e.Finish.empty());
        TB_FUZZ_CHECK(e.Division.empty());   // no league seasons: no divisions
    }
    return 0;
}
