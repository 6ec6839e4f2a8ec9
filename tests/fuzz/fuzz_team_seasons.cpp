// Any bytes as enctmyr.dat, with no league seasons and no leagues: the
// records, their used rule, the league tables (team-season names) and the
// standings (games behind and finishing places) and the team sections.
#include "fuzz_check.h"

#include "encyclopedia/encyclopedia.h"
#include "teams/league_tables.h"
#include "teams/standings.h"
#include "teams/team_sections.h"

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

    const teams::LeagueTables tables({}, {}, records);
    TB_FUZZ_CHECK(tables.named_teams() <= used);
    TB_FUZZ_CHECK(!tables.bounds().made && tables.named_leagues() == 0 && tables.division_entries() == 0);
    if (last_used) TB_FUZZ_CHECK(tables.team_name(last_used->team_id) == teams::season_team_name(*last_used));

    std::vector<enc::Numbered<enc::TeamSeason>> used_records;
    for (std::size_t i = 0; i < records.size(); ++i)
        if (enc::is_used(records[i])) used_records.push_back({static_cast<int32_t>(i + 1), records[i]});
    const auto standings = teams::standings_by_team(used_records, tables, enc::TeamTable{});
    TB_FUZZ_CHECK(standings.size() == used);

    // Every used record stands exactly once.
    std::vector<bool> seen(records.size() + 1, false);
    for (const teams::TeamStanding& e : standings) {
        TB_FUZZ_CHECK(e.record_number >= 1 && static_cast<std::size_t>(e.record_number) <= records.size());
        TB_FUZZ_CHECK(!seen[static_cast<std::size_t>(e.record_number)]);
        seen[static_cast<std::size_t>(e.record_number)] = true;
        const enc::TeamSeason& r = records[static_cast<std::size_t>(e.record_number) - 1];
        TB_FUZZ_CHECK(enc::is_used(r) && e.team_id == r.team_id && e.year == r.year);
        TB_FUZZ_CHECK(e.regular.won == r.regular.won && e.regular.lost == r.regular.lost);
        TB_FUZZ_CHECK(std::isfinite(e.games_behind) && !e.finish.empty());
        TB_FUZZ_CHECK(e.division.empty());   // no league seasons: no divisions
    }
    // Every team section holds its seasons once, and only played phases.
    for (const teams::TeamSection& s : teams::team_sections(standings, tables)) {
        TB_FUZZ_CHECK(!s.headed.empty());
        for (const teams::PostSeasonBlock& b : s.post_seasons) TB_FUZZ_CHECK(!b.seasons.empty() && b.totals.played());
    }
    return 0;
}
