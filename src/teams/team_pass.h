// The team pass: reads the team-season and league files, works out the
// standings and writes "Team Records", "TeamRegTotals" and the post-season
// team totals sheets.
#pragma once

#include "encyclopedia/encyclopedia.h"
#include "sheets/sheet_set.h"
#include "workbook/workbook.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tb::teams {

// Everything the team pass needs from the run that owns it.
struct TeamPassContext {
    wb::Workbook& workbook;                 // the sheet set already exists
    // The records of enctmyr.dat, enclgyr.dat and encleag.dat, in file order.
    const std::vector<enc::TeamSeason>& team_seasons;
    const std::vector<enc::LeagueSeason>& league_seasons;
    const std::vector<enc::LeagueEntry>& leagues;
    const enc::TeamTable& team_table;       // abbreviations from ENCTEAM.DAT
    sheets::TeamTotalsCounters& counters;       // rows of the post-season team sheets
    // Reports a condition that cost one team its section (the pass goes on
    // with the other teams): what happened, the team-season record number
    // of the section and the team number.
    std::function<void(const std::string& text, int32_t record, int32_t team)> notice;
    // Called after each team's section with the teams done and in all;
    // returning false stops the pass.
    std::function<bool(int64_t done, int64_t total)> step;
};

// Do_Teams. Returns false when `step` stopped it. Throws only for failures
// that end the whole run (a sheet past the last row, no memory).
bool Do_Teams(TeamPassContext& ctx);

}  // namespace tb::teams
