// Shared pieces of the window tests: a window on a temporary data folder,
// lookup of its controls, and a hand that answers message boxes.
#pragma once

#include "main_window.h"
#include "platform/platform.h"
#include "support/encyclopedia_builder.h"
#include "support/older_workbook.h"
#include "window/remembered.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace tb::test {

using tb::app::RunObserver;
using tb::app::RunOptions;
using tb::app::RunOutcome;
using tb::app::RunResult;
using tb::gui::MainWindow;

inline QString qpath(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

template <class T = QWidget>
T* control(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(name);
    EXPECT_NE(c, nullptr) << "no control " << name;
    return c;
}
inline QString field(QWidget& w, const char* name) { return control<QLineEdit>(w, name)->text(); }
inline bool enabled(QWidget& w, const char* name) { return control(w, name)->isEnabled(); }
inline void click(QWidget& w, const char* name) { control<QAbstractButton>(w, name)->click(); }

// Waits (serving the event loop) until `done` holds; the limit only guards
// against a hang.
inline bool wait_until(const std::function<bool()>& done) { return QTest::qWaitFor(done, 30000); }

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
class WindowTest : public ::testing::Test {
protected:
    TempDir tmp;
    QString data_dir = qpath(tmp / "data");
    QString output = qpath(tmp / "out" / "TALLYBOOK.xlsx");
    std::vector<QString> opened, shown;
    RunOptions seen;   // what the last stand-in run was given
    int runs = 0;      // stand-in runs started

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
    std::filesystem::path enc_folder(const std::string& name) {
        const auto dir = tmp / name;
        std::filesystem::create_directories(dir);
        write_bytes(dir / "ENCTEAM.DAT", "x");
        return dir;
    }
    void press_process(MainWindow& w, const QString& folder) {
        ASSERT_TRUE(w.set_folder(folder));
        ASSERT_TRUE(enabled(w, "process_button"));
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

}  // namespace tb::test
