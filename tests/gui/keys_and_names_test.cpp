// The window by keyboard and by screen reader, and where it opens: Enter
// where the model says, Alt+P with Process off, each control named and
// explained as the model says, the remembered place, the default workbook.
#include "window_fixture.h"

#include "window/texts.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>

#include <cstdlib>

namespace tb::test {
namespace {

using tb::window::Control;
using KeysAndNames = WindowTest;

QWidget* widget_of(MainWindow& w, Control c) { return control(w, std::string(tb::window::control_name(c)).c_str()); }

TEST_F(KeysAndNames, EnterStartsProcessFromTheOptionsTheWorkbookFieldAndProcessAndAltPTypesNothing) {
    const auto league = enc_folder("league");
    MainWindow w(settings(stand_in()));
    w.show();
    ASSERT_TRUE(w.set_folder(qpath(league)));
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

TEST_F(KeysAndNames, EachControlHasTheModelsNameAndTooltipAndLabelsLeadToTheirControls) {
    MainWindow w(settings());
    for (Control c : tb::window::all_controls()) {
        QWidget* widget = widget_of(w, c);
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

TEST_F(KeysAndNames, TheWindowOpensWhereItWasClosedWhenAScreenShowsIt) {
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
TEST_F(KeysAndNames, TheDefaultWorkbookGoesToDocumentsWhenTheUserFoldersAreNotSetUp) {
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
