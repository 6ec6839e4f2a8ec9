// What the window decides, whatever toolkit draws it: the folder and the
// rule that enables Process, the fields as typed, the remembered folder,
// choices and window place, the run on a worker thread with its cancel, the
// status texts, the bar, the list of notices, the live view's rows, the end
// of a run, and for every control what it shows and whether it is enabled.
//
// A view (the Qt window, the native Windows window) owns one model, draws
// its state() and the answers to enabled(), shown(), checked() and text(),
// and forwards the user's actions. The model calls its view back on the
// view's own thread, from the actions and pump(), except WindowView::wake(),
// which the worker calls to ask for a pump() soon.
#pragma once

#include "app/output_target.h"
#include "app/run.h"
#include "window/controls.h"
#include "window/folders.h"
#include "window/live_rows.h"
#include "window/progress.h"
#include "window/remembered.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
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
    // The workbook. Empty: the remembered one, else TALLYBOOK.xlsx in the
    // documents folder. Given: it wins over the remembered one.
    std::filesystem::path output;
    std::filesystem::path program_folder;   // written into a new saved-folder file
    Hooks hooks;
};

// A message box's content: an OK button, an icon by its kind, the text.
// Warning: the workbook cannot be written where it was asked for.
struct Message {
    enum class Kind { Information, Warning, Failure };
    Kind kind = Kind::Information;
    std::string text;
};

// The notices listed at most; the rest are counted.
inline constexpr std::size_t kNoticeListLimit = 1000;

// How often a view pumps at most: after wake() it calls pump() this much
// later, so that the user's input and the drawing always come first.
inline constexpr std::chrono::milliseconds kPumpInterval{50};

// Everything a view shows.
struct WindowState {
    std::filesystem::path folder;             // the encyclopedia folder; empty until one is chosen
    std::string folder_text;                  // the folder as the folder field shows it
    std::vector<FolderEntry> folder_entries;  // the folder list
    bool team_file = false;                   // the folder holds ENCTEAM.DAT
    Remembered choices;                       // options, workbook path, recent folders
    bool running = false;
    bool cancelling = false;
    std::string start_time, end_time;         // "Processing Started" / "Processing Ended"
    std::string status;                       // the status box
    std::string saved_line;                   // "Saved as <path>" after a completed run
    // The bar: a fraction 0..1 of the whole run, or busy (no fraction).
    double progress = 0;
    bool progress_busy = false;
    // The notices of the last run, listed ("this case is 3 - ENCPLSTATS.DAT
    // record 4, ..."): the first kNoticeListLimit; `notice_count` counts
    // them all, and is empty before the first run.
    std::vector<std::string> notices;
    std::optional<int64_t> notice_count;
    std::optional<std::filesystem::path> workbook;   // the last workbook written, for Open / Show in folder
    bool live_visible = false;                // the live view has rows to show
    LiveRows live = empty_live_rows();
    uint64_t live_version = 0;                // changes whenever `live` does
};

class WindowView {
public:
    virtual ~WindowView() = default;
    // state() changed: show it.
    virtual void refresh() = 0;
    // A message box with an OK button; returns once the user has answered.
    // A run never waits on it.
    virtual void show_message(const Message& message) = 0;
    // A box with Yes and No (No the default); true for Yes.
    virtual bool ask(const Message& question) = 0;
    // From the worker thread: call pump() on the view's thread, about
    // kPumpInterval from now. No second wake() comes before that pump().
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
    // choices, and opens the saved folder (or, when the file is missing,
    // `fallback`; when the saved folder is gone or the file is not one
    // quoted line, the home folder).
    void attach(WindowView* view, const std::filesystem::path& fallback);
    // The view is going away: a run under way is cancelled and nothing is
    // called on the view any more. The run is waited for in the destructor.
    void detach();

    const WindowState& state() const { return state_; }
    const std::filesystem::path& data_dir() const { return data_dir_; }

    // --- what each control shows -----------------------------------------------
    bool can_process() const;          // the folder holds the team file and no run is under way
    bool can_cancel() const;           // a run is under way and not yet cancelled
    bool can_open_workbook() const;    // a run completed and none is under way
    bool locked() const;               // the choices are locked while a run is under way
    // Why Process is off; empty when it is on.
    std::string process_hint() const;
    bool enabled(Control control) const;
    bool shown(Control control) const;
    // For the radio buttons: whether it is the chosen one.
    bool checked(Control control) const;
    // The text a control shows: its caption, or what the state puts in it
    // (fields, times, status, hint, saved line, the live view's title).
    std::string text(Control control) const;
    // The recent folders list: its first row, then the folders.
    std::vector<std::string> recent_texts() const;
    // The rows of the notice list: the listed notices, then how many more
    // there were, when there were.
    std::vector<std::string> notice_rows() const;
    // The text Copy puts on the clipboard: the given rows of notice_rows(),
    // or all of them when none is given, one a line ("\n").
    std::string notices_text(const std::vector<std::size_t>& rows) const;

