#include "teams/team_headers.h"

#include <string_view>
#include <utility>

namespace tb::teams {

namespace {

void put_texts(wb::Workbook& wb, int32_t row,
               std::initializer_list<std::pair<std::string_view, std::string_view>> texts) {
    for (const auto& [column, text] : texts) wb.range(cell_address(column, row)).Value(text);
}

// Outline, then red sides and bottom; the top edge keeps its default colour.
void red_box(wb::Workbook& wb, std::string_view c1, std::string_view c2, int32_t row) {
    wb::Range box = wb.range(range_address(c1, row, c2, row));
    outline(box);
    for (int edge : {wb::xlEdgeRight, wb::xlEdgeLeft, wb::xlEdgeBottom})
        box.Borders(edge).Color(wb::xlRed);
}

}  // namespace

void Do_Team_Rec_Headers(wb::Workbook& wb, TeamPassState& st, const LeagueTables& tables) {
    const auto color = tables.league_color(st.SectionLeagueId);

    if (st.TeamRow > 1) ++st.TeamRow;
    const int32_t r = st.TeamRow;
    wb.range(range_address("A", r, "C", r)).Merge();
    wb.range(cell_address("A", r)).FontBold(true);
    wb.range(cell_address("A", r)).FontSize(12);
    league_fill(wb.range(range_address("A", r, "C", r)), color);
    wb.range(cell_address("a", r)).Value(st.SectionTeamName);
    outline(wb.range(range_address("A", r, "C", r)));

    ++st.TeamRow;
    const int32_t h = st.TeamRow;
    league_fill(wb.range(range_address("A", h, "N", h)), color);
    outline(wb.range(range_address("A", h, "N", h)));
    wb.range(range_address("A", h, "N", h)).FontBold(true);
    put_texts(wb, h,
              {{"A", "League"}, {"B", "Division"}, {"D", "Year"}, {"E", "Won"}, {"F", "Lost"},
               {"G", "Pct"}, {"H", "GB"}, {"I", "Finish"}, {"J", "Scored"}, {"K", "Allowed"},
               {"L", "SHO"}, {"M", "GDP"}, {"N", "LOB"}});
}

void Do_Team_Borders(wb::Workbook& wb, TeamPassState& st) {
    // A team with a single season row: the outline goes around that row.
    if (st.LastDataRow < st.FirstDataRow) st.LastDataRow = st.FirstDataRow;
    const int32_t f = st.FirstDataRow;
    const int32_t l = st.LastDataRow;
    const std::string top = range_address("A", f, "N", f);
    const std::string block = range_address("A", f, "N", l);
    const std::string bottom = range_address("A", l, "N", l);
    const std::pair<const std::string*, int> edges[] = {
        {&top, wb::xlEdgeTop}, {&block, wb::xlEdgeLeft}, {&block, wb::xlEdgeRight},
        {&bottom, wb::xlEdgeBottom}};
    for (const auto& [address, edge] : edges) wb.range(*address).Borders(edge).LineStyle(wb::xlContinuous);
    for (const auto& [address, edge] : edges) wb.range(*address).Borders(edge).Weight(wb::xlMedium);
}

void Do_Team_Totals(wb::Workbook& wb, TeamPassState& st) {
    ++st.TeamRow;
    const int32_t t = st.TeamRow;
    red_box(wb, "E", "G", t);
    red_box(wb, "J", "N", t);

    const TeamTotals& tot = st.Totals;
    st.LinePct = put_record_figures(
        wb, t, {tot.TotWon, tot.TotLost, tot.TotScored, tot.TotAllowed, tot.TotSHO, tot.TotGDP, tot.TotLOB});
}

void TeamSumHeaders(wb::Workbook& wb, int32_t PLine) {
    put_texts(wb, PLine,
              {{"C", "Team"}, {"F", "Pct"}, {"D", "Won"}, {"E", "Lost"}, {"G", "Scored"},
               {"H", "Allowed"}, {"I", "SHO"}, {"J", "GDP"}, {"K", "LOB"}});
    wb.range(range_address("C", PLine, "K", PLine)).InteriorColorIndex(kTeamTotalsHeaderColor);
}

void TeamSumTotals(wb::Workbook& wb, TeamPassState& st, const LeagueTables& tables, int32_t PLine) {
    const int32_t p = PLine;
    const TeamTotals& tot = st.Totals;
    st.LinePct = win_rate(tot.TotWon, tot.TotLost);
    wb.range(cell_address("F", p)).NumberFormat("#.000");
    wb.range(cell_address("D", p)).Value(tot.TotWon);
    wb.range(cell_address("E", p)).Value(tot.TotLost);
    wb.range(cell_address("F", p)).Value(st.LinePct);
    wb.range(cell_address("G", p)).Value(tot.TotScored);
    wb.range(cell_address("H", p)).Value(tot.TotAllowed);
    wb.range(cell_address("I", p)).Value(tot.TotSHO);
    wb.range(cell_address("J", p)).Value(tot.TotGDP);
    wb.range(cell_address("K", p)).Value(tot.TotLOB);
    wb.range(cell_address("C", p)).Value(st.SumTeamName);
    league_fill(wb.range(range_address("C", p, "K", p)), tables.league_color(st.SectionLeagueId));
}

void TeamSumBorders(wb::Workbook& wb, int32_t PLine) {
    wb::Range block = wb.range(range_address("C", 1, "K", PLine));
    for (int edge : {wb::xlEdgeTop, wb::xlEdgeLeft, wb::xlEdgeRight, wb::xlEdgeBottom}) {
        block.Borders(edge).LineStyle(wb::xlContinuous);
        block.Borders(edge).Weight(wb::xlMedium);
    }
}

}  // namespace tb::teams
