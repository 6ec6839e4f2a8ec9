// The window driving the real run on a tiny encyclopedia.
#include "window_fixture.h"

#include <atomic>
#include <future>

namespace tb::test {
namespace {

using tb::app::RunObserver;
using tb::app::RunOptions;
using tb::gui::Form1;

void write_tiny_encyclopedia(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    enc::EncyclopediaContents c;
    c.teams = std::vector{team(1, "NYA"), team(2, "BOS")};
    c.players = std::vector{player(1, 1970), player(2, 1972), player(3, 1975)};
    c.stats = std::vector{hitter_line(1, 1999, 2, 1, "Smith", "John"),
                          pitcher_line(2, 1999, 2, 2, "Jones", "Bob"),
                          hitter_line(3, 1999, 2, 1, "Adams", "Al")};
    c.team_seasons = std::vector{team_season(1, 1999, 1, "New York", "Yankees", 98, 64),
                                 team_season(2, 1999, 1, "Boston", "Red Sox", 94, 68)};
    auto ls = league_season(1, 1999, "American League");
    ls.DivisionNames[0] = "East";
    ls.DivisionTeams[0] = 1;
    ls.DivisionTeams[1] = 2;
    c.league_seasons = std::vector{ls};
    c.leagues = std::vector{league(1, "American League")};
    enc::write_encyclopedia(dir, c);
}

// Passes every report on, and holds the run at the first player until the
// test lets it go, so a Cancel press lands between players.
class GateObserver : public RunObserver {
public:
    GateObserver(RunObserver& inner, std::atomic<bool>& reached, std::shared_future<void> go)
        : inner_(inner), reached_(reached), go_(std::move(go)) {}
    void started(std::chrono::system_clock::time_point t) override { inner_.started(t); }
    void ended(std::chrono::system_clock::time_point t) override { inner_.ended(t); }
    void status(const std::string& s) override {
        inner_.status(s);
        if (s != "TEAMS COMPLETED") hold();
    }
    void notice(const std::string& t, const std::string& d) override { inner_.notice(t, d); }
    void progress(int64_t done, int64_t total) override {
        inner_.progress(done, total);
        hold();
    }
    void show_workbook() override { inner_.show_workbook(); }
    bool wants_snapshots() const override { return inner_.wants_snapshots(); }
    void snapshot(tb::app::SheetSnapshot s) override { inner_.snapshot(std::move(s)); }

private:
    void hold() {
        if (reached_.exchange(true)) return;
        go_.wait();
    }
    RunObserver& inner_;
    std::atomic<bool>& reached_;
    std::shared_future<void> go_;
};

class RealRun : public WindowTest {
protected:
    std::filesystem::path folder = tmp.path() / "league";
    std::filesystem::path output = tmp.path() / "out" / "TALLYBOOK.xlsx";
    void SetUp() override { write_tiny_encyclopedia(folder); }
};

TEST_F(RealRun, ProducesTheWorkbookAndTheStatusTexts) {
    Form1 w(settings());
    BoxAnswerer boxes;
    ASSERT_TRUE(w.set_folder(qpath(folder)));
    control<QPushButton>(w, "cmdProcess")->click();
    ASSERT_TRUE(wait_until([&] { return !w.running(); }));

    EXPECT_TRUE(boxes.texts.empty()) << (boxes.texts.empty() ? "" : boxes.texts[0].toStdString());
    EXPECT_EQ(control<QLineEdit>(w, "txt1")->text(), "Processing Completed");
    EXPECT_FALSE(control<QLineEdit>(w, "txtstarttime")->text().isEmpty());
    EXPECT_FALSE(control<QLineEdit>(w, "txtendtime")->text().isEmpty());
    ASSERT_TRUE(std::filesystem::exists(output));
    EXPECT_EQ(file_bytes(qpath(output)).left(2), QByteArray("PK"));  // a zip: .xlsx
    EXPECT_EQ(file_bytes(saved_file()), '"' + QFile::encodeName(qpath(folder)) + "\"\r\n");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(qpath(output)));
}

TEST_F(RealRun, CancelLeavesNoWorkbook) {
    std::atomic<bool> reached{false};
    std::promise<void> go;
    std::shared_future<void> go_future = go.get_future().share();
    save_folder("/some/earlier/folder");
    const QByteArray before = file_bytes(saved_file());
    Form1 w(settings([&](const RunOptions& o, RunObserver& obs, const std::atomic<bool>* cancel) {
        GateObserver gate(obs, reached, go_future);
        return tb::app::run_process(o, gate, cancel);
    }));
    ASSERT_TRUE(w.set_folder(qpath(folder)));
    control<QPushButton>(w, "cmdProcess")->click();
    const bool held = wait_until([&] { return reached.load(); });
    if (held) control<QPushButton>(w, "cmdCancel")->click();
    go.set_value();
    ASSERT_TRUE(held);
    ASSERT_TRUE(wait_until([&] { return !w.running(); }));

    EXPECT_EQ(control<QLineEdit>(w, "txt1")->text(), "Processing Cancelled");
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_EQ(file_bytes(saved_file()), before);
    EXPECT_TRUE(opened.empty());
}

}  // namespace
}  // namespace tb::test
