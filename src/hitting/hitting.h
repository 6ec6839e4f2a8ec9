// The hitting rows: a season line and a "Totals" row in a player's block on
// his letter sheet, and the player's row on a hitting totals sheet. One
// column table gives every hitting column its titles, value and format.
#pragma once

#include "encyclopedia/records.h"
#include "rates/rates.h"
#include "workbook/workbook.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace tb::hitting {

// The counted figures of a line, or of the lines of a phase added up.
struct HittingCounts {
    int64_t PA = 0, AB = 0, H = 0, Doubles = 0, Triples = 0, HR = 0, R = 0, RBI = 0, HBP = 0, BB = 0, IBB = 0,
            K = 0, SB = 0, CS = 0, SH = 0, SF = 0, GIDP = 0, TB = 0, OB = 0;
    HittingCounts& operator+=(const HittingCounts& o);
    rates::BattingCounts batting() const { return {AB, H, TB, OB, PA}; }
};

// The hitting figures of a statistics line (plate appearances, total bases
// and times on base worked out).
HittingCounts line_counts(const enc::StatsLine& rec);

// Block columns: Year, Team, Age, then the figures from D to Y.
inline constexpr int kLastBlockColumn = 24;   // Y
// Totals sheet columns: Player, Last Yr, then the figures from C to X.
inline constexpr int kLastSumColumn = 23;     // X

// The column titles of a hitter's block at `row` (colour 19); the name row
// above is filled too.
void Hitting_Header(wb::Workbook& W, int32_t row);

// One season line at `row`. `age` is left empty when the birth year is unknown.
void Hitter_EntryLine(wb::Workbook& W, int32_t row, int32_t year, std::string_view team, std::optional<int32_t> age,
                      const HittingCounts& line);

// The "Totals" row of a phase at `row`, from the phase's summed counts.
void Hitter_TotalLine(wb::Workbook& W, int32_t row, const HittingCounts& totals);

// The header row and a player's row of a hitting totals sheet (the active sheet).
void HitSumHeader(wb::Workbook& W, int32_t LineNo);
void HitSumTotals(wb::Workbook& W, int32_t LineNo, std::string_view name, int32_t last_year,
                  const HittingCounts& totals);

}  // namespace tb::hitting
