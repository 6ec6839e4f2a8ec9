// Pitching totals rows: the "Totals" row closing a phase on the letter sheet
// and the player's row on the phase's pitching totals sheet.
#include "pitching/pitching.h"

#include "hitting/hitting.h"

namespace tb::pitching {

namespace {
constexpr int A = 0, B = 1, AA = 26, AB = 27;

// Writes the totals figures of one row starting at column `c` (ERA's column).
void put_totals(RunState& s, int32_t r, int c, const char* innings_format) {
    auto& W = s.workbook;
    const auto& t = s.pitch;
    W.cell(c, r).Value(s.PitchERA);
    W.cell(c, r).NumberFormat("##0.00");
    W.cell(c + 1, r).Value(t.W);
    W.cell(c + 2, r).Value(t.L);
    W.cell(c + 3, r).Value(s.PitchPCT);
    W.cell(c + 3, r).NumberFormat("#.000");
    const int64_t middle[] = {t.SV, t.HLD, t.BLS, t.G, t.GS, t.CG, t.SHO};
    int col = c + 4;
    for (int64_t v : middle) W.cell(col++, r).Value(v);
    W.cell(col, r).Value(s.InningsPitched);
    W.cell(col, r).NumberFormat(innings_format);
    ++col;
    W.cell(col++, r).Value(t.BF);
    W.cell(col++, r).Value(t.AB);
    W.cell(col++, r).Value(t.H);
    W.cell(col, r).Value(s.PitchOBA);
    W.cell(col, r).NumberFormat("#.000");
    ++col;
    const int64_t rest[] = {t.R, t.ER, t.BB, t.IBB, t.K, t.HR, t.GDP, t.WP, t.BK};
    for (int64_t v : rest) W.cell(col++, r).Value(v);
}
}  // namespace

void Pitcher_Totals(RunState& s) {
    const auto& t = s.pitch;
    s.PitchOBA = t.AB < 1 ? 0 : wb::format_000_value(static_cast<double>(t.H) / static_cast<double>(t.AB));
    if (t.Outs < 1)
        s.PitchERA = t.ER < 1 ? 0 : 999.99;
    else
        s.PitchERA = wb::format_000_value(static_cast<double>(t.ER) / (static_cast<double>(t.Outs) / 27.0));
    s.PitchPCT = (t.W < 1 && t.L < 1)
                     ? 0
                     : wb::format_000_value(static_cast<double>(t.W) / static_cast<double>(t.W + t.L));
}

void Pitcher_TotalLine(RunState& s) {
    auto& W = s.workbook;
    const int32_t r = s.Row;
    Pitcher_Totals(s);
    W.cell(A, r).Value(" ");
    W.cell(B, r).Value("Totals");
    put_totals(s, r, 3, "0.0");
    hitting::totals_row_borders(s, AB);
}

void PitchSumTotals(RunState& s, int32_t LineNo) {
    auto& W = s.workbook;
    const int32_t n = LineNo;
    W.cell(A, n).Value(s.PlayerName);
    W.cell(B, n).Value(s.LastYear);
    put_totals(s, n, 2, "#0.0");
    for (int edge : {wb::xlEdgeTopOfRange, wb::xlEdgeBottom, wb::xlEdgeRight, wb::xlEdgeLeft})
        W.block(A, n, AA, n).Borders(edge).Weight(wb::xlMedium);
}

void Do_DualRec_P_Tot(RunState& s, Phase phase) {
    const auto& info = app::phase_info(phase);
    s.OutsToConvert = s.pitch.Outs;
    CALC_INNINGS(s);
    s.Row += 1;
    Pitcher_TotalLine(s);
    s.Row += 1;
    PitchSumTotals(s, app::next_totals_row(s, info.pitching_sheet, s.counters.*info.pitching_counter,
                                           PitchSumHeader));
}

}  // namespace tb::pitching
