// The window model without any toolkit, as a view sees it: the remembered
// folders, the fields, what each control shows, a run driven by a scripted
// stand-in through its notices, its end and a cancel at each stage, and a
// view that goes away during a run.
#include "notices/notices.h"
#include "platform/platform.h"
#include "support/encyclopedia_builder.h"
#include "support/older_workbook.h"
#include "window/texts.h"
#include "window/window_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <thread>

namespace tb::test {
namespace {

namespace fs = std::filesystem;
using window::Control;
using window::Message;
using window::WindowModel;

// A view that records what the model asks of it; message boxes are answered
// at once. `on_notice` runs while a notice is on show.
struct FakeView : window::WindowView {
    std::vector<Message> messages;
    std::function<void()> on_notice;
    std::atomic<int> wakes{0};
    int refreshes = 0;
    void refresh() override { ++refreshes; }
    void show_message(const Message& m) override {
        messages.push_back(m);
        if (m.kind == Message::Kind::Notice && on_notice) on_notice();
    }
    void wake() override { ++wakes; }
    std::string last() const { return messages.empty() ? std::string() : messages.back().text; }
};

// Serves the model until `done` holds; the limit only guards against a hang.
bool pump_until(WindowModel& model, const std::function<bool()>& done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        model.pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    model.pump();
    return true;
}

// A moment of a run, reported as the run reports it.
struct Moment {
    const char* name;
    app::Stage stage;
    const char* status;
    int64_t done, total;
    bool busy;   // the bar shows no fraction then
};
const Moment kMoments[] = {
    {"reading", app::Stage::Reading, "Reading the encyclopedia...", 1, 6, false},
    {"players", app::Stage::Players, "Smith,John", 1, 2, false},
    {"teams", app::Stage::Teams, "Writing the team sheets...", 1, 2, false},
    {"saving", app::Stage::Saving, "Saving the workbook...", 10, 20, false},
    {"saving the last part", app::Stage::Saving, "Saving the workbook...", 19, 20, false},
};

class Model : public ::testing::Test {
protected:
    TempDir tmp;
    fs::path data = tmp / "data", league = tmp / "league", output = tmp / "out.xlsx";
    std::vector<fs::path> opened;
    bool can_open = true;
    window::RunFunction run;
    FakeView view;
    std::unique_ptr<WindowModel> model;

