// How the passes of a run report to its front end: notices (counted),
// status texts, progress, copies of the latest rows for a live view (a few
// times a second at most), and whether the user has asked the run to stop.
#pragma once

#include "app/run.h"
#include "workbook/workbook.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace tb::app {

class Reporter {
public:
    Reporter(RunObserver& observer, const std::atomic<bool>* cancel) : observer_(observer), cancel_(cancel) {}

    void notice(Notice notice);
    void status(const std::string& text) { observer_.status(text); }
    void progress(Stage stage, int64_t done, int64_t total) { observer_.progress(stage, done, total); }
    bool cancelled() const { return cancel_ && cancel_->load(); }
    // Hands the observer the rows of `sheet` up to `last_row` (the last 40),
    // when it wants them: a few times a second at most, or now when `force`.
    void live_rows(const wb::Workbook& book, wb::SheetId sheet, int32_t last_row, bool force);

    int64_t notices() const { return notices_; }
    RunObserver& observer() { return observer_; }

private:
    RunObserver& observer_;
    const std::atomic<bool>* cancel_;
    int64_t notices_ = 0;
    std::optional<std::chrono::steady_clock::time_point> last_copy_;
};

// Display name of a statistics line: last name, ",", first name.
std::string display_name(const enc::StatsLine& line);

}  // namespace tb::app
