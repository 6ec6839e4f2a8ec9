// The window model without any toolkit, as a view sees it: the remembered
// folders and choices, the fields, what each control shows and its name, a
// run driven by a scripted stand-in through its notices, its end and a
// cancel at each stage, the live rows, and a view that goes away during a run.
#include "notices/notices.h"
#include "platform/platform.h"
#include "support/flood_run.h"
#include "support/older_workbook.h"
#include "support/read_only_folder.h"
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

// A view that records what the model asks of it.
struct FakeView : window::WindowView {
    std::vector<Message> messages;
    std::atomic<int> wakes{0};
    int refreshes = 0;
    void refresh() override { ++refreshes; }
    void show_message(const Message& m) override { messages.push_back(m); }
    std::vector<Message> questions;
    bool yes = false;   // the answer to every question
    bool ask(const Message& m) override {
        questions.push_back(m);
        return yes;
    }
    void wake() override { ++wakes; }
    std::string last() const { return messages.empty() ? std::string() : messages.back().text; }
};

// Waits until `done` holds, serving the model meanwhile when one is given;
// the limit only guards against a hang.
bool wait_until(const std::function<bool()>& done, WindowModel* model = nullptr) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        if (model) model->pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (model) model->pump();
    return true;
}

// A moment of a run, reported as the run reports it.
struct Moment {
    const char* name;
    app::Stage stage;
    const char* status;
    int64_t done, total;
};
const Moment kMoments[] = {
    {"reading", app::Stage::Reading, "Reading the encyclopedia...", 1, 6},
    {"players", app::Stage::Players, "Smith,John", 1, 2},
    {"teams", app::Stage::Teams, "Writing the team sheets...", 1, 2},
    {"saving", app::Stage::Saving, "Saving the workbook...", 10, 20},
    {"the end of the save", app::Stage::Saving, "Saving the workbook...", 20, 20},
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
    // waits for `go` first.
    void scripted(std::optional<std::size_t> hold = {}, std::shared_future<void> go = {},
                  std::atomic<bool>* reached = nullptr) {
        run = [=](const app::RunOptions&, app::RunObserver& obs, const std::atomic<bool>* cancel) {
            app::RunResult r{app::RunOutcome::Cancelled, {}, {}};
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
            obs.ended(std::chrono::system_clock::now());
            r.outcome = app::RunOutcome::Completed;
            return r;
        };
    }
    std::string saved() const { return read_bytes(window::saved_folder_file(data)); }
    // Process on, Cancel on, Cancel shown, the hint shown, Open and Show in
    // folder shown, every choice locked.
    void expect_controls(std::array<bool, 6> want, const char* when) {
        const Control locked[] = {Control::DriveList,       Control::FolderField,  Control::BrowseButton,
                                  Control::RecentList,      Control::FolderList,   Control::ViewingFrame,
                                  Control::ViewWhileProcessing, Control::ViewAfterCompleted, Control::DesiredFrame,
                                  Control::PlayersOnly,     Control::TeamsOnly,    Control::PlayersAndTeams,
                                  Control::WorkbookField,   Control::SaveAsButton};
        bool all_locked = true;
        for (Control c : locked) all_locked = all_locked && !model->enabled(c);
        const std::array<bool, 6> got = {model->enabled(Control::ProcessButton), model->enabled(Control::CancelButton),
                                         model->shown(Control::CancelButton), model->shown(Control::ProcessHint),
                                         model->shown(Control::OpenButton) && model->shown(Control::ShowFolderButton),
                                         all_locked};
        EXPECT_EQ(got, want) << when;
    }
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
    ASSERT_TRUE(window::write_saved_folder(file, "/Jos\xc3\xa9/\xc3\x9c" "ber").empty());
    EXPECT_EQ(window::read_saved_folder(file), fs::path("/Jos\xc3\xa9/\xc3\x9c" "ber"));

    // The recent folders: the latest first, without repeats, at most kRecentFolders.
    window::Remembered r;
    for (int i = 0; i < 12; ++i) window::add_recent(r, "/f" + std::to_string(i % 10));
    EXPECT_EQ(r.recent.size(), window::kRecentFolders);
    EXPECT_EQ(r.recent.front(), "/f1");
    EXPECT_EQ(r.recent[1], "/f0");   // a folder chosen again moves up, once
}

