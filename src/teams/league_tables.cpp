#include "teams/league_tables.h"

#include <algorithm>

namespace tb::teams {

std::string LeagueTables::league_name(int32_t league) const {
    auto it = names.find(league);
    return it == names.end() ? std::string() : it->second;
}

std::optional<int> LeagueTables::league_color(int32_t league) const {
    auto it = colors.find(league);
    if (it == colors.end()) return std::nullopt;
    return it->second;
}

std::string LeagueTables::division_of(int32_t year, int32_t team) const {
    if (!Bounds.contains(year, team)) return {};
    auto it = DivisionOf.find({year, team});
    return it == DivisionOf.end() ? std::string() : it->second;
}

std::string LeagueTables::team_season_name(int32_t team) const {
    auto it = TeamSeasonName.find(team);
    return it == TeamSeasonName.end() ? std::string() : it->second;
}

DivisionBounds Find_Division_Bounds(const std::vector<enc::LeagueSeason>& seasons) {
    DivisionBounds b;
    for (const auto& rec : seasons) {
        if (!enc::is_used(rec)) continue;
        if (!b.made) {
            // The first used record seeds the team range with slot 0 even when
            // that slot is empty; later slots only widen it.
            b.made = true;
            b.MinYear = b.MaxYear = rec.year;
            b.MinTeam = b.MaxTeam = rec.division_teams[0];
        }
        b.MinYear = std::min<int32_t>(b.MinYear, rec.year);
        b.MaxYear = std::max<int32_t>(b.MaxYear, rec.year);
        for (int16_t team : rec.division_teams) {
            if (team < 0) continue;
            b.MinTeam = std::min<int32_t>(b.MinTeam, team);
            b.MaxTeam = std::max<int32_t>(b.MaxTeam, team);
        }
    }
    return b;
}

void Assign_League_Colors(LeagueTables& tables, const std::vector<enc::LeagueEntry>& leagues) {
    std::size_t in_use = 0;
    for (const auto& rec : leagues) {
        if (!enc::is_used(rec)) continue;
        if (in_use < std::size(kLeagueColors)) tables.colors[rec.league_id] = kLeagueColors[in_use];
        ++in_use;
    }
}

void Read_League_Names_And_Divisions(LeagueTables& tables,
                                     const std::vector<enc::LeagueSeason>& seasons) {
    constexpr int kSlotsPerDivision = 15;
    for (const auto& rec : seasons) {
        if (!enc::is_used(rec)) continue;
        tables.names[rec.league_id] = rec.name;
        if (rec.division_in_use[0] && rec.division_in_use[1]) {
            for (int k = 0; k < 4; ++k) {
                if (!rec.division_in_use[k]) continue;
                for (int slot = k * kSlotsPerDivision; slot < (k + 1) * kSlotsPerDivision; ++slot) {
                    const int16_t team = rec.division_teams[slot];
                    if (team >= 0) tables.DivisionOf[{rec.year, team}] = rec.division_names[k];
                }
            }
        } else {
            for (int16_t team : rec.division_teams)
                if (team >= 0) tables.DivisionOf[{rec.year, team}] = kNoDivisionName;
        }
    }
}

std::string Season_Team_Name(const enc::TeamSeason& record) {
    return record.city + " " + record.nickname;
}

void Name_Team_Seasons(LeagueTables& tables, const std::vector<enc::TeamSeason>& seasons) {
    for (const auto& rec : seasons)
        if (enc::is_used(rec)) tables.TeamSeasonName[rec.team_id] = Season_Team_Name(rec);
}

LeagueTables Build_League_Tables(const std::vector<enc::LeagueSeason>& league_seasons,
                                 const std::vector<enc::LeagueEntry>& leagues,
                                 const std::vector<enc::TeamSeason>& team_seasons) {
    LeagueTables tables;
    tables.Bounds = Find_Division_Bounds(league_seasons);
    Assign_League_Colors(tables, leagues);
    Read_League_Names_And_Divisions(tables, league_seasons);
    Name_Team_Seasons(tables, team_seasons);
    return tables;
}

}  // namespace tb::teams
