// Runs through the window with a stand-in run: what the window shows, when
// it waits for the user, what it saves, and that it stays in charge.
#include "window_fixture.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QTableWidget>

#include <atomic>
#include <future>
#include <mutex>
#include <thread>

namespace tb::test {
namespace {

using tb::app::RunObserver;
using tb::app::RunOptions;
using tb::app::RunOutcome;
using tb::app::RunResult;
using tb::gui::Form1;
using namespace std::chrono;

RunResult completed(const RunOptions& o) {
    std::ofstream(o.output) << "workbook";
    RunResult r;
    r.outcome = RunOutcome::Completed;
    r.summary.output = o.output;
    return r;
}

// Blocks the stand-in run until the test lets it go on.
struct Latch {
    std::promise<void> reached_p, release_p;
    std::shared_future<void> release = release_p.get_future().share();
    std::atomic<bool> reached{false};
    void arrive() {
        reached = true;
        release.wait();
    }
    void open() { release_p.set_value(); }
};

class RunThroughWindow : public WindowTest {
protected:
    QString folder = qpath(enc_folder("league"));

    void press_process(Form1& w) {
        ASSERT_TRUE(w.set_folder(folder));
        auto* process = control<QPushButton>(w, "cmdProcess");
        ASSERT_TRUE(process->isEnabled());
        process->click();
        ASSERT_TRUE(w.running());
    }
    void finish(Form1& w) { ASSERT_TRUE(wait_until([&] { return !w.running(); })); }
};

TEST_F(RunThroughWindow, ShowsTimesAndStatusSavesTheFolderAndOpensTheWorkbook) {
    const auto t0 = system_clock::now() - hours(1);
    const auto t1 = system_clock::now();
    RunOptions seen;
    Form1 w(settings([&](const RunOptions& o, RunObserver& obs, const std::atomic<bool>* cancel) {
        seen = o;
        EXPECT_NE(cancel, nullptr);
        obs.started(t0);
        obs.status("TEAMS COMPLETED");
        obs.status("Smith, John");
        obs.progress(1, 2);
        obs.status("Jones, Bob");
        obs.progress(2, 2);
        obs.ended(t1);
        obs.status("Processing Completed");
        return completed(o);
    }));
    press_process(w);
    finish(w);

    EXPECT_EQ(qpath(seen.folder), folder);
    EXPECT_EQ(seen.desired, tb::wb::SheetsDesired::PlayersAndTeams);
    EXPECT_EQ(seen.viewing, tb::app::Viewing::WhileProcessing);
    const QString output = qpath(tmp.path() / "out" / "TALLYBOOK.xlsx");
    EXPECT_EQ(qpath(seen.output), output);

    auto local = [](system_clock::time_point t) {
        return QLocale().toString(
            QDateTime::fromMSecsSinceEpoch(duration_cast<milliseconds>(t.time_since_epoch()).count()),
            QLocale::ShortFormat);
    };
    EXPECT_EQ(control<QLineEdit>(w, "txtstarttime")->text(), local(t0));
    EXPECT_EQ(control<QLineEdit>(w, "txtendtime")->text(), local(t1));
    EXPECT_EQ(control<QLineEdit>(w, "txt1")->text(), "Processing Completed");
    EXPECT_EQ(file_bytes(saved_file()), '"' + QFile::encodeName(folder) + "\"\r\n");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(output));
}

TEST_F(RunThroughWindow, ChoicesOfTheFramesReachTheRun) {
    RunOptions seen;
    bool wanted_snapshots = true;
    Form1 w(settings([&](const RunOptions& o, RunObserver& obs, const std::atomic<bool>*) {
        seen = o;
        wanted_snapshots = obs.wants_snapshots();
        return completed(o);
    }));
    control<QRadioButton>(w, "opt3")->click();
    control<QRadioButton>(w, "opt2")->click();
    press_process(w);
    finish(w);
    EXPECT_EQ(seen.desired, tb::wb::SheetsDesired::PlayersOnly);
    EXPECT_EQ(seen.viewing, tb::app::Viewing::AfterCompleted);
    EXPECT_FALSE(wanted_snapshots);
    EXPECT_FALSE(control<QWidget>(w, "liveView")->isVisibleTo(&w));
    EXPECT_EQ(opened.size(), 1u);  // Players Only, viewed after: still opened

    control<QRadioButton>(w, "opt4")->click();
    control<QPushButton>(w, "cmdProcess")->click();
    finish(w);
    EXPECT_EQ(seen.desired, tb::wb::SheetsDesired::TeamsOnly);
}

TEST_F(RunThroughWindow, ChoicesAreLockedWhileRunningAndFreedAfter) {
    Latch latch;
    Form1 w(settings([&](const RunOptions& o, RunObserver&, const std::atomic<bool>*) {
        latch.arrive();
        return completed(o);
    }));
    press_process(w);
    ASSERT_TRUE(wait_until([&] { return latch.reached.load(); }));
    const char* locked[] = {"cmdProcess", "opt1", "opt2", "opt3", "opt4", "opt5",
                            "drv1",       "dir1", "txtOutput", "cmdSaveAs"};
    for (const char* name : locked) EXPECT_FALSE(control<QWidget>(w, name)->isEnabled()) << name;
    EXPECT_TRUE(control<QPushButton>(w, "cmdCancel")->isVisibleTo(&w));
    EXPECT_TRUE(control<QPushButton>(w, "cmdExit")->isEnabled());
    latch.open();
    finish(w);
    for (const char* name : locked) EXPECT_TRUE(control<QWidget>(w, name)->isEnabled()) << name;
    EXPECT_FALSE(control<QPushButton>(w, "cmdCancel")->isVisibleTo(&w));
}

TEST_F(RunThroughWindow, NoticeBoxHoldsTheRunUntilOk) {
    std::atomic<bool> past_notice{false};
    bool held = false;
    Form1 w(settings([&](const RunOptions& o, RunObserver& obs, const std::atomic<bool>*) {
        obs.status("Smith, John");
        obs.notice("this case is 9", "ENCPLSTATS.DAT record 3");
        past_notice = true;
        obs.status("Processing Completed");
        return completed(o);
    }));
    BoxAnswerer boxes([&](QMessageBox& box) {
        held = box.text() == "this case is 9" && !past_notice.load();
        EXPECT_NE(box.button(QMessageBox::Ok), nullptr);
    });
    press_process(w);
    finish(w);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].startsWith("this case is 9"));
    EXPECT_TRUE(boxes.texts[0].contains("record 3"));
    EXPECT_TRUE(held);
    EXPECT_TRUE(past_notice);
    EXPECT_EQ(control<QLineEdit>(w, "txt1")->text(), "Processing Completed");
}

