// The window at start-up, the saved-folder file, and choosing the
// encyclopedia folder: the drive and folder lists and the rule that enables Process.
#include "window_fixture.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QStorageInfo>

namespace tb::test {
namespace {

class WindowStartup : public WindowTest {};

// A first start: no saved-folder file yet, no workbook name given.
TEST_F(WindowStartup, FirstStartDefaultsCaptionsAndTheSavedFolderFile) {
    output.clear();
    ASSERT_FALSE(QFileInfo::exists(data_dir));
    Form1 w(settings());
    for (const char* opt : {"opt1", "opt2", "opt3", "opt4", "opt5"})
        EXPECT_EQ(control<QRadioButton>(w, opt)->isChecked(), opt == std::string("opt1") || opt == std::string("opt5"))
            << opt;
    EXPECT_FALSE(enabled(w, "cmdProcess"));
    // Why Process is disabled is said.
    EXPECT_TRUE(control<QPushButton>(w, "cmdProcess")->toolTip().contains("ENCTEAM.DAT"));
    EXPECT_TRUE(control<QLabel>(w, "lblHint")->text().contains("ENCTEAM.DAT"));
    for (const char* box : {"txt1", "txtstarttime", "txtendtime"}) {
        EXPECT_TRUE(field(w, box).isEmpty()) << box;
        EXPECT_EQ(control(w, box)->focusPolicy(), Qt::NoFocus) << box;  // not a stop of the Tab key
    }
    EXPECT_TRUE(control<QPushButton>(w, "cmdProcess")->isDefault());
    EXPECT_TRUE(control(w, "cmdCancel")->isHidden());
    EXPECT_FALSE(w.running());
    // The data folder is made, holding the program's folder.
    EXPECT_EQ(file_bytes(saved_file()), quoted(QCoreApplication::applicationDirPath()));

    EXPECT_EQ(w.windowTitle(), QStringLiteral("TALLYBOOK " TALLYBOOK_VERSION));
    const std::pair<const char*, const char*> captions[] = {
        {"Label1", "Encyclopedia Drive"}, {"Label2", "Encyclopedia Folder"}, {"Label3", "Player being Processed"},
        {"Label4", "Processing Started"}, {"Label5", "Processing Ended"},    {"cmdProcess", "&Process"},
        {"cmdExit", "E&XIT"},             {"Frame1", "Spreadsheet Viewing"}, {"Frame2", "Spreadsheets Desired"},
        {"opt1", "View While Processing"}, {"opt2", "View After Completed"}, {"opt3", "Players Only"},
        {"opt4", "Teams Only"},           {"opt5", "Players and Teams"}};
    for (const auto& [name, caption] : captions) {
        QWidget* c = control(w, name);
        EXPECT_EQ(c->property(qobject_cast<QGroupBox*>(c) ? "title" : "text").toString(), caption) << name;
    }
    control<QComboBox>(w, "drv1");
    control<QListWidget>(w, "dir1");
    const QString out = QDir::fromNativeSeparators(field(w, "txtOutput"));
    EXPECT_TRUE(out.endsWith("/TALLYBOOK.xlsx")) << out.toStdString();
}

class SavedFolderFile : public WindowTest {};

TEST_F(SavedFolderFile, NextStartOpensTheSavedFolderAndOnlyARunRewritesIt) {
    const QString folder = qpath(enc_folder("league"));
    save_folder(folder);
    Form1 w(settings());
    EXPECT_EQ(w.enc_folder(), folder);
    EXPECT_TRUE(enabled(w, "cmdProcess"));
    EXPECT_EQ(QDir::fromNativeSeparators(field(w, "txtFolder")), folder);
    ASSERT_TRUE(w.set_folder(qpath(enc_folder("second"))));
    EXPECT_EQ(file_bytes(saved_file()), quoted(folder));
}

class ProcessEnable : public WindowTest {};

TEST_F(ProcessEnable, OnlyAFolderHoldingTheTeamFileInAnyLetterCaseEnablesProcess) {
    Form1 w(settings());
    const std::pair<const char*, bool> cases[] = {
        {"ENCTEAM.DAT", true}, {"ENCPLYR.DAT", false}, {"encteam.dat", true}, {"", false}, {"EncTeam.Dat", true}};
    for (const auto& [team_file, enables] : cases) {
        const auto folder = enc_folder(std::string("f-") + team_file, team_file);
        // A folder that merely carries the team file's name does not count.
        if (!*team_file) std::filesystem::create_directories(folder / "ENCTEAM.DAT");
        ASSERT_TRUE(w.set_folder(qpath(folder)));
        EXPECT_EQ(w.enc_folder(), qpath(folder));
        EXPECT_EQ(enabled(w, "cmdProcess"), enables) << team_file;
    }
    // Neither a file nor a missing folder is taken.
    const QString last = w.enc_folder();
    EXPECT_FALSE(w.set_folder(last + "/EncTeam.Dat"));
    EXPECT_FALSE(w.set_folder(qpath(tmp.path() / "missing")));
    EXPECT_EQ(w.enc_folder(), last);
}

class FolderList : public WindowTest {};

void activate(QListWidget* list, const QString& text) {
    const auto found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    list->setCurrentItem(found[0]);
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

    activate(dir1, "League");
    EXPECT_EQ(w.enc_folder(), qpath(league));
    EXPECT_TRUE(enabled(w, "cmdProcess"));
    activate(dir1, "..");
    EXPECT_EQ(w.enc_folder(), qpath(parent));
    EXPECT_FALSE(enabled(w, "cmdProcess"));
}

TEST_F(FolderList, TypedFolderIsOpenedAndAMissingOneIsRefused) {
    const auto league = enc_folder("League");
    Form1 w(settings());
    auto* typed = control<QLineEdit>(w, "txtFolder");
    typed->setText(QDir::toNativeSeparators(qpath(league)));
    QTest::keyClick(typed, Qt::Key_Return);
    EXPECT_EQ(w.enc_folder(), qpath(league));

    BoxAnswerer boxes;
    typed->setText(qpath(tmp.path() / "nowhere"));
    QTest::keyClick(typed, Qt::Key_Return);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].contains("nowhere"));
    EXPECT_EQ(w.enc_folder(), qpath(league));
    EXPECT_EQ(QDir::fromNativeSeparators(typed->text()), qpath(league));
}

TEST_F(FolderList, DriveListShowsTheVolumeOfTheFolderAndChoosingADriveOpensItsRoot) {
    const auto league = enc_folder("League");
    Form1 w(settings());
    ASSERT_TRUE(w.set_folder(qpath(league)));
    auto* drv1 = control<QComboBox>(w, "drv1");
    // Which volumes the system reports depends on the machine (a chroot may
    // report none for the test folder); the folder's own volume is listed.
    const QString root = QStorageInfo(qpath(league)).rootPath();
    if (root.isEmpty()) GTEST_SKIP() << "the system reports no volume for " << league.string();
    EXPECT_EQ(drv1->currentData().toString(), root);
    const int index = drv1->findData(root);
    ASSERT_GE(index, 0);
    drv1->setCurrentIndex(index);
    emit drv1->activated(index);
    EXPECT_EQ(w.enc_folder(), QDir::cleanPath(root));
}

}  // namespace
}  // namespace tb::test
