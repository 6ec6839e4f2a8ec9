#include "window/window_model.h"

#include "platform/platform.h"
#include "window/texts.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>

namespace tb::window {

namespace fs = std::filesystem;

namespace {

// What the worker reports, queued for the view's thread.
struct Event {
    enum class Kind { Started, Ended, Status, Progress, Notice, Snapshot, Finished } kind;
    std::chrono::system_clock::time_point time{};
    app::Stage stage = app::Stage::Reading;
    std::string text;
    int64_t done = 0, total = 0;
    app::Notice notice;
    uint64_t ticket = 0;
};

Event event(Event::Kind kind) { return Event{kind, {}, {}, {}, 0, 0, {}, 0}; }

}  // namespace

// What the worker and the model share for one run; the worker keeps its own
// reference, so nothing it touches goes away before it ends.
struct WindowModel::Shared {
    std::mutex m;
    std::condition_variable cv;
    std::atomic<bool> cancel{false};
    WindowView* view = nullptr;       // null once the view is gone
    bool snapshots = false;
    std::deque<Event> events;
    uint64_t notices_posted = 0, notices_answered = 0;
    std::optional<app::SheetSnapshot> snapshot;
    std::optional<app::RunResult> result;

    // Queues an event and asks the view for a pump (under the lock, so that
    // a view detaching meanwhile is never called).
    void post(Event e) {
        std::lock_guard lk(m);
        if (e.kind == Event::Kind::Progress && !events.empty() && events.back().kind == Event::Kind::Progress)
            events.back() = std::move(e);   // only the newest figure matters
        else
            events.push_back(std::move(e));
        if (view) view->wake();
    }
};

class WindowModel::Observer final : public app::RunObserver {
public:
    explicit Observer(std::shared_ptr<Shared> shared) : s_(std::move(shared)) {}
    void started(std::chrono::system_clock::time_point t) override { post_time(Event::Kind::Started, t); }
    void ended(std::chrono::system_clock::time_point t) override { post_time(Event::Kind::Ended, t); }
    void status(const std::string& text) override {
        Event e = event(Event::Kind::Status);
        e.text = text;
        s_->post(std::move(e));
    }
    void progress(app::Stage stage, int64_t done, int64_t total) override {
        Event e = event(Event::Kind::Progress);
        e.stage = stage;
        e.done = done;
        e.total = total;
        s_->post(std::move(e));
    }
    // Waits until the user has answered, or the view is gone.
    void notice(const app::Notice& n) override {
        Event e = event(Event::Kind::Notice);
        e.notice = n;
        {
            std::lock_guard lk(s_->m);
            if (!s_->view) return;
            e.ticket = ++s_->notices_posted;
        }
        const uint64_t ticket = e.ticket;
        s_->post(std::move(e));
        std::unique_lock lk(s_->m);
        s_->cv.wait(lk, [&] { return !s_->view || s_->notices_answered >= ticket; });
    }
    bool wants_snapshots() const override { return s_->snapshots; }
    void snapshot(app::SheetSnapshot snap) override {
        bool first;
        {
            std::lock_guard lk(s_->m);
            first = !s_->snapshot.has_value();
            s_->snapshot = std::move(snap);   // an older one not yet shown is simply replaced
        }
        if (first) s_->post(event(Event::Kind::Snapshot));
    }

private:
    void post_time(Event::Kind kind, std::chrono::system_clock::time_point t) {
        Event e = event(kind);
        e.time = t;
        s_->post(std::move(e));
    }
    std::shared_ptr<Shared> s_;
};

double run_fraction(sheets::SheetsDesired desired, app::Stage stage, int64_t done, int64_t total) {
    // Shares of a usual conversion: reading, players, teams, saving.
    double w[4] = {5, 55, 10, 30};
    if (desired == sheets::SheetsDesired::TeamsOnly) w[1] = 0, w[2] = 50, w[3] = 45;
    if (desired == sheets::SheetsDesired::PlayersOnly) w[2] = 0;
    const double sum = w[0] + w[1] + w[2] + w[3];
    const int k = static_cast<int>(stage);
    double before = 0;
    for (int i = 0; i < k; ++i) before += w[i];
    const double within = total > 0 ? std::clamp(static_cast<double>(done) / static_cast<double>(total), 0.0, 1.0) : 0;
    return (before + w[k] * within) / sum;
}

WindowModel::WindowModel(Setup setup) : setup_(std::move(setup)) {
    if (!setup_.hooks.run) setup_.hooks.run = app::run_process;
    if (!setup_.hooks.open_workbook) setup_.hooks.open_workbook = platform::open_with_application;
    if (!setup_.hooks.show_in_folder) setup_.hooks.show_in_folder = platform::show_in_folder;
    data_dir_ = setup_.data_dir.empty() ? platform::data_folder() : setup_.data_dir;
}

WindowModel::~WindowModel() {
    detach();
    join();
}

void WindowModel::attach(WindowView* view, const fs::path& fallback) {
    view_ = view;
    std::error_code ec;
    fs::create_directories(data_dir_, ec);
    const fs::path file = saved_folder_file(data_dir_);
    fs::path start = fallback;
    if (fs::exists(file, ec)) {
        // A saved folder that is gone, or a file that is not one quoted line,
        // is passed over.
        if (const auto saved = read_saved_folder(file); saved && fs::is_directory(*saved, ec)) start = *saved;
        else start = platform::home_folder();
    } else if (const std::string error = write_saved_folder(file, setup_.program_folder); !error.empty()) {
        say(Message::Kind::Information, texts::folder_not_remembered(error));
    }
    state_.choices = read_remembered(settings_file(data_dir_));
    if (state_.choices.output.empty()) state_.choices.output = platform::documents_folder() / "TALLYBOOK.xlsx";
    // A workbook given by the caller wins over the remembered one, when it can be written.
    if (!choose_folder(start)) choose_folder(platform::home_folder());
    if (!setup_.output.empty()) (void)set_output(setup_.output);
    refresh();
}

void WindowModel::detach() {
    if (shared_) {
        std::lock_guard lk(shared_->m);
        shared_->view = nullptr;
        shared_->cancel = true;
    }
    if (shared_) shared_->cv.notify_all();
    view_ = nullptr;
}

void WindowModel::say(Message::Kind kind, std::string text) {
    if (view_) view_->show_message({kind, std::move(text), {}});
}

void WindowModel::refresh() {
    if (view_) view_->refresh();
}

// --- what each control shows ----------------------------------------------------

bool WindowModel::can_process() const { return state_.team_file && !state_.running; }
bool WindowModel::can_cancel() const { return state_.running && !state_.cancelling; }
bool WindowModel::can_open_workbook() const {
    return !state_.running && state_.workbook.has_value() && !state_.saved_line.empty();
}
bool WindowModel::locked() const { return state_.running; }

std::string WindowModel::process_hint() const {
    if (state_.folder.empty()) return std::string(texts::kChooseFolderFirst);
    return state_.team_file ? std::string() : std::string(texts::kNeedsTeamFile);
}

bool WindowModel::enabled(Control control) const {
    switch (control) {
        case Control::ProcessButton: return can_process();
        case Control::CancelButton: return can_cancel();
        // The choices and the folder stay as the run took them.
        case Control::DriveList: case Control::FolderField: case Control::BrowseButton: case Control::RecentList:
        case Control::FolderList: case Control::ViewingFrame: case Control::ViewWhileProcessing:
        case Control::ViewAfterCompleted: case Control::DesiredFrame: case Control::PlayersOnly:
        case Control::TeamsOnly: case Control::PlayersAndTeams: case Control::WorkbookField:
        case Control::SaveAsButton:
            return !locked();
        default: return true;
    }
}

bool WindowModel::shown(Control control) const {
    switch (control) {
        case Control::ProcessHint: return !state_.running && !process_hint().empty();
        case Control::CancelButton: return state_.running;
        case Control::OpenButton: case Control::ShowFolderButton: return can_open_workbook();
        case Control::SavedLine: return !state_.saved_line.empty();
        case Control::LiveSheet: case Control::LiveGrid: return state_.live_visible;
        default: return true;
    }
}

bool WindowModel::checked(Control control) const {
    const Remembered& c = state_.choices;
    switch (control) {
        case Control::ViewWhileProcessing: return c.viewing == app::Viewing::WhileProcessing;
        case Control::ViewAfterCompleted: return c.viewing == app::Viewing::AfterCompleted;
        case Control::PlayersOnly: return c.desired == sheets::SheetsDesired::PlayersOnly;
        case Control::TeamsOnly: return c.desired == sheets::SheetsDesired::TeamsOnly;
        case Control::PlayersAndTeams: return c.desired == sheets::SheetsDesired::PlayersAndTeams;
        default: return false;
    }
}

std::string WindowModel::text(Control control) const {
    switch (control) {
        case Control::FolderField: return state_.folder_text;
        case Control::ProcessHint: return process_hint();
        case Control::StartTime: return state_.start_time;
        case Control::EndTime: return state_.end_time;
        case Control::WorkbookField: return path_text(state_.choices.output);
        case Control::StatusBox: return state_.status;
        case Control::SavedLine: return state_.saved_line;
        case Control::LiveSheet: return state_.live.title;
        default: return std::string(texts::caption(control));
    }
}

std::vector<std::string> WindowModel::recent_texts() const {
    std::vector<std::string> rows{std::string(texts::kRecentFolders)};
    for (const fs::path& f : state_.choices.recent) rows.push_back(path_text(f));
    return rows;
}

// --- the folder ---------------------------------------------------------------------

bool WindowModel::choose_folder(const fs::path& folder) {
    std::error_code ec;
    if (state_.running || folder.empty() || !fs::is_directory(folder, ec)) return false;
    state_.folder = normal_folder(folder);
    state_.folder_text = path_text(state_.folder);
    state_.folder_entries = folder_entries(state_.folder);
    state_.team_file = holds_team_file(state_.folder);
    // The previous run's words belong to the previous folder.
    state_.status.clear();
    state_.saved_line.clear();
    state_.start_time.clear();
    state_.end_time.clear();
    state_.progress = 0;
    state_.progress_busy = false;
    refresh();
    return true;
}

void WindowModel::choose_drive(const fs::path& root) {
    if (state_.running) return;
    if (!choose_folder(root)) {
        say(Message::Kind::Information, texts::drive_not_ready(drive_text(root)));
        refresh();   // the drive list goes back to the folder's drive
    }
}

void WindowModel::open_folder_entry(std::size_t index) {
    if (state_.running || index >= state_.folder_entries.size()) return;
    if (!choose_folder(state_.folder_entries[index].folder)) {
        state_.folder_entries = folder_entries(state_.folder);
        refresh();
    }
}

void WindowModel::choose_recent(std::size_t index) {
    if (state_.running || index >= state_.choices.recent.size()) return;
    const fs::path folder = state_.choices.recent[index];
    if (!choose_folder(folder)) say(Message::Kind::Information, texts::no_longer_there(path_text(folder)));
}

bool WindowModel::enter_folder(const std::string& typed) {
    if (state_.running) return false;
    const CheckedFolder checked = check_typed_folder(typed);
    if (!checked.error.empty()) {
        say(Message::Kind::Information, checked.error);
        return false;
    }
    return choose_folder(checked.folder);
}

void WindowModel::leave_folder_field(const std::string& typed) {
    if (state_.running) return;
    const CheckedFolder checked = check_typed_folder(typed);
    if (checked.error.empty() && checked.folder != state_.folder) choose_folder(checked.folder);
}

// --- the choices --------------------------------------------------------------------

void WindowModel::choose_option(Control radio) {
    if (state_.running) return;
    Remembered& c = state_.choices;
    switch (radio) {
        case Control::ViewWhileProcessing: c.viewing = app::Viewing::WhileProcessing; break;
        case Control::ViewAfterCompleted: c.viewing = app::Viewing::AfterCompleted; break;
        case Control::PlayersOnly: c.desired = sheets::SheetsDesired::PlayersOnly; break;
        case Control::TeamsOnly: c.desired = sheets::SheetsDesired::TeamsOnly; break;
        case Control::PlayersAndTeams: c.desired = sheets::SheetsDesired::PlayersAndTeams; break;
        default: return;
    }
    remember();
    refresh();
}

std::optional<std::string> WindowModel::set_output(const fs::path& output) {
    if (output.empty()) return std::string(texts::kChooseWorkbookFirst);
    const fs::path out = workbook_path(output);
    if (auto problem = app::output_problem(out, state_.folder)) return problem;
    state_.choices.output = out;
    remember();
    refresh();
    return std::nullopt;
}

void WindowModel::enter_output(const std::string& typed) {
    if (state_.running) return;
    if (auto problem = set_output(platform::path_of_utf8(trimmed(typed)))) say(Message::Kind::Information, *problem);
}

void WindowModel::leave_output_field(const std::string& typed) {
    const std::string t = trimmed(typed);
    if (state_.running || t.empty() || t == path_text(state_.choices.output)) return;
    (void)set_output(platform::path_of_utf8(t));
}

void WindowModel::remember() {
    // Losing the remembered choices costs only a little typing next time.
    (void)write_remembered(settings_file(data_dir_), state_.choices);
}

// --- the run ------------------------------------------------------------------------

bool WindowModel::process(const std::string& typed_folder, const std::string& typed_output) {
    if (state_.running) {
        say(Message::Kind::Information, std::string(texts::kRunUnderWay));
        return false;
    }
    // The folder the field shows is the one converted, checked as Enter would.
    const std::string folder = trimmed(typed_folder);
    if (!folder.empty() && folder != state_.folder_text) {
        const CheckedFolder c = check_typed_folder(folder);
        if (!c.error.empty()) {
            say(Message::Kind::Information, c.error);
            return false;
        }
        if (c.folder != state_.folder) choose_folder(c.folder);
    }
    if (!can_process()) {
        say(Message::Kind::Information, process_hint());
        return false;
    }
    if (auto problem = set_output(platform::path_of_utf8(trimmed(typed_output)))) {
        say(Message::Kind::Information, *problem);
        return false;
    }

    app::RunOptions options;
    options.folder = state_.folder;
    options.output = state_.choices.output;
    options.desired = state_.choices.desired;
    options.viewing = state_.choices.viewing;
    options.current_year = platform::current_year();

    // Each run starts fresh: nothing of the previous one stays on show.
    state_.start_time.clear();
    state_.end_time.clear();
    state_.status.clear();
    state_.saved_line.clear();
    state_.progress = 0;
    state_.progress_busy = true;
    state_.live_visible = false;
    state_.live = empty_live_rows();
    ++state_.live_version;
    state_.running = true;
    state_.cancelling = false;
    run_folder_ = state_.folder;
    start_worker(options);
    refresh();
    return true;
}

void WindowModel::start_worker(const app::RunOptions& options) {
    join();
    shared_ = std::make_shared<Shared>();
    shared_->view = view_;
    shared_->snapshots = options.viewing == app::Viewing::WhileProcessing;
    worker_ = std::thread([shared = shared_, options, run = setup_.hooks.run] {
        Observer observer(shared);
        app::RunResult result;
        try {
            result = run(options, observer, &shared->cancel);
        } catch (const std::exception& e) {
            result.outcome = app::RunOutcome::Failed;
            result.error = e.what();
        } catch (...) {
            result.outcome = app::RunOutcome::Failed;
            result.error = texts::kUnexpectedFailure;
        }
        if (result.summary.output.empty()) result.summary.output = options.output;
        {
            std::lock_guard lk(shared->m);
            shared->result = std::move(result);
        }
        shared->post(event(Event::Kind::Finished));
    });
}

void WindowModel::cancel() {
    if (!can_cancel() || !shared_) return;
    shared_->cancel = true;
    state_.cancelling = true;
    state_.status = texts::kCancelling;
    refresh();
}

void WindowModel::answer_notice() {
    if (!shared_) return;
    {
        std::lock_guard lk(shared_->m);
        shared_->notices_answered = shared_->notices_posted;
    }
    shared_->cv.notify_all();
}

void WindowModel::pump() {
    if (!shared_) return;
    // A modal message box runs its own event loop, which may call pump()
    // again; the outer call goes on with whatever arrives meanwhile.
    if (pumping_) return;
    pumping_ = true;
    for (;;) {
        std::deque<Event> events;
        {
            std::lock_guard lk(shared_->m);
            events.swap(shared_->events);
        }
        if (events.empty()) break;
        const auto shared = shared_;   // this run's state stays alive while its events are handled
        for (Event& e : events) {
            switch (e.kind) {
                case Event::Kind::Started: state_.start_time = platform::local_time_text(e.time); break;
                case Event::Kind::Ended: state_.end_time = platform::local_time_text(e.time); break;
                case Event::Kind::Status:
                    if (!state_.cancelling) state_.status = e.text;
                    break;
                case Event::Kind::Progress:
                    state_.progress = run_fraction(state_.choices.desired, e.stage, e.done, e.total);
                    state_.progress_busy = e.total <= 0;
                    break;
                case Event::Kind::Notice:
                    // The run waits until the notice is answered: the box returns then.
                    refresh();
                    if (view_) view_->show_message({Message::Kind::Notice, e.notice.text, e.notice.where()});
                    answer_notice();
                    break;
                case Event::Kind::Snapshot: {
                    std::optional<app::SheetSnapshot> snapshot;
                    {
                        std::lock_guard lk(shared->m);
                        snapshot.swap(shared->snapshot);
                    }
                    if (snapshot) {
                        state_.live = live_rows(*snapshot);
                        ++state_.live_version;
                        state_.live_visible = true;
                    }
                    break;
                }
                case Event::Kind::Finished: {
                    std::optional<app::RunResult> result;
                    {
                        std::lock_guard lk(shared->m);
                        result = std::move(shared->result);
                    }
                    join();
                    if (result) finish(*result);
                    break;
                }
            }
        }
        refresh();
    }
    pumping_ = false;
}

void WindowModel::finish(const app::RunResult& result) {
    state_.running = false;
    state_.cancelling = false;
    state_.progress_busy = false;
    state_.team_file = holds_team_file(state_.folder);
    switch (result.outcome) {
        case app::RunOutcome::Completed: {
            state_.progress = 1;
            state_.status = texts::kCompleted;
            state_.workbook = result.summary.output;
            state_.saved_line = texts::saved_as(path_text(result.summary.output));
            const std::string error = write_saved_folder(saved_folder_file(data_dir_), run_folder_);
            add_recent(state_.choices, run_folder_);
            remember();
            refresh();
            if (!error.empty()) say(Message::Kind::Information, texts::folder_not_remembered(error));
            if (view_ && !setup_.hooks.open_workbook(result.summary.output))
                say(Message::Kind::Information, texts::no_application_saved_as(path_text(result.summary.output)));
            break;
        }
        case app::RunOutcome::Cancelled:
            state_.progress = 0;
            state_.status = texts::kCancelled;
            break;
        case app::RunOutcome::Failed: {
            state_.progress = 0;
            const std::string error = result.error.empty() ? std::string(texts::kUnknownError) : result.error;
            state_.status = texts::failed_status(error);
            refresh();
            say(Message::Kind::Failure, texts::failure_message(error));
            break;
        }
    }
}

void WindowModel::join() {
    if (worker_.joinable()) worker_.join();
}

void WindowModel::wait() {
    while (state_.running) {
        {
            std::unique_lock lk(shared_->m);
            shared_->cv.wait_for(lk, std::chrono::milliseconds(5), [&] { return !shared_->events.empty(); });
        }
        pump();
    }
}

void WindowModel::open_workbook() {
    if (!can_open_workbook()) return;
    if (!setup_.hooks.open_workbook(*state_.workbook)) say(Message::Kind::Information, std::string(texts::kNoApplication));
}

void WindowModel::show_workbook_folder() {
    if (!can_open_workbook()) return;
    if (!setup_.hooks.show_in_folder(*state_.workbook))
        say(Message::Kind::Information, std::string(texts::kFolderCannotBeShown));
}

DrawnParts::Changed DrawnParts::update(const WindowModel& model) {
    const WindowState& st = model.state();
    std::vector<std::string> recent = model.recent_texts();
    const Changed changed{!drawn_ || st.folder != folder_, !drawn_ || st.folder_entries != entries_,
                          !drawn_ || recent != recent_, !drawn_ || st.live_version != live_version_};
    drawn_ = true;
    if (changed.folder) folder_ = st.folder;
    if (changed.folder_entries) entries_ = st.folder_entries;
    if (changed.recent_folders) recent_ = std::move(recent);
    live_version_ = st.live_version;
    return changed;
}

}  // namespace tb::window
