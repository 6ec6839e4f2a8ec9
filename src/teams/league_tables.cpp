#include "teams/league_tables.h"

#include <algorithm>
#include <iterator>

namespace tb::teams {

namespace {

constexpr int kSlotsPerDivision = 15;

DivisionBounds division_bounds(const std::vector<enc::LeagueSeason>& seasons) {
    DivisionBounds b;
    for (const auto& rec : seasons) {
        if (!enc::is_used(rec)) continue;
        if (!b.made) {
            b.made = true;
            b.min_year = b.max_year = rec.year;
            b.min_team = b.max_team = rec.division_teams[0];
        }
        b.min_year = std::min<int32_t>(b.min_year, rec.year);
        b.max_year = std::max<int32_t>(b.max_year, rec.year);
        for (int16_t team : rec.division_teams) {
            if (team < 0) continue;
            b.min_team = std::min<int32_t>(b.min_team, team);
            b.max_team = std::max<int32_t>(b.max_team, team);
        }
    }
    return b;
}

}  // namespace

LeagueTables::LeagueTables(const std::vector<enc::LeagueSeason>& league_seasons,
                           const std::vector<enc::LeagueEntry>& leagues,
                           const std::vector<enc::TeamSeason>& team_seasons)
    : bounds_(division_bounds(league_seasons)) {
    std::size_t in_use = 0;
    for (const auto& rec : leagues) {
        if (!enc::is_used(rec)) continue;
        if (in_use < std::size(kLeagueColors)) league_colors_[rec.league_id] = kLeagueColors[in_use];
        ++in_use;
    }
    // A later league season wins; a season whose first two division names
    // are not in use lists all its teams in one group.
    for (const auto& rec : league_seasons) {
        if (!enc::is_used(rec)) continue;
        league_names_[rec.league_id] = rec.name;
        const bool divided = rec.division_in_use[0] && rec.division_in_use[1];
        for (int k = 0; k < 4; ++k) {
            if (divided && !rec.division_in_use[static_cast<std::size_t>(k)]) continue;
            const std::string& name = divided ? rec.division_names[static_cast<std::size_t>(k)] : kNoDivisionName;
            for (int slot = k * kSlotsPerDivision; slot < (k + 1) * kSlotsPerDivision; ++slot) {
                const int16_t team = rec.division_teams[static_cast<std::size_t>(slot)];
                if (team >= 0) divisions_[{rec.year, team}] = name;
            }
        }
    }
    for (const auto& rec : team_seasons)
        if (enc::is_used(rec)) team_names_[rec.team_id] = season_team_name(rec);
}

std::string LeagueTables::league_name(int32_t league) const {
    auto it = league_names_.find(league);
    return it == league_names_.end() ? std::string() : it->second;
}

std::optional<int32_t> LeagueTables::league_color(int32_t league) const {
    auto it = league_colors_.find(league);
    if (it == league_colors_.end()) return std::nullopt;
    return it->second;
}

std::string LeagueTables::division_of(int32_t year, int32_t team) const {
    if (!bounds_.contains(year, team)) return {};
    auto it = divisions_.find({year, team});
    return it == divisions_.end() ? std::string() : it->second;
}

std::string LeagueTables::team_name(int32_t team) const {
    auto it = team_names_.find(team);
    return it == team_names_.end() ? std::string() : it->second;
}

std::string season_team_name(const enc::TeamSeason& season) { return season.city + " " + season.nickname; }

}  // namespace tb::teams
