// A processing run: the encyclopedia folder in, one .xlsx workbook out.
// The command line and the window both drive a run through this entry point.
#pragma once

#include "workbook/sheet_set.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tb::app {

enum class Viewing { WhileProcessing, AfterCompleted };

struct RunOptions {
    std::filesystem::path folder;       // the encyclopedia folder
    wb::SheetsDesired desired = wb::SheetsDesired::PlayersAndTeams;
    Viewing viewing = Viewing::WhileProcessing;
    std::filesystem::path output;       // the .xlsx to write
};

// A copy of the latest rows of the sheet being filled, for a live view.
// It is a snapshot: the run never touches it after handing it over.
struct SheetSnapshot {
    std::string sheet;
    int32_t first_row = 1;                          // row of rows[0]
    std::vector<std::vector<std::string>> rows;     // displayed texts, columns A..AE
};

// How a run reports to its front end. Every call comes from the thread the
// run is on. Default implementations do nothing.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    virtual void started(std::chrono::system_clock::time_point) {}
    virtual void ended(std::chrono::system_clock::time_point) {}
    // "TEAMS COMPLETED", the current player's display name, "Processing Completed".
    virtual void status(const std::string&) {}
    // "this case is N" and other notices; `detail` says where (file, record).
    // The run waits until this returns.
    virtual void notice(const std::string& text, const std::string& detail) { (void)text; (void)detail; }
    virtual void progress(int64_t players_done, int64_t players_total) { (void)players_done; (void)players_total; }
    // The moment the workbook is to be shown ("Visible = True").
    virtual void show_workbook() {}
    // Called after each player with the latest rows of the active sheet when
    // wants_snapshots() is true.
    virtual bool wants_snapshots() const { return false; }
    virtual void snapshot(SheetSnapshot) {}
};

struct RunSummary {
    int64_t players = 0;        // players written
    int64_t lines = 0;          // statistics lines written
    int64_t notices = 0;
    std::vector<std::string> sheets;   // sheet names in the saved workbook
    std::filesystem::path output;
    std::chrono::system_clock::time_point start, end;
};

enum class RunOutcome { Completed, Cancelled, Failed };

struct RunResult {
    RunOutcome outcome = RunOutcome::Failed;
    std::string error;          // when Failed: what went wrong, naming the path
    RunSummary summary;
};

// Runs the whole Process command from a fresh state. Never throws and never
// ends the program; on failure or cancel nothing is saved and an existing
// output file is left as it was. `cancel` is checked between players.
RunResult run_process(const RunOptions& options, RunObserver& observer,
                      const std::atomic<bool>* cancel = nullptr);

}  // namespace tb::app