TEST_F(Model, TypedFoldersTheFolderListAndTheTeamFileRule) {
    EXPECT_EQ(window::check_typed_folder("~").folder, tb::platform::home_folder().lexically_normal());
    // The folder list: up first, hidden folders too, letter case apart; files are not listed.
    for (const char* sub : {"games/League", "games/.wine", "games/alpha", "games/Beta"}) fs::create_directories(tmp / sub);
    write_bytes(tmp / "games" / "notes.txt", "x");
    std::vector<std::string> names;
    for (const auto& e : window::folder_entries(tmp / "games")) names.push_back(e.text);
    EXPECT_EQ(names, (std::vector<std::string>{"..", ".wine", "alpha", "Beta", "League"}));

    // Enter takes the folder or says why not; leaving the field takes only a folder, silently.
    start(league);
    const std::pair<std::string, std::string> refused[] = {
        {" ", "Type a folder first."},
        {(tmp / "nowhere").string(), (tmp / "nowhere").string() + " does not exist."},
        {(league / "ENCTEAM.DAT").string(), (league / "ENCTEAM.DAT").string() + " is not a folder."}};
    for (const auto& [typed, said] : refused) {
        EXPECT_FALSE(model->enter_folder(typed));
        EXPECT_EQ(view.last(), said);
        model->leave_folder_field(typed);
    }
    EXPECT_EQ(view.messages.size(), std::size(refused));
    EXPECT_TRUE(model->enter_folder((tmp / "games").string()));
    EXPECT_EQ(model->text(Control::FolderField), (tmp / "games").string());
    EXPECT_EQ(model->text(Control::ProcessHint), window::texts::kNeedsTeamFile);
    model->open_folder_entry(4);   // League
    EXPECT_EQ(model->state().folder, tmp / "games" / "League");
    model->open_folder_entry(0);   // ..
    fs::remove_all(tmp / "games" / "alpha");
    model->open_folder_entry(2);   // alpha, gone meanwhile: the list is read again
    EXPECT_EQ(model->state().folder, tmp / "games");
    EXPECT_EQ(model->state().folder_entries.size(), 4u);
    model->leave_folder_field("  " + league.string() + "/ ");
    EXPECT_EQ(model->state().folder, league);
}

// The folder field shows another folder than the one chosen: that one is
// converted, and remembered when the run completes.
TEST_F(Model, WhatEachControlShowsIdleAndAfterARunSavedAndRemembered) {
    scripted();
    start(league);
    const fs::path second = tmp / "second";
    folder_with_team_file(second, "encteam.dat");
    ASSERT_TRUE(model->process("  " + second.string(), output.string()));
    model->wait();
    expect_controls({true, false, false, false, true, false}, "completed");
    const auto& st = model->state();
    EXPECT_EQ(st.status, "Processing Completed");
    EXPECT_EQ(std::pair(st.progress, st.progress_busy), std::pair(1.0, false));
    EXPECT_EQ(model->text(Control::SavedLine), "Saved as " + output.string());
    EXPECT_EQ(saved(), window::saved_folder_line(second));
    EXPECT_EQ(model->recent_texts(), (std::vector<std::string>{"Recent folders", second.string()}));
    EXPECT_TRUE(view.messages.empty());
    ASSERT_TRUE(model->choose_folder(tmp.path()));   // another folder: the last run's words go
    expect_controls({false, false, false, true, false, false}, "another folder");
    EXPECT_EQ(model->text(Control::StatusBox), "");

    // The radio buttons: checked and remembered.
    const std::pair<Control, std::pair<sheets::SheetsDesired, app::Viewing>> radios[] = {
        {Control::PlayersOnly, {sheets::SheetsDesired::PlayersOnly, app::Viewing::WhileProcessing}},
        {Control::ViewAfterCompleted, {sheets::SheetsDesired::PlayersOnly, app::Viewing::AfterCompleted}},
        {Control::TeamsOnly, {sheets::SheetsDesired::TeamsOnly, app::Viewing::AfterCompleted}},
        {Control::ViewWhileProcessing, {sheets::SheetsDesired::TeamsOnly, app::Viewing::WhileProcessing}},
        {Control::PlayersAndTeams, {sheets::SheetsDesired::PlayersAndTeams, app::Viewing::WhileProcessing}}};
    for (const auto& [radio, choice] : radios) {
        model->choose_option(radio);
        EXPECT_TRUE(model->checked(radio)) << window::control_name(radio);
        const window::Remembered r = window::read_remembered(window::settings_file(data));
        EXPECT_EQ(std::pair(r.desired, r.viewing), choice);
    }
}

