#include "window/window_model.h"

#include "platform/platform.h"
#include "workbook/workbook.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <system_error>

namespace tb::window {

namespace fs = std::filesystem;

namespace {

// What the worker reports, queued for the view's thread.
struct Event {
    enum class Kind { Started, Ended, Stage, Status, Progress, Notice, Snapshot, Finished } kind;
    std::chrono::system_clock::time_point time{};
    app::Stage stage = app::Stage::Reading;
    std::string text;
    int64_t done = 0, total = 0;
    app::Notice notice;
    uint64_t ticket = 0;
};

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

fs::path home_folder() {
#ifdef _WIN32
    const char* profile = std::getenv("USERPROFILE");
    return profile ? fs::path(profile) : fs::path("C:\\");
#else
    const char* home = std::getenv("HOME");
    return home && *home ? fs::path(home) : fs::path("/");
#endif
}

// A folder as the window shows it: absolute, without "." and ".." parts.
fs::path normal(const fs::path& p) {
    std::error_code ec;
    fs::path abs = fs::absolute(p, ec);
    if (ec) abs = p;
    abs = abs.lexically_normal();
    // "/a/b/" and "/a/b" are one folder; the root keeps its separator.
    if (abs.has_relative_path() && abs.filename().empty()) abs = abs.parent_path();
    return abs;
}

fs::path with_xlsx(fs::path p) {
    std::string ext = platform::utf8_of(p.extension());
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext != ".xlsx") p += ".xlsx";
    return p;
}

std::string time_text(std::chrono::system_clock::time_point t) { return platform::local_time_text(t); }

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
    void started(std::chrono::system_clock::time_point t) override {
        s_->post({Event::Kind::Started, t, {}, {}, 0, 0, {}, 0});
    }
    void ended(std::chrono::system_clock::time_point t) override {
        s_->post({Event::Kind::Ended, t, {}, {}, 0, 0, {}, 0});
    }
    void stage(app::Stage st) override { s_->post({Event::Kind::Stage, {}, st, {}, 0, 0, {}, 0}); }
    void status(const std::string& text) override { s_->post({Event::Kind::Status, {}, {}, text, 0, 0, {}, 0}); }
    void progress(app::Stage st, int64_t done, int64_t total) override {
        s_->post({Event::Kind::Progress, {}, st, {}, done, total, {}, 0});
    }
    // Waits until the user has answered, or the view is gone.
    void notice(const app::Notice& n) override {
        uint64_t ticket = 0;
        {
            std::lock_guard lk(s_->m);
            if (!s_->view) return;
            ticket = ++s_->notices_posted;
        }
        s_->post({Event::Kind::Notice, {}, {}, {}, 0, 0, n, ticket});
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
        if (first) s_->post({Event::Kind::Snapshot, {}, {}, {}, 0, 0, {}, 0});
    }

private:
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
    if (setup_.default_output.empty()) setup_.default_output = platform::documents_folder() / "TALLYBOOK.xlsx";
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
        else start = home_folder();
    } else if (const std::string error = write_saved_folder(file, setup_.program_folder); !error.empty() && view_) {
        view_->show_message("The folder could not be remembered: " + error);
    }
    state_.choices = read_remembered(settings_file(data_dir_));
    if (state_.choices.output.empty()) state_.choices.output = setup_.default_output;
    if (!choose_folder(start)) choose_folder(home_folder());
    if (view_) view_->refresh();
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

bool WindowModel::holds_team_file(const fs::path& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = platform::utf8_of(it->path().filename());
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        std::error_code file_ec;
        if (name == "encteam.dat" && it->is_regular_file(file_ec)) return true;
    }
    return false;
}

WindowModel::Checked WindowModel::check_folder(const std::string& typed) const {
    std::string t = trimmed(typed);
    if (t.empty()) return {{}, "Type a folder first."};
    fs::path p = platform::path_of_utf8(t);
    if (t == "~" || t.rfind("~/", 0) == 0) p = home_folder() / platform::path_of_utf8(t.size() > 2 ? t.substr(2) : "");
    std::error_code ec;
    const fs::file_status st = fs::status(p, ec);
    if (!fs::exists(st)) return {{}, t + " does not exist."};
    if (!fs::is_directory(st)) return {{}, t + " is not a folder."};
    return {normal(p), {}};
}

bool WindowModel::choose_folder(const fs::path& folder) {
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(folder, ec)) return false;
    state_.folder = normal(folder);
    const bool team_file = holds_team_file(state_.folder);
    state_.process_enabled = team_file && !state_.running;
    state_.process_hint = team_file ? std::string() : "Process needs a folder that holds ENCTEAM.DAT.";
    if (!state_.running) {
        // The previous run's words belong to the previous folder.
        state_.status.clear();
        state_.saved_line.clear();
        state_.start_time.clear();
        state_.end_time.clear();
        state_.progress = 0;
        state_.progress_busy = false;
    }
    if (view_) view_->refresh();
    return true;
}

void WindowModel::set_desired(sheets::SheetsDesired desired) {
    state_.choices.desired = desired;
    remember();
}

void WindowModel::set_viewing(app::Viewing viewing) {
    state_.choices.viewing = viewing;
    remember();
}

