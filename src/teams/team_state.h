// State of one team pass and the small cell helpers its routines share.
#pragma once

#include "rates/rates.h"
#include "workbook/workbook.h"

#include <array>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tb::teams {

// The eight figures of a won-lost row, whatever they add up.
struct RecordFigures {
    int64_t won, lost, runs_scored, runs_allowed, shutouts, double_plays, left_on_base;
    double Pct() const { return rates::pct(won, lost); }
};

// Running totals of the team whose section is being written.
struct TeamTotals {
    int64_t TotWon = 0, TotLost = 0, TotScored = 0, TotAllowed = 0;
    int64_t TotSHO = 0, TotGDP = 0, TotLOB = 0;
    RecordFigures figures() const;
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

inline constexpr int kTeamTotalsHeaderColor = 36;

// The columns of the team sheets.
inline constexpr int A = 0, B = 1, C = 2, D = 3, E = 4, F = 5, G = 6, H = 7, I = 8, J = 9, K = 10, L = 11, M = 12,
                     N = 13;

// Where each kind of team sheet shows the figures, and under which titles:
// won, lost, Pct, runs_scored, runs_allowed, shutouts, double_plays, left_on_base. Titles and figures are
// written from the same layout.
struct FigureLayout {
    std::array<int, 8> columns;
    std::array<std::string_view, 8> titles;
};
// "Team Records": E..G, then (after GB and Finish) J..N.
inline constexpr FigureLayout kOnTeamRecords{{E, F, G, J, K, L, M, N},
                                             {"Won", "Lost", "Pct", "Scored", "Allowed", "SHO", "GDP", "LOB"}};
// "TeamRegTotals": D..K, after the team's name in C.
inline constexpr FigureLayout kOnRegTotals{{D, E, F, G, H, I, J, K},
                                           {"Won", "Lost", "Pct", "Scored", "Allowed", "SHO", "GDP", "LOB"}};
// The post-season team sheets: E..L, after the team's name in D.
inline constexpr FigureLayout kOnPostSeasonSheet{{E, F, G, H, I, J, K, L},
                                                 {"Won", "Lost", "PCT", "Scored", "Allowed", "SHO", "GDP", "LOB"}};

inline RecordFigures TeamTotals::figures() const {
    return {TotWon, TotLost, TotScored, TotAllowed, TotSHO, TotGDP, TotLOB};
}

// The figures of a row at `r` as the layout places them; Pct as "#.000".
// Returns the Pct it shows.
inline double put_figures(wb::Workbook& wb, int32_t r, const FigureLayout& at, const RecordFigures& f) {
    const double pct = f.Pct();
    const double values[] = {double(f.won), double(f.lost), pct, double(f.runs_scored), double(f.runs_allowed), double(f.shutouts),
                             double(f.double_plays), double(f.left_on_base)};
    for (std::size_t i = 0; i < 8; ++i) wb.cell(at.columns[i], r).Value(values[i]);
    wb.cell(at.columns[2], r).NumberFormat("#.000");
    return pct;
}

// The titles of the layout at `r`.
inline void put_figure_titles(wb::Workbook& wb, int32_t r, const FigureLayout& at) {
    for (std::size_t i = 0; i < 8; ++i) wb.cell(at.columns[i], r).Value(at.titles[i]);
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
