#include "teams/league_tables.h"

#include <algorithm>

namespace tb::teams {

std::string LeagueTables::league_name(int32_t league) const {
    auto it = LeagueName.find(league);
    return it == LeagueName.end() ? std::string() : it->second;
}

std::optional<int> LeagueTables::league_color(int32_t league) const {
    auto it = LeagueColor.find(league);
    if (it == LeagueColor.end()) return std::nullopt;
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

DivisionBounds Find_Division_Bounds(const std::vector<enc::LeagueSeasonRecord>& seasons) {
    DivisionBounds b;
    for (const auto& rec : seasons) {
        if (!enc::is_used(rec)) continue;
        if (!b.made) {
            // The first used record seeds the team range with slot 0 even when
            // that slot is empty; later slots only widen it.
            b.made = true;
            b.MinYear = b.MaxYear = rec.SeasonYear;
            b.MinTeam = b.MaxTeam = rec.DivisionTeams[0];
        }
        b.MinYear = std::min<int32_t>(b.MinYear, rec.SeasonYear);
        b.MaxYear = std::max<int32_t>(b.MaxYear, rec.SeasonYear);
        for (int16_t team : rec.DivisionTeams) {
            if (team < 0) continue;
            b.MinTeam = std::min<int32_t>(b.MinTeam, team);
            b.MaxTeam = std::max<int32_t>(b.MaxTeam, team);
        }
    }
    return b;
}

void Assign_League_Colors(LeagueTables& tables, const std::vector<enc::LeagueRecord>& leagues) {
    std::size_t in_use = 0;
    for (const auto& rec : leagues) {
        if (!enc::is_used(rec)) continue;
        if (in_use < std::size(kLeagueColors)) tables.LeagueColor[rec.LeagueId] = kLeagueColors[in_use];
        ++in_use;
    }
}

void Read_League_Names_And_Divisions(LeagueTables& tables,
                                     const std::vector<enc::LeagueSeasonRecord>& seasons) {
    constexpr int kSlotsPerDivision = 15;
    for (const auto& rec : seasons) {
        if (!enc::is_used(rec)) continue;
        tables.LeagueName[rec.LeagueId] = rec.LeagueName;
        if (rec.DivisionInUse[0] && rec.DivisionInUse[1]) {
            for (int k = 0; k < 4; ++k) {
                if (!rec.DivisionInUse[k]) continue;
                for (int slot = k * kSlotsPerDivision; slot < (k + 1) * kSlotsPerDivision; ++slot) {
                    const int16_t team = rec.DivisionTeams[slot];
                    if (team >= 0) tables.DivisionOf[{rec.SeasonYear, team}] = rec.DivisionNames[k];
                }
            }
        } else {
            for (int16_t team : rec.DivisionTeams)
                if (team >= 0) tables.DivisionOf[{rec.SeasonYear, team}] = kNoDivisionName;
        }
    }
}

std::string Season_Team_Name(const enc::TeamSeasonRecord& record) {
    return record.TeamCity + " " + record.TeamNickname;
}

void Name_Team_Seasons(LeagueTables& tables, const std::vector<enc::TeamSeasonRecord>& seasons) {
    for (const auto& rec : seasons)
        if (enc::is_used(rec)) tables.TeamSeasonName[rec.TeamId] = Season_Team_Name(rec);
}

LeagueTables Build_League_Tables(const std::vector<enc::LeagueSeasonRecord>& league_seasons,
                                 const std::vector<enc::LeagueRecord>& leagues,
                                 const std::vector<enc::TeamSeasonRecord>& team_seasons) {
    LeagueTables tables;
    tables.Bounds = Find_Division_Bounds(league_seasons);
    Assign_League_Colors(tables, leagues);
    Read_League_Names_And_Divisions(tables, league_seasons);
    Name_Team_Seasons(tables, team_seasons);
    return tables;
}

}  // namespace tb::teams