TEST_F(Model, ACancelAtEachStageIncludingTheSaveEndsTheRunCancelled) {
    for (std::size_t i = 0; i < std::size(kMoments); ++i) {
        const Moment& m = kMoments[i];
        SCOPED_TRACE(m.name);
        std::promise<void> go;
        std::atomic<bool> reached{false};
        scripted(i, go.get_future().share(), &reached);
        start(league);
        const std::string saved_before = saved();
        ASSERT_TRUE(model->process({}, output.string()));
        ASSERT_TRUE(wait_until([&] { return reached.load(); }, model.get()));
        const window::WindowState& st = model->state();
        EXPECT_EQ(st.status, m.status);
        EXPECT_EQ((window::BarPosition{st.progress, st.progress_busy}),
                  window::bar_position(st.choices.desired, m.stage, m.done, m.total));

        expect_controls({false, true, true, false, false, true}, "running");
        EXPECT_FALSE(model->choose_folder(tmp.path()));   // the folder and the choices stay as the run took them
        model->choose_option(Control::TeamsOnly);
        EXPECT_TRUE(model->checked(Control::PlayersAndTeams));

        model->cancel();
        EXPECT_EQ(model->text(Control::StatusBox), "Cancelling...");
        expect_controls({false, false, true, false, false, true}, "cancelling");
        go.set_value();
        model->wait();

        EXPECT_EQ(model->text(Control::StatusBox), "Processing Cancelled");
        EXPECT_EQ(std::pair(st.progress, st.progress_busy), std::pair(0.0, false));
        expect_controls({true, false, false, false, false, false}, "cancelled");
        EXPECT_EQ(saved(), saved_before);
        EXPECT_TRUE(opened.empty() && view.messages.empty());
    }
}

