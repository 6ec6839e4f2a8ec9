// A player's hitting figures: the counts of a line or of the lines of a
// phase added up, and the figures a hitting row shows, column by column.
#pragma once

#include "encyclopedia/records.h"
#include "rates/figure_column.h"
#include "rates/rates.h"

#include <array>
#include <cstdint>

namespace tb::hitting {

// The counted figures of a line, or of the lines of a phase added up.
struct HittingCounts {
    int64_t plate_appearances = 0, at_bats = 0, hits = 0, doubles = 0, triples = 0, home_runs = 0, runs = 0,
            runs_batted_in = 0, hit_by_pitch = 0, walks = 0, intentional_walks = 0, strikeouts = 0,
            stolen_bases = 0, caught_stealing = 0, sacrifice_hits = 0, sacrifice_flies = 0, double_plays = 0,
            total_bases = 0, times_on_base = 0;
    HittingCounts& operator+=(const HittingCounts& o);
    rates::BattingCounts batting() const;
};

// The counts of a line (plate appearances, total bases and times on base
// worked out).
HittingCounts line_counts(const enc::HittingFigures& line);

// The figure columns of a hitting row, after its lead columns: BAVG, OBP,
// SPC, OPS, then the counts from PA to TB.
inline constexpr std::size_t kFigureCount = 22;
extern const std::array<rates::FigureColumn, kFigureCount> kColumns;

// A season line rounds its OPS again; a totals row adds the rounded terms.
enum class RowKind { SeasonLine, Totals };

// The figures of a row, in the order of kColumns.
std::array<double, kFigureCount> figures(const HittingCounts& counts, RowKind kind);

}  // namespace tb::hitting
