// The hitting side of a two-way player: his whole hitting block, phase by
// phase, walked from the work lists.
#include "app/player_pass.h"
#include "hitting/hitting.h"

namespace tb::hitting {

void Do_DualRec_H(RunState& s) {
    app::Walk_Items(s, Phase::Reg, [&](int32_t k) {
        s.PlayerName = app::display_name(s.stats(k));
        if (s.ListPos == 1 && !s.block_open) app::Open_Block(s, 25, true);
        s.Row += 1;
        if (s.ListPos == 1) Hitting_Header(s);
        Hitter_EntryLine(s, k);
    });
}

void Do_DualRec_Phase_H(RunState& s, Phase phase) {
    Reset_Totals(s);
    s.workbook.Activate(s.SheetLetter);
    app::Walk_Items(s, phase, [&](int32_t k) {
        s.Row += 1;
        if (s.ListPos == 1) section_title(s, app::phase_info(phase).hitting_title, 19);
        Hitter_EntryLine(s, k);
    });
}

}  // namespace tb::hitting
