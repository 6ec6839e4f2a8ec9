// Hitting rows of the letter sheets and the hitting totals sheets.
#pragma once

#include "app/run_state.h"

#include <array>
#include <string_view>

namespace tb::hitting {

using app::Phase;
using app::RunState;

// Name row of a block at Row: name over A..E, player number over R..Y.
void Name_Header(RunState& s);
void HEADER_BORDER(RunState& s);
// The 25 hitting column titles at Row; colours the name row above; Row + 1.
void Hitting_Header(RunState& s);
// Borders of a section title row at Row.
void postseason_border(RunState& s);
// Section title row of a post-season section, one row above Row (which is
// where the section's first line goes); colour 19 hitting, 20 pitching.
void section_title(RunState& s, std::string_view title, int color_index);

// Pieces both the hitting and the pitching rows are made of, on the
// active sheet at Row (or at `row`), over columns A..`last_col`.
// Column titles from A on, each right-aligned.
template <std::size_t N>
void put_titles(RunState& s, int32_t row, const std::array<const char*, N>& titles) {
    for (std::size_t n = 0; n < N; ++n) {
        s.workbook.cell(static_cast<int>(n), row).Value(titles[n]);
        s.workbook.cell(static_cast<int>(n), row).HorizontalAlignment(wb::xlRight);
    }
}
// The medium sides of a season line, which stack into one frame.
void line_sides(RunState& s, int last_col);
// A "Totals" row: a medium line over A..last, a medium red frame around B..last.
void totals_row_borders(RunState& s, int last_col);

void Hitter_Averages(RunState& s, int32_t SUBSCR);
void Hitter_EntryLine(RunState& s, int32_t SUBSCR);

void Reset_Totals(RunState& s);
void Hitter_Totals(RunState& s);
void Hitter_TotalLine(RunState& s);
void HitSumHeader(RunState& s, int32_t LineNo);
void HitSumTotals(RunState& s, int32_t LineNo);

// The hitting totals of a phase: the totals row on the letter sheet, then
// the player's row on the phase's hitting totals sheet (left active).
void Do_DualRec_H_Tot(RunState& s, Phase phase);

// Two-way players: the regular-season hitting lines (opening the block when
// it is not open yet) and the post-season sections.
void Do_DualRec_H(RunState& s);
void Do_DualRec_Phase_H(RunState& s, Phase phase);
inline void Do_DualRec_LWC_H(RunState& s) { Do_DualRec_Phase_H(s, Phase::WCS); }
inline void Do_DualRec_LDS_H(RunState& s) { Do_DualRec_Phase_H(s, Phase::LDS); }
inline void Do_DualRec_LCS_H(RunState& s) { Do_DualRec_Phase_H(s, Phase::LCS); }
inline void Do_DualRec_WS_H(RunState& s) { Do_DualRec_Phase_H(s, Phase::WS); }

}  // namespace tb::hitting
