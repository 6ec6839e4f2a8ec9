// The window driving the real run on a tiny encyclopedia.
#include "window_fixture.h"

#include <algorithm>
#include <atomic>
#include <future>

#include <QDir>
#include <QFileInfo>

namespace tb::test {
namespace {

void write_tiny_encyclopedia(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    enc::EncyclopediaContents c;
    c.teams = {team(1, "NYA"), team(2, "BOS")};
    c.players = {player(1, 1970), player(2, 1972)};
    c.stats = {hitter_line(1, 1999, 2, 1, "Smith", "John"), pitcher_line(2, 1999, 2, 2, "Jones", "Bob")};
    c.team_seasons = {team_season(1, 1999, 1, "New York", "Yankees", 98, 64),
                      team_season(2, 1999, 1, "Boston", "Red Sox", 94, 68)};
    c.league_seasons = {league_season(1, 1999, "American League")};
    c.leagues = {league(1, "American League")};
    enc::write_encyclopedia(dir, c);
}

// Passes every report on and keeps the status texts. Given `reached`, it holds
// the run at the first player until `go`, so a Cancel press lands between players.
class GateObserver : public RunObserver {
public:
    GateObserver(RunObserver& inner, std::atomic<bool>* reached = nullptr, std::shared_future<void> go = {})
        : inner_(inner), reached_(reached), go_(std::move(go)) {}
    std::vector<std::string> statuses;

    void started(std::chrono::system_clock::time_point t) override { inner_.started(t); }
    void ended(std::chrono::system_clock::time_point t) override { inner_.ended(t); }
    void status(const std::string& s) override {
        statuses.push_back(s);
        inner_.status(s);
        if (!hold_in_save_ && s != "TEAMS COMPLETED") hold();
    }
    void notice(const tb::app::Notice& n) override { inner_.notice(n); }
    void progress(tb::app::Stage s, int64_t done, int64_t total) override {
        inner_.progress(s, done, total);
        if (hold_in_save_ && s == tb::app::Stage::Saving) hold();
    }
    // Holds the run inside the save (once every row is written, right
    // before the file is packed) instead of at the first player.
    void hold_in_save() { hold_in_save_ = true; }
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
    bool hold_in_save_ = false;
};

class RealRun : public WindowTest {
protected:
    std::filesystem::path folder = tmp.path() / "league";
    void SetUp() override { write_tiny_encyclopedia(folder); }
};

TEST_F(RealRun, ProducesTheWorkbookAndTheStatusTexts) {
    std::vector<std::string> statuses;
    Form1 w(settings([&](const RunOptions& o, RunObserver& obs, const std::atomic<bool>* cancel) {
        GateObserver gate(obs);
        const RunResult r = tb::app::run_process(o, gate, cancel);
        statuses = gate.statuses;
        return r;
    }));
    BoxAnswerer boxes;
    press_process(w, qpath(folder));
    finish(w);

    EXPECT_TRUE(boxes.texts.empty()) << (boxes.texts.empty() ? "" : boxes.texts[0].toStdString());
    ASSERT_GE(statuses.size(), 3u);
    EXPECT_EQ(statuses.front(), "Reading the encyclopedia...");
    EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Smith,John"), statuses.end());
    EXPECT_EQ(statuses.back(), "Processing Completed");
    EXPECT_EQ(field(w, "txt1"), "Processing Completed");
    EXPECT_FALSE(field(w, "txtstarttime").isEmpty());
    EXPECT_FALSE(field(w, "txtendtime").isEmpty());
    EXPECT_EQ(file_bytes(output).left(2), QByteArray("PK"));  // a zip: .xlsx
    EXPECT_EQ(file_bytes(saved_file()), quoted(qpath(folder)));
    EXPECT_EQ(opened, std::vector{output});
}

TEST_F(RealRun, CancelLeavesNoWorkbook) {
    std::atomic<bool> reached{false};
    std::promise<void> go;
    std::shared_future<void> go_future = go.get_future().share();
    save_folder("/some/earlier/folder");
    const QByteArray before = file_bytes(saved_file());
    Form1 w(settings([&](const RunOptions& o, RunObserver& obs, const std::atomic<bool>* cancel) {
        GateObserver gate(obs, &reached, go_future);
        return tb::app::run_process(o, gate, cancel);
    }));
    press_process(w, qpath(folder));
    const bool held = wait_until([&] { return reached.load(); });
    if (held) control<QPushButton>(w, "cmdCancel")->click();
    go.set_value();
    ASSERT_TRUE(held);
    finish(w);

    EXPECT_EQ(field(w, "txt1"), "Processing Cancelled");
    EXPECT_FALSE(QFileInfo::exists(output));
    EXPECT_EQ(file_bytes(saved_file()), before);
    EXPECT_TRUE(opened.empty());
}

// A cancel, or E&XIT, at the last moment of the save: the older workbook
// stays byte for byte, no temporary file is left, and E&XIT takes the
// window away at once.
TEST_F(RealRun, CancelOrExitDuringTheSaveKeepsTheOlderWorkbook) {
    const QByteArray older = "an older workbook";
    std::filesystem::create_directories(tmp.path() / "out");
    for (const char* press : {"cmdCancel", "cmdExit"}) {
        SCOPED_TRACE(press);
        QFile f(output);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(older);
        f.close();
        std::atomic<bool> reached{false};
        std::promise<void> go;
        std::shared_future<void> go_future = go.get_future().share();
        {
            Form1 w(settings([&](const RunOptions& o, RunObserver& obs, const std::atomic<bool>* cancel) {
                GateObserver gate(obs, &reached, go_future);
                gate.hold_in_save();
                return tb::app::run_process(o, gate, cancel);
            }));
            w.show();
            press_process(w, qpath(folder));
            const bool held = wait_until([&] { return reached.load(); });
            if (held) control<QPushButton>(w, press)->click();
            if (std::string(press) == "cmdExit") {
                EXPECT_FALSE(w.isVisible());
            }
            go.set_value();
            ASSERT_TRUE(held);
            if (std::string(press) == "cmdCancel") {
                finish(w);
                EXPECT_EQ(field(w, "txt1"), "Processing Cancelled");
            }
        }   // the window object ends: the run is waited for
        EXPECT_EQ(file_bytes(output), older);
        EXPECT_EQ(QDir(QFileInfo(output).absolutePath()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"TALLYBOOK.xlsx"});
        EXPECT_TRUE(opened.empty());
    }
}

}  // namespace
}  // namespace tb::test