    void SetUp() override { folder_with_team_file(league); }
    void folder_with_team_file(const fs::path& folder, const char* name = "ENCTEAM.DAT") {
        fs::create_directories(folder);
        write_bytes(folder / name, "x");
    }
    // A model on the data folder; given a folder, it opens there (as the
    // folder of the last run, or on a first start).
    WindowModel& start(const fs::path& folder = {}) {
        model.reset();
        if (!folder.empty() && fs::exists(window::saved_folder_file(data))) {
            EXPECT_TRUE(window::write_saved_folder(window::saved_folder_file(data), folder).empty());
        }
        window::Setup s;
        s.data_dir = data;
        s.output = output;
        s.program_folder = tmp / "program";
        s.hooks.run = run;
        s.hooks.open_workbook = [this](const fs::path& p) { return opened.push_back(p), can_open; };
        s.hooks.show_in_folder = [](const fs::path&) { return false; };
        model = std::make_unique<WindowModel>(s);
        model->attach(&view, folder.empty() ? tmp.path() : folder);
        return *model;
    }
    // A stand-in run: reports the moments in order, each as the run does,
    // and checks the cancel flag after each as the run does. At `hold` it
    // waits for `go` first. Completed: the workbook is written.
    void scripted(std::optional<std::size_t> hold = {}, std::shared_future<void> go = {},
                  std::atomic<bool>* reached = nullptr) {
        run = [=](const app::RunOptions& o, app::RunObserver& obs, const std::atomic<bool>* cancel) {
            app::RunResult r;
            r.summary.output = o.output;
            r.outcome = app::RunOutcome::Cancelled;
            obs.started(std::chrono::system_clock::now());
            for (std::size_t i = 0; i < std::size(kMoments); ++i) {
                const Moment& m = kMoments[i];
                obs.stage(m.stage);
                obs.status(m.status);
                obs.progress(m.stage, m.done, m.total);
                if (hold == i) {
                    *reached = true;
                    go.wait();
                }
                if (cancel->load()) return r;
            }
            write_older_workbook(o.output);   // a workbook, so the next run may replace it
            obs.ended(std::chrono::system_clock::now());
            obs.status("Processing Completed");
            r.outcome = app::RunOutcome::Completed;
            return r;
        };
    }
    std::string saved() const { return read_bytes(window::saved_folder_file(data)); }
};

TEST_F(Model, TheSavedFolderFileItsFirstStartItsRulesAndTheRecentFolders) {
    start(league);   // a first start writes the program's folder and opens the fallback
    const fs::path file = window::saved_folder_file(data);
    EXPECT_EQ(saved(), "\"" + (tmp / "program").string() + "\"\r\n");
    EXPECT_EQ(model->state().folder, league);
    ASSERT_TRUE(window::write_saved_folder(file, league).empty());
    EXPECT_EQ(start().state().folder, league);
    // A saved folder that is gone, or a file that is not one quoted line,
    // gives the home folder, and the file stays as it was.
    for (const std::string& bad : {"\"" + (tmp / "gone").string() + "\"\r\n", std::string(),
                                   std::string("no quotes\r\n"), std::string("\"\"\r\n"), std::string("\"half\r\n")}) {
        write_bytes(file, bad);
        EXPECT_EQ(start().state().folder, tb::platform::home_folder().lexically_normal()) << bad;
        EXPECT_EQ(saved(), bad);
    }
    for (const fs::path& odd : {fs::path("/with space/and \"quote\""), fs::path("/Jos\xc3\xa9/\xc3\x9c" "ber")}) {
        ASSERT_TRUE(window::write_saved_folder(file, odd).empty());
        EXPECT_EQ(window::read_saved_folder(file), odd);
    }
    write_bytes(tmp / "blocker", "x");   // a data folder that cannot be made is told, not fatal
    EXPECT_FALSE(window::write_saved_folder(tmp / "blocker" / "TALLYBOOK.txt", league).empty());

    // The recent folders in the settings file (the choices there are
    // remembered through the window's tests).
    window::Remembered r;
    for (int i = 0; i < 12; ++i) window::add_recent(r, "/f" + std::to_string(i % 10));
    EXPECT_EQ(r.recent.size(), window::kRecentFolders);
    EXPECT_EQ(r.recent.front(), "/f1");
    EXPECT_EQ(r.recent[1], "/f0");   // a folder chosen again moves up, once
    ASSERT_TRUE(window::write_remembered(tmp / "s.txt", r).empty());
    EXPECT_EQ(window::read_remembered(tmp / "s.txt").recent, r.recent);
    write_bytes(tmp / "s.txt", "junk\ndesired=nonsense\nrecent=\n");
    EXPECT_EQ(window::read_remembered(tmp / "s.txt").desired, sheets::SheetsDesired::PlayersAndTeams);
}

TEST_F(Model, TypedFoldersTheFolderListAndTheTeamFileRule) {
    const std::pair<std::string, std::string> typed[] = {{"  " + league.string() + "/ ", ""},
                                                         {"", "Type a folder first."},
                                                         {(tmp / "missing").string(), " does not exist."},
                                                         {(league / "ENCTEAM.DAT").string(), " is not a folder."}};
    for (const auto& [text, error] : typed) {
        const auto got = window::check_typed_folder(text);
        if (error.empty()) EXPECT_EQ(got.folder, league) << text;
        else EXPECT_NE(got.error.find(error), std::string::npos) << got.error;
    }
    EXPECT_EQ(window::check_typed_folder("~").folder, tb::platform::home_folder().lexically_normal());
    for (auto [name, holds] : {std::pair{"encteam.dat", true}, {"EncTeam.Dat", true}, {"ENCPLYR.DAT", false}}) {
        folder_with_team_file(tmp / (std::string("f-") + name), name);
        EXPECT_EQ(window::holds_team_file(tmp / (std::string("f-") + name)), holds) << name;
    }
    fs::create_directories(tmp / "f-dir" / "ENCTEAM.DAT");   // a folder with the team file's name does not count
    EXPECT_FALSE(window::holds_team_file(tmp / "f-dir"));

    // The folder list: up first, hidden folders too, letter case apart; files are not listed.
    for (const char* sub : {"games/League", "games/.wine", "games/alpha", "games/Beta"}) fs::create_directories(tmp / sub);
    write_bytes(tmp / "games" / "notes.txt", "x");
    std::vector<std::string> names;
    for (const auto& e : window::folder_entries(tmp / "games")) names.push_back(e.text);
    EXPECT_EQ(names, (std::vector<std::string>{"..", ".wine", "alpha", "Beta", "League"}));
    const auto root = window::folder_entries("/");   // a root has no way up
    EXPECT_TRUE(root.empty() || !root.front().up);

    // Enter takes the folder or says why not; leaving the field takes only a folder.
    start(league);
    EXPECT_TRUE(model->enter_folder((tmp / "games").string()));
    EXPECT_EQ(model->text(Control::FolderField), (tmp / "games").string());
    EXPECT_FALSE(model->can_process());
    EXPECT_EQ(model->text(Control::ProcessHint), window::texts::kNeedsTeamFile);
    model->open_folder_entry(4);   // League
    EXPECT_EQ(model->state().folder, tmp / "games" / "League");
    model->open_folder_entry(0);   // ..
    fs::remove_all(tmp / "games" / "alpha");
    model->open_folder_entry(2);   // alpha, gone meanwhile: the list is read again
    EXPECT_EQ(model->state().folder, tmp / "games");
    EXPECT_EQ(model->state().folder_entries.size(), 4u);
    EXPECT_FALSE(model->enter_folder((tmp / "nowhere").string()));
    EXPECT_EQ(view.last(), (tmp / "nowhere").string() + " does not exist.");
    model->leave_folder_field((tmp / "nowhere").string());
    model->leave_folder_field(league.string() + "/");
    EXPECT_EQ(model->state().folder, league);
    EXPECT_EQ(view.messages.size(), 1u);   // leaving the field never says anything
}

// The state a user sees, control by control, idle and during a run.
TEST_F(Model, WhatEachControlShowsIdleRunningCancellingAndAfterARun) {
    std::promise<void> go;
    std::atomic<bool> reached{false};
    scripted(0, go.get_future().share(), &reached);
    start(league);
    const Control locked[] = {Control::DriveList,       Control::FolderField,  Control::BrowseButton,
                              Control::RecentList,      Control::FolderList,   Control::ViewingFrame,
                              Control::ViewWhileProcessing, Control::ViewAfterCompleted, Control::DesiredFrame,
                              Control::PlayersOnly,     Control::TeamsOnly,    Control::PlayersAndTeams,
                              Control::WorkbookField,   Control::SaveAsButton};
    struct Seen {
        bool process, cancel_enabled, cancel_shown, hint, open, locked;
    };
    auto seen = [&] {
        bool all_locked = true;
        for (Control c : locked) all_locked = all_locked && !model->enabled(c);
        return Seen{model->enabled(Control::ProcessButton), model->enabled(Control::CancelButton),
                    model->shown(Control::CancelButton),    model->shown(Control::ProcessHint),
                    model->shown(Control::OpenButton) && model->shown(Control::ShowFolderButton), all_locked};
    };
    auto expect = [&](Seen want, const char* when) {
        const Seen got = seen();
        EXPECT_EQ(std::tuple(got.process, got.cancel_enabled, got.cancel_shown, got.hint, got.open, got.locked),
                  std::tuple(want.process, want.cancel_enabled, want.cancel_shown, want.hint, want.open, want.locked))
            << when;
    };
    expect({true, false, false, false, false, false}, "idle");
    ASSERT_TRUE(model->process({}, output.string()));
    ASSERT_TRUE(pump_until(*model, [&] { return reached.load(); }));
    expect({false, true, true, false, false, true}, "running");
    EXPECT_FALSE(model->choose_folder(tmp.path()));   // the folder stays as the run took it
    model->choose_option(Control::TeamsOnly);
    EXPECT_TRUE(model->checked(Control::PlayersAndTeams));
    model->cancel();
    expect({false, false, true, false, false, true}, "cancelling");
    go.set_value();
    model->wait();
    expect({true, false, false, false, false, false}, "cancelled");

    scripted();
    start(league);
    ASSERT_TRUE(model->process({}, output.string()));
    model->wait();
    expect({true, false, false, false, true, false}, "completed");
    EXPECT_EQ(model->text(Control::SavedLine), "Saved as " + output.string());
    ASSERT_TRUE(model->choose_folder(tmp.path()));   // another folder: the last run's words go
    expect({false, false, false, true, false, false}, "another folder");
    EXPECT_EQ(model->text(Control::StatusBox), "");

    // The radio buttons: one checked in each group, remembered.
    const std::pair<Control, std::pair<sheets::SheetsDesired, app::Viewing>> radios[] = {
        {Control::PlayersOnly, {sheets::SheetsDesired::PlayersOnly, app::Viewing::WhileProcessing}},
        {Control::ViewAfterCompleted, {sheets::SheetsDesired::PlayersOnly, app::Viewing::AfterCompleted}},
        {Control::TeamsOnly, {sheets::SheetsDesired::TeamsOnly, app::Viewing::AfterCompleted}},
        {Control::ViewWhileProcessing, {sheets::SheetsDesired::TeamsOnly, app::Viewing::WhileProcessing}},
        {Control::PlayersAndTeams, {sheets::SheetsDesired::PlayersAndTeams, app::Viewing::WhileProcessing}}};
    for (const auto& [radio, choice] : radios) {
        model->choose_option(radio);
        int checked = 0;
        for (Control c : window::all_controls()) checked += model->checked(c);
        EXPECT_TRUE(model->checked(radio) && checked == 2) << window::control_name(radio);
        const window::Remembered r = window::read_remembered(window::settings_file(data));
        EXPECT_EQ(std::pair(r.desired, r.viewing), choice);
    }
}

// A cancel at any moment of the run, the save included, ends it cancelled:
// the run is told, nothing is saved or opened or remembered, and the window
// is ready for the next run.
TEST_F(Model, ACancelAtEachStageIncludingTheSaveEndsTheRunCancelled) {
    for (std::size_t i = 0; i < std::size(kMoments); ++i) {
        const Moment& m = kMoments[i];
        SCOPED_TRACE(m.name);
        const std::string older = write_older_workbook(output);
        std::promise<void> go;
        std::atomic<bool> reached{false};
        scripted(i, go.get_future().share(), &reached);
        start(league);
        const std::string saved_before = saved();
        view.messages.clear();
        ASSERT_TRUE(model->process({}, output.string()));
        ASSERT_TRUE(pump_until(*model, [&] { return reached.load(); }));
        const window::WindowState& st = model->state();
        EXPECT_EQ(st.status, m.status);
        EXPECT_EQ(st.progress_busy, m.busy);
        if (!m.busy) {
            EXPECT_DOUBLE_EQ(st.progress, window::run_fraction(st.choices.desired, m.stage, m.done, m.total));
        }

        model->cancel();
        EXPECT_EQ(model->text(Control::StatusBox), "Cancelling...");
        EXPECT_FALSE(model->enabled(Control::CancelButton));
        go.set_value();
        model->wait();

        EXPECT_FALSE(st.running);
        EXPECT_EQ(model->text(Control::StatusBox), "Processing Cancelled");
        EXPECT_EQ(std::pair(st.progress, st.progress_busy), std::pair(0.0, false));
        EXPECT_EQ(model->text(Control::SavedLine), "");
        EXPECT_FALSE(model->shown(Control::SavedLine) || model->shown(Control::OpenButton));
        EXPECT_TRUE(model->enabled(Control::ProcessButton));
        EXPECT_FALSE(model->shown(Control::CancelButton));
        EXPECT_EQ(read_bytes(output), older);
        EXPECT_EQ(saved(), saved_before);
        EXPECT_TRUE(opened.empty() && view.messages.empty());
    }
}

// The folder field shows another folder than the one chosen: that one is
// converted, and remembered when the run completes.
TEST_F(Model, ARunWaitsOnItsNoticesAndEndsOnAFullBarSavedAndRemembered) {
    std::atomic<bool> answered_first{false};
    run = [&](const app::RunOptions& o, app::RunObserver& obs, const std::atomic<bool>*) {
        obs.started(std::chrono::system_clock::now());
        obs.notice({"this case is 3", "ENCPLSTATS.DAT", 4, "PhaseCode", "3", "Smith,John"});
        answered_first = true;
        obs.progress(app::Stage::Saving, 20, 20);   // the new workbook is in place
        obs.ended(std::chrono::system_clock::now());
        write_older_workbook(o.output);   // a workbook, so the next run may replace it
        return app::RunResult{app::RunOutcome::Completed, {}, {}};
    };
    bool waiting_on_notice = false;
    view.on_notice = [&] { waiting_on_notice = !answered_first; };
    start(league);
    const fs::path second = tmp / "second";
    folder_with_team_file(second, "encteam.dat");
    ASSERT_TRUE(model->process("  " + second.string(), output.string()));
    model->wait();

    EXPECT_TRUE(waiting_on_notice && answered_first);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(std::tuple(view.messages[0].kind, view.messages[0].text, view.messages[0].detail),
              std::tuple(Message::Kind::Notice, std::string("this case is 3"),
                         std::string("ENCPLSTATS.DAT record 4, PhaseCode 3, player Smith,John")));
    const auto& st = model->state();
    EXPECT_EQ(st.status, "Processing Completed");
    EXPECT_FALSE(st.start_time.empty() || st.end_time.empty());
    EXPECT_EQ(st.progress, 1.0);
    EXPECT_EQ(saved(), window::saved_folder_line(second));
    EXPECT_EQ(model->recent_texts(), (std::vector<std::string>{"Recent folders", second.string()}));
    EXPECT_EQ(opened, std::vector<fs::path>{output});
    EXPECT_GT(view.wakes.load(), 0);
}

// What is refused or cannot be done is said, in the window's words.
TEST_F(Model, RefusalsAndFailuresAreSaid) {
    int runs = 0;
    run = [&](const app::RunOptions&, app::RunObserver&, const std::atomic<bool>*) -> app::RunResult {
        if (++runs == 1) return {app::RunOutcome::Failed, "cannot read ENCPLYR.DAT", {}};
        throw std::bad_alloc();
    };
    start(league);
    window::Remembered r;
    window::add_recent(r, tmp / "gone");
    ASSERT_TRUE(window::write_remembered(window::settings_file(data), r).empty());
    start(league);
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { model->process({}, (league / "book.xlsx").string()); }, "encyclopedia folder"},
        {[&] { model->process({}, (tmp / "no-folder" / "book.xlsx").string()); }, "does not exist"},
        {[&] { model->process({}, ""); }, "Choose where to save the workbook first."},
        {[&] { model->enter_output((league / "x").string()); }, "encyclopedia folder"},
        {[&] { model->choose_recent(0); }, (tmp / "gone").string() + " is no longer there."},
        {[&] { model->choose_drive(tmp / "no-drive"); }, "The drive " + window::drive_text(tmp / "no-drive") + " is not ready."},
        {[&] { model->process({}, output.string()), model->wait(); }, "Processing failed; nothing was saved.\n\ncannot read ENCPLYR.DAT"},
        {[&] { model->process({}, output.string()), model->wait(); }, "std::bad_alloc"},
    };
    for (const auto& [action, said] : cases) {
        view.messages.clear();
        action();
        ASSERT_EQ(view.messages.size(), 1u) << said;
        EXPECT_NE(view.last().find(said), std::string::npos) << view.last();
    }
    EXPECT_EQ(model->text(Control::StatusBox), "Processing Failed: std::bad_alloc");
    EXPECT_EQ(view.messages[0].kind, Message::Kind::Failure);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(model->state().choices.output, output);   // the refused places were not taken

