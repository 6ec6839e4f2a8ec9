// Standings: games behind and finishing place of every team season in its
// year, league and division, then the seasons regrouped team by team.
//
// The two work lists hold structured items. Each item still has the text
// the lists are ordered by (fields joined by ","), but the fields are kept
// apart, so a comma inside a name never moves another field.
#pragma once

#include "encyclopedia/encyclopedia.h"
#include "teams/league_tables.h"
#include "text/collation.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tb::teams {

// One team season, as read (an item of lstx).
struct LstxItem {
    int32_t year = 0;
    int32_t league_id = 0;
    std::string Division;        // "" when the team is in no division list
    int32_t WonFrom300 = 0;      // 300 - won: sorts the most wins first
    int32_t LostFrom300 = 0;     // 300 - lost
    int32_t runs_scored = 0, runs_allowed = 0, shutouts = 0, double_plays = 0, left_on_base = 0;
    int32_t team_id = 0;
    int32_t PostSeasonRec = 0;   // record number when the season has post-season play
    std::string Abbrev;          // from the team table
    std::string SeasonTeamName;
    int32_t RecordNumber = 0;    // of the team season, for notices; not part of the text

    std::string text() const;    // the sort text
};

// One team season with its standing (an item of lstStandings).
struct StandingsEntry {
    std::string Abbrev;
    int32_t team_id = 0;
    int32_t year = 0;
    int32_t league_id = 0;
    std::string Division;
    int32_t won = 0, lost = 0;
    double GamesBehind = 0;
    std::string Finish;
    int32_t runs_scored = 0, runs_allowed = 0, shutouts = 0, double_plays = 0, left_on_base = 0;
    int32_t PostSeasonRec = 0;
    std::string SeasonTeamName;
    int32_t RecordNumber = 0;    // of the team season, for notices; not part of the text

    std::string text() const;    // the sort text
};

// Sorts items by their text as the sorted work lists order them (see
// tb::text::collation_key); equal texts keep their order of addition.
template <class Item>
void sort_work_list(std::vector<Item>& items) {
    text::sort_by_collation(items, [](const Item& item) { return item.text(); });
}

// "1st", "2nd", "3rd", "4th" ... "11th", "12th", "13th", "21st", "111th".
std::string Finish_Text(int32_t place);
// Year as four digits ("0000" format).
std::string Year_Text(int32_t year);
// A number as the lists write it: 5, 3.5, -1.
std::string Number_Text(double value);

// The lstx item of a used team-season record with record number `record_number`.
LstxItem Make_Lstx_Item(const enc::TeamSeason& record, int32_t record_number,
                        const LeagueTables& tables, const enc::TeamTable& team_table);
// lstx: one item per used record of enctmyr.dat (element i = record i + 1), sorted.
std::vector<LstxItem> Build_Lstx(const std::vector<enc::TeamSeason>& seasons,
                                 const LeagueTables& tables, const enc::TeamTable& team_table);
// won and lost games of one team in a race, and where it finished.
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

// Games behind and finish per group (year, league, division), into
// lstStandings (sorted by team).
std::vector<StandingsEntry> Unravel_lstx(const std::vector<LstxItem>& lstx);
// The entry at a position of lstStandings.
const StandingsEntry& Unravel_Standings(const std::vector<StandingsEntry>& lstStandings,
                                        std::size_t index);

}  // namespace tb::teams
