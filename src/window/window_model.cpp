#include "window/window_model.h"

#include "platform/platform.h"
#include "window/texts.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <iterator>
#include <exception>
#include <mutex>
#include <system_error>

namespace tb::window {

namespace fs = std::filesystem;

// What the worker has reported since the last pump(), coalesced: only the
// latest status, figure and snapshot count, and the notices are listed up to
// the list's limit and counted beyond it.
struct WindowModel::Reports {
    std::optional<std::chrono::system_clock::time_point> started, ended;
    std::optional<std::string> status;
    std::optional<BarPosition> bar;
    std::vector<std::string> notices;
    int64_t notices_counted = 0;   // every notice, listed or not
    std::optional<app::SheetSnapshot> snapshot;
    std::optional<app::RunResult> result;

    bool empty() const {
        return !started && !ended && !status && !bar && notices_counted == 0 && !snapshot && !result;
    }
};

// What the worker and the model share for one run; the worker keeps its own
// reference, so nothing it touches goes away before it ends. The worker
// never waits on the view: it adds to `reports` and wakes the view only when
// no wake-up is pending, so a fast run cannot flood the view's queue.
struct WindowModel::Shared {
    std::mutex m;
    std::condition_variable cv;   // for wait()
    std::atomic<bool> cancel{false};
    WindowView* view = nullptr;   // null once the view is gone
    bool wake_pending = false;
    bool snapshots = false;
    sheets::SheetsDesired desired = sheets::SheetsDesired::PlayersAndTeams;
    std::size_t notices_listed = 0;   // of this run, in the model's list or in `reports`
    Reports reports;

    // Adds to the reports under the lock and asks for a pump (under the lock,
    // so that a view detaching meanwhile is never called).
    template <class Change>
    void report(Change change) {
        {
            std::lock_guard lk(m);
            change(reports);
            if (view && !wake_pending) {
                wake_pending = true;
                view->wake();
            }
        }
        cv.notify_all();
    }
};

class WindowModel::Observer final : public app::RunObserver {
public:
    explicit Observer(std::shared_ptr<Shared> shared) : s_(std::move(shared)) {}
    void started(std::chrono::system_clock::time_point t) override {
        s_->report([&](Reports& r) { r.started = t; });
    }
    void ended(std::chrono::system_clock::time_point t) override {
        s_->report([&](Reports& r) { r.ended = t; });
    }
    void stage(app::Stage stage) override { progress(stage, 0, 1); }
    void status(const std::string& text) override {
        s_->report([&](Reports& r) { r.status = text; });
    }
    void progress(app::Stage stage, int64_t done, int64_t total) override {
        const BarPosition bar = bar_position(s_->desired, stage, done, total);
        s_->report([&](Reports& r) { r.bar = bar; });
    }
    // Listed or counted; the run goes on at once.
    void notice(const app::Notice& n) override {
        std::string line;
        bool listed = false;
        {
            std::lock_guard lk(s_->m);
            listed = s_->notices_listed < kNoticeListLimit;
            if (listed) ++s_->notices_listed;
        }
        if (listed) line = texts::notice_line(n.text, n.where());
        s_->report([&](Reports& r) {
            if (listed) r.notices.push_back(std::move(line));
            ++r.notices_counted;
        });
    }
    bool wants_snapshots() const override { return s_->snapshots; }
    void snapshot(app::SheetSnapshot snap) override {
        // An older one not yet shown is simply replaced.
        s_->report([&](Reports& r) { r.snapshot = std::move(snap); });
    }

private:
    std::shared_ptr<Shared> s_;
};

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
    view_ = nullptr;
}

void WindowModel::say(Message::Kind kind, std::string text) {
    if (view_) view_->show_message({kind, std::move(text)});
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
        case Control::CopyNoticesButton: return !state_.notices.empty();
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
        case Control::NoticesLabel: return texts::notices_heading(state_.notice_count);
        case Control::LiveSheet: return state_.live.title;
        default: return std::string(texts::caption(control));
    }
}

std::vector<std::string> WindowModel::recent_texts() const {
    std::vector<std::string> rows{std::string(texts::kRecentFolders)};
    for (const fs::path& f : state_.choices.recent) rows.push_back(path_text(f));
    return rows;
}

std::vector<std::string> WindowModel::notice_rows() const {
    std::vector<std::string> rows = state_.notices;
    const int64_t listed = static_cast<int64_t>(rows.size());
    if (state_.notice_count && *state_.notice_count > listed) rows.push_back(texts::more_notices(*state_.notice_count - listed));
    return rows;
}

std::string WindowModel::notices_text(const std::vector<std::size_t>& rows) const {
    const std::vector<std::string> all = notice_rows();
    std::string text;
    auto add = [&](const std::string& row) { text += row + "\n"; };
    if (rows.empty()) std::for_each(all.begin(), all.end(), add);
    for (std::size_t r : rows)
        if (r < all.size()) add(all[r]);
    return text;
}

// --- the folder ---------------------------------------------------------------------

bool WindowModel::choose_folder(const fs::path& folder) {
    std::error_code ec;
    if (state_.running || folder.empty() || !fs::is_directory(folder, ec)) return false;
    state_.folder = normal_folder(folder);
    state_.folder_text = path_text(state_.folder);
    state_.folder_entries = folder_entries(state_.folder);
    state_.team_file = holds_team_file(state_.folder);
    // The previous run's words, notices and rows belong to the previous folder.
    clear_run_words();
    refresh();
    return true;
}