TEST_F(Model, NoticesAreListedCountedCopiedAndKeptWithoutHoldingTheRun) {
    const std::size_t limit = window::kNoticeListLimit;
    std::atomic<bool> all_reported{false};
    run = [&](const app::RunOptions&, app::RunObserver& obs, const std::atomic<bool>*) {
        obs.notice({"this case is 3", "ENCPLSTATS.DAT", 4, "PhaseCode", "3", "Smith,John"});
        obs.notice({"ENCTEAM.DAT is empty", "ENCTEAM.DAT", 0, {}, {}, {}});
        for (std::size_t i = 0; i < limit + 201; ++i) obs.notice({"team 7 has no team record", "ENCPLSTATS.DAT", 9, {}, {}, {}});
        all_reported = true;   // nobody pumped meanwhile: nothing waited on the view
        return app::RunResult{app::RunOutcome::Completed, {}, {}};
    };
    start(league);
    ASSERT_TRUE(model->process({}, output.string()));
    EXPECT_TRUE(wait_until([&] { return all_reported.load(); }));
    EXPECT_EQ(view.wakes.load(), 1);   // one wake-up for all of it until the view pumps
    model->wait();

    const std::vector<std::string> rows = model->notice_rows();
    ASSERT_EQ(rows.size(), limit + 1);
    EXPECT_EQ(rows[0], "this case is 3 - ENCPLSTATS.DAT record 4, PhaseCode 3, player Smith,John");
    EXPECT_EQ(rows[1], "ENCTEAM.DAT is empty");
    EXPECT_EQ(rows.back(), "... and 203 more notices, not listed");
    EXPECT_EQ(model->text(Control::NoticesLabel), "Notices: " + std::to_string(limit + 203));
    EXPECT_TRUE(view.messages.empty());   // no box for any of them
    EXPECT_TRUE(model->enabled(Control::CopyNoticesButton));
    EXPECT_EQ(model->notices_text({1, rows.size() - 1, rows.size() + 5}),
              rows[1] + "\n" + rows.back() + "\n");   // a row past the end is passed over
    const std::string all = model->notices_text({});   // none chosen: every row
    EXPECT_TRUE(all.starts_with(rows[0] + "\n" + rows[1] + "\n") && all.ends_with("\n" + rows.back() + "\n"));
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), static_cast<std::ptrdiff_t>(rows.size()));

    ASSERT_TRUE(model->process({}, output.string()));   // the next run starts its own list
    model->wait();
    EXPECT_EQ(model->notice_rows(), rows);
    ASSERT_TRUE(model->choose_folder(tmp.path()));   // another folder: the list goes, as the rest of the run's words
    EXPECT_TRUE(model->notice_rows().empty() && !model->enabled(Control::CopyNoticesButton));
    EXPECT_EQ(model->text(Control::NoticesLabel), "Notices");
}

// However fast the run reports, every notice is counted across the pumps. A
// view that goes during a run cancels it; the run is waited for when the
// model ends, and the view is not called again.
TEST_F(Model, AFloodIsCountedAcrossPumpsAndADetachedViewIsNotCalledAgain) {
    std::atomic<int64_t> reports{0};
    run = flood_run(reports);
    start(league);
    ASSERT_TRUE(model->process({}, output.string()));
    ASSERT_TRUE(wait_until([&] { return reports > 5000; }, model.get()));   // many pumps
    model->cancel();
    model->wait();
    EXPECT_EQ(model->state().notice_count, std::optional<int64_t>(reports.load()));   // counted across pumps

    reports = 0;
    ASSERT_TRUE(model->process({}, output.string()));
    ASSERT_TRUE(wait_until([&] { return reports > 0; }, model.get()));
    model->detach();   // the window is closed
    model->pump();     // a pump already asked for may still come: the run must not wake the view after it
    const auto calls = std::pair(view.refreshes, view.wakes.load());
    model.reset();
    EXPECT_EQ(std::pair(view.refreshes, view.wakes.load()), calls);
}

