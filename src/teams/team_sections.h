// What each team's section of "Team Records" and its rows on the team
// totals sheets show, worked out from the standings: plain data, written by
// the team sheets.
#pragma once

#include "encyclopedia/records.h"
#include "teams/league_tables.h"
#include "teams/standings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tb::teams {

// A season row of a section.
struct SeasonRow {
    std::string league_name;
    std::string division;
    std::string team_name;       // the season's own name
    int32_t year = 0;
    RecordFigures figures;
    double games_behind = 0;
    std::string finish;
};

// A season row under its own title and column headers: the section's first
// season, and each further season of that same year (a team listed twice in
// its first year).
struct HeadedRow {
    std::optional<int32_t> fill;   // the colour of the season's league
    SeasonRow row;
};

// The post-season phases a section can show, in order.
enum class PostSeasonPhase { DivisionSeries, ChampionshipSeries, WorldSeries };

// A team's play in one post-season phase, over its seasons.
struct PostSeasonBlock {
    PostSeasonPhase phase = PostSeasonPhase::DivisionSeries;
    std::optional<int32_t> heading_fill;   // the league of its first season
    struct Season {
        int32_t year;
        RecordFigures figures;
    };
    std::vector<Season> seasons;
    RecordFigures totals;
    // Its row on the phase's team totals sheet takes the colour of the
    // league of the team's last season with any post-season play.
    std::optional<int32_t> sheet_fill;
};

// One team number's section.
struct TeamSection {
    int32_t team_id = 0;
    std::string title;                        // the team's latest name
    std::vector<HeadedRow> headed;            // at least one
    std::vector<SeasonRow> later;             // the seasons of later years, in order
    RecordFigures totals;                     // of every season of the section
    std::optional<int32_t> totals_fill;       // the league of the last headed row
    std::vector<PostSeasonBlock> post_seasons;   // only the phases the team played
    int32_t first_record_number = 0;          // of its first season, for notices
};

// The sections of the teams in standings order.
std::vector<TeamSection> team_sections(const std::vector<TeamStanding>& standings, const LeagueTables& tables);

}  // namespace tb::teams
