// What the window decides, whatever toolkit draws it: the folder and the
// rule that enables Process, the remembered folder and choices, the run on a
// worker thread with its cancel, the stage and status texts, the bar, the
// notices that wait for OK, the live view's rows, and the end of a run.
//
// A view (the Qt window, a native Windows window) owns one model, shows its
// state() and forwards the user's actions. The model calls its view back on
// the view's own thread, from pump(), except WindowView::wake(), which the
// worker calls to ask for a pump() soon.
#pragma once

#include "app/run.h"
#include "window/remembered.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tb::window {

using RunFunction =
    std::function<app::RunResult(const app::RunOptions&, app::RunObserver&, const std::atomic<bool>*)>;

// The system pieces a model uses; tests give their own.
struct Hooks {
    RunFunction run;                                                 // empty: app::run_process
    std::function<bool(const std::filesystem::path&)> open_workbook;  // empty: platform::open_with_application
    std::function<bool(const std::filesystem::path&)> show_in_folder; // empty: platform::show_in_folder
};

struct Setup {
    std::filesystem::path data_dir;         // empty: platform::data_folder()
    std::filesystem::path default_output;   // empty: TALLYBOOK.xlsx in the documents folder
    std::filesystem::path program_folder;   // written into a new saved-folder file
    Hooks hooks;
};

// Everything a view shows.
struct WindowState {
    std::filesystem::path folder;           // the encyclopedia folder; empty until one is chosen
    bool process_enabled = false;
    std::string process_hint;               // why Process is disabled; empty when it is enabled
    Remembered choices;                     // options, workbook path, recent folders
    bool running = false;
    bool cancelling = false;
    std::string start_time, end_time;       // "Processing Started" / "Processing Ended"
    std::string status;                     // the status box
    std::string saved_line;                 // "Saved as <path>" after a completed run
    // The bar: a fraction 0..1 of the whole run, or busy (no fraction).
    double progress = 0;
    bool progress_busy = false;
    bool live_visible = false;              // a live view has rows to show
    std::optional<std::filesystem::path> workbook;   // the last workbook written, for Open / Show in folder
};

class WindowView {
public:
    virtual ~WindowView() = default;
    // state() changed: show it.
    virtual void refresh() = 0;
    // A notice of the run, shown with an OK button; the run waits until the
    // view calls answer_notice() (a view may answer before returning).
    virtual void show_notice(const app::Notice& notice) = 0;
    // A run failed; nothing was saved.
    virtual void show_failure(const std::string& text) = 0;
    // A plain message with an OK button (a refused choice, where the workbook is).
    virtual void show_message(const std::string& text) = 0;
    // New rows for the live view (take_snapshot() has them).
    virtual void snapshot_ready() {}
    // From the worker thread: call pump() on the view's thread soon.
    virtual void wake() = 0;
};

class WindowModel {
public:
    explicit WindowModel(Setup setup);
    // Cancels a run under way and waits for it to end.
    ~WindowModel();
    WindowModel(const WindowModel&) = delete;
    WindowModel& operator=(const WindowModel&) = delete;

    // Connects the view. Then reads the saved-folder file (a first start
    // writes the program's folder into a new one) and the remembered
    // choices, and opens the saved folder (or, when it is gone or the file
    // is not one quoted line, `fallback`).
    void attach(WindowView* view, const std::filesystem::path& fallback);
    // The view is going away: a run under way is cancelled and nothing is
    // called on the view any more. The run is waited for in the destructor.
    void detach();

    const WindowState& state() const { return state_; }
    const std::filesystem::path& data_dir() const { return data_dir_; }

    // --- the folder -------------------------------------------------------
    // A typed folder, checked as Enter checks it: trimmed, "~" for the home
    // folder. Returns the folder, or an error text.
    struct Checked {
        std::filesystem::path folder;
        std::string error;
    };
    Checked check_folder(const std::string& typed) const;
    // Chooses a folder (it must exist); the previous run's status clears.
    // False when it is not a folder.
    bool choose_folder(const std::filesystem::path& folder);
    // Whether a folder holds the team file, in any letter case.
    static bool holds_team_file(const std::filesystem::path& folder);

    // --- the choices ------------------------------------------------------
    void set_desired(sheets::SheetsDesired desired);
    void set_viewing(app::Viewing viewing);
    // The workbook path: ".xlsx" added when missing, made absolute. Refused
    // (with the reason, state unchanged) when the workbook cannot be written
    // there: see app::output_problem.
    std::optional<std::string> set_output(const std::filesystem::path& output);

    // --- the run ------------------------------------------------------------
    // Process: `typed_folder` is what the folder field shows; when it differs
    // from the chosen folder it is checked and chosen first. The workbook's
    // place is checked before anything starts. Returns the reason when the
    // run does not start.
    std::optional<std::string> process(const std::string& typed_folder, const std::string& typed_output);
    // Asks the run to stop; the old workbook stays as it was.
    void cancel();
    // The user has answered the notice on show.
    void answer_notice();
    // Handles what the worker reported, on the view's thread.
    void pump();
    // The newest live-view rows, once.
    std::optional<app::SheetSnapshot> take_snapshot();
    // Waits for the run to end (tests; the view's thread).
    void wait();

    // --- after a run -------------------------------------------------------
    bool open_workbook();
    bool show_workbook_folder();

private:
    struct Shared;
    class Observer;
    void start_worker(const app::RunOptions& options);
    void finish(const app::RunResult& result);
    void remember();
    void join();

    Setup setup_;
    std::filesystem::path data_dir_;
    WindowView* view_ = nullptr;
    WindowState state_;
    std::filesystem::path run_folder_;
    std::shared_ptr<Shared> shared_;
    std::thread worker_;
    bool pumping_ = false;
};

// The share of the whole run that the stages before `stage` take and the
// stage itself, for a bar across the run (weights by what each stage costs
// in a usual conversion).
double run_fraction(sheets::SheetsDesired desired, app::Stage stage, int64_t done, int64_t total);

}  // namespace tb::window
