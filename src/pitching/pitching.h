// The pitching rows: a season line and a "Totals" row in a player's block
// on his letter sheet, and the player's row on a pitching totals sheet. One
// column table gives every pitching column its titles, value and format.
#pragma once

#include "encyclopedia/records.h"
#include "workbook/workbook.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace tb::pitching {

// The counted figures of a line, or of the lines of a phase added up.
struct PitchingCounts {
    int64_t W = 0, L = 0, SV = 0, HLD = 0, BLS = 0, G = 0, GS = 0, CG = 0, shutouts = 0, Outs = 0, BF = 0, AB = 0, H = 0,
            R = 0, ER = 0, BB = 0, IBB = 0, K = 0, HR = 0, double_plays = 0, WP = 0, BK = 0;
    PitchingCounts& operator+=(const PitchingCounts& o);
};

PitchingCounts line_counts(const enc::StatsLine& rec);

// Outs to the innings figure whose digit after the point counts outs.
double CALC_INNINGS(int64_t OutsToConvert);

// Block columns: Year, Team, Age, then the figures from D to AB.
inline constexpr int kLastBlockColumn = 27;   // AB
// Totals sheet columns: Player, Last Yr, then the figures from C to AA.
inline constexpr int kLastSumColumn = 26;     // AA

// The column titles of a pitcher's block at `row` (colour 20); the name row
// above is filled too.
void Pitching_Header(wb::Workbook& W, int32_t row);
void Pitcher_EntryLine(wb::Workbook& W, int32_t row, int32_t year, std::string_view team, std::optional<int32_t> age,
                       const PitchingCounts& line);
void Pitcher_TotalLine(wb::Workbook& W, int32_t row, const PitchingCounts& totals);
void PitchSumHeader(wb::Workbook& W, int32_t LineNo);
void PitchSumTotals(wb::Workbook& W, int32_t LineNo, std::string_view name, int32_t last_year,
                    const PitchingCounts& totals);

}  // namespace tb::pitching
