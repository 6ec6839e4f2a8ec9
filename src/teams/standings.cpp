#include "teams/standings.h"

#include "rates/rates.h"
#include "text/collation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <tuple>

namespace tb::teams {

namespace {

// Whether a has the higher winning percentage, as exact fractions: a team
// without games stands at 0.
bool higher_pct(const WonLost& a, const WonLost& b) {
    const int64_t games_a = a.won + a.lost, games_b = b.won + b.lost;
    if (games_a <= 0) return false;
    if (games_b <= 0) return a.won > 0;
    return a.won * games_b > b.won * games_a;
}

// A number as the list texts write it: 5, 3.5, -1.
std::string number_text(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15) return std::to_string(static_cast<long long>(value));
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    return buf;
}

std::string sort_text(const TeamStanding& s) {
    char year[16];
    std::snprintf(year, sizeof year, "%04d", static_cast<int>(s.year));
    const RecordFigures& f = s.regular;
    const std::string fields[] = {s.abbreviation, std::to_string(s.team_id), year, std::to_string(s.league_id),
                                  s.division, std::to_string(f.won), std::to_string(f.lost),
                                  number_text(s.games_behind), s.finish, std::to_string(f.runs_scored),
                                  std::to_string(f.runs_allowed), std::to_string(f.shutouts),
                                  std::to_string(f.double_plays), std::to_string(f.left_on_base),
                                  std::to_string(s.post_season ? s.record_number : 0), s.team_name};
    std::string out;
    for (const std::string& field : fields) {
        if (&field != &fields[0]) out += ',';
        out += field;
    }
    return out;
}

TeamStanding standing_of(const enc::TeamSeason& season, int32_t record_number, const LeagueTables& tables,
                         const enc::TeamTable& team_table) {
    TeamStanding s;
    const auto abbreviation = team_table.find(season.team_id);
    if (abbreviation != team_table.end()) s.abbreviation = abbreviation->second;
    s.team_id = season.team_id;
    s.year = season.year;
    s.league_id = season.league_id;
    s.division = tables.division_of(season.year, season.team_id);
    s.regular = RecordFigures::of(season.regular);
    s.record_number = record_number;
    s.post_season = season.division_series.played() || season.championship_series.played() ||
                    season.world_series.played();
    s.post_season_phases = {season.division_series, season.championship_series, season.world_series};
    s.team_name = season_team_name(season);
    return s;
}

}  // namespace

RecordFigures RecordFigures::of(const enc::PhaseRecord& p) {
    return {p.won, p.lost, p.runs_scored, p.runs_allowed, p.shutouts, p.double_plays, p.left_on_base};
}

RecordFigures& RecordFigures::operator+=(const RecordFigures& o) {
    won += o.won, lost += o.lost, runs_scored += o.runs_scored, runs_allowed += o.runs_allowed;
    shutouts += o.shutouts, double_plays += o.double_plays, left_on_base += o.left_on_base;
    return *this;
}

std::vector<Placing> rank_division(const std::vector<WonLost>& teams) {
    std::vector<std::size_t> order(teams.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return higher_pct(teams[a], teams[b]); });
    std::vector<Placing> placings(teams.size());
    if (teams.empty()) return placings;

    std::size_t leader = order.front();
    for (std::size_t k = 1; k < order.size() && !higher_pct(teams[leader], teams[order[k]]); ++k) {
        const WonLost& t = teams[order[k]];
        if (t.won - t.lost > teams[leader].won - teams[leader].lost) leader = order[k];
    }
    int32_t finish = 1;
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k > 0 && higher_pct(teams[order[k - 1]], teams[order[k]])) finish = static_cast<int32_t>(k) + 1;
        const WonLost& t = teams[order[k]];
        placings[order[k]] = {finish, rates::games_behind(teams[leader].won, teams[leader].lost, t.won, t.lost)};
    }
    return placings;
}

std::string finish_text(int32_t place) {
    const int32_t last_two = place % 100;
    const char* suffix = "th";
    if (last_two < 11 || last_two > 13) {
        switch (place % 10) {
            case 1: suffix = "st"; break;
            case 2: suffix = "nd"; break;
            case 3: suffix = "rd"; break;
            default: break;
        }
    }
    return std::to_string(place) + suffix;
}

std::vector<TeamStanding> standings_by_team(const std::vector<enc::Numbered<enc::TeamSeason>>& seasons,
                                            const LeagueTables& tables, const enc::TeamTable& team_table) {
    std::vector<TeamStanding> standings;
    standings.reserve(seasons.size());
    for (const auto& season : seasons) standings.push_back(standing_of(season.record, season.number, tables, team_table));

    // The races: the teams of each year, league and division.
    std::map<std::tuple<int32_t, int32_t, std::string>, std::vector<std::size_t>> races;
    for (std::size_t i = 0; i < standings.size(); ++i)
        races[{standings[i].year, standings[i].league_id, standings[i].division}].push_back(i);
    for (const auto& [race, members] : races) {
        std::vector<WonLost> teams;
        teams.reserve(members.size());
        for (std::size_t i : members) teams.push_back({standings[i].regular.won, standings[i].regular.lost});
        const std::vector<Placing> placings = rank_division(teams);
        for (std::size_t k = 0; k < members.size(); ++k) {
            standings[members[k]].games_behind = placings[k].games_behind;
            standings[members[k]].finish = finish_text(placings[k].finish);
        }
    }
    text::sort_by_collation(standings, [](const TeamStanding& s) { return sort_text(s); });
    return standings;
}

}  // namespace tb::teams
