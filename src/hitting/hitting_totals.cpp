// Hitting totals rows: the "Totals" row closing a phase on the letter sheet
// and the player's row on the phase's hitting totals sheet.
#include "hitting/hitting.h"

#include <array>

namespace tb::hitting {

namespace {
constexpr int A = 0, B = 1, D = 3, F = 5, G = 6, X = 23, Y = 24;

const std::array<const char*, 24> kSumTitles = {
    "Player", "Last Yr", "BAVG", "OBP", "SPC", "OPS", "PA", "AB", "H", "2B", "3B", "HR",
    "R", "RBI", "HBP", "BB", "IBB", "K", "SB", "CS", "SH", "SF", "GDP", "TB"};

// The counted totals in column order, from PA to TB.
std::array<int64_t, 18> counted(const app::HitTotals& t) {
    return {t.PA, t.AB, t.H, t.Doubles, t.Triples, t.HR, t.R, t.RBI, t.HBP,
            t.BB, t.IBB, t.K, t.SB, t.CS, t.SH, t.SF, t.GIDP, t.TB};
}
}  // namespace

void Reset_Totals(RunState& s) {
    s.hit = {};
    s.pitch = {};
}

void totals_row_borders(RunState& s, int last_col) {
    auto& W = s.workbook;
    const int32_t r = s.Row;
    W.block(A, r, last_col, r).Borders(wb::xlEdgeTopOfRange).Weight(wb::xlMedium);
    W.block(B, r, last_col, r).Borders(wb::xlEdgeBottom).Weight(wb::xlMedium);
    W.block(B, r, last_col, r).Borders(wb::xlEdgeBottom).Color(wb::xlRed);
    W.block(B, r, last_col, r).Borders(wb::xlEdgeRight).Weight(wb::xlMedium);
    W.block(B, r, last_col, r).Borders(wb::xlEdgeLeft).Weight(wb::xlMedium);
    W.block(B, r, last_col, r).Borders(wb::xlEdgeLeft).Color(wb::xlRed);
    W.block(B, r, last_col, r).Borders(wb::xlEdgeRight).Color(wb::xlRed);
}

void Hitter_Totals(RunState& s) {
    const auto& t = s.hit;
    if (t.AB < 1) {
        s.HitBAVG = 0;
        s.HitSPC = 0;
    } else {
        s.HitBAVG = wb::format_000_value(static_cast<double>(t.H) / static_cast<double>(t.AB));
        s.HitSPC = wb::format_000_value(static_cast<double>(t.TB) / static_cast<double>(t.AB));
    }
    s.HitOBP = t.PA >= 1 ? wb::format_000_value(static_cast<double>(t.OB) / static_cast<double>(t.PA)) : 0;
}

void Hitter_TotalLine(RunState& s) {
    auto& W = s.workbook;
    const int32_t r = s.Row;
    Hitter_Totals(s);
    const double ops = s.HitSPC + s.HitOBP;  // both terms already rounded
    W.cell(A, r).Value(" ");
    W.cell(B, r).Value("Totals");
    W.cell(3, r).Value(s.HitBAVG);
    W.cell(4, r).Value(s.HitOBP);
    W.cell(5, r).Value(s.HitSPC);
    W.cell(6, r).Value(ops);
    for (int c = D; c <= G; ++c) W.cell(c, r).NumberFormat("#.000");
    int col = 7;  // H
    for (int64_t v : counted(s.hit)) W.cell(col++, r).Value(v);

    totals_row_borders(s, Y);
}

void HitSumHeader(RunState& s, int32_t LineNo) {
    put_titles(s, LineNo, kSumTitles);
}

void HitSumTotals(RunState& s, int32_t LineNo) {
    auto& W = s.workbook;
    const int32_t n = LineNo;
    W.cell(A, n).Value(s.PlayerName);
    W.cell(B, n).Value(s.LastYear);
    W.cell(2, n).Value(s.HitBAVG);
    W.cell(3, n).Value(s.HitOBP);
    W.cell(4, n).Value(s.HitSPC);
    W.cell(5, n).Value(s.HitSPC + s.HitOBP);
    for (int c = 2; c <= F; ++c) W.cell(c, n).NumberFormat("#.000");
    int col = 6;  // G
    for (int64_t v : counted(s.hit)) W.cell(col++, n).Value(v);
    for (int edge : {wb::xlEdgeTopOfRange, wb::xlEdgeBottom, wb::xlEdgeRight, wb::xlEdgeLeft})
        W.block(A, n, X, n).Borders(edge).Weight(wb::xlMedium);
}

void Do_DualRec_H_Tot(RunState& s, Phase phase) {
    const auto& info = app::phase_info(phase);
    s.Row += 1;
    Hitter_TotalLine(s);
    s.Row += 1;
    HitSumTotals(s, app::next_totals_row(s, info.hitting_sheet, s.counters.*info.hitting_counter, HitSumHeader));
}

}  // namespace tb::hitting
