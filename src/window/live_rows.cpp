#include "window/live_rows.h"

#include "window/texts.h"

#include <algorithm>

namespace tb::window {

namespace {

LiveEdge edge_of(const wb::BorderEdge& e) {
    if (!e.present()) return {};
    // A spreadsheet draws medium and thick lines wider than thin and hairline ones.
    const int width = e.weight == wb::LineWeight::Medium ? 2 : e.weight == wb::LineWeight::Thick ? 3 : 1;
    return {width, e.color >= 0 ? e.color : 0x000000};
}

LiveCell cell_of(const app::SnapshotCell& c) {
    const wb::Style& s = c.style;
    LiveCell cell;
    cell.text = c.text;
    cell.alignment = c.number || s.align_right ? Alignment::Right : Alignment::Left;
    cell.bold = s.bold;
    cell.font_scale = s.font_size > 0 ? s.font_size / 11.0 : 1.0;
    cell.fill = s.fill;
    const wb::BorderEdge* edges[] = {&s.top, &s.bottom, &s.left, &s.right};
    for (std::size_t e = 0; e < 4; ++e) cell.edges[e] = edge_of(*edges[e]);
    cell.blank = c.text.empty() && s == wb::Style{};
    return cell;
}

}  // namespace

std::string column_title(int index) {
    std::string s;
    for (int v = index + 1; v > 0; v = (v - 1) / 26) s.insert(s.begin(), static_cast<char>('A' + (v - 1) % 26));
    return s;
}

LiveRows empty_live_rows() {
    LiveRows rows;
    for (int c = 0; c < kLiveColumns; ++c) rows.column_titles.push_back(column_title(c));
    return rows;
}

LiveRows live_rows(const app::SheetSnapshot& snapshot) {
    LiveRows rows = empty_live_rows();
    rows.title = texts::live_sheet_title(snapshot.sheet);
    const std::size_t skip = snapshot.rows.size() > kLiveRowLimit ? snapshot.rows.size() - kLiveRowLimit : 0;
    for (std::size_t r = skip; r < snapshot.rows.size(); ++r) {
        rows.row_titles.push_back(std::to_string(static_cast<int64_t>(snapshot.first_row) + static_cast<int64_t>(r)));
        const auto& source = snapshot.rows[r];
        std::vector<LiveCell>& cells = rows.cells.emplace_back();
        const std::size_t n = std::min<std::size_t>(source.size(), kLiveColumns);
        for (std::size_t c = 0; c < n; ++c) cells.push_back(cell_of(source[c]));
    }
    return rows;
}

}  // namespace tb::window
