// The window at start-up, the saved-folder file, and choosing the
// encyclopedia folder: the folder and recent lists, typing and dropping,
// and Process on only for a folder with the team file.
#include "window_fixture.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QUrl>

namespace tb::test {
namespace {

using ChoosingTheFolder = WindowTest;

// The widgets show what the model decides (its own tests cover the rules):
// the defaults of a first start, and the saved folder after that.
TEST_F(ChoosingTheFolder, FirstStartThenTheSavedFolder) {
    output.clear();
    {
        MainWindow w(settings());
        EXPECT_TRUE(control<QRadioButton>(w, "view_while_processing")->isChecked() &&
                    control<QRadioButton>(w, "players_and_teams")->isChecked());
        EXPECT_FALSE(enabled(w, "process_button"));   // why is said, in the hint and on the button
        EXPECT_TRUE(control<QLabel>(w, "process_hint")->text().contains("ENCTEAM.DAT") &&
                    control(w, "process_button")->toolTip().contains("ENCTEAM.DAT"));
        EXPECT_TRUE(control(w, "cancel_button")->isHidden());
        EXPECT_TRUE(QDir::fromNativeSeparators(field(w, "workbook_field")).endsWith("/TALLYBOOK.xlsx"));
        EXPECT_EQ(file_bytes(saved_file()), quoted(QCoreApplication::applicationDirPath()));
    }
    const QString folder = qpath(enc_folder("league", "encteam.dat"));
    save_folder(folder);
    MainWindow w(settings());
    EXPECT_TRUE(enabled(w, "process_button"));
    EXPECT_EQ(QDir::fromNativeSeparators(field(w, "folder_field")), folder);
}

TEST_F(ChoosingTheFolder, FromTheFolderListByEnterAndDotDot) {
    const auto parent = tmp / "games";
    const auto league = enc_folder("games/League");
    std::filesystem::create_directories(parent / "alpha");
    MainWindow w(settings());
    ASSERT_TRUE(w.set_folder(qpath(parent)));
    auto* folder_list = control<QListWidget>(w, "folder_list");
    EXPECT_EQ(folder_list->count(), 3);
    for (const auto& [item, folder] : {std::pair{"League", league}, {"..", parent}}) {
        folder_list->setCurrentItem(folder_list->findItems(item, Qt::MatchExactly).value(0));
        QTest::keyClick(folder_list, Qt::Key_Return);
        EXPECT_EQ(w.encyclopedia_folder(), qpath(folder));
    }
}

TEST_F(ChoosingTheFolder, TypedDroppedOrRecentAndAMissingOneRefused) {
    const auto league = enc_folder("League"), other = enc_folder("Other");
    MainWindow w(settings());
    auto* typed = control<QLineEdit>(w, "folder_field");
    typed->setText(QDir::toNativeSeparators(qpath(league)));
    QTest::keyClick(typed, Qt::Key_Return);
    EXPECT_EQ(w.encyclopedia_folder(), qpath(league));

    BoxAnswerer boxes;
    typed->setText(qpath(tmp / "nowhere"));
    QTest::keyClick(typed, Qt::Key_Return);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].contains("nowhere"));
    EXPECT_EQ(w.encyclopedia_folder(), qpath(league));
    EXPECT_EQ(QDir::fromNativeSeparators(typed->text()), qpath(league));

    QMimeData dropped;   // a folder dragged onto the window and dropped
    dropped.setUrls({QUrl::fromLocalFile(qpath(other))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    EXPECT_EQ(w.encyclopedia_folder(), qpath(other));

    // Folders of earlier runs are offered again.
    tb::window::Remembered r;
    tb::window::add_recent(r, league);
    ASSERT_TRUE(tb::window::write_remembered(tb::window::settings_file(tb::gui::to_path(data_dir)), r).empty());
    MainWindow again(settings());
    auto* recent = control<QComboBox>(again, "recent_list");
    const int at = recent->findText(QDir::toNativeSeparators(qpath(league)));
    ASSERT_GT(at, 0);
    emit recent->activated(at);
    EXPECT_EQ(again.encyclopedia_folder(), qpath(league));
}

}  // namespace
}  // namespace tb::test
