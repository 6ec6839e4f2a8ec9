// The team pass: the standings of every team season, then each team's
// section on "Team Records" and its rows on the team totals sheets.
#pragma once

#include "app/reporter.h"
#include "encyclopedia/encyclopedia.h"
#include "sheets/team_records_sheet.h"
#include "sheets/team_totals_sheets.h"
#include "workbook/workbook.h"

#include <vector>

namespace tb::app {

struct TeamPassInput {
    // The used records of enctmyr.dat (with their record numbers),
    // enclgyr.dat and encleag.dat, in file order.
    const std::vector<enc::Numbered<enc::TeamSeason>>& team_seasons;
    const std::vector<enc::LeagueSeason>& league_seasons;
    const std::vector<enc::LeagueEntry>& leagues;
    const enc::TeamTable& teams;   // abbreviations by team number
};

// Writes every team. Returns false when cancelled. Throws wb::WorkbookError
// when a sheet runs out of rows.
bool write_team_sheets(wb::Workbook& book, sheets::TeamRecordsSheet& records, sheets::TeamTotalsSheets& totals,
                       const TeamPassInput& input, Reporter& reporter);

}  // namespace tb::app
