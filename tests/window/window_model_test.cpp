// The window model without any toolkit: the remembered folder and choices,
// the rule that enables Process, the run's texts, bar, notices, cancel and
// end, as a view sees them.
#include "platform/platform.h"
#include "support/encyclopedia_builder.h"
#include "window/window_model.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

namespace tb::test {
namespace {

namespace fs = std::filesystem;
using window::WindowModel;

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A view that records what the model asks of it and answers notices at once.
struct FakeView : window::WindowView {
    WindowModel* model = nullptr;
    std::vector<std::string> statuses, notices, failures, messages;
    std::vector<std::pair<double, bool>> bars;   // progress, busy, as refreshed
    std::atomic<int> wakes{0};
    void refresh() override {
        const auto& st = model->state();
        if (statuses.empty() || statuses.back() != st.status) statuses.push_back(st.status);
        if (st.running) bars.emplace_back(st.progress, st.progress_busy);
    }
    void show_notice(const app::Notice& n) override {
        notices.push_back(n.text + " | " + n.where());
        model->answer_notice();
    }
    void show_failure(const std::string& t) override { failures.push_back(t); }
    void show_message(const std::string& t) override { messages.push_back(t); }
    void wake() override { ++wakes; }
};

class Model : public ::testing::Test {
protected:
    TempDir tmp;
    fs::path data = tmp / "data";
    fs::path league = tmp / "league";
    fs::path output = tmp / "out.xlsx";
    std::vector<fs::path> opened;
    window::RunFunction run;
    FakeView view;
    std::unique_ptr<WindowModel> model;

