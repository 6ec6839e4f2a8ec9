// Tables the team pass builds from the league and team-season files:
// league names and colours, the division of each team in each season, and
// the latest name of each team.
#pragma once

#include "encyclopedia/records.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tb::teams {

// The year and team ranges found in the first reading of the league
// seasons. A lookup outside them finds no division.
struct DivisionBounds {
    bool made = false;
    int32_t MinYear = 0, MaxYear = 0, MinTeam = 0, MaxTeam = 0;
    bool contains(int32_t year, int32_t team) const {
        return made && year >= MinYear && year <= MaxYear && team >= MinTeam && team <= MaxTeam;
    }
};

// The division name of a league season without divisions.
inline const std::string kNoDivisionName(20, ' ');

// The colours of the first three leagues in use, in file order.
inline constexpr int kLeagueColors[] = {38, 37, 39};

struct LeagueTables {
    std::unordered_map<int32_t, std::string> names;
    std::unordered_map<int32_t, int> colors;
    DivisionBounds Bounds;
    std::map<std::pair<int32_t, int32_t>, std::string> DivisionOf;  // (year, team)
    std::unordered_map<int32_t, std::string> TeamSeasonName;

    std::string league_name(int32_t league) const;        // "" when unknown
    std::optional<int> league_color(int32_t league) const;  // none past the third league
    std::string division_of(int32_t year, int32_t team) const;  // "" when none
    std::string team_season_name(int32_t team) const;     // "" when unknown
};

// First reading of the league seasons: the ranges of DivisionOf.
DivisionBounds Find_Division_Bounds(const std::vector<enc::LeagueSeason>& seasons);
// The leagues in use get 38, 37, 39 by their order in the file.
void Assign_League_Colors(LeagueTables& tables, const std::vector<enc::LeagueEntry>& leagues);
// Second reading: league names (the last record of a league wins) and divisions.
void Read_League_Names_And_Divisions(LeagueTables& tables,
                                     const std::vector<enc::LeagueSeason>& seasons);
// "City Nickname" of a team season.
std::string Season_Team_Name(const enc::TeamSeason& record);
// Latest name of every team (a later record wins).
void Name_Team_Seasons(LeagueTables& tables, const std::vector<enc::TeamSeason>& seasons);

LeagueTables Build_League_Tables(const std::vector<enc::LeagueSeason>& league_seasons,
                                 const std::vector<enc::LeagueEntry>& leagues,
                                 const std::vector<enc::TeamSeason>& team_seasons);

}  // namespace tb::teams
