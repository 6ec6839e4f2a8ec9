// Runs through the window with stand-in runs: what the window draws of them
// (the notices in their list, the live rows), what it hands the run, and
// that Cancel, Escape and E&XIT reach it (the model's tests hold the rules).
#include "window_fixture.h"

#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTableWidget>

#include <thread>

namespace tb::test {
namespace {

using namespace std::chrono;

class RunThroughWindow : public WindowTest {
protected:
    QString folder = qpath(enc_folder("league"));
};

TEST_F(RunThroughWindow, ShowsNoticesTimesAndStatusAndOpensTheWorkbook) {
    const auto t0 = system_clock::now() - hours(1), t1 = system_clock::now();
    MainWindow w(settings(stand_in([&](RunObserver& obs) {
        obs.started(t0);
        obs.notice({"this case is 9", "ENCPLSTATS.DAT", 3, "PhaseCode", "9", "Smith,John"});
        obs.notice({"ENCTEAM.DAT is empty", "ENCTEAM.DAT", 0, {}, {}, {}});
        obs.ended(t1);
    })));
    press_process(w, folder);
    finish(w);
    // The notices are in their list (never in boxes: the model's), and can be copied.
    auto* notices = control<QListWidget>(w, "notice_list");
    const QString first = "this case is 9 - ENCPLSTATS.DAT record 3, PhaseCode 9, player Smith,John";
    ASSERT_EQ(notices->count(), 2);
    EXPECT_EQ(notices->item(0)->text(), first);
    click(w, "copy_notices_button");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), first + "\nENCTEAM.DAT is empty\n");
    notices->item(1)->setSelected(true);
    QTest::keyClick(notices, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "ENCTEAM.DAT is empty\n");
    auto local = [](system_clock::time_point t) { return QString::fromStdString(tb::platform::local_time_text(t)); };
    EXPECT_EQ(QStringList({field(w, "start_time"), field(w, "end_time"), field(w, "status_box")}),
              QStringList({local(t0), local(t1), "Processing Completed"}));
    // The workbook is opened; its place is shown in full, and it can be
    // opened again or shown in its folder.
    EXPECT_TRUE(control<QLabel>(w, "saved_line")->text().contains(output));
    click(w, "open_button");
    click(w, "show_folder_button");
    EXPECT_EQ(opened, (std::vector{output, output}));
    EXPECT_EQ(shown, std::vector{output});
    ASSERT_TRUE(w.set_folder(folder));   // the folder chosen again: the list goes with the run's other words
    EXPECT_EQ(notices->count(), 0);
}

TEST_F(RunThroughWindow, LiveRowsOnlyWhileProcessingAndTheChoicesReachTheRunAndAreRemembered) {
    bool wanted = false;
    MainWindow w(settings(stand_in([&](RunObserver& obs) {
        wanted = obs.wants_snapshots();
        tb::wb::Style styled;
        styled.bold = true;
        styled.fill = 0xFFFFCC;
        styled.bottom = {tb::wb::LineWeight::Medium, 0xFF0000};
        if (wanted) obs.snapshot({"S", 59, {{{"Smith, John", false, styled}, {}, {"1999", true, {}}}}});
    })));
    press_process(w, folder);
    finish(w);
    // The latest rows of the sheet being filled, read-only, as the model has them.
    EXPECT_TRUE(wanted && control(w, "live_view")->isVisibleTo(&w));
    auto* grid = control<QTableWidget>(w, "live_grid");
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(QStringList({grid->item(0, 0)->text(), grid->verticalHeaderItem(0)->text(),
                           grid->horizontalHeaderItem(30)->text()}),
              QStringList({"Smith, John", "59", "AE"}));
    EXPECT_EQ(grid->item(0, 1), nullptr);
    EXPECT_TRUE(grid->item(0, 0)->font().bold());
    EXPECT_EQ(grid->item(0, 0)->background().color(), QColor(0xFF, 0xFF, 0xCC));
    EXPECT_EQ(grid->item(0, 0)->data(Qt::UserRole + 3).toInt(), 2);   // a medium bottom edge
    EXPECT_TRUE(grid->item(0, 2)->textAlignment() & Qt::AlignRight);   // a number
    // Another folder: the last run's rows go with its other words.
    const QString other = qpath(enc_folder("other"));
    ASSERT_TRUE(w.set_folder(other));
    EXPECT_FALSE(control(w, "live_view")->isVisibleTo(&w));

    click(w, "players_only");
    click(w, "view_after_completed");
    control<QLineEdit>(w, "workbook_field")->setText(qpath(tmp / "out" / "season"));
    click(w, "process_button");
    finish(w);
    EXPECT_EQ(std::tuple(qpath(seen.folder), seen.desired, seen.viewing, qpath(seen.output)),   // the workbook gets its suffix
              std::tuple(other, tb::sheets::SheetsDesired::PlayersOnly, tb::app::Viewing::AfterCompleted,
                         qpath(tmp / "out" / "season.xlsx")));
    EXPECT_FALSE(wanted || control(w, "live_view")->isVisibleTo(&w));
    EXPECT_EQ(opened.size(), 2u);   // viewed after: still opened
    MainWindow again(settings());   // the choices are remembered, each in its own group
    EXPECT_TRUE(control<QRadioButton>(again, "players_only")->isChecked() &&
                control<QRadioButton>(again, "view_after_completed")->isChecked());
}

