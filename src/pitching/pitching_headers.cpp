// Pitching column titles of a player block and of the pitching totals sheets.
#include "pitching/pitching.h"

#include "hitting/hitting.h"

#include <array>

namespace tb::pitching {

namespace {
constexpr int A = 0, E = 4, R = 17, Y = 24, AB = 27;

const std::array<const char*, 28> kPitchingTitles = {
    "Year", "Team", "Age", "ERA", "W", "L", "PCT", "SV", "HLD", "BLS", "G", "GS", "CG", "SHO",
    "IP", "BF", "AB", "H", "OBA", "R", "ER", "BB", "IBB", "K", "HR", "GDP", "WP", "BK"};

const std::array<const char*, 27> kSumTitles = {
    "Player", "Last Yr", "ERA", "W", "L", "PCT", "SV", "HLD", "BLS", "G", "GS", "CG", "SHO",
    "IP", "BF", "AB", "H", "OBA", "R", "ER", "BB", "IBB", "K", "HR", "GDP", "WP", "BK"};
}  // namespace

void Pitching_Header(RunState& s) {
    auto& W = s.workbook;
    const int32_t r = s.Row;
    hitting::put_titles(s, r, kPitchingTitles);
    for (int edge : {wb::xlEdgeTop, wb::xlEdgeLeft, wb::xlEdgeRight, wb::xlEdgeBottom})
        W.block(A, r, AB, r).Borders(edge).Weight(wb::xlMedium);
    W.block(A, r, AB, r).InteriorColorIndex(20);
    W.block(A, r - 1, E, r - 1).InteriorColorIndex(20);
    W.block(R, r - 1, Y, r - 1).InteriorColorIndex(20);
    s.Row = r + 1;
}

void PitchSumHeader(RunState& s, int32_t LineNo) {
    hitting::put_titles(s, LineNo, kSumTitles);
}

}  // namespace tb::pitching
