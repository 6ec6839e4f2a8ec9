// The fixed parts of the team sheets: title and column headers of a team
// section, the outline of its season rows, its totals row, and the header
// row, team rows and outline of "TeamRegTotals". Each writes to the active
// sheet; none activates a sheet.
#pragma once

#include "teams/league_tables.h"
#include "teams/team_state.h"
#include "workbook/workbook.h"

#include <cstdint>

namespace tb::teams {

// Title row and column-header row at TeamRow; leaves TeamRow on the header row.
void Do_Team_Rec_Headers(wb::Workbook& wb, TeamPassState& st, const LeagueTables& tables);
// Outline of the season rows FirstDataRow..LastDataRow, columns A..N.
void Do_Team_Borders(wb::Workbook& wb, TeamPassState& st);
// Totals row below the last written row; moves TeamRow onto it.
void Do_Team_Totals(wb::Workbook& wb, TeamPassState& st);
// Header row PLine of "TeamRegTotals".
void TeamSumHeaders(wb::Workbook& wb, int32_t PLine);
// Team row PLine of "TeamRegTotals".
void TeamSumTotals(wb::Workbook& wb, TeamPassState& st, const LeagueTables& tables, int32_t PLine);
// Outline of C1:K<PLine>.
void TeamSumBorders(wb::Workbook& wb, int32_t PLine);

}  // namespace tb::teams
