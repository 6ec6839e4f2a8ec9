// The sheet set of a run: which sheets a workbook gets for each choice of
// "Spreadsheets Desired", in their fixed order, and the tidying at the end
// of the player pass and of the team pass.
#pragma once

#include "workbook/workbook.h"

#include <cstdint>
#include <string_view>

namespace tb::sheets {

using wb::Workbook;

enum class SheetsDesired { PlayersAndTeams, TeamsOnly, PlayersOnly };

inline bool player_sheets_wanted(SheetsDesired d) { return d != SheetsDesired::TeamsOnly; }
inline bool team_sheets_wanted(SheetsDesired d) { return d != SheetsDesired::PlayersOnly; }

// Row counters of the hitting and pitching totals sheets: the last row used,
// 0 while the sheet has no header.
struct PlayerTotalsCounters {
    int32_t HitRegLine = 0, HitWCSLine = 0, HitDCSLine = 0, HitLCSLine = 0, HitWSLine = 0;
    int32_t PitchRegLine = 0, PitchWCSLine = 0, PitchDCSLine = 0, PitchLCSLine = 0, PitchWSLine = 0;
};

// Row counters of the post-season team totals sheets: the last row used,
// 1 while the sheet has no row.
struct TeamTotalsCounters {
    int32_t TeamWCSLine = 1, TeamDCSLine = 1, TeamLCSLine = 1, TeamWSLine = 1;
};

// Adds and names the sheets of the choice, each before the previous one, so
// that they stand left to right: "Team Records", "TeamRegTotals",
// "TeamWCSTotals" .. "TeamWSTotals", "PitchRegTotals" .. "PitchWSTotals",
// "HitRegTotals" .. "HitWSTotals", "A" .. "Z", "AA" .. "AE".
// The last sheet added ("Team Records", or "PitchRegTotals") is active.
void create_sheet_set(Workbook& wb, SheetsDesired desired);

// Autofits columns [first, last] of the active sheet one by one ("A:A", ...).
void autofit_columns(Workbook& wb, int first, int last);

// COL_AUTOFIT: columns A to AE of the active sheet.
void COL_AUTOFIT(Workbook& wb);

// End of the player sheets: columns A..Z of the active sheet autofitted;
// every hitting and pitching totals sheet with counter 0 deleted, the others
// activated and autofitted (A..AD for PitchRegTotals, A..Z for the rest);
// then A..Z of the sheet then active autofitted again.
void end_player_sheets(Workbook& wb, const PlayerTotalsCounters& counters);

// End of the team sheets: post-season team totals sheets whose counter is
// still 1 deleted, the others set up as totals sheets; "Team Records"
// activated and its columns A..Z autofitted.
void end_team_sheets(Workbook& wb, const TeamTotalsCounters& counters);

// A totals sheet easy to scan: its header row (row 1) and the columns up to
// its name column stay in view, filter buttons sit over the header row and
// rows 2..last_row of columns first_col..last_col, and the header row is
// printed on every page.
void Set_Totals_View(Workbook& wb, std::string_view sheet, int name_col, int first_col, int last_col,
                     int32_t last_row);

// Every sheet prints landscape, one page wide, with its name and the page
// number in the footer.
void Set_Print_Setup(Workbook& wb);

}  // namespace tb::sheets
