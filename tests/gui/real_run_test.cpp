// The window driving the real run on a tiny encyclopedia.
#include "window_fixture.h"

#include "support/older_workbook.h"

#include <QDir>
#include <QFileInfo>

#include <future>

namespace tb::test {
namespace {

// Passes every report on. Given `reached`, it holds the run between its two
// players, or inside the save (every row written, the file about to be
// packed), until `go`.
class Gate : public RunObserver {
public:
    Gate(RunObserver& inner, std::atomic<bool>* reached, std::shared_future<void> go, bool in_save)
        : inner_(inner), reached_(reached), go_(std::move(go)), in_save_(in_save) {}
    void started(std::chrono::system_clock::time_point t) override { inner_.started(t); }
    void ended(std::chrono::system_clock::time_point t) override { inner_.ended(t); }
    void status(const std::string& s) override {
        inner_.status(s);
        if (!in_save_ && s == "Smith,John") hold();
    }
    void notice(const tb::app::Notice& n) override { inner_.notice(n); }
    void progress(tb::app::Stage s, int64_t done, int64_t total) override {
        inner_.progress(s, done, total);
        if (in_save_ && s == tb::app::Stage::Saving) hold();
    }
    void show_workbook() override { inner_.show_workbook(); }
    bool wants_snapshots() const override { return inner_.wants_snapshots(); }
    void snapshot(tb::app::SheetSnapshot s) override { inner_.snapshot(std::move(s)); }

private:
    void hold() {
        if (reached_ && !reached_->exchange(true)) go_.wait();
    }
    RunObserver& inner_;
    std::atomic<bool>* reached_;
    std::shared_future<void> go_;
    bool in_save_;
};

class RealRun : public WindowTest {
protected:
    QString folder = qpath(tmp / "league");
    std::atomic<bool> reached{false};
    std::promise<void> go;
    std::shared_future<void> go_future = go.get_future().share();

    void SetUp() override {
        enc::EncyclopediaContents c;
        c.teams = {team(1, "NYA"), team(2, "BOS")};
        c.players = {player(1, 1970), player(2, 1972)};
        c.stats = {hitter_line(1, 1999, 2, 1, "Smith", "John"), pitcher_line(2, 1999, 2, 2, "Jones", "Bob")};
        c.team_seasons = {team_season(1, 1999, 1, "New York", "Yankees", 98, 64),
                          team_season(2, 1999, 1, "Boston", "Red Sox", 94, 68)};
        c.league_seasons = {league_season(1, 1999, "American League")};
        c.leagues = {league(1, "American League")};
        enc::write_encyclopedia(tmp / "league", c);
        std::filesystem::create_directories(tmp / "out");
        save_folder("/some/earlier/folder");
    }
    // The real run, held where `hold` says ("" never).
    tb::window::RunFunction real(const std::string& hold = "") {
        return [this, hold](const RunOptions& o, RunObserver& obs, const std::atomic<bool>* cancel) {
            Gate gate(obs, hold.empty() ? nullptr : &reached, go_future, hold == "save");
            return tb::app::run_process(o, gate, cancel);
        };
    }
};

// (The run's status texts in order are the run tests' own.)
TEST_F(RealRun, ProducesTheWorkbook) {
    MainWindow w(settings(real()));
    press_process(w, folder);
    finish(w);
    EXPECT_EQ(field(w, "status_box"), "Processing Completed");
    EXPECT_EQ(file_bytes(output).left(2), QByteArray("PK"));   // a zip: .xlsx
    EXPECT_EQ(file_bytes(saved_file()), quoted(folder));
    EXPECT_EQ(opened, std::vector{output});
}

// Cancel (or Escape) between players, and Cancel or E&XIT at the last moment
// of the save: an older workbook stays byte for byte, no temporary file is
// left, the saved folder stays, and E&XIT takes the window away at once.
TEST_F(RealRun, CancelOrExitAtAnyMomentKeepsTheOlderWorkbook) {
    const QByteArray earlier = file_bytes(saved_file());
    const std::pair<const char*, const char*> cases[] = {
        {"player", "cancel_button"}, {"player", "Escape"}, {"save", "cancel_button"}, {"save", "exit_button"}};
    for (const auto& [hold, press] : cases) {
        SCOPED_TRACE(std::string(hold) + " " + press);
        const std::string older = tb::test::write_older_workbook(tb::gui::to_path(output));
        reached = false;
        go = {};
        go_future = go.get_future().share();
        {
            MainWindow w(settings(real(hold)));
            w.show();
            press_process(w, folder);
            const bool held = wait_until([&] { return reached.load(); });
            if (held && press == std::string("Escape")) QTest::keyClick(&w, Qt::Key_Escape);
            if (held && press != std::string("Escape")) click(w, press);
            if (press == std::string("exit_button")) {
                EXPECT_FALSE(w.isVisible());
            } else {
                EXPECT_EQ(field(w, "status_box"), "Cancelling...");
            }
            go.set_value();
            ASSERT_TRUE(held);
            if (press != std::string("exit_button")) {
                finish(w);
                EXPECT_EQ(field(w, "status_box"), "Processing Cancelled");
                EXPECT_TRUE(enabled(w, "process_button"));
            }
        }   // the window object ends: the run is waited for
        EXPECT_EQ(file_bytes(output).toStdString(), older);
        EXPECT_EQ(QDir(QFileInfo(output).absolutePath()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"TALLYBOOK.xlsx"});
        EXPECT_EQ(file_bytes(saved_file()), earlier);
        EXPECT_TRUE(opened.empty());
    }
    MainWindow idle(settings());   // E&XIT with nothing running just closes
    idle.show();
    click(idle, "exit_button");
    EXPECT_FALSE(idle.isVisible());
}

}  // namespace
}  // namespace tb::test
