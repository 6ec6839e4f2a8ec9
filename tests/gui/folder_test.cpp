// Choosing the encyclopedia: the drive and folder lists and the rule that
// enables Process.
#include "window_fixture.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QStorageInfo>

namespace tb::test {
namespace {

using tb::gui::Form1;

class ProcessEnable : public WindowTest {};

TEST_F(ProcessEnable, TeamFileInAnyLetterCaseEnablesProcess) {
    Form1 w(settings());
    auto* process = control<QPushButton>(w, "cmdProcess");
    for (const char* name : {"ENCTEAM.DAT", "encteam.dat", "EncTeam.Dat"}) {
        const QString folder = qpath(enc_folder(std::string("f-") + name, name));
        ASSERT_TRUE(w.set_folder(folder));
        EXPECT_EQ(w.enc_folder(), folder);
        EXPECT_TRUE(process->isEnabled()) << name;
    }
}

TEST_F(ProcessEnable, FolderWithoutTheTeamFileDisablesProcess) {
    Form1 w(settings());
    auto* process = control<QPushButton>(w, "cmdProcess");
    ASSERT_TRUE(w.set_folder(qpath(enc_folder("with"))));
    ASSERT_TRUE(process->isEnabled());

    const auto other = enc_folder("other", "ENCPLYR.DAT");
    ASSERT_TRUE(w.set_folder(qpath(other)));
    EXPECT_EQ(w.enc_folder(), qpath(other));
    EXPECT_FALSE(process->isEnabled());

    // A folder that merely carries the team file's name does not count.
    const auto decoy = enc_folder("decoy", "");
    std::filesystem::create_directories(decoy / "ENCTEAM.DAT");
    ASSERT_TRUE(w.set_folder(qpath(decoy)));
    EXPECT_FALSE(process->isEnabled());
}

TEST_F(ProcessEnable, AFileIsNotAFolder) {
    const auto folder = enc_folder("league");
    Form1 w(settings());
    ASSERT_TRUE(w.set_folder(qpath(folder)));
    EXPECT_FALSE(w.set_folder(qpath(folder / "ENCTEAM.DAT")));
    EXPECT_FALSE(w.set_folder(qpath(tmp.path() / "missing")));
    EXPECT_EQ(w.enc_folder(), qpath(folder));
}

class FolderList : public WindowTest {};

QListWidgetItem* item_named(QListWidget* list, const QString& text) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == text) return list->item(i);
    return nullptr;
}

void activate(QListWidget* list, QListWidgetItem* item) {
    list->setCurrentItem(item);
    QTest::keyClick(list, Qt::Key_Return);
}

TEST_F(FolderList, EnterGoesIntoAFolderAndDotDotGoesBackUp) {
    const auto parent = tmp.path() / "games";
    const auto league = enc_folder("games/League");
    std::filesystem::create_directories(parent / ".wine");
    std::filesystem::create_directories(parent / "alpha");
    touch(parent / "notes.txt");
    Form1 w(settings());
    ASSERT_TRUE(w.set_folder(qpath(parent)));
    auto* dir1 = control<QListWidget>(w, "dir1");
    QStringList names;
    for (int i = 0; i < dir1->count(); ++i) names << dir1->item(i)->text();
    EXPECT_EQ(names, QStringList({"..", ".wine", "alpha", "League"}));

    activate(dir1, item_named(dir1, "League"));
    EXPECT_EQ(w.enc_folder(), qpath(league));
    EXPECT_TRUE(control<QPushButton>(w, "cmdProcess")->isEnabled());

    activate(dir1, item_named(dir1, ".."));
    EXPECT_EQ(w.enc_folder(), qpath(parent));
    EXPECT_FALSE(control<QPushButton>(w, "cmdProcess")->isEnabled());
}

TEST_F(FolderList, TypedFolderIsOpenedAndAMissingOneIsRefused) {
    const auto league = enc_folder("League");
    Form1 w(settings());
    auto* field = control<QLineEdit>(w, "txtFolder");
    field->setText(QDir::toNativeSeparators(qpath(league)));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(w.enc_folder(), qpath(league));

    BoxAnswerer boxes;
    field->setText(qpath(tmp.path() / "nowhere"));
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].contains("nowhere"));
    EXPECT_EQ(w.enc_folder(), qpath(league));
    EXPECT_EQ(QDir::fromNativeSeparators(field->text()), qpath(league));
}

TEST_F(FolderList, DriveListShowsTheVolumeOfTheFolder) {
    const auto league = enc_folder("League");
    Form1 w(settings());
    ASSERT_TRUE(w.set_folder(qpath(league)));
    auto* drv1 = control<QComboBox>(w, "drv1");
    ASSERT_GT(drv1->count(), 0);
    EXPECT_EQ(drv1->currentData().toString(), QStorageInfo(qpath(league)).rootPath());
}

TEST_F(FolderList, ChoosingADriveOpensItsRoot) {
    Form1 w(settings());
    ASSERT_TRUE(w.set_folder(qpath(enc_folder("League"))));
    auto* drv1 = control<QComboBox>(w, "drv1");
    const int root = drv1->findData(QStorageInfo(QDir::rootPath()).rootPath());
    ASSERT_GE(root, 0);
    drv1->setCurrentIndex(root);
    emit drv1->activated(root);
    EXPECT_EQ(w.enc_folder(), QDir::cleanPath(QStorageInfo(QDir::rootPath()).rootPath()));
}

}  // namespace
}  // namespace tb::test
