#include "app/run_state.h"

#include <algorithm>

namespace tb::app {

namespace {
using C = sheets::PlayerTotalsCounters;
const std::array<PhaseInfo, 5> kPhaseInfo = {{
    {2, "", "", "HitRegTotals", "PitchRegTotals", &C::HitRegLine, &C::PitchRegLine},
    // The wild-card series carries the division series' title.
    {5, "- - L D S - -", "- - L D S - -", "HitWCSTotals", "PitchWCSTotals", &C::HitWCSLine, &C::PitchWCSLine},
    {6, "- - L D S - -", "- - L D S - -", "HitDCSTotals", "PitchDCSTotals", &C::HitDCSLine, &C::PitchDCSLine},
    {7, "- - L C S - -", "- - L C S - -", "HitLCSTotals", "PitchLCSTotals", &C::HitLCSLine, &C::PitchLCSLine},
    {8, "- - W  S - -", "- -  W  S  - -", "HitWSTotals", "PitchWSTotals", &C::HitWSLine, &C::PitchWSLine},
}};
}  // namespace

const PhaseInfo& phase_info(Phase p) { return kPhaseInfo[static_cast<std::size_t>(p)]; }

std::optional<Phase> phase_of_code(int code) {
    for (Phase p : kPhases)
        if (phase_info(p).code == code) return p;
    return std::nullopt;
}

std::string display_name(const enc::PlayerSeasonStats& rec) { return rec.LastName + "," + rec.FirstName; }

std::string Notice::where() const {
    std::string out = file;
    if (record > 0) out += " record " + std::to_string(record);
    if (!field.empty()) out += (out.empty() ? "" : ", ") + field + " " + value;
    if (!player.empty()) out += (out.empty() ? "" : ", ") + std::string("player ") + player;
    return out;
}

int32_t next_totals_row(RunState& s, const char* sheet, int32_t& counter,
                        void (*write_header)(RunState&, int32_t)) {
    s.workbook.Activate(sheet);
    if (counter == 0) {
        counter = 1;
        write_header(s, counter);
    }
    return ++counter;
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

void set_line_context(RunState& s, int32_t k) {
    const auto& rec = s.stats(k);
    auto team = s.TeamTable.find(rec.TeamId);
    s.LineTeamAbbrev = team == s.TeamTable.end() ? std::string() : team->second;
    if (team == s.TeamTable.end() && s.teams_reported.insert(rec.TeamId).second)
        report(s, {"team " + std::to_string(rec.TeamId) + " has no used record in " + std::string(enc::kTeamFile) +
                       "; its lines show no team",
                   std::string(enc::kStatsFile), k, "TeamId", std::to_string(rec.TeamId), display_name(rec)});
    auto born = s.BirthDates.find(s.CurPlayerId);
    if (born == s.BirthDates.end())
        s.Age.reset();
    else
        s.Age = rec.SeasonYear - born->second;
}

}  // namespace tb::app