    void SetUp() override {
        fs::create_directories(league);
        std::ofstream(league / "ENCTEAM.DAT") << "x";
    }
    WindowModel& start(const fs::path& fallback = {}) {
        window::Setup s;
        s.data_dir = data;
        s.default_output = output;
        s.program_folder = tmp / "program";
        s.hooks.run = run;
        s.hooks.open_workbook = [this](const fs::path& p) {
            opened.push_back(p);
            return true;
        };
        model = std::make_unique<WindowModel>(s);
        view.model = model.get();
        model->attach(&view, fallback.empty() ? tmp.path() : fallback);
        return *model;
    }
    // A stand-in run: reports through `report`, then writes the workbook.
    window::RunFunction stand_in(std::function<app::RunOutcome(app::RunObserver&, const std::atomic<bool>*)> report) {
        return [report](const app::RunOptions& o, app::RunObserver& obs, const std::atomic<bool>* cancel) {
            app::RunResult r;
            r.outcome = report(obs, cancel);
            if (r.outcome == app::RunOutcome::Completed) std::ofstream(o.output) << "workbook";
            r.summary.output = o.output;
            return r;
        };
    }
};

TEST_F(Model, SavedFolderFileFirstStartRulesAndRoundTrip) {
    // A first start writes the program's folder and opens the fallback.
    start(league);
    const fs::path file = window::saved_folder_file(data);
    EXPECT_EQ(read_file(file), "\"" + (tmp / "program").string() + "\"\r\n");
    EXPECT_EQ(model->state().folder, league);

    // A saved folder that is there opens next time; one that is gone, or a
    // file that is not one quoted line, gives the home folder and stays as it was.
    ASSERT_TRUE(window::write_saved_folder(file, league).empty());
    start();
    EXPECT_EQ(model->state().folder, league);
    for (const std::string& bad : {std::string("\"") + (tmp / "gone").string() + "\"\r\n", std::string(),
                                  std::string("no quotes\r\n"), std::string("\"\"\r\n"), std::string("\"half\r\n")}) {
        std::ofstream(file, std::ios::binary) << bad;
        start();
        EXPECT_EQ(model->state().folder, tb::platform::home_folder().lexically_normal()) << bad;
        EXPECT_EQ(read_file(file), bad);
    }
    for (const fs::path& odd : {fs::path("/with space/and \"quote\""), fs::path("/Jos\xc3\xa9/\xc3\x9c" "ber")}) {
        ASSERT_TRUE(window::write_saved_folder(file, odd).empty());
        EXPECT_EQ(window::read_saved_folder(file), odd);
    }
    // A data folder that cannot be made is reported, not fatal.
    std::ofstream(tmp / "blocker") << "x";
    EXPECT_FALSE(window::write_saved_folder(tmp / "blocker" / "TALLYBOOK.txt", league).empty());
}

TEST_F(Model, ChoicesAndRecentFoldersAreRemembered) {
    start(league);
    model->set_desired(sheets::SheetsDesired::TeamsOnly);
    model->set_viewing(app::Viewing::AfterCompleted);
    ASSERT_FALSE(model->set_output(tmp / "season"));          // ".xlsx" is added
    start(league);
    const auto& c = model->state().choices;
    EXPECT_EQ(c.desired, sheets::SheetsDesired::TeamsOnly);
    EXPECT_EQ(c.viewing, app::Viewing::AfterCompleted);
    EXPECT_EQ(c.output, tmp / "season.xlsx");

    window::Remembered r;
    for (int i = 0; i < 12; ++i) window::add_recent(r, "/f" + std::to_string(i % 10));
    EXPECT_EQ(r.recent.size(), window::kRecentFolders);
    EXPECT_EQ(r.recent.front(), "/f1");
    EXPECT_EQ(r.recent[1], "/f0");   // a folder chosen again moves up, once
    ASSERT_TRUE(window::write_remembered(tmp / "s.txt", r).empty());
    EXPECT_EQ(window::read_remembered(tmp / "s.txt").recent, r.recent);
    std::ofstream(tmp / "s.txt") << "junk\ndesired=nonsense\nrecent=\n";
    EXPECT_EQ(window::read_remembered(tmp / "s.txt").desired, sheets::SheetsDesired::PlayersAndTeams);
}

TEST_F(Model, ProcessNeedsTheTeamFileAndSaysWhy) {
    start(league);
    EXPECT_TRUE(model->state().process_enabled);
    EXPECT_TRUE(model->state().process_hint.empty());
    ASSERT_TRUE(model->choose_folder(tmp.path()));
    EXPECT_FALSE(model->state().process_enabled);
    EXPECT_NE(model->state().process_hint.find("ENCTEAM.DAT"), std::string::npos);
    EXPECT_FALSE(model->choose_folder(league / "ENCTEAM.DAT"));
    EXPECT_FALSE(model->choose_folder(tmp / "missing"));
    EXPECT_EQ(model->state().folder, tmp.path());

    const struct {
        std::string typed;
        std::string error;
    } cases[] = {{"  " + league.string() + "/ ", ""}, {"", "Type a folder"},
                 {(tmp / "missing").string(), "does not exist"}, {(league / "ENCTEAM.DAT").string(), "is not a folder"}};
    for (const auto& c : cases) {
        const auto got = model->check_folder(c.typed);
        if (c.error.empty()) EXPECT_EQ(got.folder, league) << c.typed;
        else EXPECT_NE(got.error.find(c.error), std::string::npos) << got.error;
    }
    EXPECT_EQ(model->check_folder("~").folder, tb::platform::home_folder().lexically_normal());
}

TEST_F(Model, ARunShowsItsStagesOnTheBarAndEndsRemembered) {
    std::atomic<bool> answered_first{false};
    run = stand_in([&](app::RunObserver& obs, const std::atomic<bool>*) {
        obs.started(std::chrono::system_clock::now());
        obs.status("Reading the encyclopedia...");
        obs.progress(app::Stage::Reading, 1, 2);
        obs.status("TEAMS COMPLETED");
        obs.notice({"this case is 3", "ENCPLSTATS.DAT", 4, "PhaseCode", "3", "Smith,John"});
        answered_first = true;
        for (int i = 1; i <= 4; ++i) obs.progress(app::Stage::Players, i, 4);
        obs.status("Saving the workbook...");
        obs.progress(app::Stage::Saving, 10, 20);
        obs.progress(app::Stage::Saving, 20, 20);   // every row written: the file is packed next
        obs.ended(std::chrono::system_clock::now());
        obs.status("Processing Completed");
        return app::RunOutcome::Completed;
    });
    start(league);
    // The folder field shows another folder: that one is converted.
    const fs::path second = tmp / "second";
    fs::create_directories(second);
    std::ofstream(second / "encteam.dat") << "x";
    ASSERT_FALSE(model->process("  " + second.string(), output.string()));
    EXPECT_TRUE(model->state().running);
    EXPECT_FALSE(model->state().process_enabled);
    model->wait();

    EXPECT_TRUE(answered_first);
    EXPECT_EQ(view.notices, std::vector<std::string>{
                                "this case is 3 | ENCPLSTATS.DAT record 4, PhaseCode 3, player Smith,John"});
    EXPECT_EQ(view.statuses.back(), "Processing Completed");
    const auto& st = model->state();
    EXPECT_FALSE(st.start_time.empty());
    EXPECT_FALSE(st.end_time.empty());
    EXPECT_EQ(st.saved_line, "Saved as " + output.string());
    EXPECT_EQ(st.progress, 1.0);
    // The bar only grows, and is busy (never frozen full) while the file is packed.
    double last = 0;
    for (const auto& [p, busy] : view.bars) {
        if (busy) continue;
        EXPECT_GE(p, last);
        last = p;
    }
    EXPECT_TRUE(view.bars.back().second || st.running == false);
    EXPECT_EQ(read_file(window::saved_folder_file(data)), window::saved_folder_line(second));
    EXPECT_EQ(st.choices.recent.front(), second);
    EXPECT_EQ(opened, std::vector<fs::path>{output});
    EXPECT_TRUE(model->open_workbook());
    EXPECT_GT(view.wakes.load(), 0);
}

TEST_F(Model, BarSharesFollowTheChosenSheets) {
    using S = app::Stage;
    for (auto d : {sheets::SheetsDesired::PlayersAndTeams, sheets::SheetsDesired::PlayersOnly, sheets::SheetsDesired::TeamsOnly}) {
        double last = 0;
        for (S s : {S::Reading, S::Players, S::Teams, S::Saving})
            for (int done = 0; done <= 10; ++done) {
                const double f = window::run_fraction(d, s, done, 10);
                EXPECT_GE(f, last);
                last = f;
            }
        EXPECT_LT(last, 1.0);   // packing the file is still to come
        EXPECT_GT(last, 0.5);
    }
}

TEST_F(Model, CancelAndFailureKeepTheSavedFolderAndSaySo) {
    start(league);   // the saved folder
    const std::string before = read_file(window::saved_folder_file(data));
    const fs::path other = tmp / "other";
    fs::create_directories(other);
    std::ofstream(other / "ENCTEAM.DAT") << "x";
    std::atomic<bool> waiting{false};
    model.reset();
    run = stand_in([&](app::RunObserver&, const std::atomic<bool>* cancel) {
        waiting = true;
        while (!cancel->load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return app::RunOutcome::Cancelled;
    });
    start(league);
    ASSERT_FALSE(model->process(other.string(), output.string()));
    while (!waiting) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    model->cancel();
    EXPECT_EQ(model->state().status, "Cancelling...");
    model->wait();
    EXPECT_EQ(model->state().status, "Processing Cancelled");
    EXPECT_TRUE(model->state().process_enabled);

    model.reset();
    run = [](const app::RunOptions&, app::RunObserver&, const std::atomic<bool>*) -> app::RunResult {
        throw std::runtime_error("disk on fire");
    };
    start(league);
    ASSERT_FALSE(model->process(other.string(), output.string()));
    model->wait();
    ASSERT_EQ(view.failures.size(), 1u);
    EXPECT_NE(view.failures[0].find("disk on fire"), std::string::npos);
    EXPECT_EQ(model->state().status, "Processing Failed: disk on fire");
    EXPECT_EQ(read_file(window::saved_folder_file(data)), before);
    EXPECT_TRUE(opened.empty());
}

TEST_F(Model, AWorkbookPlaceThatCannotBeWrittenIsRefusedBeforeTheRun) {
    int runs = 0;
    run = [&](const app::RunOptions&, app::RunObserver&, const std::atomic<bool>*) {
        ++runs;
        return app::RunResult{};
    };
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
    struct SilentView : FakeView {
        void show_notice(const app::Notice&) override {}   // never answers
    } silent;
    std::atomic<bool> released{false}, cancelled{false};
    run = stand_in([&](app::RunObserver& obs, const std::atomic<bool>* cancel) {
        obs.notice({"this case is 3", "ENCPLSTATS.DAT", 1, "PhaseCode", "3", {}});
        released = true;
        cancelled = cancel->load();
        return app::RunOutcome::Cancelled;
    });
    window::Setup s;
    s.data_dir = data;
    s.default_output = output;
    s.hooks.run = run;
    {
        WindowModel m(s);
        silent.model = &m;
        m.attach(&silent, league);
        ASSERT_FALSE(m.process({}, output.string()));
        while (silent.wakes.load() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        m.pump();   // the notice is on show, unanswered
        m.detach();
    }
    EXPECT_TRUE(released);
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(fs::exists(output));
}

}  // namespace
}  // namespace tb::test
