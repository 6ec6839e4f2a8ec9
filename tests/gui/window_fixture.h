// Shared pieces of the window tests: a window on a temporary data folder,
// lookup of its controls, and a hand that answers message boxes.
#pragma once

#include "form1.h"
#include "saved_folder.h"
#include "support/encyclopedia_builder.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tb::test {

inline QString qpath(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

inline void touch(const std::filesystem::path& file) { std::ofstream(file) << "x"; }

inline QByteArray file_bytes(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

template <class T>
T* control(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(name);
    EXPECT_NE(c, nullptr) << "no control " << name;
    return c;
}

// Waits (serving the event loop) until `done` holds; the limit only guards
// against a hang.
inline bool wait_until(const std::function<bool()>& done) { return QTest::qWaitFor(done, 30000); }

// Closes every message box that comes up, with OK, after letting `inspect`
// look at it. Keeps the texts seen.
class BoxAnswerer {
public:
    explicit BoxAnswerer(std::function<void(QMessageBox&)> inspect = {}) : inspect_(std::move(inspect)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible() || answered_.contains(box)) return;
            answered_.append(box);
            texts.push_back(box->text() + "\n" + box->informativeText());
            if (inspect_) inspect_(*box);
            if (QAbstractButton* ok = box->button(QMessageBox::Ok)) ok->click();
            else box->accept();
        });
        timer_.start();
    }
    std::vector<QString> texts;

private:
    std::function<void(QMessageBox&)> inspect_;
    QList<QMessageBox*> answered_;
    QTimer timer_;
};

// A window whose saved-folder file lives in a temporary folder and which
// records instead of opening workbooks.
class WindowTest : public ::testing::Test {
protected:
    TempDir tmp;
    QString data_dir = qpath(tmp.path() / "data");
    std::vector<QUrl> opened;
    bool can_open = true;

    tb::gui::WindowSettings settings(tb::gui::RunFunction run = {}) {
        tb::gui::WindowSettings s;
        s.data_dir = data_dir;
        s.run = std::move(run);
        s.open_workbook = [this](const QUrl& u) {
            opened.push_back(u);
            return can_open;
        };
        s.output = qpath(tmp.path() / "out" / "TALLYBOOK.xlsx");
        std::filesystem::create_directories(tmp.path() / "out");
        return s;
    }
    QString saved_file() const { return tb::gui::saved_folder_file(data_dir); }
    void save_folder(const QString& folder) {
        ASSERT_TRUE(tb::gui::write_saved_folder(saved_file(), folder).isEmpty());
    }
    // A folder holding a team file of the given name.
    std::filesystem::path enc_folder(const std::string& name, const std::string& team_file = "ENCTEAM.DAT") {
        auto dir = tmp.path() / name;
        std::filesystem::create_directories(dir);
        if (!team_file.empty()) touch(dir / team_file);
        return dir;
    }
};

}  // namespace tb::test
