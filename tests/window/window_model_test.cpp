// The window model without any toolkit, as a view sees it: the remembered
// folders, the rule that enables Process, a run's notices and end, a refused
// workbook place, and a view that goes away during a run.
#include "platform/platform.h"
#include "support/encyclopedia_builder.h"
#include "window/window_model.h"

#include <gtest/gtest.h>

#include <thread>

namespace tb::test {
namespace {

namespace fs = std::filesystem;
using window::WindowModel;

// A view that records what the model asks of it and answers notices at once
// (unless `silent`).
struct FakeView : window::WindowView {
    WindowModel* model = nullptr;
    bool silent = false;
    std::string status;
    std::vector<std::string> notices;
    std::atomic<int> wakes{0};
    void refresh() override { status = model->state().status; }
    void show_notice(const app::Notice& n) override {
        notices.push_back(n.text + " | " + n.where());
        if (!silent) model->answer_notice();
    }
    void show_failure(const std::string&) override {}
    void show_message(const std::string&) override {}
    void wake() override { ++wakes; }
};

using Report = std::function<app::RunOutcome(app::RunObserver&, const std::atomic<bool>*)>;

class Model : public ::testing::Test {
protected:
    TempDir tmp;
    fs::path data = tmp / "data", league = tmp / "league", output = tmp / "out.xlsx";
    std::vector<fs::path> opened;
    window::RunFunction run;
    FakeView view;
    std::unique_ptr<WindowModel> model;

