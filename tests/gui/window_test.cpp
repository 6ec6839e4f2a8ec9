// The window's widgets over its model, on Qt's offscreen platform (the
// model's tests hold the rules): choosing the encyclopedia folder (its list,
// typed, recent), Enter and Alt+P, the names a screen reader hears, and runs
// by stand-ins: what the window draws of them (notices, times, live rows),
// what it hands the run, the boxes it shows, and that Cancel, Escape and
// E&XIT reach it.
#include "main_window.h"
#include "platform/platform.h"
#include "support/encyclopedia_builder.h"
#include "support/older_workbook.h"
#include "window/texts.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

namespace tb::test {
namespace {

using namespace std::chrono;
using tb::app::RunObserver;
using tb::app::RunOptions;
using tb::app::RunOutcome;
using tb::app::RunResult;
using tb::gui::MainWindow;
using tb::window::Control;

QString qpath(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

template <class T = QWidget>
T* control(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(name);
    EXPECT_NE(c, nullptr) << "no control " << name;
    return c;
}
QString field(QWidget& w, const char* name) { return control<QLineEdit>(w, name)->text(); }
bool enabled(QWidget& w, const char* name) { return control(w, name)->isEnabled(); }
void click(QWidget& w, const char* name) { control<QAbstractButton>(w, name)->click(); }

// Waits (serving the event loop) until `done` holds; the limit only guards
// against a hang.
bool wait_until(const std::function<bool()>& done) { return QTest::qWaitFor(done, 30000); }

// Closes every message box that comes up with its OK button (a question
// with No) and keeps the texts and icons seen.
class BoxAnswerer {
public:
    BoxAnswerer() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            // Boxes live on the stack, so a later one may have an earlier one's
            // address: each is marked once answered.
            if (!box || !box->isVisible() || box->property("tb_answered").toBool()) return;
            box->setProperty("tb_answered", true);
            texts.push_back(box->text() + "\n" + box->informativeText());
            icons.push_back(box->icon());
            QAbstractButton* ok = box->button(QMessageBox::Ok);
            (ok ? ok : box->button(QMessageBox::No))->click();   // a question is answered No
        });
        timer_.start();
    }
    std::vector<QString> texts;
    std::vector<QMessageBox::Icon> icons;

private:
    QTimer timer_;
};

// A window whose saved-folder file lives in a temporary folder and which
// records instead of opening workbooks.
class Window : public ::testing::Test {
protected:
    TempDir tmp;
    QString data_dir = qpath(tmp / "data");
    QString output = qpath(tmp / "out" / "TALLYBOOK.xlsx");
    std::vector<QString> opened, shown;
    RunOptions seen;   // what the last stand-in run was given
    int runs = 0;      // stand-in runs started
    QString folder = enc_folder("league");

    tb::window::Setup settings(tb::window::RunFunction run = {}) {
        std::filesystem::create_directories(tmp / "out");
        auto record = [](std::vector<QString>& into) {
            return [&into](const std::filesystem::path& p) { return into.push_back(qpath(p)), true; };
        };
        tb::window::Setup s;
        s.data_dir = tb::gui::to_path(data_dir);
        s.output = tb::gui::to_path(output);
        s.hooks = {std::move(run), record(opened), record(shown)};
        return s;
    }
    // A folder holding a team file.
    QString enc_folder(const std::string& name) {
        const auto dir = tmp / name;
        std::filesystem::create_directories(dir);
        write_bytes(dir / "ENCTEAM.DAT", "x");
        return qpath(dir);
    }
    void press_process(MainWindow& w, const QString& folder) {
        ASSERT_TRUE(w.set_folder(folder));
        click(w, "process_button");
        ASSERT_TRUE(w.running());
    }
    // A stand-in run that keeps its options, reports through `report` and writes the workbook.
    tb::window::RunFunction stand_in(std::function<void(RunObserver&)> report = {}) {
        return [this, report](const RunOptions& o, RunObserver& obs, const std::atomic<bool>*) {
            seen = o;
            ++runs;
            if (report) report(obs);
            write_older_workbook(o.output);   // a workbook, so the next run may replace it
            RunResult r{RunOutcome::Completed, {}, {}};
            r.summary.output = o.output;
            return r;
        };
    }
    void finish(MainWindow& w) { ASSERT_TRUE(wait_until([&] { return !w.running(); })); }
};

