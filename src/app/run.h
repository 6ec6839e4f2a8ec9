// A processing run: the encyclopedia folder in, one .xlsx workbook out.
// The command line and the window both drive a run through this entry point.
#pragma once

#include "encyclopedia/byte_source.h"
#include "sheets/sheet_set.h"
#include "workbook/workbook.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tb::app {

enum class Viewing { WhileProcessing, AfterCompleted };

struct RunOptions {
    std::filesystem::path folder;       // the encyclopedia folder
    sheets::SheetsDesired desired = sheets::SheetsDesired::PlayersAndTeams;
    Viewing viewing = Viewing::WhileProcessing;
    std::filesystem::path output;       // the .xlsx to write
    // The calendar year birth years are checked against; 0: this year.
    int current_year = 0;
    // Where the files come from instead of `folder` (tests, fuzzing).
    std::shared_ptr<const enc::ByteSource> source;
    // The most memory the used records of one file may take, in bytes: a
    // run that needs more fails with "not enough memory to read <FILE>".
    std::size_t memory_limit = SIZE_MAX;
    // Replace any regular file at `output`, not only a workbook or an empty
    // file the user may write (--force, or the user's yes in the window).
    bool replace_any_file = false;
    // How the save is carried out (tests: threads, a moment before the rename).
    wb::SaveOptions save_options;
    // False: the workbook is built but not saved (the run's own tests, the
    // fuzzing and the benchmark of the passes). `output` is then not needed.
    bool save = true;
};

// The stages of a run, in the order they come. Each begins with its status
// text: "Reading the encyclopedia...", "TEAMS COMPLETED" (the team file is
// read; the player pass follows), "Writing the team sheets...", "Saving the
// workbook...".
enum class Stage { Reading, Players, Teams, Saving };

// A line of the encyclopedia (or a whole file) the run passed over or could
// not use in full. The run goes on after it.
struct Notice {
    std::string text;       // "this case is 3", "ENCPLYR.DAT is missing", ...
    std::string file;       // the file it is about
    int64_t record = 0;     // record number; 0 when about the whole file
    std::string field;      // the field at fault, with its value
    std::string value;
    std::string player;     // the player's display name, when there is one
    // "ENCPLSTATS.DAT record 17, phase_code 3, player Smith,John"
    std::string where() const;
};

// One cell of a live view, as the workbook has it.
struct SnapshotCell {
    std::string text;        // as the cell displays it (number formats applied)
    bool number = false;     // numbers stand right unless aligned otherwise
    wb::Style style;
};

// A copy of the latest rows of the sheet being filled, for a live view.
// It is a snapshot: the run never touches it after handing it over.
struct SheetSnapshot {
    std::string sheet;
    int32_t first_row = 1;                          // row of rows[0]
    std::vector<std::vector<SnapshotCell>> rows;    // columns A..AE
};

// How a run reports to its front end. Every call comes from the thread the
// run is on. Default implementations do nothing.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    virtual void started(std::chrono::system_clock::time_point) {}
    virtual void ended(std::chrono::system_clock::time_point) {}
    // A stage begins (its status text follows through status()).
    virtual void stage(Stage) {}
    // The stage texts above, the current player's display name, and
    // "Processing Completed".
    virtual void status(const std::string&) {}
    // The run waits until this returns.
    virtual void notice(const Notice&) {}
    // How far the stage has come; `total` 0 means it cannot tell (busy).
    virtual void progress(Stage stage, int64_t done, int64_t total) { (void)stage; (void)done; (void)total; }
    // The moment the workbook is to be shown ("Visible = True").
    virtual void show_workbook() {}
    // The latest rows of the sheet being filled (a letter sheet, or "Team
    // Records"), a few times a second and once at the end of each pass, when
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
    // Failed only because the output is a file that is not replaced unless
    // asked to (see RunOptions::replace_any_file).
    bool replace_refused = false;
};

// Runs the whole Process command from a fresh state. Never throws and never
// ends the program. Fails, before reading anything, when the workbook cannot
// be written at `output` (see check_output in output_target.h), and after reading when there
// is nothing to convert for the chosen sheets. On failure or cancel nothing
// is saved and an existing output file is left as it was. `cancel` is
// checked between files, players and teams, and during the save up to the
// moment the new workbook replaces the old one.
RunResult run_process(const RunOptions& options, RunObserver& observer,
                      const std::atomic<bool>* cancel = nullptr);

// The same run into a workbook the caller owns (and may look at afterwards);
// `book` must be empty.
RunResult convert(const RunOptions& options, RunObserver& observer, const std::atomic<bool>* cancel,
                  wb::Workbook& book);


}  // namespace tb::app
