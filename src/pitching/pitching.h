// Pitching rows of the letter sheets and the pitching totals sheets.
#pragma once

#include "app/run_state.h"

namespace tb::pitching {

using app::Phase;
using app::RunState;

// The 28 pitching column titles at Row; colours the name row above; Row + 1.
void Pitching_Header(RunState& s);
void PitchSumHeader(RunState& s, int32_t LineNo);

// Outs to the innings figure whose digit after the point counts outs.
void CALC_INNINGS(RunState& s);
double innings_of_outs(int64_t outs);

void Pitcher_Averages(RunState& s, int32_t SUBSCR);
void Pitcher_EntryLine(RunState& s, int32_t SUBSCR);

void Pitcher_Totals(RunState& s);
void Pitcher_TotalLine(RunState& s);
void PitchSumTotals(RunState& s, int32_t LineNo);

// The pitching totals of a phase: innings of the summed outs, the totals row
// on the letter sheet, the player's row on the phase's pitching totals sheet.
void Do_DualRec_P_Tot(RunState& s, Phase phase);

// Two-way players: the pitching block below the hitting block.
void Do_DualRec_P(RunState& s);
void Do_DualRec_Phase_P(RunState& s, Phase phase);
inline void Do_DualRec_LWC_P(RunState& s) { Do_DualRec_Phase_P(s, Phase::WCS); }
inline void Do_DualRec_LDS_P(RunState& s) { Do_DualRec_Phase_P(s, Phase::LDS); }
inline void Do_DualRec_LCS_P(RunState& s) { Do_DualRec_Phase_P(s, Phase::LCS); }
inline void Do_DualRec_WS_P(RunState& s) { Do_DualRec_Phase_P(s, Phase::WS); }

}  // namespace tb::pitching