    // --- the folder ---------------------------------------------------------
    // Chooses a folder (it must exist; not while a run is under way); the
    // previous run's status, notices and live rows clear. False when it is
    // not chosen.
    bool choose_folder(const std::filesystem::path& folder);
    // A drive picked in the drive list; says so when it is not ready.
    void choose_drive(const std::filesystem::path& root);
    // A row of the folder list opened; a folder gone meanwhile is dropped from the list.
    void open_folder_entry(std::size_t index);
    // A recent folder picked (index into state().choices.recent); says so when it is gone.
    void choose_recent(std::size_t index);
    // Enter in the folder field: the typed folder is checked and chosen, or
    // the refusal said. False when refused: the field shows
    // text(FolderField) again.
    bool enter_folder(const std::string& typed);
    // The folder field left without Enter: a typed folder is taken when it
    // is one; anything else waits for Enter or Process, which say what is wrong.
    void leave_folder_field(const std::string& typed);

    // --- the choices ----------------------------------------------------------
    // A radio button clicked.
    void choose_option(Control radio);
    // The workbook path: ".xlsx" added when missing, made absolute. Refused
    // (with the reason, state unchanged) when the workbook cannot be written
    // there: see app::output_refusal. A file in the way that is no workbook
    // or is read-only is taken: Process asks before replacing it. Enter, the
    // save dialog and Process say a refusal as a warning.
    std::optional<std::string> set_output(const std::filesystem::path& output);
    // Enter in the workbook field, or a path from the save dialog: taken, or the refusal said.
    void enter_output(const std::string& typed);
    // The workbook field left: a usable path is taken, anything else waits for Enter or Process.
    void leave_output_field(const std::string& typed);

    // --- the run ------------------------------------------------------------
    // Process: the fields' texts are what is converted and where. A typed
    // folder other than the chosen one is checked and chosen first; the
    // workbook's place is checked before anything starts. A refusal is
    // said; a file in the way that is no workbook or is read-only is
    // replaced only when the user says yes. True when the run started.
    bool process(const std::string& typed_folder, const std::string& typed_output);
    // Asks the run to stop; the old workbook stays as it was.
    void cancel();
    // Handles what the worker reported, on the view's thread.
    void pump();
    // Waits for the run to end (tests; the view's thread).
    void wait();

    // --- after a run -------------------------------------------------------
    // Open workbook / Show in folder; says so when it cannot be done.
    void open_workbook();
    void show_workbook_folder();

    // --- the window's place ------------------------------------------------
    // Where the window opens: the remembered place when it shows on one of
    // the `screens` (see place_on_screens), else nothing (the view's default).
    std::optional<WindowPlace> opening_place(const std::vector<Rect>& screens) const;
    // The window closes here: remembered for the next start.
    void remember_place(const WindowPlace& place);

private:
    // set_output's check, the refusal whole: a forcible one (a file that is
    // no workbook, or read-only) still takes the place, for Process to ask about.
    std::optional<app::OutputRefusal> take_output(const std::filesystem::path& output);
    struct Shared;
    struct Reports;
    class Observer;
    void say(Message::Kind kind, std::string text);
    void refresh();
    void clear_run_words();
    void start_worker(const app::RunOptions& options);
    void take(Reports& reports);
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

// What a view has drawn of the parts that cost most to draw again (the
// drive, the lists, the live rows): each refresh asks which changed since.
// A new tracker reports every part changed.
class DrawnParts {
public:
    struct Changed {
        bool folder = false;            // select the folder's drive
        bool folder_entries = false;    // fill the folder list again
        bool recent_folders = false;    // fill the recent list again
        bool live_rows = false;         // draw the live rows again
        // The notice list: the rows before this one stay as drawn; the view
        // drops its rows from here on and draws notice_rows() from here on
        // (nothing to do when it is the number of rows drawn and shown).
        std::size_t notice_rows_from = 0;
    };
    Changed update(const WindowModel& model);

private:
    bool drawn_ = false;
    std::filesystem::path folder_;
    std::vector<FolderEntry> entries_;
    std::vector<std::string> recent_;
    std::vector<std::string> notice_rows_;
    uint64_t live_version_ = 0;
};

}  // namespace tb::window