    // A completed run whose workbook no application opens says where it is;
    // Open workbook and Show in folder say what they cannot do.
    scripted();
    can_open = false;
    start(league);
    view.messages.clear();
    ASSERT_TRUE(model->process({}, output.string()));
    model->wait();
    model->open_workbook();
    model->show_workbook_folder();
    std::vector<std::string> texts;
    for (const Message& m : view.messages) texts.push_back(m.text);
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "No application to open .xlsx workbooks was found.\nThe workbook was saved as:\n" +
                             output.string(),
                         "No application to open .xlsx workbooks was found.", "The folder cannot be shown here."}));
}

// The view goes while the run waits on a notice: the run is released,
// cancelled, and waited for when the model ends; the view is not called again.
TEST_F(Model, ADetachedViewReleasesTheRun) {
    std::atomic<bool> released{false}, cancelled{false};
    run = [&](const app::RunOptions&, app::RunObserver& obs, const std::atomic<bool>* cancel) {
        obs.notice({"this case is 3", "ENCPLSTATS.DAT", 1, "PhaseCode", "3", {}});
        released = true;
        cancelled = cancel->load();
        obs.status("after the notice");
        return app::RunResult{app::RunOutcome::Cancelled, {}, {}};
    };
    start(league);
    view.on_notice = [&] { model->detach(); };   // the window is closed while the notice is up
    ASSERT_TRUE(model->process({}, output.string()));
    ASSERT_TRUE(pump_until(*model, [&] { return !view.messages.empty(); }));
    const int refreshes = view.refreshes;
    model.reset();
    EXPECT_TRUE(released && cancelled);
    EXPECT_EQ(view.refreshes, refreshes);
    EXPECT_FALSE(fs::exists(output));
}

