// Standings: where every team season finished in its year, league and
// division, and how many games it stood behind, with the seasons listed
// team by team.
#pragma once

#include "encyclopedia/encyclopedia.h"
#include "teams/league_tables.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tb::teams {

// The figures of a won-lost row, whatever they add up: a season, a phase,
// a team's seasons.
struct RecordFigures {
    int64_t won = 0, lost = 0, runs_scored = 0, runs_allowed = 0, shutouts = 0, double_plays = 0, left_on_base = 0;
    static RecordFigures of(const enc::PhaseRecord& phase);
    RecordFigures& operator+=(const RecordFigures& o);
    bool played() const { return won > 0 || lost > 0; }
};

// Won and lost games of one team in a race, and where it finished.
struct WonLost {
    int64_t won = 0, lost = 0;
};
struct Placing {
    int32_t finish = 1;        // 1 + the teams with a better winning percentage
    double games_behind = 0;   // behind the leader; negative for a team with more games won
};

// The standings of one year, league and division, in the order given.
// Teams are ranked by winning percentage (won / (won + lost), 0 without
// games), compared exactly; equal percentages share a finish, at the top
// too, and the next team counts every team above it (1st, 1st, 3rd). Games
// behind are measured against the leader: the best percentage, and among
// equal best percentages the best won - lost.
std::vector<Placing> rank_division(const std::vector<WonLost>& teams);

// "1st", "2nd", "3rd", "4th" ... "11th", "12th", "13th", "21st", "111th".
std::string finish_text(int32_t place);

// One used team season with its place in its race.
struct TeamStanding {
    std::string abbreviation;       // from the team table; "" when the team has no record
    int32_t team_id = 0;
    int32_t year = 0;
    int32_t league_id = 0;
    std::string division;           // "" when the team is in no division list
    RecordFigures regular;          // the regular season
    double games_behind = 0;
    std::string finish;
    int32_t record_number = 0;      // of the team season in enctmyr.dat
    bool post_season = false;       // it played a division series, LCS or world series
    std::string team_name;          // "City Nickname" of the season
    // The division series, league championship series and world series.
    std::array<enc::PhaseRecord, 3> post_season_phases{};
};

// Every team season (the used ones, with their record numbers), ranked in its race, and listed team by team: in
// the order of their texts (abbreviation, team number, year, league,
// division, won, lost, games behind, finish, runs scored and allowed,
// shutouts, double plays, left on base, post-season record number, season
// name, joined by ",") as names are ordered (see text::collation_key).
std::vector<TeamStanding> standings_by_team(const std::vector<enc::Numbered<enc::TeamSeason>>& seasons,
                                            const LeagueTables& tables, const enc::TeamTable& team_table);

}  // namespace tb::teams
