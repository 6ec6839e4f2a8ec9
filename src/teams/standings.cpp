#include "teams/standings.h"

#include "rates/rates.h"

#include <cmath>
#include <cstdio>

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
    return join({Year_Text(SeasonYear), num(LeagueId), Division, num(WonFrom300), num(LostFrom300),
                 num(Scored), num(Allowed), num(SHO), num(GDP), num(LOB), num(TeamId),
                 num(PostSeasonRec), Abbrev, SeasonTeamName});
}

std::string StandingsEntry::text() const {
    return join({Abbrev, num(TeamId), Year_Text(SeasonYear), num(LeagueId), Division, num(Won),
                 num(Lost), Number_Text(GamesBehind), Finish, num(Scored), num(Allowed), num(SHO),
                 num(GDP), num(LOB), num(PostSeasonRec), SeasonTeamName});
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

LstxItem Make_Lstx_Item(const enc::TeamSeasonRecord& record, int32_t record_number,
                        const LeagueTables& tables, const enc::TeamTable& team_table) {
    LstxItem item;
    item.SeasonYear = record.SeasonYear;
    item.LeagueId = record.LeagueId;
    item.Division = tables.division_of(record.SeasonYear, record.TeamId);
    item.WonFrom300 = 300 - record.RegTotals.Won;
    item.LostFrom300 = 300 - record.RegTotals.Lost;
    item.Scored = record.RegTotals.Scored;
    item.Allowed = record.RegTotals.Allowed;
    item.SHO = record.RegTotals.SHO;
    item.GDP = record.RegTotals.GDP;
    item.LOB = record.RegTotals.LOB;
    item.TeamId = record.TeamId;
    const bool post_season =
        record.DivTotals.played() || record.LcsTotals.played() || record.WsTotals.played();
    item.PostSeasonRec = post_season ? record_number : 0;
    auto abbrev = team_table.find(record.TeamId);
    if (abbrev != team_table.end()) item.Abbrev = abbrev->second;
    item.SeasonTeamName = Season_Team_Name(record);
    item.RecordNumber = record_number;
    return item;
}

std::vector<LstxItem> Build_Lstx(const std::vector<enc::TeamSeasonRecord>& seasons,
                                 const LeagueTables& tables, const enc::TeamTable& team_table) {
    std::vector<LstxItem> lstx;
    for (std::size_t i = 0; i < seasons.size(); ++i) {
        if (!enc::is_used(seasons[i])) continue;
        lstx.push_back(Make_Lstx_Item(seasons[i], static_cast<int32_t>(i + 1), tables, team_table));
    }
    sort_work_list(lstx);
    return lstx;
}

std::vector<StandingsEntry> Unravel_lstx(const std::vector<LstxItem>& lstx) {
    std::vector<StandingsEntry> standings;
    standings.reserve(lstx.size());

    int32_t prev_year = 0, prev_league = 0;
    std::string prev_division;
    int32_t leader_won = 0, leader_lost = 0;
    int32_t position = 0, finish = 1;
    double games_behind = 0;
    float prev_games_behind = 0;

    for (std::size_t i = 0; i < lstx.size(); ++i) {
        const LstxItem& item = lstx[i];
        const int32_t won = 300 - item.WonFrom300;
        const int32_t lost = 300 - item.LostFrom300;
        if (i == 0) {
            prev_year = item.SeasonYear;
            prev_league = item.LeagueId;
            prev_division = item.Division;
            leader_won = won;
            leader_lost = lost;
            position = 0;
            games_behind = 0;
            prev_games_behind = 0;
            finish = 1;
        }
        const bool same_group = item.SeasonYear == prev_year && item.LeagueId == prev_league &&
                                item.Division == prev_division;
        if (same_group) {
            ++position;
            games_behind = rates::games_behind(leader_won, leader_lost, won, lost);
            // Shares the place above only when behind the leader by the same games.
            finish = (games_behind > 0 && games_behind == prev_games_behind) ? position - 1 : position;
            prev_games_behind = static_cast<float>(games_behind);
        } else {
            finish = 1;
            games_behind = 0;
            leader_won = won;
            leader_lost = lost;
            position = 1;
            prev_games_behind = 0;
            prev_year = item.SeasonYear;
            prev_league = item.LeagueId;
            prev_division = item.Division;
        }

        StandingsEntry e;
        e.Abbrev = item.Abbrev;
        e.TeamId = item.TeamId;
        e.SeasonYear = item.SeasonYear;
        e.LeagueId = item.LeagueId;
        e.Division = item.Division;
        e.Won = won;
        e.Lost = lost;
        e.GamesBehind = games_behind;
        e.Finish = Finish_Text(finish);
        e.Scored = item.Scored;
        e.Allowed = item.Allowed;
        e.SHO = item.SHO;
        e.GDP = item.GDP;
        e.LOB = item.LOB;
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