TEST_F(RunThroughWindow, FailureIsShownAndNothingIsSaved) {
    save_folder("/some/earlier/folder");
    const QByteArray before = file_bytes(saved_file());
    Form1 w(settings([&](const RunOptions&, RunObserver& obs, const std::atomic<bool>*) {
        obs.status("TEAMS COMPLETED");
        RunResult r;
        r.outcome = RunOutcome::Failed;
        r.error = "cannot read /x/ENCPLYR.DAT: Permission denied";
        return r;
    }));
    BoxAnswerer boxes;
    press_process(w);
    finish(w);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].contains("ENCPLYR.DAT: Permission denied"));
    EXPECT_TRUE(control<QLineEdit>(w, "txt1")->text().contains("ENCPLYR.DAT: Permission denied"));
    EXPECT_EQ(file_bytes(saved_file()), before);
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(control<QPushButton>(w, "cmdProcess")->isEnabled());
}

TEST_F(RunThroughWindow, AnEscapingExceptionIsAFailureNotACrash) {
    Form1 w(settings([&](const RunOptions&, RunObserver&, const std::atomic<bool>*) -> RunResult {
        throw std::runtime_error("disk on fire");
    }));
    BoxAnswerer boxes;
    press_process(w);
    finish(w);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].contains("disk on fire"));
    EXPECT_TRUE(opened.empty());
}

TEST_F(RunThroughWindow, WithoutAnApplicationForXlsxTheWindowSaysWhereTheFileIs) {
    can_open = false;
    Form1 w(settings([&](const RunOptions& o, RunObserver&, const std::atomic<bool>*) { return completed(o); }));
    BoxAnswerer boxes;
    press_process(w);
    finish(w);
    const QString where = QDir::toNativeSeparators(qpath(tmp.path() / "out" / "TALLYBOOK.xlsx"));
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].contains(where));
    EXPECT_TRUE(control<QLineEdit>(w, "txt1")->text().contains(where));
}

TEST_F(RunThroughWindow, WorkbookNameGetsItsSuffix) {
    RunOptions seen;
    Form1 w(settings([&](const RunOptions& o, RunObserver&, const std::atomic<bool>*) {
        seen = o;
        return completed(o);
    }));
    control<QLineEdit>(w, "txtOutput")->setText(qpath(tmp.path() / "out" / "season"));
    press_process(w);
    finish(w);
    EXPECT_EQ(qpath(seen.output), qpath(tmp.path() / "out" / "season.xlsx"));
}

