// Runs through the window with a stand-in run: what the window shows, when
// it waits for the user, what it saves, and that it stays in charge.
#include "window_fixture.h"

#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QTableWidget>

#include <atomic>
#include <thread>

namespace tb::test {
namespace {

using namespace std::chrono;

// A stand-in run that waits for Cancel.
RunResult until_cancelled(const std::atomic<bool>* cancel, std::atomic<bool>& waiting) {
    waiting = true;
    while (!cancel->load()) std::this_thread::sleep_for(milliseconds(1));
    return {RunOutcome::Cancelled, {}, {}};
}

class RunThroughWindow : public WindowTest {
protected:
    QString folder = qpath(enc_folder("league"));
    void press_process(Form1& w) { WindowTest::press_process(w, folder); }
};

TEST_F(RunThroughWindow, ShowsTimesAndStatusSavesTheFolderOpensTheWorkbookAndLocksChoicesWhileRunning) {
    const auto t0 = system_clock::now() - hours(1);
    const auto t1 = system_clock::now();
    int runs = 0;
    std::atomic<bool> second_waiting{false}, release{false};
    Form1 w(settings(stand_in([&](RunObserver& obs) {
        if (++runs == 2) {
            second_waiting = true;
            while (!release) std::this_thread::sleep_for(milliseconds(1));
        }
        obs.started(t0);
        obs.status("TEAMS COMPLETED");
        obs.status("Smith, John");
        obs.progress(tb::app::Stage::Players, 1, 1);
        obs.ended(t1);
        obs.status("Processing Completed");
    })));
    press_process(w);
    finish(w);
    EXPECT_EQ(qpath(seen.folder), folder);
    EXPECT_EQ(seen.desired, tb::sheets::SheetsDesired::PlayersAndTeams);
    EXPECT_EQ(seen.viewing, tb::app::Viewing::WhileProcessing);
    EXPECT_EQ(qpath(seen.output), output);
    auto local = [](system_clock::time_point t) { return QString::fromStdString(tb::platform::local_time_text(t)); };
    EXPECT_EQ(field(w, "txtstarttime"), local(t0));
    EXPECT_EQ(field(w, "txtendtime"), local(t1));
    EXPECT_EQ(field(w, "txt1"), "Processing Completed");
    EXPECT_EQ(file_bytes(saved_file()), quoted(folder));
    EXPECT_EQ(opened, std::vector{output});
    // "Processing Completed" stays; the workbook's place is shown in full,
    // and it can be opened again or shown in its folder.
    EXPECT_TRUE(control<QLabel>(w, "lblSaved")->text().contains(output));
    control<QPushButton>(w, "cmdOpen")->click();
    control<QPushButton>(w, "cmdShowFolder")->click();
    EXPECT_EQ(opened, (std::vector{output, output}));
    EXPECT_EQ(shown, std::vector{output});

    // The next run starts with cleared boxes and the choices locked.
    control<QPushButton>(w, "cmdProcess")->click();
    ASSERT_TRUE(wait_until([&] { return second_waiting.load(); }));
    const char* locked[] = {"cmdProcess", "opt1", "opt2", "opt3", "opt4", "opt5",
                            "drv1",       "dir1", "txtOutput", "cmdSaveAs"};
    for (const char* name : locked) EXPECT_FALSE(enabled(w, name)) << name;
    EXPECT_TRUE(control(w, "cmdCancel")->isVisibleTo(&w));
    EXPECT_TRUE(enabled(w, "cmdExit"));
    for (const char* box : {"txt1", "txtstarttime", "txtendtime"}) EXPECT_TRUE(field(w, box).isEmpty()) << box;
    release = true;
    finish(w);
    for (const char* name : locked) EXPECT_TRUE(enabled(w, name)) << name;
    EXPECT_FALSE(control(w, "cmdCancel")->isVisibleTo(&w));
    EXPECT_EQ(opened.size(), 3u);
}

TEST_F(RunThroughWindow, LiveViewOnlyWhileProcessingAndOtherChoicesReachTheRun) {
    bool wanted = false;
    Form1 w(settings(stand_in([&](RunObserver& obs) {
        wanted = obs.wants_snapshots();
        obs.show_workbook();
        tb::wb::Style bold_fill;
        bold_fill.bold = true;
        bold_fill.fill = 0xFFFFCC;
        bold_fill.bottom = {tb::wb::xlContinuous, tb::wb::xlMedium, 0xFF0000};
        for (int i = 0; wanted && i < 50; ++i)
            obs.snapshot({"S", 10 + i,
                          {{{"Smith, John " + std::to_string(i), false, bold_fill}, {}, {"1999", true, {}}},
                           {{"Totals", false, {}}}}});
    })));
    press_process(w);
    finish(w);
    // The latest rows of the sheet being filled, read-only.
    EXPECT_TRUE(wanted);
    EXPECT_TRUE(control(w, "liveView")->isVisibleTo(&w));
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
    // The cells as the workbook has them.
    EXPECT_TRUE(grid->item(0, 0)->font().bold());
    EXPECT_EQ(grid->item(0, 0)->background().color(), QColor(0xFF, 0xFF, 0xCC));
    EXPECT_EQ(grid->item(0, 0)->data(Qt::UserRole + 3).toInt(), 2);   // a medium bottom edge
    EXPECT_TRUE(grid->item(0, 2)->textAlignment() & Qt::AlignRight);   // a number
    EXPECT_FALSE(grid->item(1, 0)->textAlignment() & Qt::AlignRight);

    control<QRadioButton>(w, "opt3")->click();
    control<QRadioButton>(w, "opt2")->click();
    control<QLineEdit>(w, "txtOutput")->setText(qpath(tmp.path() / "out" / "season"));
    control<QPushButton>(w, "cmdProcess")->click();
    finish(w);
    EXPECT_EQ(seen.desired, tb::sheets::SheetsDesired::PlayersOnly);
    EXPECT_EQ(seen.viewing, tb::app::Viewing::AfterCompleted);
    EXPECT_EQ(qpath(seen.output), qpath(tmp.path() / "out" / "season.xlsx"));  // gets its suffix
    EXPECT_FALSE(wanted);
    EXPECT_FALSE(control(w, "liveView")->isVisibleTo(&w));
    EXPECT_EQ(opened.size(), 2u);  // viewed after: still opened

    // The choices are remembered for the next start.
    {
        Form1 again(settings(stand_in()));
        EXPECT_TRUE(control<QRadioButton>(again, "opt3")->isChecked());
        EXPECT_TRUE(control<QRadioButton>(again, "opt2")->isChecked());
    }

    control<QRadioButton>(w, "opt4")->click();
    control<QPushButton>(w, "cmdProcess")->click();
    finish(w);
    EXPECT_EQ(seen.desired, tb::sheets::SheetsDesired::TeamsOnly);
}

TEST_F(RunThroughWindow, NoticeBoxHoldsTheRunUntilOk) {
    BoxAnswerer boxes;
    int answered_when_going_on = -1;
    Form1 w(settings(stand_in([&](RunObserver& obs) {
        obs.status("Smith, John");
        obs.notice({"this case is 9", "ENCPLSTATS.DAT", 3, "PhaseCode", "9", "Smith,John"});
        answered_when_going_on = boxes.answered;
        obs.status("Processing Completed");
    })));
    press_process(w);
    finish(w);
    EXPECT_EQ(answered_when_going_on, 1);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].startsWith("this case is 9"));
    EXPECT_TRUE(boxes.texts[0].contains("record 3"));
    EXPECT_EQ(field(w, "txt1"), "Processing Completed");
}

