// Name row, hitting column titles and section title rows of a player block.
#include "hitting/hitting.h"

#include <array>

namespace tb::hitting {

namespace {
constexpr int A = 0, C = 2, E = 4, R = 17, Y = 24;

const std::array<const char*, 25> kHittingTitles = {
    "Year", "Team", "Age", "BAVG", "OBP", "SPC", "OPS", "PA", "AB", "H", "2B", "3B", "HR",
    "R", "RBI", "HBP", "BB", "IBB", "K", "SB", "CS", "SH", "SF", "GIDP", "TB"};
}  // namespace

void Name_Header(RunState& s) {
    auto& W = s.workbook;
    const int32_t r = s.Row;
    W.block(A, r, E, r).Merge();
    W.cell(A, r).Value(s.PlayerName);
    W.block(R, r, Y, r).Merge();
    W.cell(R, r).Value(s.CurPlayerId);
    W.block(A, r, Y, r).FontBold(true);
    W.block(A, r, Y, r).FontSize(12);
    HEADER_BORDER(s);
}

void HEADER_BORDER(RunState& s) {
    auto& W = s.workbook;
    const int32_t r = s.Row;
    W.block(A, r, E, r).Borders(wb::xlEdgeTop).LineStyle(wb::xlContinuous);
    W.block(A, r, E, r).Borders(wb::xlEdgeLeft).LineStyle(wb::xlContinuous);
    W.block(A, r, E, r).Borders(wb::xlEdgeRight).LineStyle(wb::xlContinuous);
    W.block(R, r, Y, r).Borders(wb::xlEdgeTop).LineStyle(wb::xlContinuous);
    W.block(R, r, Y, r).Borders(wb::xlEdgeLeft).LineStyle(wb::xlContinuous);
    W.block(R, r, Y, r).Borders(wb::xlEdgeRight).LineStyle(wb::xlContinuous);
    W.block(A, r, Y, r).Borders(wb::xlEdgeBottom).LineStyle(wb::xlContinuous);
    W.block(A, r, E, r).Borders(wb::xlEdgeTop).Weight(wb::xlMedium);
    W.block(A, r, E, r).Borders(wb::xlEdgeLeft).Weight(wb::xlMedium);
    W.block(A, r, E, r).Borders(wb::xlEdgeRight).Weight(wb::xlMedium);
    W.block(R, r, Y, r).Borders(wb::xlEdgeTop).Weight(wb::xlMedium);
    W.block(R, r, Y, r).Borders(wb::xlEdgeLeft).Weight(wb::xlMedium);
    W.block(R, r, Y, r).Borders(wb::xlEdgeRight).Weight(wb::xlMedium);
    W.block(A, r, Y, r).Borders(wb::xlEdgeBottom).Weight(wb::xlMedium);
}

void Hitting_Header(RunState& s) {
    auto& W = s.workbook;
    const int32_t r = s.Row;
    put_titles(s, r, kHittingTitles);
    for (int edge : {wb::xlEdgeTop, wb::xlEdgeLeft, wb::xlEdgeRight, wb::xlEdgeBottom})
        W.block(A, r, Y, r).Borders(edge).LineStyle(wb::xlContinuous);
    for (int edge : {wb::xlEdgeTop, wb::xlEdgeLeft, wb::xlEdgeRight, wb::xlEdgeBottom})
        W.block(A, r, Y, r).Borders(edge).Weight(wb::xlMedium);
    W.block(A, r, Y, r).InteriorColorIndex(19);
    W.block(A, r - 1, E, r - 1).InteriorColorIndex(19);
    W.block(R, r - 1, Y, r - 1).InteriorColorIndex(19);
    s.Row = r + 1;
}

void postseason_border(RunState& s) {
    auto& W = s.workbook;
    const int32_t r = s.Row;
    auto edges = [&](auto put) {
        put(W.block(A, r, C, r).Borders(wb::xlEdgeTop));
        put(W.block(A, r, C, r).Borders(wb::xlEdgeLeft));
        put(W.block(A, r, C, r).Borders(wb::xlEdgeRight));
        put(W.block(A, r, Y, r).Borders(wb::xlEdgeBottom));
    };
    edges([](wb::Border b) { b.LineStyle(wb::xlContinuous); });
    edges([](wb::Border b) { b.Weight(wb::xlMedium); });
}

void section_title(RunState& s, std::string_view title, int color_index) {
    auto& W = s.workbook;
    s.Row -= 1;
    const int32_t r = s.Row;
    W.block(A, r, C, r).Merge();
    W.cell(A, r).Value(title);
    W.cell(A, r).FontBold(true);
    W.cell(A, r).InteriorColorIndex(color_index);
    postseason_border(s);
    s.Row += 1;
}

}  // namespace tb::hitting