TEST_F(RunThroughWindow, CancelEndsTheRunWithoutSavingOrOpening) {
    save_folder("/some/earlier/folder");
    const QByteArray before = file_bytes(saved_file());
    std::atomic<bool> waiting{false};
    Form1 w(settings([&](const RunOptions&, RunObserver& obs, const std::atomic<bool>* cancel) {
        obs.status("TEAMS COMPLETED");
        waiting = true;
        while (!cancel->load()) std::this_thread::sleep_for(milliseconds(1));
        RunResult r;
        r.outcome = RunOutcome::Cancelled;
        return r;
    }));
    press_process(w);
    ASSERT_TRUE(wait_until([&] { return waiting.load(); }));
    control<QPushButton>(w, "cmdCancel")->click();
    finish(w);
    EXPECT_EQ(control<QLineEdit>(w, "txt1")->text(), "Processing Cancelled");
    EXPECT_EQ(file_bytes(saved_file()), before);
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(control<QPushButton>(w, "cmdProcess")->isEnabled());
}

TEST_F(RunThroughWindow, ExitCancelsTheRunAndWaitsForIt) {
    std::atomic<bool> waiting{false}, returned{false};
    Form1 w(settings([&](const RunOptions&, RunObserver&, const std::atomic<bool>* cancel) {
        waiting = true;
        while (!cancel->load()) std::this_thread::sleep_for(milliseconds(1));
        returned = true;
        RunResult r;
        r.outcome = RunOutcome::Cancelled;
        return r;
    }));
    w.show();
    press_process(w);
    ASSERT_TRUE(wait_until([&] { return waiting.load(); }));
    control<QPushButton>(w, "cmdExit")->click();
    EXPECT_TRUE(returned);
    EXPECT_FALSE(w.running());
    EXPECT_FALSE(w.isVisible());
    QTest::qWait(20);  // a late report of the ended run must change nothing
    EXPECT_TRUE(opened.empty());
}

TEST_F(RunThroughWindow, ExitIsImmediateWithoutARun) {
    Form1 w(settings());
    w.show();
    control<QPushButton>(w, "cmdExit")->click();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(RunThroughWindow, LiveViewShowsTheLatestRowsOfTheSheetBeingFilled) {
    bool wanted = false;
    Form1 w(settings([&](const RunOptions& o, RunObserver& obs, const std::atomic<bool>*) {
        wanted = obs.wants_snapshots();
        obs.show_workbook();
        for (int i = 0; i < 50; ++i) {
            tb::app::SheetSnapshot s;
            s.sheet = "S";
            s.first_row = 10 + i;
            s.rows = {{"Smith, John " + std::to_string(i), "", "1999"}, {"Totals"}};
            obs.snapshot(std::move(s));
        }
        return completed(o);
    }));
    press_process(w);
    finish(w);
    EXPECT_TRUE(wanted);
    EXPECT_TRUE(control<QWidget>(w, "liveView")->isVisibleTo(&w));
    auto* grid = control<QTableWidget>(w, "grdLive");
    ASSERT_EQ(grid->rowCount(), 2);
    ASSERT_NE(grid->item(0, 0), nullptr);
    EXPECT_EQ(grid->item(0, 0)->text(), "Smith, John 49");
    EXPECT_EQ(grid->item(0, 1), nullptr);
    EXPECT_EQ(grid->item(0, 2)->text(), "1999");
    EXPECT_EQ(grid->item(1, 0)->text(), "Totals");
    EXPECT_EQ(grid->verticalHeaderItem(0)->text(), "59");
    EXPECT_EQ(grid->horizontalHeaderItem(30)->text(), "AE");
    EXPECT_TRUE(control<QLabel>(w, "lblLiveSheet")->text().contains("S"));
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(RunThroughWindow, NextRunStartsWithClearedBoxes) {
    int runs = 0;
    Latch latch;
    Form1 w(settings([&](const RunOptions& o, RunObserver& obs, const std::atomic<bool>*) {
        if (++runs == 2) latch.arrive();
        obs.started(system_clock::now());
        obs.ended(system_clock::now());
        obs.status("Processing Completed");
        return completed(o);
    }));
    press_process(w);
    finish(w);
    ASSERT_FALSE(control<QLineEdit>(w, "txtendtime")->text().isEmpty());
    control<QPushButton>(w, "cmdProcess")->click();
    ASSERT_TRUE(wait_until([&] { return latch.reached.load(); }));
    EXPECT_TRUE(control<QLineEdit>(w, "txtendtime")->text().isEmpty());
    EXPECT_TRUE(control<QLineEdit>(w, "txt1")->text().isEmpty());
    latch.open();
    finish(w);
    EXPECT_EQ(opened.size(), 2u);
}

}  // namespace
}  // namespace tb::test