    void SetUp() override { folder_with_team_file(league); }
    void folder_with_team_file(const fs::path& folder, const char* name = "ENCTEAM.DAT") {
        fs::create_directories(folder);
        write_bytes(folder / name, "x");
    }
    WindowModel& start(const fs::path& fallback = {}) {
        model.reset();
        window::Setup s;
        s.data_dir = data;
        s.default_output = output;
        s.program_folder = tmp / "program";
        s.hooks.run = run;
        s.hooks.open_workbook = [this](const fs::path& p) { return opened.push_back(p), true; };
        model = std::make_unique<WindowModel>(s);
        view.model = model.get();
        model->attach(&view, fallback.empty() ? tmp.path() : fallback);
        return *model;
    }
    // A stand-in run: reports through `report`, then writes the workbook when completed.
    void stand_in(Report report) {
        run = [report](const app::RunOptions& o, app::RunObserver& obs, const std::atomic<bool>* cancel) {
            app::RunResult r;
            r.outcome = report(obs, cancel);
            if (r.outcome == app::RunOutcome::Completed) write_bytes(o.output, "workbook");
            r.summary.output = o.output;
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

TEST_F(Model, ProcessNeedsTheTeamFileAndTypedFoldersAreCheckedAsEnterChecksThem) {
    start(league);
    EXPECT_TRUE(model->state().process_enabled);
    EXPECT_TRUE(model->state().process_hint.empty());
    for (auto [name, enables] : {std::pair{"encteam.dat", true}, {"EncTeam.Dat", true}, {"ENCPLYR.DAT", false}}) {
        folder_with_team_file(tmp / (std::string("f-") + name), name);
        ASSERT_TRUE(model->choose_folder(tmp / (std::string("f-") + name)));
        EXPECT_EQ(model->state().process_enabled, enables) << name;
    }
    fs::create_directories(tmp / "f-dir" / "ENCTEAM.DAT");   // a folder with the team file's name does not count
    ASSERT_TRUE(model->choose_folder(tmp / "f-dir"));
    EXPECT_FALSE(model->state().process_enabled);
    EXPECT_NE(model->state().process_hint.find("ENCTEAM.DAT"), std::string::npos);
    ASSERT_TRUE(model->choose_folder(tmp.path()));
    EXPECT_FALSE(model->choose_folder(league / "ENCTEAM.DAT"));
    EXPECT_FALSE(model->choose_folder(tmp / "missing"));
    EXPECT_EQ(model->state().folder, tmp.path());
    const std::pair<std::string, std::string> typed[] = {{"  " + league.string() + "/ ", ""},
                                                         {"", "Type a folder"},
                                                         {(tmp / "missing").string(), "does not exist"},
                                                         {(league / "ENCTEAM.DAT").string(), "is not a folder"}};
    for (const auto& [text, error] : typed) {
        const auto got = model->check_folder(text);
        if (error.empty()) EXPECT_EQ(got.folder, league) << text;
        else EXPECT_NE(got.error.find(error), std::string::npos) << got.error;
    }
    EXPECT_EQ(model->check_folder("~").folder, tb::platform::home_folder().lexically_normal());
}

// The folder field shows another folder than the one chosen: that one is
// converted, and remembered when the run completes.
TEST_F(Model, ARunWaitsOnItsNoticesAndEndsOnAFullBarSavedAndRemembered) {
    std::atomic<bool> answered_first{false};
    stand_in([&](app::RunObserver& obs, const std::atomic<bool>*) {
        obs.started(std::chrono::system_clock::now());
        obs.status("TEAMS COMPLETED");
        obs.notice({"this case is 3", "ENCPLSTATS.DAT", 4, "PhaseCode", "3", "Smith,John"});
        answered_first = true;
        obs.progress(app::Stage::Saving, 20, 20);   // the new workbook is in place
        obs.ended(std::chrono::system_clock::now());
        obs.status("Processing Completed");
        return app::RunOutcome::Completed;
    });
    start(league);
    const fs::path second = tmp / "second";
    folder_with_team_file(second, "encteam.dat");
    ASSERT_FALSE(model->process("  " + second.string(), output.string()));
    EXPECT_TRUE(model->state().running && !model->state().process_enabled);
    model->wait();

    EXPECT_TRUE(answered_first);
    EXPECT_EQ(view.notices,
              std::vector<std::string>{"this case is 3 | ENCPLSTATS.DAT record 4, PhaseCode 3, player Smith,John"});
    EXPECT_EQ(view.status, "Processing Completed");
    const auto& st = model->state();
    EXPECT_FALSE(st.start_time.empty() || st.end_time.empty());
    EXPECT_EQ(st.saved_line, "Saved as " + output.string());
    EXPECT_EQ(st.progress, 1.0);
    EXPECT_EQ(saved(), window::saved_folder_line(second));
    EXPECT_EQ(st.choices.recent.front(), second);
    EXPECT_EQ(opened, std::vector<fs::path>{output});
    EXPECT_GT(view.wakes.load(), 0);
}

// (Cancel and failure as the user sees them are in the window's tests.)
TEST_F(Model, AWorkbookPlaceThatCannotBeWrittenIsRefusedBeforeTheRun) {
    int runs = 0;
    stand_in([&](app::RunObserver&, const std::atomic<bool>*) { return ++runs, app::RunOutcome::Completed; });
    start(league);
    for (const fs::path& bad : {league / "book.xlsx", tmp / "no-folder" / "book.xlsx", fs::path()}) {
        const auto why = model->process({}, bad.string());
        ASSERT_TRUE(why) << bad;
        EXPECT_FALSE(model->state().running);
    }
    EXPECT_NE(model->process({}, (league / "book.xlsx").string())->find("encyclopedia folder"), std::string::npos);
    EXPECT_EQ(runs, 0);
}

// The view goes while the run waits on a notice: the run is released,
// cancelled, and waited for when the model ends; the view is not called again.
TEST_F(Model, ADetachedViewReleasesTheRun) {
    std::atomic<bool> released{false}, cancelled{false};
    stand_in([&](app::RunObserver& obs, const std::atomic<bool>* cancel) {
        obs.notice({"this case is 3", "ENCPLSTATS.DAT", 1, "PhaseCode", "3", {}});
        released = true;
        cancelled = cancel->load();
        return app::RunOutcome::Cancelled;
    });
    view.silent = true;   // never answers
    start(league);
    ASSERT_FALSE(model->process({}, output.string()));
    while (view.wakes.load() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    model->pump();   // the notice is on show, unanswered
    model->detach();
    model.reset();
    EXPECT_TRUE(released);
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(fs::exists(output));
}

}  // namespace
}  // namespace tb::test