// About names the version and the licence, lists every work the notices
// list after the toolkit, and carries both licence texts in full.
TEST(AboutText, TheVersionTheLicenceAndTheNoticesInFull) {
    const auto about = window::texts::about("Toolkit 1 (MIT)");
    EXPECT_EQ(about.heading, "TALLYBOOK " TALLYBOOK_VERSION);
    const auto& lines = about.lines;
    const auto toolkit = std::find(lines.begin(), lines.end(), "Toolkit 1 (MIT)");
    ASSERT_NE(toolkit, lines.end());
    EXPECT_TRUE(std::any_of(lines.begin(), toolkit, [](const std::string& l) { return l.find("MIT licence") != l.npos; }));
    ASSERT_FALSE(notices::works().empty());
    EXPECT_TRUE(std::equal(notices::works().begin(), notices::works().end(), toolkit + 1, lines.end()));
    EXPECT_TRUE(about.notices.starts_with(notices::license()));
    EXPECT_TRUE(about.notices.ends_with(notices::third_party()));
    EXPECT_NE(notices::license().find("Copyright (c) The TALLYBOOK authors"), std::string_view::npos);
    EXPECT_NE(notices::third_party().find("THIRD-PARTY NOTICES: TALLYBOOK " TALLYBOOK_VERSION), std::string_view::npos);
}

