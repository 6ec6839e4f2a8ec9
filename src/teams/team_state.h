// State of one team pass and the small cell helpers its routines share.
#pragma once

#include "workbook/workbook.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tb::teams {

// Running totals of the team whose section is being written.
struct TeamTotals {
    int64_t TotWon = 0, TotLost = 0, TotScored = 0, TotAllowed = 0;
    int64_t TotSHO = 0, TotGDP = 0, TotLOB = 0;
};

// Everything the team pass carries from one routine to the next. Owned by
// one call of Do_Teams.
struct TeamPassState {
    int32_t TeamRow = 1;          // current row on "Team Records"
    int32_t FirstDataRow = 0;     // first season row of the current section
    int32_t LastDataRow = 0;      // last further-season row written
    std::string SectionTeamName;  // title of the current section
    int32_t SectionLeagueId = 0;  // league of the section's first season row
    double LinePct = 0;           // rate of the row being written
    TeamTotals Totals;
    std::vector<int32_t> PostSeasonRecs;  // record numbers with post-season play
    int32_t TeamRegLine = 0;      // last used row of "TeamRegTotals"
    std::string SumTeamName;      // name for the "TeamRegTotals" row
};

inline constexpr std::string_view kTeamRecordsSheet = "Team Records";
inline constexpr std::string_view kTeamRegTotalsSheet = "TeamRegTotals";
inline constexpr int kTeamTotalsHeaderColor = 36;

// "A12"
inline std::string cell_address(std::string_view column, int32_t row) {
    return std::string(column) + std::to_string(row);
}

// "A12:N12"
inline std::string range_address(std::string_view c1, int32_t r1, std::string_view c2, int32_t r2) {
    return cell_address(c1, r1) + ":" + cell_address(c2, r2);
}

// A win rate as the sheets show it: rounded to three decimals through the
// "#.000" format; no games gives 0 rather than a division by zero.
inline double win_rate(int64_t won, int64_t lost) {
    const int64_t games = won + lost;
    if (games <= 0) return 0.0;
    return wb::format_000_value(static_cast<double>(won) / static_cast<double>(games));
}

// The seven figures of a won-lost row, whatever they add up.
struct RecordFigures {
    int64_t Won, Lost, Scored, Allowed, SHO, GDP, LOB;
};

// A row of figures on "Team Records": Won, Lost and Pct in E..G, Scored to
// LOB in J..N. Returns the Pct it shows.
inline double put_record_figures(wb::Workbook& wb, int32_t r, const RecordFigures& f) {
    const double pct = win_rate(f.Won, f.Lost);
    wb.range(cell_address("G", r)).NumberFormat("#.000");
    wb.range(cell_address("E", r)).Value(f.Won);
    wb.range(cell_address("F", r)).Value(f.Lost);
    wb.range(cell_address("G", r)).Value(pct);
    const int64_t counted[] = {f.Scored, f.Allowed, f.SHO, f.GDP, f.LOB};
    int col = wb::column_index("J");
    for (int64_t v : counted) wb.cell(col++, r).Value(v);
    return pct;
}

// Top, left, right and bottom LineStyle, then the same four Weight.
inline void outline(wb::Range range) {
    for (int edge : {wb::xlEdgeTop, wb::xlEdgeLeft, wb::xlEdgeRight, wb::xlEdgeBottom})
        range.Borders(edge).LineStyle(wb::xlContinuous);
    for (int edge : {wb::xlEdgeTop, wb::xlEdgeLeft, wb::xlEdgeRight, wb::xlEdgeBottom})
        range.Borders(edge).Weight(wb::xlMedium);
}

// A league without a colour leaves its cells unfilled.
inline void league_fill(wb::Range range, std::optional<int> color_index) {
    if (color_index) range.InteriorColorIndex(*color_index);
}

}  // namespace tb::teams
