// The window's widgets over its model (the model's tests hold the rules):
// the first start, choosing the encyclopedia folder (the folder and recent
// lists, typing and dropping), Enter and Alt+P, the names a screen reader
// hears, where the window opens and the default workbook.
#include "window_fixture.h"

#include "window/texts.h"

#include <QAccessible>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QUrl>

#include <cstdlib>

namespace tb::test {
namespace {

using tb::window::Control;
using Window = WindowTest;

// A first start writes the program's folder; Process says why it is off,
// on its tooltip too.
TEST_F(Window, AFirstStartSavesTheProgramsFolderAndProcessSaysWhyItIsOff) {
    MainWindow w(settings());
    EXPECT_EQ(read_bytes(tb::window::saved_folder_file(tb::gui::to_path(data_dir))),
              tb::window::saved_folder_line(tb::gui::to_path(QCoreApplication::applicationDirPath())));
    EXPECT_FALSE(enabled(w, "process_button"));
    EXPECT_TRUE(control<QLabel>(w, "process_hint")->text().contains("ENCTEAM.DAT") &&
                control(w, "process_button")->toolTip().contains("ENCTEAM.DAT"));
}

TEST_F(Window, TheFolderFromItsListTypedDroppedOrRecentAndAMissingOneRefused) {
    const auto league = enc_folder("games/League"), other = enc_folder("Other");
    MainWindow w(settings());
    ASSERT_TRUE(w.set_folder(qpath(tmp / "games")));
    auto* folder_list = control<QListWidget>(w, "folder_list");
    EXPECT_EQ(folder_list->count(), 2);
    folder_list->setCurrentItem(folder_list->findItems("League", Qt::MatchExactly).value(0));
    QTest::keyClick(folder_list, Qt::Key_Return);
    EXPECT_EQ(w.encyclopedia_folder(), qpath(league));

    auto* typed = control<QLineEdit>(w, "folder_field");
    typed->setText(QDir::toNativeSeparators(qpath(other)));
    QTest::keyClick(typed, Qt::Key_Return);
    EXPECT_EQ(w.encyclopedia_folder(), qpath(other));
    BoxAnswerer boxes;   // the refusal's box (its words are the model's)
    typed->setText(qpath(tmp / "nowhere"));
    QTest::keyClick(typed, Qt::Key_Return);
    EXPECT_EQ(QDir::fromNativeSeparators(typed->text()), qpath(other));   // the field shows the folder again

    QMimeData dropped;   // a folder dragged onto the window and dropped
    dropped.setUrls({QUrl::fromLocalFile(qpath(league))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    EXPECT_EQ(w.encyclopedia_folder(), qpath(league));

    // Folders of earlier runs are offered again.
    tb::window::Remembered r;
    tb::window::add_recent(r, other);
    ASSERT_TRUE(tb::window::write_remembered(tb::window::settings_file(tb::gui::to_path(data_dir)), r).empty());
    MainWindow again(settings());
    auto* recent = control<QComboBox>(again, "recent_list");
    const int at = recent->findText(QDir::toNativeSeparators(qpath(other)));
    ASSERT_GT(at, 0);
    emit recent->activated(at);
    EXPECT_EQ(again.encyclopedia_folder(), qpath(other));
}

TEST_F(Window, EnterStartsProcessFromTheOptionsTheWorkbookFieldAndProcessAndAltPTypesNothing) {
    MainWindow w(settings(stand_in()));
    w.show();
    ASSERT_TRUE(w.set_folder(qpath(enc_folder("league"))));
    for (const char* from : {"players_and_teams", "view_after_completed", "workbook_field", "process_button"}) {
        QTest::keyClick(control(w, from), Qt::Key_Return);
        EXPECT_TRUE(w.running()) << from;
        finish(w);
    }
    EXPECT_EQ(runs, 4);

    ASSERT_TRUE(w.set_folder(qpath(tmp / "out")));   // no ENCTEAM.DAT: Process is off
    auto* typed = control<QLineEdit>(w, "folder_field");
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
        if (!tb::window::texts::tooltip(c).empty()) {
            EXPECT_FALSE(widget->toolTip().isEmpty());
        }
    }
    EXPECT_NE(control<QComboBox>(w, "drive_list")->currentText(), "Encyclopedia Drive");   // named, not by its value
}

TEST_F(Window, TheWindowOpensWhereItWasClosedWhenAScreenShowsIt) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint corner = screen.topLeft() + QPoint(40, 30);
    {
        MainWindow w(settings());
        w.show();
        w.move(corner);
        w.resize(560, 590);
        click(w, "exit_button");
    }
    {
        MainWindow again(settings());
        EXPECT_EQ(again.size(), QSize(560, 590));
        EXPECT_EQ(again.pos(), corner);
        again.move(screen.right() + 500, screen.top());   // where no screen is now
        again.close();
    }
    MainWindow elsewhere(settings());
    EXPECT_EQ(elsewhere.size(), QSize(600, 660));   // the default
}

// Without the user's folders set up (no user-dirs.dirs), ~/Documents.
TEST_F(Window, TheDefaultWorkbookGoesToDocumentsWhenTheUserFoldersAreNotSetUp) {
    struct Env {
        std::string name, old;
        bool had;
        Env(const char* n, const std::filesystem::path& value) : name(n), had(std::getenv(n) != nullptr) {
            if (had) old = std::getenv(n);
            ::setenv(n, value.c_str(), 1);
        }
        ~Env() { had ? ::setenv(name.c_str(), old.c_str(), 1) : ::unsetenv(name.c_str()); }
    };
    const auto home = tmp / "home";
    std::filesystem::create_directories(home / "Documents");
    Env h("HOME", home), config("XDG_CONFIG_HOME", home / ".config");
    output.clear();
    MainWindow w(settings());
    EXPECT_EQ(field(w, "workbook_field"), qpath(home / "Documents" / "TALLYBOOK.xlsx"));
}

}  // namespace
}  // namespace tb::test
