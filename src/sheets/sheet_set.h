// The sheet set of a run: which sheets a workbook gets for each choice of
// "Spreadsheets Desired", left to right: "Team Records", "TeamRegTotals",
// "TeamDCSTotals" .. "TeamWSTotals", "PitchRegTotals" .. "PitchWSTotals",
// "HitRegTotals" .. "HitWSTotals", "A" .. "Z", "AA" .. "AE" (and "#").
#pragma once

#include "sheets/letter_sheets.h"
#include "sheets/player_totals_sheets.h"
#include "sheets/team_records_sheet.h"
#include "sheets/team_totals_sheets.h"
#include "workbook/workbook.h"

#include <optional>

namespace tb::sheets {

enum class SheetsDesired { PlayersAndTeams, TeamsOnly, PlayersOnly };

inline bool player_sheets_wanted(SheetsDesired d) { return d != SheetsDesired::TeamsOnly; }
inline bool team_sheets_wanted(SheetsDesired d) { return d != SheetsDesired::PlayersOnly; }

// The sheets of a choice, each kind with the sheets it owns.
struct SheetSet {
    std::optional<TeamRecordsSheet> team_records;
    std::optional<TeamTotalsSheets> team_totals;
    std::optional<PlayerTotalsSheets> player_totals;
    std::optional<LetterSheets> letters;
};

// Adds the sheets of a choice to an empty workbook, in their order.
SheetSet create_sheet_set(wb::Workbook& book, SheetsDesired desired);

// Once the passes are done and each kind has finished its sheets: the tab
// shown on opening ("Team Records"; without team sheets the world series
// hitting totals when they have rows, else "A"), and every sheet printed
// landscape, one page wide, with its name and the page number in the footer.
void finish_workbook(wb::Workbook& book, const SheetSet& sheets);

}  // namespace tb::sheets
