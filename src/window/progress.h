// Where the bar stands during a run: each stage of the run takes its
// measured share of the bar, and within a stage the bar follows the stage's
// own count (files read, players written, teams, and the save's reports).
#pragma once

#include "app/run.h"

#include <cstdint>

namespace tb::window {

// What each stage takes of a run, as weights (they need not add up to 1).
struct StageShares {
    double reading = 0, players = 0, teams = 0, saving = 0;
};

// The one table the bar is drawn by. bench/bench_window_bar measures a run
// and prints this table for it; recalibrating is pasting that in.
struct BarCalibration {
    StageShares players_and_teams, players_only, teams_only;
    // The part of the save that its progress reports cover, 0..1. Beyond it
    // the save reports nothing until it ends, and the bar is busy there; at
    // 1 the save reports all through and the bar is never busy.
    double save_reported = 1;
};
extern const BarCalibration kBarCalibration;

// The bar at a report of the run: a fraction of the whole run (0..1), or
// busy (no fraction to show: a stage that cannot count, or the unreported
// end of the save). `total` <= 0 means the stage cannot count.
struct BarPosition {
    double fraction = 0;
    bool busy = false;
    bool operator==(const BarPosition&) const = default;
};
BarPosition bar_position(sheets::SheetsDesired desired, app::Stage stage, int64_t done, int64_t total,
                         const BarCalibration& calibration = kBarCalibration);

}  // namespace tb::window
