#include "sheets/player_block.h"

namespace tb::sheets {

namespace {
constexpr int A = 0, B = 1, C = 2, E = 4, R = 17, Y = 24;
}

void Name_Header(wb::Workbook& W, int32_t r, std::string_view name, int32_t player_id) {
    W.block(A, r, E, r).Merge();
    W.cell(A, r).Value(name);
    W.block(R, r, Y, r).Merge();
    W.cell(R, r).Value(player_id);
    W.block(A, r, Y, r).FontBold(true);
    W.block(A, r, Y, r).FontSize(12);
    HEADER_BORDER(W, r);
}

void HEADER_BORDER(wb::Workbook& W, int32_t r) {
    // Line styles first, then weights, edge by edge, as the frame is drawn.
    for (auto put : {+[](wb::Border b) { b.LineStyle(wb::xlContinuous); },
                     +[](wb::Border b) { b.Weight(wb::xlMedium); }}) {
        for (int edge : {wb::xlEdgeTop, wb::xlEdgeLeft, wb::xlEdgeRight}) put(W.block(A, r, E, r).Borders(edge));
        for (int edge : {wb::xlEdgeTop, wb::xlEdgeLeft, wb::xlEdgeRight}) put(W.block(R, r, Y, r).Borders(edge));
        put(W.block(A, r, Y, r).Borders(wb::xlEdgeBottom));
    }
}

void put_titles(wb::Workbook& W, int32_t row, const std::vector<std::string_view>& titles) {
    for (std::size_t n = 0; n < titles.size(); ++n) {
        W.cell(static_cast<int>(n), row).Value(titles[n]);
        W.cell(static_cast<int>(n), row).HorizontalAlignment(wb::xlRight);
    }
}

void column_titles(wb::Workbook& W, int32_t r, const std::vector<std::string_view>& titles, int color_index,
                   bool line_style) {
    const int last = static_cast<int>(titles.size()) - 1;
    put_titles(W, r, titles);
    const int edges[] = {wb::xlEdgeTop, wb::xlEdgeLeft, wb::xlEdgeRight, wb::xlEdgeBottom};
    if (line_style)
        for (int edge : edges) W.block(A, r, last, r).Borders(edge).LineStyle(wb::xlContinuous);
    for (int edge : edges) W.block(A, r, last, r).Borders(edge).Weight(wb::xlMedium);
    W.block(A, r, last, r).InteriorColorIndex(color_index);
    W.block(A, r - 1, E, r - 1).InteriorColorIndex(color_index);
    W.block(R, r - 1, Y, r - 1).InteriorColorIndex(color_index);
}

void season_line_lead(wb::Workbook& W, int32_t r, int32_t year, std::string_view team, std::optional<int32_t> age) {
    W.cell(A, r).Value(year);
    W.cell(B, r).Value(team);
    if (age) W.cell(C, r).Value(*age);
}

void totals_line_lead(wb::Workbook& W, int32_t r) {
    W.cell(A, r).Value(" ");
    W.cell(B, r).Value("Totals");
}

void line_sides(wb::Workbook& W, int32_t row, int last_col) {
    W.block(A, row, last_col, row).Borders(wb::xlEdgeRight).Weight(wb::xlMedium);
    W.block(A, row, last_col, row).Borders(wb::xlEdgeLeft).Weight(wb::xlMedium);
}

void totals_row_borders(wb::Workbook& W, int32_t r, int last_col) {
    W.block(A, r, last_col, r).Borders(wb::xlEdgeTopOfRange).Weight(wb::xlMedium);
    W.block(B, r, last_col, r).Borders(wb::xlEdgeBottom).Weight(wb::xlMedium);
    W.block(B, r, last_col, r).Borders(wb::xlEdgeBottom).Color(wb::xlRed);
    W.block(B, r, last_col, r).Borders(wb::xlEdgeRight).Weight(wb::xlMedium);
    W.block(B, r, last_col, r).Borders(wb::xlEdgeLeft).Weight(wb::xlMedium);
    W.block(B, r, last_col, r).Borders(wb::xlEdgeLeft).Color(wb::xlRed);
    W.block(B, r, last_col, r).Borders(wb::xlEdgeRight).Color(wb::xlRed);
}

void postseason_border(wb::Workbook& W, int32_t r) {
    auto edges = [&](auto put) {
        put(W.block(A, r, C, r).Borders(wb::xlEdgeTop));
        put(W.block(A, r, C, r).Borders(wb::xlEdgeLeft));
        put(W.block(A, r, C, r).Borders(wb::xlEdgeRight));
        put(W.block(A, r, Y, r).Borders(wb::xlEdgeBottom));
    };
    edges([](wb::Border b) { b.LineStyle(wb::xlContinuous); });
    edges([](wb::Border b) { b.Weight(wb::xlMedium); });
}

void section_title(wb::Workbook& W, int32_t r, std::string_view title, int color_index) {
    W.block(A, r, C, r).Merge();
    W.cell(A, r).Value(title);
    W.cell(A, r).FontBold(true);
    W.cell(A, r).InteriorColorIndex(color_index);
    postseason_border(W, r);
}

}  // namespace tb::sheets