void WindowModel::clear_run_words() {
    state_.start_time.clear();
    state_.end_time.clear();
    state_.status.clear();
    state_.saved_line.clear();
    state_.progress = 0;
    state_.progress_busy = false;
    state_.notices.clear();
    state_.notice_count.reset();
    state_.live_visible = false;
    state_.live = empty_live_rows();
    ++state_.live_version;
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

std::optional<app::OutputRefusal> WindowModel::take_output(const fs::path& output) {
    if (output.empty()) return app::OutputRefusal{std::string(texts::kChooseWorkbookFirst), false};
    const fs::path out = workbook_path(output);
    auto refusal = app::output_refusal(out, state_.folder);
    if (refusal && !refusal->forcible) return refusal;
    state_.choices.output = out;
    remember();
    refresh();
    return refusal;
}

std::optional<std::string> WindowModel::set_output(const fs::path& output) {
    auto refusal = take_output(output);
    if (refusal && !refusal->forcible) return std::move(refusal->reason);
    return std::nullopt;
}

void WindowModel::enter_output(const std::string& typed) {
    if (state_.running) return;
    if (auto problem = set_output(platform::path_of_utf8(trimmed(typed)))) say(Message::Kind::Warning, *problem);
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
    const auto refusal = take_output(platform::path_of_utf8(trimmed(typed_output)));
    if (refusal && !refusal->forcible) {
        say(Message::Kind::Warning, refusal->reason);
        return false;
    }
    // What is in the workbook's place is replaced only when the user says so.
    const bool replace_any_file = refusal.has_value();
    if (replace_any_file &&
        (!view_ || !view_->ask({Message::Kind::Warning, refusal->reason + "\n\n" + std::string(texts::kReplaceQuestion)})))
        return false;

    app::RunOptions options;
    options.folder = state_.folder;
    options.output = state_.choices.output;
    options.desired = state_.choices.desired;
    options.viewing = state_.choices.viewing;
    options.current_year = platform::current_year();
    options.replace_any_file = replace_any_file;

    // Each run starts fresh: nothing of the previous one stays on show.
    clear_run_words();
    state_.notice_count = 0;
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
    shared_->desired = options.desired;
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
        shared->report([&](Reports& r) { r.result = std::move(result); });
    });
}

void WindowModel::cancel() {
    if (!can_cancel() || !shared_) return;
    shared_->cancel = true;
    state_.cancelling = true;
    state_.status = texts::kCancelling;
    refresh();
}

void WindowModel::pump() {
    if (!shared_) return;
    // A message box said at the end of a run runs an event loop of its own,
    // which may call pump() again: the outer call has the run in hand.
    if (pumping_) return;
    pumping_ = true;
    Reports reports;
    {
        std::lock_guard lk(shared_->m);
        std::swap(reports, shared_->reports);
        shared_->wake_pending = false;
    }
    if (!reports.empty()) {
        take(reports);
        refresh();
    }
    pumping_ = false;
}

void WindowModel::take(Reports& r) {
    if (r.started) state_.start_time = platform::local_time_text(*r.started);
    if (r.ended) state_.end_time = platform::local_time_text(*r.ended);
    if (r.status && !state_.cancelling) state_.status = std::move(*r.status);
    if (r.bar) {
        state_.progress = r.bar->fraction;
        state_.progress_busy = r.bar->busy;
    }
    std::move(r.notices.begin(), r.notices.end(), std::back_inserter(state_.notices));
    state_.notice_count = state_.notice_count.value_or(0) + r.notices_counted;
    if (r.snapshot) {
        state_.live = live_rows(*r.snapshot);
        ++state_.live_version;
        state_.live_visible = true;
    }
    if (r.result) {
        join();
        finish(*r.result);
    }
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
            shared_->cv.wait_for(lk, std::chrono::milliseconds(5), [&] { return !shared_->reports.empty(); });
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

std::optional<WindowPlace> WindowModel::opening_place(const std::vector<Rect>& screens) const {
    return place_on_screens(state_.choices.place, screens);
}

void WindowModel::remember_place(const WindowPlace& place) {
    if (place.rect.width <= 0 || place.rect.height <= 0) return;
    state_.choices.place = place;
    remember();
}

DrawnParts::Changed DrawnParts::update(const WindowModel& model) {
    const WindowState& st = model.state();
    std::vector<std::string> recent = model.recent_texts();
    std::vector<std::string> notices = model.notice_rows();
    Changed changed{!drawn_ || st.folder != folder_, !drawn_ || st.folder_entries != entries_,
                    !drawn_ || recent != recent_, !drawn_ || st.live_version != live_version_, 0};
    // Rows are added at the end while a run goes on (the count of the rest
    // is the last row): only what follows the rows that stay is drawn.
    if (drawn_)
        changed.notice_rows_from = static_cast<std::size_t>(
            std::mismatch(notices.begin(), notices.end(), notice_rows_.begin(), notice_rows_.end()).first -
            notices.begin());
    drawn_ = true;
    if (changed.folder) folder_ = st.folder;
    if (changed.folder_entries) entries_ = st.folder_entries;
    if (changed.recent_folders) recent_ = std::move(recent);
    notice_rows_ = std::move(notices);
    live_version_ = st.live_version;
    return changed;
}

}  // namespace tb::window
