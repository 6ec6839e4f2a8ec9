#include "app/run_state.h"

#include <algorithm>

namespace tb::app {

std::string display_name(const enc::StatsLine& rec) { return rec.last_name + "," + rec.first_name; }

std::string Notice::where() const {
    std::string out = file;
    if (record > 0) out += " record " + std::to_string(record);
    if (!field.empty()) out += (out.empty() ? "" : ", ") + field + " " + value;
    if (!player.empty()) out += (out.empty() ? "" : ", ") + std::string("player ") + player;
    return out;
}


void send_snapshot(RunState& s, const std::string& sheet, int32_t last_row, bool force) {
    if (!s.observer.wants_snapshots() || !s.workbook.HasSheet(sheet)) return;
    // A live view refreshes a few times a second; copying rows for every
    // player of a big archive would cost more than writing them.
    const auto now = std::chrono::steady_clock::now();
    if (!force && s.last_snapshot && now - *s.last_snapshot < std::chrono::milliseconds(100)) return;
    s.last_snapshot = now;
    SheetSnapshot snap;
    snap.sheet = sheet;
    const int32_t last = std::max<int32_t>(last_row, 1);
    snap.first_row = std::max<int32_t>(1, last - 39);
    for (int32_t r = snap.first_row; r <= last; ++r) {
        std::vector<SnapshotCell> row;
        row.reserve(wb::Letters.size());
        for (int c = 0; c < static_cast<int>(wb::Letters.size()); ++c)
            row.push_back({s.workbook.displayed_text(sheet, c, r),
                           s.workbook.value(sheet, c, r).kind == wb::CellValue::Kind::Number,
                           s.workbook.style(sheet, c, r)});
        snap.rows.push_back(std::move(row));
    }
    s.observer.snapshot(std::move(snap));
}
void report(RunState& s, Notice notice) {
    ++s.notices;
    s.observer.notice(notice);
}

}  // namespace tb::app
