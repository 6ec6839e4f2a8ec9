// The pitching side of a two-way player: a complete pitching block below
// his hitting block, phase by phase.
#include "app/player_pass.h"
#include "hitting/hitting.h"
#include "pitching/pitching.h"

namespace tb::pitching {

void Do_DualRec_P(RunState& s) {
    const app::WorkList& items = s.list(Phase::Reg);
    const int32_t n = static_cast<int32_t>(items.size());
    for (s.ListPos = 1; s.ListPos <= n; ++s.ListPos) {
        const int32_t k = items[s.ListPos - 1];
        app::set_line_context(s, k);
        s.PlayerName = app::display_name(s.stats(k));
        // The pitching block gets its own name row, one row below the hitting
        // block; the hitting side may have left a totals sheet active.
        if (s.ListPos == 1) app::Open_Block(s, 25, false);
        s.Row += 1;
        s.OutsToConvert = s.stats(k).PitOuts;
        CALC_INNINGS(s);
        if (s.ListPos == 1) Pitching_Header(s);
        Pitcher_EntryLine(s, k);
    }
    s.SheetRow[s.SheetLetter] = s.Row + 1;
}

void Do_DualRec_Phase_P(RunState& s, Phase phase) {
    const auto& info = app::phase_info(phase);
    hitting::Reset_Totals(s);
    s.workbook.Activate(s.SheetLetter);
    const app::WorkList& items = s.list(phase);
    const int32_t n = static_cast<int32_t>(items.size());
    for (s.ListPos = 1; s.ListPos <= n; ++s.ListPos) {
        const int32_t k = items[s.ListPos - 1];
        app::set_line_context(s, k);
        s.Row += 1;
        s.OutsToConvert = s.stats(k).PitOuts;
        CALC_INNINGS(s);
        if (s.ListPos == 1) hitting::section_title(s, info.pitching_title, 20);
        Pitcher_EntryLine(s, k);
    }
}

}  // namespace tb::pitching
