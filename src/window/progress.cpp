#include "window/progress.h"

#include <algorithm>
#include <array>

namespace tb::window {

// Measured by bench/bench_window_bar on `tallybook-sample DIR --players 20000
// --seasons 30` (283,369 lines), the median of five runs: the save is most
// of a run, and it reports its progress up to the rename.
const BarCalibration kBarCalibration = {
    {0.027, 0.198, 0.001, 0.775},   // players and teams
    {0.030, 0.200, 0.000, 0.772},   // players only
    {0.041, 0.000, 0.149, 0.801},   // teams only
    0.99,
};

namespace {

const StageShares& shares_for(sheets::SheetsDesired desired, const BarCalibration& c) {
    switch (desired) {
        case sheets::SheetsDesired::PlayersOnly: return c.players_only;
        case sheets::SheetsDesired::TeamsOnly: return c.teams_only;
        default: return c.players_and_teams;
    }
}

}  // namespace

BarPosition bar_position(sheets::SheetsDesired desired, app::Stage stage, int64_t done, int64_t total,
                         const BarCalibration& calibration) {
    const StageShares& s = shares_for(desired, calibration);
    const std::array<double, 4> weights = {s.reading, s.players, s.teams, s.saving};
    double sum = 0, before = 0;
    const auto k = static_cast<std::size_t>(stage);
    for (std::size_t i = 0; i < weights.size(); ++i) {
        sum += weights[i];
        if (i < k) before += weights[i];
    }
    if (sum <= 0) return {0, total <= 0};
    if (total <= 0) return {before / sum, true};
    double within = std::clamp(static_cast<double>(done) / static_cast<double>(total), 0.0, 1.0);
    bool busy = false;
    if (stage == app::Stage::Saving) {
        const double reported = std::clamp(calibration.save_reported, 0.0, 1.0);
        busy = within >= 1 && reported < 1;
        within *= reported;
    }
    return {(before + weights[k] * within) / sum, busy};
}

}  // namespace tb::window
