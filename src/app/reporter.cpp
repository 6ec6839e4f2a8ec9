#include "app/reporter.h"

#include <algorithm>

namespace tb::app {

namespace {
constexpr int kLiveColumns = 31;   // A..AE
constexpr int32_t kLiveRows = 40;
}

std::string display_name(const enc::StatsLine& line) { return line.last_name + "," + line.first_name; }

std::string Notice::where() const {
    std::string out = file;
    if (record > 0) out += " record " + std::to_string(record);
    if (!field.empty()) out += (out.empty() ? "" : ", ") + field + " " + value;
    if (!player.empty()) out += (out.empty() ? "" : ", ") + std::string("player ") + player;
    return out;
}

void Reporter::notice(Notice notice) {
    ++notices_;
    observer_.notice(notice);
}

void Reporter::live_rows(const wb::Workbook& book, wb::SheetId sheet, int32_t last_row, bool force) {
    if (!observer_.wants_snapshots()) return;
    // A live view refreshes a few times a second; copying rows for every
    // player of a big archive would cost more than writing them.
    const auto now = std::chrono::steady_clock::now();
    if (!force && last_copy_ && now - *last_copy_ < std::chrono::milliseconds(100)) return;
    last_copy_ = now;
    SheetSnapshot snap;
    snap.sheet = book.sheet_name(sheet);
    const int32_t last = std::max<int32_t>(last_row, 1);
    snap.first_row = std::max<int32_t>(1, last - (kLiveRows - 1));
    for (int32_t r = snap.first_row; r <= last; ++r) {
        std::vector<SnapshotCell> row;
        row.reserve(kLiveColumns);
        for (int c = 0; c < kLiveColumns; ++c)
            row.push_back({book.displayed_text(snap.sheet, c, r),
                           book.value(sheet, c, r).kind == wb::CellValue::Kind::Number,
                           book.style(snap.sheet, c, r)});
        snap.rows.push_back(std::move(row));
    }
    observer_.snapshot(std::move(snap));
}

}  // namespace tb::app
