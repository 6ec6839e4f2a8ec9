// The team pass: reads the team-season and league files, works out the
// standings and writes "Team Records", "TeamRegTotals" and the post-season
// team totals sheets.
#pragma once

#include "encyclopedia/encyclopedia.h"
#include "workbook/sheet_set.h"
#include "workbook/workbook.h"

#include <functional>
#include <string>

namespace tb::teams {

// Everything the team pass needs from the run that owns it.
struct TeamPassContext {
    wb::Workbook& workbook;                 // the sheet set already exists
    const enc::Encyclopedia& encyclopedia;  // source of the three team/league files
    const enc::TeamTable& team_table;       // abbreviations from ENCTEAM.DAT
    wb::TeamTotalsCounters& counters;       // rows of the post-season team sheets
    // Reports a condition that cost one team its section (the pass goes on
    // with the other teams).
    std::function<void(const std::string&)> notice;
};

// Do_Teams. Throws only for failures that end the whole run (an unreadable
// file, a sheet past the last row).
void Do_Teams(TeamPassContext& ctx);

}  // namespace tb::teams