// Each refusal or failure is one box of its kind, in the window's words.
TEST_F(Model, RefusalsAndFailuresAreSaid) {
    ReadOnlyFolder locked(tmp.path());
    std::vector<bool> replace_any;   // what each run was told
    run = [&](const app::RunOptions& o, app::RunObserver&, const std::atomic<bool>*) -> app::RunResult {
        replace_any.push_back(o.replace_any_file);
        if (replace_any.size() == 2) return {app::RunOutcome::Failed, "cannot read ENCPLYR.DAT", {}};
        if (replace_any.size() == 3) throw std::bad_alloc();
        write_older_workbook(o.output);
        return {app::RunOutcome::Completed, {}, {}};
    };
    can_open = false;
    window::Remembered r;
    window::add_recent(r, tmp / "gone");
    ASSERT_TRUE(window::write_remembered(window::settings_file(data), r).empty());
    start(league);
    write_bytes(output, "my notes");   // no workbook: replaced only on a yes to the question naming it
    EXPECT_FALSE(model->process({}, output.string()));
    ASSERT_EQ(view.questions.size(), 1u);
    EXPECT_EQ(view.questions[0].kind, Message::Kind::Warning);
    EXPECT_EQ(view.questions[0].text, "cannot write the workbook " + output.string() +
                                          ": it is not a workbook\n\nReplace it with the new workbook?");
    view.yes = true;   // the first run below replaces it; the workbook it leaves is not asked about
    const fs::path inside = locked.path().empty() ? tmp / "missing" / "x.xlsx" : locked.path() / "TALLYBOOK.xlsx";
    const std::string no_application = "No application to open .xlsx workbooks was found.";
    using K = Message::Kind;
    const std::tuple<std::function<void()>, std::string, K> cases[] = {
        {[&] { model->process({}, inside.string()); }, "cannot write the workbook " + inside.string() + ": ", K::Warning},
        {[&] { model->process({}, ""); }, "Choose where to save the workbook first.", K::Warning},
        {[&] { model->enter_output((league / "x").string()); }, "encyclopedia folder", K::Warning},
        {[&] { model->choose_recent(0); }, (tmp / "gone").string() + " is no longer there.", K::Information},
        {[&] { model->choose_drive(tmp / "no-drive"); }, "The drive " + window::drive_text(tmp / "no-drive") + " is not ready.",
         K::Information},
        {[&] { model->process({}, output.string()), model->wait(); },
         no_application + "\nThe workbook was saved as:\n" + output.string(), K::Information},
        {[&] { model->open_workbook(); }, no_application, K::Information},
        {[&] { model->show_workbook_folder(); }, "The folder cannot be shown here.", K::Information},
        {[&] { model->process({}, output.string()), model->wait(); },
         "Processing failed; nothing was saved.\n\ncannot read ENCPLYR.DAT", K::Failure},
        {[&] { model->process({}, output.string()), model->wait(); }, "std::bad_alloc", K::Failure},
    };
    for (const auto& [action, said, kind] : cases) {
        view.messages.clear();
        action();
        ASSERT_EQ(view.messages.size(), 1u) << said;
        EXPECT_NE(view.last().find(said), std::string::npos) << view.last();
        EXPECT_EQ(view.messages[0].kind, kind) << said;
    }
    EXPECT_EQ(model->text(Control::StatusBox), "Processing Failed: std::bad_alloc");
    EXPECT_EQ(replace_any, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(view.questions.size(), 2u);
    EXPECT_EQ(model->state().choices.output, output);   // the refused places were not taken
}

// The window reopens where it was closed while a screen still shows its
// title bar; a damaged line is passed over and the view picks the place.
TEST_F(Model, TheWindowOpensWhereItWasWhenAScreenIsThere) {
    using window::Rect;
    using window::WindowPlace;
    const std::vector<Rect> two_screens = {{0, 0, 1920, 1040}, {1920, 0, 1280, 984}};
    const WindowPlace on_second{{2000, 100, 600, 660}, true};   // maximized there
    const std::tuple<const char*, WindowPlace, std::vector<Rect>, std::optional<WindowPlace>> cases[] = {
        {"on the second screen", on_second, two_screens, on_second},
        {"that screen gone", on_second, {two_screens[0]}, std::nullopt},
        {"title bar above the screens", {{100, -200, 600, 660}, false}, two_screens, std::nullopt},
        {"larger than the screen now", {{0, 0, 2400, 1200}, true}, {two_screens[0]},
         WindowPlace{{0, 0, 1920, 1040}, true}},
    };
    for (const auto& [what, place, screens, want] : cases)
        EXPECT_EQ(window::place_on_screens(place, screens), want) << what;

    EXPECT_EQ(start(league).opening_place(two_screens), std::nullopt);   // a first start
    model->remember_place(on_second);
    EXPECT_EQ(start(league).opening_place(two_screens), on_second);
    write_bytes(window::settings_file(data), "window=1,2,3\nwindow=4,5,-6,7,normal\n");
    EXPECT_EQ(start(league).opening_place(two_screens), std::nullopt);
}

// About lists every work the notices list after the toolkit, and carries
// both licence texts in full (their words are the command line's test's).
TEST(AboutText, TheVersionTheLicenceAndTheNoticesInFull) {
    const auto about = window::texts::about("Toolkit 1 (MIT)");
    EXPECT_EQ(about.heading, "TALLYBOOK " TALLYBOOK_VERSION);
    const auto toolkit = std::find(about.lines.begin(), about.lines.end(), "Toolkit 1 (MIT)");
    ASSERT_NE(toolkit, about.lines.end());
    ASSERT_FALSE(notices::works().empty());
    EXPECT_TRUE(std::equal(notices::works().begin(), notices::works().end(), toolkit + 1, about.lines.end()));
    EXPECT_TRUE(std::any_of(about.lines.begin(), toolkit, [](const std::string& l) { return l.find("MIT licence") != l.npos; }));
    EXPECT_TRUE(about.notices.starts_with(notices::license()) && about.notices.ends_with(notices::third_party()));
}

// A screen reader calls every field, list, box and the bar by a name (its label's caption, the label
// made just before it), never by what it holds; everything the user can use has a tooltip.
TEST(Names, EveryControlIsNamedAndExplained) {
    const auto all = window::all_controls();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Control c = all[i];
        const window::ControlKind kind = window::control_kind(c);
        SCOPED_TRACE(std::string(window::control_name(c)));
        if (const auto label = window::label_of(c)) {
            ASSERT_GT(i, 0u);
            EXPECT_EQ(all[i - 1], *label);   // made right before the control it names
            EXPECT_EQ(window::texts::accessible_name(c), window::texts::caption(*label));
        }
        using K = window::ControlKind;
        const bool needs_name = kind != K::Label && kind != K::Button && kind != K::Radio && kind != K::Frame;
        EXPECT_EQ(window::texts::accessible_name(c).empty(), !needs_name);
        EXPECT_TRUE(kind == K::Label || kind == K::Frame || kind == K::Grid || !window::texts::tooltip(c).empty());
    }
}

