// The player pass: every player's lines sorted into the season phases and
// written on his letter sheet and on the totals sheets.
#pragma once

#include "app/run_state.h"

#include <string>
#include <string_view>

namespace tb::app {

// Lists the players of the statistics lines read into the run state by
// display name and writes them one by one. Returns false when cancelled.
bool Player_Pass(RunState& s);

// Opens the current player's block: works out his letter sheet from
// PlayerName; when another sheet is active, autofits its columns A through
// `autofit_last_col` and activates the letter sheet (creating "#" when it is
// first needed); when `from_sheet_row`, Row = the sheet's next free row;
// shows the name and writes the name row at Row.
void Open_Block(RunState& s, int autofit_last_col, bool from_sheet_row);

// The letter sheet of a display name: its first letter, upper-cased, with
// accents folded to the base letter ("de Aza" -> "D", "Élan" -> "E"); "#"
// for a name that does not start with a letter A-Z after folding.
std::string letter_sheet_of(std::string_view display_name);

// Walks a phase's work list from its first item, as the pass and the
// two-way routines do: ListPos runs 1..n, and each line's team and age are
// set before `write_line(record_number)`.
template <class WriteLine>
void Walk_Items(RunState& s, Phase phase, WriteLine write_line) {
    const WorkList& items = s.list(phase);
    const auto n = static_cast<int32_t>(items.size());
    for (s.ListPos = 1; s.ListPos <= n; ++s.ListPos) {
        const int32_t k = items[static_cast<std::size_t>(s.ListPos) - 1];
        set_line_context(s, k);
        write_line(k);
    }
}

// The line walk of a phase's work list by the pass (regular season or a
// post-season phase). Returns the StatKind of the last line walked.
int Walk_List(RunState& s, Phase phase);

}  // namespace tb::app
