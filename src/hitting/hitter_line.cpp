// One season line of a hitter and the running hitting totals.
#include "hitting/hitting.h"

namespace tb::hitting {

namespace {
constexpr int A = 0, D = 3, G = 6, Y = 24;

void put_or_empty_age(wb::Workbook& W, int col, int32_t row, const std::optional<int32_t>& age) {
    // A player without a birth date shows no age rather than a made-up one.
    if (age) W.cell(col, row).Value(*age);
}
}  // namespace

void line_sides(RunState& s, int last_col) {
    s.workbook.block(A, s.Row, last_col, s.Row).Borders(wb::xlEdgeRight).Weight(wb::xlMedium);
    s.workbook.block(A, s.Row, last_col, s.Row).Borders(wb::xlEdgeLeft).Weight(wb::xlMedium);
}

void Hitter_Averages(RunState& s, int32_t SUBSCR) {
    const auto& rec = s.stats(SUBSCR);
    if (rec.HitAB > 0) {
        s.HitBAVG = wb::format_000_value(static_cast<double>(rec.HitHits) / rec.HitAB);
        s.HitSPC = wb::format_000_value(static_cast<double>(s.LineTB) / rec.HitAB);
    } else {
        s.HitBAVG = 0;
        s.HitSPC = 0;
    }
    s.HitOBP = s.LinePA > 0 ? wb::format_000_value(static_cast<double>(s.LineOB) / s.LinePA) : 0;
}

void Hitter_EntryLine(RunState& s, int32_t SUBSCR) {
    const auto& rec = s.stats(SUBSCR);
    auto& W = s.workbook;
    const int32_t r = s.Row;

    s.LineOB = rec.HitHBP + rec.HitWalks + rec.HitHits;
    s.LinePA = rec.HitWalks + rec.HitAB + rec.HitHBP + rec.HitSF;
    s.LineTB = rec.HitDoubles + rec.HitHits + 2 * rec.HitTriples + 3 * rec.HitHR;
    Hitter_Averages(s, SUBSCR);
    const double ops = wb::format_000_value(s.HitSPC + s.HitOBP);

    W.cell(0, r).Value(static_cast<int32_t>(rec.SeasonYear));
    W.cell(1, r).Value(s.LineTeamAbbrev);
    put_or_empty_age(W, 2, r, s.Age);
    W.cell(3, r).Value(s.HitBAVG);
    W.cell(4, r).Value(s.HitOBP);
    W.cell(5, r).Value(s.HitSPC);
    W.cell(6, r).Value(ops);
    for (int c = D; c <= G; ++c) W.cell(c, r).NumberFormat("#.000");

    const int32_t counts[] = {s.LinePA, rec.HitAB, rec.HitHits, rec.HitDoubles, rec.HitTriples,
                              rec.HitHR, rec.HitRuns, rec.HitRBI, rec.HitHBP, rec.HitWalks,
                              rec.HitIntWalks, rec.HitStrikeouts, rec.HitSB, rec.HitCS, rec.HitSH,
                              rec.HitSF, rec.HitGIDP, s.LineTB};
    int col = 7;  // H
    for (int32_t v : counts) W.cell(col++, r).Value(v);

    line_sides(s, Y);
    s.LastYear = rec.SeasonYear;

    auto& t = s.hit;
    t.AB += rec.HitAB;
    t.H += rec.HitHits;
    t.Doubles += rec.HitDoubles;
    t.Triples += rec.HitTriples;
    t.HR += rec.HitHR;
    t.R += rec.HitRuns;
    t.RBI += rec.HitRBI;
    t.HBP += rec.HitHBP;
    t.BB += rec.HitWalks;
    t.K += rec.HitStrikeouts;
    t.SB += rec.HitSB;
    t.CS += rec.HitCS;
    t.SH += rec.HitSH;
    t.SF += rec.HitSF;
    t.PA += s.LinePA;
    t.OB += s.LineOB;
    t.TB += s.LineTB;
    t.GIDP += rec.HitGIDP;
    t.IBB += rec.HitIntWalks;
    ++s.lines_written;
}

}  // namespace tb::hitting