TEST_F(RunThroughWindow, FailureOrAnEscapingExceptionIsShownAndNothingIsSaved) {
    save_folder("/some/earlier/folder");
    const QByteArray before = file_bytes(saved_file());
    const std::pair<tb::gui::RunFunction, QString> runs[] = {
        {[](const RunOptions&, RunObserver& obs, const std::atomic<bool>*) {
             obs.status("TEAMS COMPLETED");
             return RunResult{RunOutcome::Failed, "cannot read /x/ENCPLYR.DAT: Permission denied", {}};
         },
         "ENCPLYR.DAT: Permission denied"},
        {[](const RunOptions&, RunObserver&, const std::atomic<bool>*) -> RunResult {
             throw std::runtime_error("disk on fire");
         },
         "disk on fire"}};
    for (const auto& [run, error] : runs) {
        Form1 w(settings(run));
        BoxAnswerer boxes;
        press_process(w);
        finish(w);
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_TRUE(boxes.texts[0].contains(error));
        EXPECT_TRUE(field(w, "txt1").contains(error));
        EXPECT_EQ(file_bytes(saved_file()), before);
        EXPECT_TRUE(opened.empty());
        EXPECT_TRUE(enabled(w, "cmdProcess"));
    }
}

TEST_F(RunThroughWindow, WithoutAnApplicationForXlsxTheWindowSaysWhereTheFileIs) {
    can_open = false;
    Form1 w(settings(stand_in()));
    BoxAnswerer boxes;
    press_process(w);
    finish(w);
    const QString where = QDir::toNativeSeparators(output);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].contains(where));
    EXPECT_EQ(field(w, "txt1"), "Processing Completed");
    EXPECT_TRUE(control<QLabel>(w, "lblSaved")->text().contains(where));
}

