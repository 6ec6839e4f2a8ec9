// The state of one processing run: what the run reads, the workbook it
// fills and what it reports, owned by the run so that every run starts
// fresh. The player pass keeps its own state (see player_pass.h).
#pragma once

#include "app/run.h"
#include "encyclopedia/encyclopedia.h"
#include "sheets/sheet_set.h"
#include "workbook/workbook.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace tb::app {

struct RunState {
    RunState(const RunOptions& opts, RunObserver& obs, const std::atomic<bool>* cancel_flag)
        : options(opts), observer(obs), cancel(cancel_flag) {}

    const RunOptions& options;
    RunObserver& observer;
    const std::atomic<bool>* cancel = nullptr;
    int current_year = 0;                              // birth years are checked against it

    wb::Workbook workbook;
    sheets::PlayerTotalsCounters counters;             // rows of the hitting and pitching totals sheets
    sheets::TeamTotalsCounters team_counters;          // rows of the post-season team sheets

    // What the run read, in its first stage.
    enc::TeamTable TeamTable;
    std::vector<enc::PlayerSeasonStats> PlayerStats;   // record n at index n - 1; emptied before the save
    enc::BirthYears BirthDates;
    std::vector<enc::TeamSeasonRecord> team_seasons;
    std::vector<enc::LeagueSeasonRecord> league_seasons;
    std::vector<enc::LeagueRecord> leagues;

    std::unordered_set<int32_t> teams_reported;        // team numbers with no team record, told once
    std::optional<std::chrono::steady_clock::time_point> last_snapshot;  // of the live view

    // Counts for the summary.
    int64_t players_written = 0;
    int64_t lines_written = 0;
    int64_t notices = 0;

    const enc::PlayerSeasonStats& stats(int32_t record_number) const {
        return PlayerStats.at(static_cast<std::size_t>(record_number) - 1);
    }
};

// Runs the Process command on a state the caller owns (run_process makes a
// fresh one), so that tests can look at the workbook afterwards.
RunResult run_with_state(RunState& s);

// Display name of a statistics line: last name, ",", first name.
std::string display_name(const enc::PlayerSeasonStats& rec);

// Hands the observer the rows of `sheet` up to `last_row` (the last 40) for
// a live view, when it wants them: a few times a second at most, or now
// when `force`.
void send_snapshot(RunState& s, const std::string& sheet, int32_t last_row, bool force);

// Tells the observer of a notice and counts it.
void report(RunState& s, Notice notice);

// Whether the front end has asked the run to stop.
inline bool cancelled(const RunState& s) { return s.cancel && s.cancel->load(); }

}  // namespace tb::app
