// What the team sheets look up in the league and team-season files: league
// names and colours, the division of each team in each season, and the
// latest name of each team.
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

// The year and team ranges of the used league seasons, seeded by the first
// one (its slot 0 even when empty). A lookup outside them finds no
// division.
struct DivisionBounds {
    bool made = false;
    int32_t min_year = 0, max_year = 0, min_team = 0, max_team = 0;
    bool contains(int32_t year, int32_t team) const {
        return made && year >= min_year && year <= max_year && team >= min_team && team <= max_team;
    }
};

// The division name of a league season without divisions.
inline const std::string kNoDivisionName(20, ' ');

// The colours (RGB) of the first three leagues in use, in file order; later
// leagues have none.
inline constexpr int32_t kLeagueColors[] = {0xFF99CC, 0x99CCFF, 0xCC99FF};

class LeagueTables {
public:
    // Reads the three files once. Never throws but for memory.
    LeagueTables(const std::vector<enc::LeagueSeason>& league_seasons, const std::vector<enc::LeagueEntry>& leagues,
                 const std::vector<enc::TeamSeason>& team_seasons);

    // A league's name (its last used league season's); "" when unknown.
    std::string league_name(int32_t league) const;
    // A league's colour; none past the third league in use.
    std::optional<int32_t> league_color(int32_t league) const;
    // A team's division in a year: the name in its league season's division
    // list (twenty blanks in a league season without divisions); "" when the
    // team is in no list or outside the lists' ranges.
    std::string division_of(int32_t year, int32_t team) const;
    // A team's latest season name ("City Nickname" of its last used team
    // season in the file); "" when unknown.
    std::string team_name(int32_t team) const;

    const DivisionBounds& bounds() const { return bounds_; }
    std::size_t named_teams() const { return team_names_.size(); }
    std::size_t division_entries() const { return divisions_.size(); }
    std::size_t named_leagues() const { return league_names_.size(); }

private:
    std::unordered_map<int32_t, std::string> league_names_;
    std::unordered_map<int32_t, int32_t> league_colors_;
    DivisionBounds bounds_;
    std::map<std::pair<int32_t, int32_t>, std::string> divisions_;   // (year, team)
    std::unordered_map<int32_t, std::string> team_names_;
};

// "City Nickname" of a team season.
std::string season_team_name(const enc::TeamSeason& season);

}  // namespace tb::teams