TEST_F(RunThroughWindow, CancelEndsTheRunWithoutSavingOrOpeningAndExitCancelsAndWaits) {
    save_folder("/some/earlier/folder");
    const QByteArray before = file_bytes(saved_file());
    std::atomic<bool> waiting{false}, returned{false};
    Form1 w(settings([&](const RunOptions&, RunObserver& obs, const std::atomic<bool>* cancel) {
        obs.status("TEAMS COMPLETED");
        const RunResult r = until_cancelled(cancel, waiting);
        returned = true;
        return r;
    }));
    w.show();
    press_process(w);
    ASSERT_TRUE(wait_until([&] { return waiting.load(); }));
    control<QPushButton>(w, "cmdCancel")->click();
    finish(w);
    EXPECT_EQ(field(w, "txt1"), "Processing Cancelled");
    EXPECT_EQ(file_bytes(saved_file()), before);
    EXPECT_TRUE(enabled(w, "cmdProcess"));

    // Escape cancels a run too; while it runs, Cancel has the focus.
    waiting = false;
    press_process(w);
    ASSERT_TRUE(wait_until([&] { return waiting.load(); }));
    EXPECT_TRUE(control(w, "cmdCancel")->hasFocus() || QApplication::focusWidget() == nullptr);
    QTest::keyClick(&w, Qt::Key_Escape);
    finish(w);
    EXPECT_EQ(field(w, "txt1"), "Processing Cancelled");

    waiting = returned = false;
    press_process(w);
    ASSERT_TRUE(wait_until([&] { return waiting.load(); }));
    control<QPushButton>(w, "cmdExit")->click();
    EXPECT_FALSE(w.isVisible());   // at once; the run ends behind it
    ASSERT_TRUE(wait_until([&] { return returned.load(); }));
    QTest::qWait(20);  // a late report of the ended run must change nothing
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(file_bytes(saved_file()), before);

    Form1 idle(settings());
    idle.show();
    control<QPushButton>(idle, "cmdExit")->click();
    EXPECT_FALSE(idle.isVisible());
}

}  // namespace
}  // namespace tb::test

namespace tb::test {
namespace {

// What the folder field shows is what Process converts, checked as Enter
// would check it; a place the workbook cannot go is refused before the run.
TEST_F(RunThroughWindow, ProcessTakesTheTypedFolderAndChecksTheWorkbookFirst) {
    const QString other = qpath(enc_folder("other"));
    int runs = 0;
    Form1 w(settings([&](const RunOptions& o, RunObserver& obs, const std::atomic<bool>* c) {
        ++runs;
        return stand_in()(o, obs, c);
    }));
    ASSERT_TRUE(w.set_folder(folder));
    auto* typed = control<QLineEdit>(w, "txtFolder");
    typed->setText(QDir::toNativeSeparators(other));   // typed, no Enter
    control<QPushButton>(w, "cmdProcess")->click();
    finish(w);
    EXPECT_EQ(qpath(seen.folder), other);

    BoxAnswerer boxes;
    typed->setText(qpath(tmp.path() / "nowhere"));
    control<QPushButton>(w, "cmdProcess")->click();
    EXPECT_FALSE(w.running());
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].contains("nowhere"));

    typed->setText(other);
    for (const QString& bad : {qpath(tmp.path() / "no-such-folder" / "x.xlsx"), other + "/inside.xlsx"}) {
        control<QLineEdit>(w, "txtOutput")->setText(bad);
        control<QPushButton>(w, "cmdProcess")->click();
        EXPECT_FALSE(w.running());
    }
    EXPECT_EQ(boxes.texts.size(), 3u);
    EXPECT_TRUE(boxes.texts[1].contains("does not exist"));
    EXPECT_TRUE(boxes.texts[2].contains("encyclopedia folder"));
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace tb::test
