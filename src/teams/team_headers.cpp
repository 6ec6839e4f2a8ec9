#include "teams/team_headers.h"

#include <string_view>
#include <utility>

namespace tb::teams {

namespace {

// Outline, then red sides and bottom; the top edge keeps its default colour.
void red_box(wb::Workbook& wb, int c1, int c2, int32_t row) {
    wb::Range box = wb.block(c1, row, c2, row);
    outline(box);
    for (int edge : {wb::xlEdgeRight, wb::xlEdgeLeft, wb::xlEdgeBottom})
        box.Borders(edge).Color(wb::xlRed);
}

}  // namespace

void Do_Team_Rec_Headers(wb::Workbook& wb, TeamPassState& st, const LeagueTables& tables) {
    const auto color = tables.league_color(st.SectionLeagueId);

    if (st.TeamRow > 1) ++st.TeamRow;
    const int32_t r = st.TeamRow;
    wb.block(A, r, C, r).Merge();
    wb.cell(A, r).FontBold(true);
    wb.cell(A, r).FontSize(12);
    league_fill(wb.block(A, r, C, r), color);
    wb.cell(A, r).Value(st.SectionTeamName);
    outline(wb.block(A, r, C, r));

    ++st.TeamRow;
    const int32_t h = st.TeamRow;
    league_fill(wb.block(A, h, N, h), color);
    outline(wb.block(A, h, N, h));
    wb.block(A, h, N, h).FontBold(true);
    wb.cell(A, h).Value("League");
    wb.cell(B, h).Value("Division");
    wb.cell(D, h).Value("Year");
    wb.cell(H, h).Value("GB");
    wb.cell(I, h).Value("Finish");
    put_figure_titles(wb, h, kOnTeamRecords);
}

void Do_Team_Borders(wb::Workbook& wb, TeamPassState& st) {
    // A team with a single season row: the outline goes around that row.
    if (st.LastDataRow < st.FirstDataRow) st.LastDataRow = st.FirstDataRow;
    const int32_t f = st.FirstDataRow;
    const int32_t l = st.LastDataRow;
    const auto edges = [&](auto put) {
        put(wb.block(A, f, N, f).Borders(wb::xlEdgeTop));
        put(wb.block(A, f, N, l).Borders(wb::xlEdgeLeft));
        put(wb.block(A, f, N, l).Borders(wb::xlEdgeRight));
        put(wb.block(A, l, N, l).Borders(wb::xlEdgeBottom));
    };
    edges([](wb::Border b) { b.LineStyle(wb::xlContinuous); });
    edges([](wb::Border b) { b.Weight(wb::xlMedium); });
}

void Do_Team_Totals(wb::Workbook& wb, TeamPassState& st) {
    ++st.TeamRow;
    const int32_t t = st.TeamRow;
    red_box(wb, E, G, t);
    red_box(wb, J, N, t);
    st.LinePct = put_figures(wb, t, kOnTeamRecords, st.Totals.figures());
}

void TeamSumHeaders(wb::Workbook& wb, int32_t PLine) {
    wb.cell(C, PLine).Value("Team");
    put_figure_titles(wb, PLine, kOnRegTotals);
    wb.block(C, PLine, K, PLine).InteriorColorIndex(kTeamTotalsHeaderColor);
}

void TeamSumTotals(wb::Workbook& wb, TeamPassState& st, const LeagueTables& tables, int32_t PLine) {
    const int32_t p = PLine;
    st.LinePct = put_figures(wb, p, kOnRegTotals, st.Totals.figures());
    wb.cell(C, p).Value(st.SumTeamName);
    league_fill(wb.block(C, p, K, p), tables.league_color(st.SectionLeagueId));
}

void TeamSumBorders(wb::Workbook& wb, int32_t PLine) {
    wb::Range block = wb.block(C, 1, K, PLine);
    for (int edge : {wb::xlEdgeTop, wb::xlEdgeLeft, wb::xlEdgeRight, wb::xlEdgeBottom}) {
        block.Borders(edge).LineStyle(wb::xlContinuous);
        block.Borders(edge).Weight(wb::xlMedium);
    }
}

}  // namespace tb::teams