// What the fields show is what Process converts and where; a refusal or a
// question comes up as a box of its kind.
TEST_F(RunThroughWindow, ProcessTakesTheFieldsAsTyped) {
    const QString other = qpath(enc_folder("other"));
    MainWindow w(settings(stand_in()));
    ASSERT_TRUE(w.set_folder(folder));
    control<QLineEdit>(w, "folder_field")->setText(QDir::toNativeSeparators(other));   // typed, no Enter
    click(w, "process_button");
    finish(w);
    EXPECT_EQ(qpath(seen.folder), other);

    BoxAnswerer boxes;   // a place the workbook cannot go: said, and nothing runs
    control<QLineEdit>(w, "workbook_field")->setText(other + "/inside.xlsx");
    click(w, "process_button");
    // A text file in the workbook's place: asked about, No keeps it.
    write_bytes(tmp / "notes.xlsx", "my notes");
    control<QLineEdit>(w, "workbook_field")->setText(qpath(tmp / "notes.xlsx"));
    click(w, "process_button");
    EXPECT_FALSE(w.running());
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_TRUE(boxes.texts[0].contains("encyclopedia folder"));
    EXPECT_TRUE(boxes.texts[1].contains("it is not a workbook") && boxes.texts[1].contains("Replace it"));
    EXPECT_EQ(boxes.icons, (std::vector{QMessageBox::Warning, QMessageBox::Warning}));
    EXPECT_EQ(read_bytes(tmp / "notes.xlsx"), "my notes");
    EXPECT_EQ(runs, 1);
}

// A run under way locks the choices and shows Cancel; Cancel, Escape and
// E&XIT reach it. E&XIT takes the window away at once, and the window's end
// waits for the run.
TEST_F(RunThroughWindow, CancelEscapeOrExitReachesTheRunThatLocksTheChoices) {
    std::atomic<bool> ended{false};
    auto until_cancelled = [&](const RunOptions&, RunObserver& obs, const std::atomic<bool>* cancel) {
        ended = false;
        obs.status("working");
        while (!cancel->load()) std::this_thread::sleep_for(milliseconds(1));
        std::this_thread::sleep_for(milliseconds(100));   // a run takes a moment to end
        ended = true;
        return RunResult{RunOutcome::Cancelled, {}, {}};
    };
    auto start = [&](MainWindow& w) {
        press_process(w, folder);
        ASSERT_TRUE(wait_until([&] { return field(w, "status_box") == "working"; }));
        for (const char* name : {"process_button", "players_only", "folder_list", "folder_field", "workbook_field"})
            EXPECT_FALSE(enabled(w, name)) << name;
        EXPECT_TRUE(control(w, "cancel_button")->isVisibleTo(&w) && enabled(w, "exit_button"));
    };
    {
        MainWindow w(settings(until_cancelled));
        w.show();
        for (const char* press : {"cancel_button", "Escape"}) {
            SCOPED_TRACE(press);
            start(w);
            if (press == std::string("Escape")) QTest::keyClick(&w, Qt::Key_Escape);
            else click(w, press);
            EXPECT_EQ(field(w, "status_box"), "Cancelling...");
            finish(w);
            EXPECT_EQ(field(w, "status_box"), "Processing Cancelled");
        }
        start(w);
        click(w, "exit_button");
        EXPECT_FALSE(w.isVisible());
    }
    EXPECT_TRUE(ended);
}

}  // namespace
}  // namespace tb::test