// Enter where the model says: the folder list opens, the folder field takes
// its folder (a missing one is refused and the field shows the folder
// again), the options, the workbook field and Process start the run; Alt+P
// with Process off types nothing. A recent folder is taken too.
TEST_F(Window, TheFolderByItsListTypedOrRecentEnterAndAltP) {
    const QString league = enc_folder("games/League"), other = enc_folder("Other");
    MainWindow w(settings(stand_in()));
    w.show();
    ASSERT_TRUE(w.set_folder(qpath(tmp / "games")));
    auto* folder_list = control<QListWidget>(w, "folder_list");
    EXPECT_EQ(folder_list->count(), 2);
    folder_list->setCurrentItem(folder_list->findItems("League", Qt::MatchExactly).value(0));
    QTest::keyClick(folder_list, Qt::Key_Return);
    EXPECT_EQ(w.encyclopedia_folder(), league);
    for (const char* from : {"players_and_teams", "view_after_completed", "workbook_field", "process_button"}) {
        QTest::keyClick(control(w, from), Qt::Key_Return);
        EXPECT_TRUE(w.running()) << from;
        finish(w);
    }
    EXPECT_EQ(runs, 4);

    auto* typed = control<QLineEdit>(w, "folder_field");
    typed->setText(QDir::toNativeSeparators(other));
    QTest::keyClick(typed, Qt::Key_Return);
    EXPECT_EQ(w.encyclopedia_folder(), other);
    BoxAnswerer boxes;   // the refusal's box (its words are the model's)
    typed->setText(qpath(tmp / "nowhere"));
    QTest::keyClick(typed, Qt::Key_Return);
    EXPECT_EQ(QDir::fromNativeSeparators(typed->text()), other);

    auto* recent = control<QComboBox>(w, "recent_list");   // the folder of the runs above
    const int at = recent->findText(QDir::toNativeSeparators(league));
    ASSERT_GT(at, 0);
    emit recent->activated(at);
    EXPECT_EQ(w.encyclopedia_folder(), league);

    ASSERT_TRUE(w.set_folder(qpath(tmp / "out")));   // no ENCTEAM.DAT: Process is off and its tooltip says why
    EXPECT_TRUE(control(w, "process_button")->toolTip().contains("ENCTEAM.DAT"));
    const QString before = typed->text();
    QTest::keyClick(typed, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(typed->text(), before);
    EXPECT_FALSE(w.running());
}

TEST_F(Window, EachControlHasTheModelsNameAndTooltipAndLabelsLeadToTheirControls) {
    MainWindow w(settings());
    for (Control c : tb::window::all_controls()) {
        QWidget* widget = control(w, std::string(tb::window::control_name(c)).c_str());
        const std::string name = tb::window::texts::accessible_name(c);
        SCOPED_TRACE(std::string(tb::window::control_name(c)));
        if (!name.empty()) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
            ASSERT_NE(a, nullptr);
            EXPECT_EQ(a->text(QAccessible::Name), QString::fromStdString(name));
        }
        if (const auto label = tb::window::label_of(c)) {
            EXPECT_EQ(control<QLabel>(w, std::string(tb::window::control_name(*label)).c_str())->buddy(), widget);
        }
        EXPECT_EQ(widget->toolTip().isEmpty(), tb::window::texts::tooltip(c).empty());
    }
    EXPECT_NE(control<QComboBox>(w, "drive_list")->currentText(), "Encyclopedia Drive");   // named, not by its value
}

