// Runs through the window with a stand-in run: what the window shows, when
// it waits for the user, what it saves, and that it stays in charge.
#include "window_fixture.h"

#include <QDir>
#include <QLabel>
#include <QTableWidget>

#include <thread>

namespace tb::test {
namespace {

using namespace std::chrono;

class RunThroughWindow : public WindowTest {
protected:
    QString folder = qpath(enc_folder("league"));
    QByteArray earlier;   // the saved-folder file before the run
    void SetUp() override {
        save_folder("/some/earlier/folder");
        earlier = file_bytes(saved_file());
    }
};

TEST_F(RunThroughWindow, ShowsNoticesTimesAndStatusSavesTheFolderOpensTheWorkbookAndLocksChoices) {
    const auto t0 = system_clock::now() - hours(1), t1 = system_clock::now();
    std::atomic<bool> second_waiting{false}, release{false};
    BoxAnswerer boxes;
    int answered_when_going_on = -1;
    Form1 w(settings(stand_in([&](RunObserver& obs) {
        if (runs == 2) {
            second_waiting = true;
            while (!release) std::this_thread::sleep_for(milliseconds(1));
        }
        obs.started(t0);
        obs.status("TEAMS COMPLETED");
        if (runs == 1) obs.notice({"this case is 9", "ENCPLSTATS.DAT", 3, "PhaseCode", "9", "Smith,John"});
        answered_when_going_on = boxes.answered;   // a notice box holds the run until OK
        obs.ended(t1);
        obs.status("Processing Completed");
    })));
    press_process(w, folder);
    finish(w);
    EXPECT_EQ(answered_when_going_on, 1);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].startsWith("this case is 9") && boxes.texts[0].contains("record 3"));
    EXPECT_EQ(std::tuple(qpath(seen.folder), seen.desired, seen.viewing, qpath(seen.output)),
              std::tuple(folder, tb::sheets::SheetsDesired::PlayersAndTeams, tb::app::Viewing::WhileProcessing, output));
    auto local = [](system_clock::time_point t) { return QString::fromStdString(tb::platform::local_time_text(t)); };
    EXPECT_EQ(QStringList({field(w, "txtstarttime"), field(w, "txtendtime"), field(w, "txt1")}),
              QStringList({local(t0), local(t1), "Processing Completed"}));
    EXPECT_EQ(file_bytes(saved_file()), quoted(folder));
    // The workbook is opened; its place is shown in full, and it can be
    // opened again or shown in its folder.
    EXPECT_TRUE(control<QLabel>(w, "lblSaved")->text().contains(output));
    click(w, "cmdOpen");
    click(w, "cmdShowFolder");
    EXPECT_EQ(opened, (std::vector{output, output}));
    EXPECT_EQ(shown, std::vector{output});

    // The next run starts with cleared boxes and the choices locked.
    click(w, "cmdProcess");
    ASSERT_TRUE(wait_until([&] { return second_waiting.load(); }));
    const char* locked[] = {"cmdProcess", "opt1", "opt2", "opt3", "opt4", "opt5", "drv1", "dir1", "txtFolder",
                            "cmbRecent",  "txtOutput", "cmdSaveAs"};
    for (const char* name : locked) EXPECT_FALSE(enabled(w, name)) << name;
    EXPECT_TRUE(control(w, "cmdCancel")->isVisibleTo(&w));
    EXPECT_TRUE(enabled(w, "cmdExit"));
    for (const char* box : {"txt1", "txtstarttime", "txtendtime"}) EXPECT_TRUE(field(w, box).isEmpty()) << box;
    release = true;
    finish(w);
    for (const char* name : locked) EXPECT_TRUE(enabled(w, name)) << name;
    EXPECT_FALSE(control(w, "cmdCancel")->isVisibleTo(&w));
}