TEST(LiveRows, TheNewestRowsCutAtTheLastColumn) {
    wb::Style right;
    right.align_right = true;
    app::SheetSnapshot snap{"A", 7, {}};
    for (int i = 0; i < window::kLiveRowLimit + 5; ++i)
        snap.rows.push_back({{"Smith, John", false, {}}, {}, {"1999", true, {}}, {"text", false, right}});
    snap.rows.back().resize(40, {"x", false, {}});   // more columns than a sheet has: cut at AE
    const window::LiveRows rows = window::live_rows(snap);

    EXPECT_EQ(rows.title, "Sheet \"A\"");
    ASSERT_EQ(rows.cells.size(), static_cast<std::size_t>(window::kLiveRowLimit));
    EXPECT_EQ(rows.row_titles.front(), std::to_string(7 + 5));
    EXPECT_EQ(rows.row_titles.back(), std::to_string(7 + window::kLiveRowLimit + 4));
    EXPECT_EQ(rows.cells.back().size(), static_cast<std::size_t>(window::kLiveColumns));
    EXPECT_EQ(rows.column_titles.back(), "AE");
    const auto& first = rows.cells.front();   // numbers, and text aligned right, stand right
    using window::Alignment;
    EXPECT_EQ((std::vector<Alignment>{first[0].alignment, first[2].alignment, first[3].alignment}),
              (std::vector<Alignment>{Alignment::Left, Alignment::Right, Alignment::Right}));
}

}  // namespace
}  // namespace tb::test