TEST(LiveRows, EachCellAsTheWorkbookShowsIt) {
    wb::Style bold_fill;
    bold_fill.bold = true;
    bold_fill.fill = 0xFFFFCC;
    bold_fill.font_size = 14;
    bold_fill.bottom = {wb::LineWeight::Medium, 0xFF0000};
    bold_fill.top = {wb::LineWeight::Thin, -1};
    bold_fill.left = {wb::LineWeight::Thick, -1};
    wb::Style right;
    right.align_right = true;
    app::SheetSnapshot snap{"A", 7, {}};
    for (int i = 0; i < window::kLiveRowLimit + 5; ++i)
        snap.rows.push_back({{"Smith, John", false, bold_fill}, {}, {"1999", true, {}}, {"text", false, right}});
    snap.rows.back().resize(40, {"x", false, {}});   // more columns than a sheet has: cut at AE
    const window::LiveRows rows = window::live_rows(snap);

    EXPECT_EQ(rows.title, "Sheet \"A\"");
    ASSERT_EQ(rows.cells.size(), static_cast<std::size_t>(window::kLiveRowLimit));   // the newest rows
    EXPECT_EQ(rows.row_titles.front(), std::to_string(7 + 5));
    EXPECT_EQ(rows.row_titles.back(), std::to_string(7 + window::kLiveRowLimit + 4));
    EXPECT_EQ(rows.cells.back().size(), static_cast<std::size_t>(window::kLiveColumns));
    EXPECT_EQ(std::vector<std::string>(rows.column_titles.begin(), rows.column_titles.begin() + 3),
              (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(std::pair(rows.column_titles[25], rows.column_titles.back()), std::pair(std::string("Z"), std::string("AE")));
    EXPECT_EQ(window::column_title(26 * 27), "AAA");

    const auto& first = rows.cells.front();
    using window::Alignment;
    EXPECT_EQ((std::vector<Alignment>{first[0].alignment, first[2].alignment, first[3].alignment}),
              (std::vector<Alignment>{Alignment::Left, Alignment::Right, Alignment::Right}));   // a number, text aligned right
    EXPECT_TRUE(first[0].bold && !first[2].bold);
    EXPECT_DOUBLE_EQ(first[0].font_scale, 14 / 11.0);
    EXPECT_EQ(std::pair(first[0].fill, first[2].fill), std::pair(0xFFFFCC, -1));
    using E = window::LiveEdge;
    EXPECT_EQ(first[0].edges, (std::array<E, 4>{E{1, 0}, E{2, 0xFF0000}, E{3, 0}, E{0, 0}}));
    EXPECT_TRUE(first[1].blank && !first[2].blank);
}

}  // namespace
}  // namespace tb::test