TEST_F(RunThroughWindow, LiveViewOnlyWhileProcessingAndTheChoicesReachTheRunAndAreRemembered) {
    bool wanted = false;
    Form1 w(settings(stand_in([&](RunObserver& obs) {
        wanted = obs.wants_snapshots();
        tb::wb::Style styled;
        styled.bold = true;
        styled.fill = 0xFFFFCC;
        styled.bottom = {tb::wb::xlContinuous, tb::wb::xlMedium, 0xFF0000};
        for (int i = 0; wanted && i < 50; ++i)
            obs.snapshot({"S", 10 + i, {{{"Smith, John " + std::to_string(i), false, styled}, {}, {"1999", true, {}}}}});
    })));
    press_process(w, folder);
    finish(w);
    // The latest rows of the sheet being filled, read-only, as the workbook has them.
    EXPECT_TRUE(wanted && control(w, "liveView")->isVisibleTo(&w));
    auto* grid = control<QTableWidget>(w, "grdLive");
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(QStringList({grid->item(0, 0)->text(), grid->verticalHeaderItem(0)->text(),
                           grid->horizontalHeaderItem(30)->text()}),
              QStringList({"Smith, John 49", "59", "AE"}));
    EXPECT_EQ(grid->item(0, 1), nullptr);
    EXPECT_TRUE(grid->item(0, 0)->font().bold());
    EXPECT_EQ(grid->item(0, 0)->background().color(), QColor(0xFF, 0xFF, 0xCC));
    EXPECT_EQ(grid->item(0, 0)->data(Qt::UserRole + 3).toInt(), 2);   // a medium bottom edge
    EXPECT_TRUE(grid->item(0, 2)->textAlignment() & Qt::AlignRight);   // a number

    click(w, "opt3");
    click(w, "opt2");
    control<QLineEdit>(w, "txtOutput")->setText(qpath(tmp / "out" / "season"));
    click(w, "cmdProcess");
    finish(w);
    EXPECT_EQ(std::tuple(seen.desired, seen.viewing, qpath(seen.output)),   // the workbook gets its suffix
              std::tuple(tb::sheets::SheetsDesired::PlayersOnly, tb::app::Viewing::AfterCompleted,
                         qpath(tmp / "out" / "season.xlsx")));
    EXPECT_FALSE(wanted || control(w, "liveView")->isVisibleTo(&w));
    EXPECT_EQ(opened.size(), 2u);   // viewed after: still opened
    {
        Form1 again(settings());   // the choices are remembered
        EXPECT_TRUE(control<QRadioButton>(again, "opt3")->isChecked() && control<QRadioButton>(again, "opt2")->isChecked());
    }
    click(w, "opt4");
    click(w, "cmdProcess");
    finish(w);
    EXPECT_EQ(seen.desired, tb::sheets::SheetsDesired::TeamsOnly);
}

TEST_F(RunThroughWindow, AFailureAnEscapingExceptionOrNoApplicationForXlsxIsSaid) {
    const std::pair<tb::gui::RunFunction, QString> runs[] = {
        {[](const RunOptions&, RunObserver&, const std::atomic<bool>*) {
             return RunResult{RunOutcome::Failed, "cannot read /x/ENCPLYR.DAT: Permission denied", {}};
         },
         "ENCPLYR.DAT: Permission denied"},
        {[](const RunOptions&, RunObserver&, const std::atomic<bool>*) -> RunResult { throw std::bad_alloc(); },
         "std::bad_alloc"}};
    for (const auto& [run, error] : runs) {
        Form1 w(settings(run));
        BoxAnswerer boxes;
        press_process(w, folder);
        finish(w);
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_TRUE(boxes.texts[0].contains(error) && field(w, "txt1").contains(error));
        EXPECT_EQ(file_bytes(saved_file()), earlier);
        EXPECT_TRUE(opened.empty() && enabled(w, "cmdProcess"));
    }
    can_open = false;   // the workbook is written, but nothing opens .xlsx: where it is is said
    Form1 w(settings(stand_in()));
    BoxAnswerer boxes;
    press_process(w, folder);
    finish(w);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].contains(QDir::toNativeSeparators(output)));
    EXPECT_EQ(field(w, "txt1"), "Processing Completed");
}

// What the folder field shows is what Process converts, checked as Enter
// would check it; a place the workbook cannot go is refused before the run.
TEST_F(RunThroughWindow, ProcessTakesTheTypedFolderAndChecksTheWorkbookFirst) {
    const QString other = qpath(enc_folder("other"));
    Form1 w(settings(stand_in()));
    ASSERT_TRUE(w.set_folder(folder));
    auto* typed = control<QLineEdit>(w, "txtFolder");
    typed->setText(QDir::toNativeSeparators(other));   // typed, no Enter
    click(w, "cmdProcess");
    finish(w);
    EXPECT_EQ(qpath(seen.folder), other);

    BoxAnswerer boxes;
    typed->setText(qpath(tmp / "nowhere"));
    click(w, "cmdProcess");
    EXPECT_FALSE(w.running());
    typed->setText(other);
    for (const QString& bad : {qpath(tmp / "no-such-folder" / "x.xlsx"), other + "/inside.xlsx"}) {
        control<QLineEdit>(w, "txtOutput")->setText(bad);
        click(w, "cmdProcess");
        EXPECT_FALSE(w.running());
    }
    ASSERT_EQ(boxes.texts.size(), 3u);
    EXPECT_TRUE(boxes.texts[0].contains("nowhere") && boxes.texts[1].contains("does not exist") &&
                boxes.texts[2].contains("encyclopedia folder"));
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace tb::test
