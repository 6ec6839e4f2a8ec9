// The player pass: every player's statistics lines sorted into the season
// phases and written as his blocks on his letter sheet, with his rows on the
// hitting and pitching totals sheets.
#pragma once

#include "app/reporter.h"
#include "encyclopedia/encyclopedia.h"
#include "sheets/letter_sheets.h"
#include "sheets/player_totals_sheets.h"
#include "workbook/workbook.h"

#include <cstdint>
#include <vector>

namespace tb::app {

struct PlayerPassInput {
    const std::vector<enc::Numbered<enc::StatsLine>>& lines;   // the used lines of ENCPLSTATS.DAT
    const enc::TeamTable& teams;                // abbreviations by team number
    const enc::BirthYears& birth_years;         // by player number
};

struct PlayerPassResult {
    bool completed = true;          // false when cancelled
    int64_t players_written = 0;
    int64_t lines_written = 0;
};

// Lists the players of the lines by display name (of their last line) and
// writes them one by one. A line of an unknown phase or kind is
// told and passed over (phase code 1 silently), and so is a player without
// a regular-season line. A hitting line feeds a player's hitting block, a
// pitching line his pitching block, a two-way line both; his blocks go on
// the letter sheet of the name on his first regular-season line, the
// hitting block first. Throws wb::WorkbookError when a sheet runs out of
// rows.
PlayerPassResult write_player_sheets(wb::Workbook& book, sheets::LetterSheets& letters,
                                     sheets::PlayerTotalsSheets& totals, const PlayerPassInput& input,
                                     Reporter& reporter);

}  // namespace tb::app
