// Runs through the window with a stand-in run: what the window shows (the
// notices in their list), what it saves, and that it stays in charge.
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
    MainWindow w(settings(stand_in([&](RunObserver& obs) {
        if (runs == 2) {
            second_waiting = true;
            while (!release) std::this_thread::sleep_for(milliseconds(1));
        }
        obs.started(t0);
        obs.status("TEAMS COMPLETED");
        if (runs == 1) {
            obs.notice({"this case is 9", "ENCPLSTATS.DAT", 3, "PhaseCode", "9", "Smith,John"});
            obs.notice({"ENCTEAM.DAT is empty", "ENCTEAM.DAT", 0, {}, {}, {}});
        }
        obs.ended(t1);
        obs.status("Processing Completed");
    })));
    press_process(w, folder);
    finish(w);
    // The notices are in their list, not in boxes, and can be copied.
    EXPECT_TRUE(boxes.texts.empty());
    auto* notices = control<QListWidget>(w, "notice_list");
    const QString first = "this case is 9 - ENCPLSTATS.DAT record 3, PhaseCode 9, player Smith,John";
    ASSERT_EQ(notices->count(), 2);
    EXPECT_EQ(notices->item(0)->text(), first);
    EXPECT_EQ(control<QLabel>(w, "notices_label")->text(), "Notices: 2");
    click(w, "copy_notices_button");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), first + "\nENCTEAM.DAT is empty\n");
    notices->item(1)->setSelected(true);
    QTest::keyClick(notices, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "ENCTEAM.DAT is empty\n");
    EXPECT_EQ(std::tuple(qpath(seen.folder), seen.desired, seen.viewing, qpath(seen.output)),
              std::tuple(folder, tb::sheets::SheetsDesired::PlayersAndTeams, tb::app::Viewing::WhileProcessing, output));
    auto local = [](system_clock::time_point t) { return QString::fromStdString(tb::platform::local_time_text(t)); };
    EXPECT_EQ(QStringList({field(w, "start_time"), field(w, "end_time"), field(w, "status_box")}),
              QStringList({local(t0), local(t1), "Processing Completed"}));
    EXPECT_EQ(file_bytes(saved_file()), quoted(folder));
    // The workbook is opened; its place is shown in full, and it can be
    // opened again or shown in its folder.
    EXPECT_TRUE(control<QLabel>(w, "saved_line")->text().contains(output));
    click(w, "open_button");
    click(w, "show_folder_button");
    EXPECT_EQ(opened, (std::vector{output, output}));
    EXPECT_EQ(shown, std::vector{output});

    // The next run starts with cleared boxes and the choices locked.
    click(w, "process_button");
    ASSERT_TRUE(wait_until([&] { return second_waiting.load(); }));
    const char* locked[] = {"process_button", "players_only", "folder_list", "folder_field", "workbook_field"};
    for (const char* name : locked) EXPECT_FALSE(enabled(w, name)) << name;
    EXPECT_TRUE(control(w, "cancel_button")->isVisibleTo(&w));
    EXPECT_TRUE(enabled(w, "exit_button"));
    for (const char* box : {"status_box", "start_time", "end_time"}) EXPECT_TRUE(field(w, box).isEmpty()) << box;
    EXPECT_EQ(notices->count(), 0);
    release = true;
    finish(w);
    for (const char* name : locked) EXPECT_TRUE(enabled(w, name)) << name;
    EXPECT_FALSE(control(w, "cancel_button")->isVisibleTo(&w));
}

TEST_F(RunThroughWindow, LiveViewOnlyWhileProcessingAndTheChoicesReachTheRunAndAreRemembered) {
    bool wanted = false;
    MainWindow w(settings(stand_in([&](RunObserver& obs) {
        wanted = obs.wants_snapshots();
        tb::wb::Style styled;
        styled.bold = true;
        styled.fill = 0xFFFFCC;
        styled.bottom = {tb::wb::LineWeight::Medium, 0xFF0000};
        for (int i = 0; wanted && i < 50; ++i)
            obs.snapshot({"S", 10 + i, {{{"Smith, John " + std::to_string(i), false, styled}, {}, {"1999", true, {}}}}});
    })));
    press_process(w, folder);
    finish(w);
    // The latest rows of the sheet being filled, read-only, as the workbook has them.
    EXPECT_TRUE(wanted && control(w, "live_view")->isVisibleTo(&w));
    auto* grid = control<QTableWidget>(w, "live_grid");
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
    // Another folder: the last run's rows go with its other words.
    ASSERT_TRUE(w.set_folder(qpath(enc_folder("other"))));
    EXPECT_FALSE(control(w, "live_view")->isVisibleTo(&w));
    ASSERT_TRUE(w.set_folder(folder));

    click(w, "players_only");
    click(w, "view_after_completed");
    control<QLineEdit>(w, "workbook_field")->setText(qpath(tmp / "out" / "season"));
    click(w, "process_button");
    finish(w);
    EXPECT_EQ(std::tuple(seen.desired, seen.viewing, qpath(seen.output)),   // the workbook gets its suffix
              std::tuple(tb::sheets::SheetsDesired::PlayersOnly, tb::app::Viewing::AfterCompleted,
                         qpath(tmp / "out" / "season.xlsx")));
    EXPECT_FALSE(wanted || control(w, "live_view")->isVisibleTo(&w));
    EXPECT_EQ(opened.size(), 2u);   // viewed after: still opened
    {
        MainWindow again(settings());   // the choices are remembered
        EXPECT_TRUE(control<QRadioButton>(again, "players_only")->isChecked() && control<QRadioButton>(again, "view_after_completed")->isChecked());
    }
    click(w, "teams_only");
    click(w, "process_button");
    finish(w);
    EXPECT_EQ(seen.desired, tb::sheets::SheetsDesired::TeamsOnly);
}

// What the fields show is what Process converts and where.
TEST_F(RunThroughWindow, ProcessTakesTheFieldsAsTyped) {
    const QString other = qpath(enc_folder("other"));
    MainWindow w(settings(stand_in()));
    ASSERT_TRUE(w.set_folder(folder));
    auto* typed = control<QLineEdit>(w, "folder_field");
    typed->setText(QDir::toNativeSeparators(other));   // typed, no Enter
    click(w, "process_button");
    finish(w);
    EXPECT_EQ(qpath(seen.folder), other);

    BoxAnswerer boxes;   // a place the workbook cannot go: said, and nothing runs
    control<QLineEdit>(w, "workbook_field")->setText(other + "/inside.xlsx");
    click(w, "process_button");
    EXPECT_FALSE(w.running());
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].contains("encyclopedia folder"));
    EXPECT_EQ(boxes.icons[0], QMessageBox::Warning);

    // A text file in the workbook's place: asked about, No keeps it.
    const QString notes = qpath(tmp.path()) + "/notes.xlsx";
    write_bytes(tmp / "notes.xlsx", "my notes");
    control<QLineEdit>(w, "workbook_field")->setText(notes);
    click(w, "process_button");
    EXPECT_FALSE(w.running());
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_TRUE(boxes.texts[1].contains("it is not a workbook") && boxes.texts[1].contains("Replace it"));
    EXPECT_EQ(read_bytes(tmp / "notes.xlsx"), "my notes");
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace tb::test
