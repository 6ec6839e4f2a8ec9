#include "teams/standings.h"

#include "rates/rates.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <tuple>

namespace tb::teams {

namespace {

std::string join(std::initializer_list<std::string> fields) {
    std::string out;
    bool first = true;
    for (const auto& f : fields) {
        if (!first) out += ',';
        out += f;
        first = false;
    }
    return out;
}

std::string num(int32_t v) { return std::to_string(v); }

}  // namespace

std::string LstxItem::text() const {
    return join({Year_Text(year), num(league_id), Division, num(WonFrom300), num(LostFrom300),
                 num(runs_scored), num(runs_allowed), num(shutouts), num(double_plays), num(left_on_base), num(team_id),
                 num(PostSeasonRec), Abbrev, SeasonTeamName});
}

std::string StandingsEntry::text() const {
    return join({Abbrev, num(team_id), Year_Text(year), num(league_id), Division, num(won),
                 num(lost), Number_Text(GamesBehind), Finish, num(runs_scored), num(runs_allowed), num(shutouts),
                 num(double_plays), num(left_on_base), num(PostSeasonRec), SeasonTeamName});
}

std::string Finish_Text(int32_t place) {
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

std::string Year_Text(int32_t year) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d", static_cast<int>(year));
    return buf;
}

std::string Number_Text(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return std::to_string(static_cast<long long>(value));
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    return buf;
}

LstxItem Make_Lstx_Item(const enc::TeamSeason& record, int32_t record_number,
                        const LeagueTables& tables, const enc::TeamTable& team_table) {
    LstxItem item;
    item.year = record.year;
    item.league_id = record.league_id;
    item.Division = tables.division_of(record.year, record.team_id);
    item.WonFrom300 = 300 - record.regular.won;
    item.LostFrom300 = 300 - record.regular.lost;
    item.runs_scored = record.regular.runs_scored;
    item.runs_allowed = record.regular.runs_allowed;
    item.shutouts = record.regular.shutouts;
    item.double_plays = record.regular.double_plays;
    item.left_on_base = record.regular.left_on_base;
    item.team_id = record.team_id;
    const bool post_season =
        record.division_series.played() || record.championship_series.played() || record.world_series.played();
    item.PostSeasonRec = post_season ? record_number : 0;
    auto abbrev = team_table.find(record.team_id);
    if (abbrev != team_table.end()) item.Abbrev = abbrev->second;
    item.SeasonTeamName = Season_Team_Name(record);
    item.RecordNumber = record_number;
    return item;
}

std::vector<LstxItem> Build_Lstx(const std::vector<enc::TeamSeason>& seasons,
                                 const LeagueTables& tables, const enc::TeamTable& team_table) {
    std::vector<LstxItem> lstx;
    for (std::size_t i = 0; i < seasons.size(); ++i) {
        if (!enc::is_used(seasons[i])) continue;
        lstx.push_back(Make_Lstx_Item(seasons[i], static_cast<int32_t>(i + 1), tables, team_table));
    }
    sort_work_list(lstx);
    return lstx;
}

namespace {

// Whether a has the higher winning percentage, as exact fractions: a team
// without games stands at 0.
bool higher_pct(const WonLost& a, const WonLost& b) {
    const int64_t games_a = a.won + a.lost, games_b = b.won + b.lost;
    if (games_a <= 0) return false;
    if (games_b <= 0) return a.won > 0;
    return a.won * games_b > b.won * games_a;
}

}  // namespace

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

std::vector<StandingsEntry> Unravel_lstx(const std::vector<LstxItem>& lstx) {
    // The teams of each year, league and division, wherever the sort put them.
    std::map<std::tuple<int32_t, int32_t, std::string>, std::vector<std::size_t>> groups;
    for (std::size_t i = 0; i < lstx.size(); ++i)
        groups[{lstx[i].year, lstx[i].league_id, lstx[i].Division}].push_back(i);
    std::vector<Placing> placing_of(lstx.size());
    for (const auto& [key, members] : groups) {
        std::vector<WonLost> teams;
        teams.reserve(members.size());
        for (std::size_t i : members) teams.push_back({300 - lstx[i].WonFrom300, 300 - lstx[i].LostFrom300});
        const std::vector<Placing> placings = rank_division(teams);
        for (std::size_t k = 0; k < members.size(); ++k) placing_of[members[k]] = placings[k];
    }

    std::vector<StandingsEntry> standings;
    standings.reserve(lstx.size());
    for (std::size_t i = 0; i < lstx.size(); ++i) {
        const LstxItem& item = lstx[i];
        StandingsEntry e;
        e.Abbrev = item.Abbrev;
        e.team_id = item.team_id;
        e.year = item.year;
        e.league_id = item.league_id;
        e.Division = item.Division;
        e.won = 300 - item.WonFrom300;
        e.lost = 300 - item.LostFrom300;
        e.GamesBehind = placing_of[i].games_behind;
        e.Finish = Finish_Text(placing_of[i].finish);
        e.runs_scored = item.runs_scored;
        e.runs_allowed = item.runs_allowed;
        e.shutouts = item.shutouts;
        e.double_plays = item.double_plays;
        e.left_on_base = item.left_on_base;
        e.PostSeasonRec = item.PostSeasonRec;
        e.SeasonTeamName = item.SeasonTeamName;
        e.RecordNumber = item.RecordNumber;
        standings.push_back(std::move(e));
    }
    sort_work_list(standings);
    return standings;
}

const StandingsEntry& Unravel_Standings(const std::vector<StandingsEntry>& lstStandings,
                                        std::size_t index) {
    return lstStandings.at(index);
}

}  // namespace tb::teams