std::optional<std::string> WindowModel::set_output(const fs::path& output) {
    if (output.empty()) return std::string("Choose where to save the workbook first.");
    std::error_code ec;
    const fs::path out = fs::absolute(with_xlsx(output), ec).lexically_normal();
    if (auto problem = app::output_problem(out, state_.folder)) return problem;
    state_.choices.output = out;
    remember();
    if (view_) view_->refresh();
    return std::nullopt;
}

void WindowModel::remember() {
    // Losing the remembered choices costs only a little typing next time.
    (void)write_remembered(settings_file(data_dir_), state_.choices);
}

std::optional<std::string> WindowModel::process(const std::string& typed_folder, const std::string& typed_output) {
    if (state_.running) return std::string("A run is under way.");
    // The folder the field shows is the one converted, checked as Enter would.
    if (!trimmed(typed_folder).empty()) {
        const Checked c = check_folder(typed_folder);
        if (!c.error.empty()) return c.error;
        if (c.folder != state_.folder) choose_folder(c.folder);
    }
    if (!state_.process_enabled) return state_.process_hint.empty() ? "Choose a folder first." : state_.process_hint;
    if (auto problem = set_output(platform::path_of_utf8(trimmed(typed_output)))) return problem;

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
    state_.running = true;
    state_.cancelling = false;
    state_.process_enabled = false;
    run_folder_ = state_.folder;
    start_worker(options);
    if (view_) view_->refresh();
    return std::nullopt;
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
            result.error = "unexpected failure";
        }
        if (result.summary.output.empty()) result.summary.output = options.output;
        {
            std::lock_guard lk(shared->m);
            shared->result = std::move(result);
        }
        shared->post({Event::Kind::Finished, {}, {}, {}, 0, 0, {}, 0});
    });
}

void WindowModel::cancel() {
    if (!state_.running || !shared_) return;
    shared_->cancel = true;
    state_.cancelling = true;
    state_.status = "Cancelling...";
    if (view_) view_->refresh();
}

void WindowModel::answer_notice() {
    if (!shared_) return;
    {
        std::lock_guard lk(shared_->m);
        shared_->notices_answered = shared_->notices_posted;
    }
    shared_->cv.notify_all();
}

std::optional<app::SheetSnapshot> WindowModel::take_snapshot() {
    if (!shared_) return std::nullopt;
    std::lock_guard lk(shared_->m);
    std::optional<app::SheetSnapshot> s = std::move(shared_->snapshot);
    shared_->snapshot.reset();
    return s;
}

void WindowModel::pump() {
    if (!shared_) return;
    // A modal notice box runs its own event loop, which may call pump()
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
        const auto shared = shared_;   // finish() may start nothing, but keeps this run's state alive
        for (Event& e : events) {
            switch (e.kind) {
                case Event::Kind::Started: state_.start_time = time_text(e.time); break;
                case Event::Kind::Ended: state_.end_time = time_text(e.time); break;
                case Event::Kind::Stage: break;
                case Event::Kind::Status:
                    if (!state_.cancelling) state_.status = e.text;
                    break;
                case Event::Kind::Progress:
                    state_.progress = run_fraction(state_.choices.desired, e.stage, e.done, e.total);
                    state_.progress_busy = e.total <= 0;
                    break;
                case Event::Kind::Notice:
                    if (view_) {
                        view_->refresh();
                        view_->show_notice(e.notice);
                    } else {
                        answer_notice();
                    }
                    break;
                case Event::Kind::Snapshot:
                    state_.live_visible = true;
                    if (view_) view_->snapshot_ready();
                    break;
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
        if (view_) view_->refresh();
    }
    pumping_ = false;
}

void WindowModel::finish(const app::RunResult& result) {
    state_.running = false;
    state_.cancelling = false;
    state_.progress_busy = false;
    state_.process_enabled = holds_team_file(state_.folder);
    switch (result.outcome) {
        case app::RunOutcome::Completed: {
            state_.progress = 1;
            state_.status = "Processing Completed";
            state_.workbook = result.summary.output;
            state_.saved_line = "Saved as " + platform::utf8_of(result.summary.output);
            const std::string error = write_saved_folder(saved_folder_file(data_dir_), run_folder_);
            add_recent(state_.choices, run_folder_);
            remember();
            if (view_) {
                view_->refresh();
                if (!error.empty()) view_->show_message("The folder could not be remembered: " + error);
                if (!setup_.hooks.open_workbook(result.summary.output))
                    view_->show_message("No application to open .xlsx workbooks was found.\nThe workbook was saved as:\n" +
                                        platform::utf8_of(result.summary.output));
            }
            break;
        }
        case app::RunOutcome::Cancelled:
            state_.progress = 0;
            state_.status = "Processing Cancelled";
            break;
        case app::RunOutcome::Failed: {
            state_.progress = 0;
            const std::string error = result.error.empty() ? "unknown error" : result.error;
            state_.status = "Processing Failed: " + error;
            if (view_) {
                view_->refresh();
                view_->show_failure("Processing failed; nothing was saved.\n\n" + error);
            }
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

bool WindowModel::open_workbook() { return state_.workbook && setup_.hooks.open_workbook(*state_.workbook); }

bool WindowModel::show_workbook_folder() {
    return state_.workbook && setup_.hooks.show_in_folder(*state_.workbook);
}

}  // namespace tb::window
