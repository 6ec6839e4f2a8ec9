// A player's pitching figures: the counts of a line or of the lines of a
// phase added up, and the figures a pitching row shows, column by column.
#pragma once

#include "encyclopedia/records.h"
#include "rates/figure_column.h"

#include <array>
#include <cstdint>

namespace tb::pitching {

// The counted figures of a line, or of the lines of a phase added up.
struct PitchingCounts {
    int64_t wins = 0, losses = 0, saves = 0, holds = 0, blown_saves = 0, games = 0, games_started = 0,
            complete_games = 0, shutouts = 0, outs = 0, batters_faced = 0, at_bats = 0, hits = 0, runs = 0,
            earned_runs = 0, walks = 0, intentional_walks = 0, strikeouts = 0, home_runs = 0, double_plays = 0,
            wild_pitches = 0, balks = 0;
    PitchingCounts& operator+=(const PitchingCounts& o);
};

PitchingCounts line_counts(const enc::PitchingFigures& line);

// The figure columns of a pitching row, after its lead columns: ERA, W, L,
// PCT, ..., IP (from the outs), ..., BK.
inline constexpr std::size_t kFigureCount = 25;
extern const std::array<rates::FigureColumn, kFigureCount> kColumns;

// The figures of a row (a season line or a totals row alike), in the order
// of kColumns.
std::array<double, kFigureCount> figures(const PitchingCounts& counts);

}  // namespace tb::pitching
