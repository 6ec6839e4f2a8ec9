// The hitting side of a two-way player: his whole hitting block, phase by
// phase, walked from the work lists.
#include "app/player_pass.h"
#include "hitting/hitting.h"

namespace tb::hitting {

void Do_DualRec_H(RunState& s) {
    const app::WorkList& items = s.list(Phase::Reg);
    const int32_t n = static_cast<int32_t>(items.size());
    for (s.ListPos = 1; s.ListPos <= n; ++s.ListPos) {
        const int32_t k = items[s.ListPos - 1];
        app::set_line_context(s, k);
        s.PlayerName = app::display_name(s.stats(k));
        if (s.ListPos == 1 && !s.block_open) app::Open_Block(s, 25, true);
        s.Row += 1;
        if (s.ListPos == 1) Hitting_Header(s);
        Hitter_EntryLine(s, k);
    }
}

void Do_DualRec_Phase_H(RunState& s, Phase phase) {
    const auto& info = app::phase_info(phase);
    Reset_Totals(s);
    s.workbook.Activate(s.SheetLetter);
    const app::WorkList& items = s.list(phase);
    const int32_t n = static_cast<int32_t>(items.size());
    for (s.ListPos = 1; s.ListPos <= n; ++s.ListPos) {
        const int32_t k = items[s.ListPos - 1];
        app::set_line_context(s, k);
        s.Row += 1;
        if (s.ListPos == 1) section_title(s, info.hitting_title, 19);
        Hitter_EntryLine(s, k);
    }
}

}  // namespace tb::hitting
