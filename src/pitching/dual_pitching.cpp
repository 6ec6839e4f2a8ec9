// The pitching side of a two-way player: a complete pitching block below
// his hitting block, phase by phase.
#include "app/player_pass.h"
#include "hitting/hitting.h"
#include "pitching/pitching.h"

namespace tb::pitching {

// Sets the innings figure of line `k`, then writes it at the next row; the
// first line of a list gets the header or section title first.
template <class FirstLine>
void Pitching_Line(RunState& s, int32_t k, FirstLine first_line) {
    s.Row += 1;
    s.OutsToConvert = s.stats(k).PitOuts;
    CALC_INNINGS(s);
    if (s.ListPos == 1) first_line();
    Pitcher_EntryLine(s, k);
}

void Do_DualRec_P(RunState& s) {
    app::Walk_Items(s, Phase::Reg, [&](int32_t k) {
        s.PlayerName = app::display_name(s.stats(k));
        // The pitching block gets its own name row, one row below the hitting
        // block; the hitting side may have left a totals sheet active.
        if (s.ListPos == 1) app::Open_Block(s, 25, false);
        Pitching_Line(s, k, [&] { Pitching_Header(s); });
    });
    s.SheetRow[s.SheetLetter] = s.Row + 1;
}

void Do_DualRec_Phase_P(RunState& s, Phase phase) {
    hitting::Reset_Totals(s);
    s.workbook.Activate(s.SheetLetter);
    app::Walk_Items(s, phase, [&](int32_t k) {
        Pitching_Line(s, k, [&] { hitting::section_title(s, app::phase_info(phase).pitching_title, 20); });
    });
}

}  // namespace tb::pitching