TEST_F(Window, DrawsTheNoticesTimesStatusLiveRowsAndOpensTheWorkbook) {
    const auto t0 = system_clock::now() - hours(1), t1 = system_clock::now();
    MainWindow w(settings(stand_in([&](RunObserver& obs) {
        obs.started(t0);
        obs.notice({"this case is 9", "ENCPLSTATS.DAT", 3, "PhaseCode", "9", "Smith,John"});
        obs.notice({"ENCTEAM.DAT is empty", "ENCTEAM.DAT", 0, {}, {}, {}});
        obs.snapshot({"S", 59, {{{"Smith, John", false, {}}, {}, {"1999", true, {}}}}});
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
    // The latest rows of the sheet being filled, read-only, as the model has them.
    EXPECT_TRUE(control(w, "live_view")->isVisibleTo(&w));
    auto* grid = control<QTableWidget>(w, "live_grid");
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(QStringList({grid->item(0, 0)->text(), grid->verticalHeaderItem(0)->text(),
                           grid->horizontalHeaderItem(30)->text()}),
              QStringList({"Smith, John", "59", "AE"}));
    EXPECT_EQ(grid->item(0, 1), nullptr);
    EXPECT_TRUE(grid->item(0, 2)->textAlignment() & Qt::AlignRight);   // a number
    // The workbook is opened; its place is shown in full, and it can be
    // opened again or shown in its folder.
    EXPECT_TRUE(control<QLabel>(w, "saved_line")->text().contains(output));
    click(w, "open_button");
    click(w, "show_folder_button");
    EXPECT_EQ(opened, (std::vector{output, output}));
    EXPECT_EQ(shown, std::vector{output});
    // The folder chosen again: the notices and the live rows go with the run's other words.
    ASSERT_TRUE(w.set_folder(folder));
    EXPECT_EQ(notices->count(), 0);
    EXPECT_FALSE(control(w, "live_view")->isVisibleTo(&w));
}

// What the fields show is what Process converts and where, typed or not,
// with the choices drawn; a refusal or a question comes up as a box of its kind.
TEST_F(Window, ProcessTakesTheChoicesAndTheFieldsAsTyped) {
    const QString other = enc_folder("other");
    MainWindow w(settings(stand_in()));
    ASSERT_TRUE(w.set_folder(folder));
    click(w, "players_only");
    click(w, "view_after_completed");
    control<QLineEdit>(w, "folder_field")->setText(QDir::toNativeSeparators(other));   // typed, no Enter
    control<QLineEdit>(w, "workbook_field")->setText(qpath(tmp / "out" / "season"));
    click(w, "process_button");
    finish(w);
    EXPECT_EQ(std::tuple(qpath(seen.folder), seen.desired, seen.viewing, qpath(seen.output)),   // the workbook gets its suffix
              std::tuple(other, tb::sheets::SheetsDesired::PlayersOnly, tb::app::Viewing::AfterCompleted,
                         qpath(tmp / "out" / "season.xlsx")));
    MainWindow again(settings());   // the remembered choices, each in its own group
    EXPECT_TRUE(control<QRadioButton>(again, "players_only")->isChecked() &&
                control<QRadioButton>(again, "view_after_completed")->isChecked());

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
    EXPECT_TRUE(boxes.texts[1].contains("Replace it"));
    EXPECT_EQ(boxes.icons, (std::vector{QMessageBox::Warning, QMessageBox::Warning}));
    EXPECT_EQ(read_bytes(tmp / "notes.xlsx"), "my notes");
    EXPECT_EQ(runs, 1);
}

// A run under way locks the choices and shows Cancel; Cancel, Escape and
// E&XIT reach it. E&XIT takes the window away at once, and the window's end
// waits for the run.
TEST_F(Window, CancelEscapeOrExitReachesTheRunThatLocksTheChoices) {
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
        EXPECT_TRUE(!enabled(w, "folder_field") && control(w, "cancel_button")->isVisibleTo(&w));
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
