// Start-up of the window and the saved-folder file.
#include "window_fixture.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>

namespace tb::test {
namespace {

using tb::gui::Form1;

class WindowStartup : public WindowTest {};

TEST_F(WindowStartup, ChoosesViewWhileProcessingAndPlayersAndTeamsWithProcessDisabled) {
    Form1 w(settings());
    EXPECT_TRUE(control<QRadioButton>(w, "opt1")->isChecked());
    EXPECT_FALSE(control<QRadioButton>(w, "opt2")->isChecked());
    EXPECT_FALSE(control<QRadioButton>(w, "opt3")->isChecked());
    EXPECT_FALSE(control<QRadioButton>(w, "opt4")->isChecked());
    EXPECT_TRUE(control<QRadioButton>(w, "opt5")->isChecked());
    EXPECT_FALSE(control<QPushButton>(w, "cmdProcess")->isEnabled());
    EXPECT_TRUE(control<QLineEdit>(w, "txt1")->text().isEmpty());
    EXPECT_TRUE(control<QLineEdit>(w, "txtstarttime")->text().isEmpty());
    EXPECT_TRUE(control<QLineEdit>(w, "txtendtime")->text().isEmpty());
    EXPECT_TRUE(control<QPushButton>(w, "cmdCancel")->isHidden());
    EXPECT_FALSE(w.running());
}

TEST_F(WindowStartup, ControlsCarryTheirCaptionsAndTheTitleShowsTheVersion) {
    Form1 w(settings());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("TALLYBOOK " TALLYBOOK_VERSION));
    EXPECT_EQ(control<QLabel>(w, "Label1")->text(), "Encyclopedia Drive");
    EXPECT_EQ(control<QLabel>(w, "Label2")->text(), "Encyclopedia Folder");
    EXPECT_EQ(control<QLabel>(w, "Label3")->text(), "Player being Processed");
    EXPECT_EQ(control<QLabel>(w, "Label4")->text(), "Processing Started");
    EXPECT_EQ(control<QLabel>(w, "Label5")->text(), "Processing Ended");
    EXPECT_EQ(control<QPushButton>(w, "cmdProcess")->text(), "Process");
    EXPECT_EQ(control<QPushButton>(w, "cmdExit")->text(), "E&XIT");
    EXPECT_EQ(control<QGroupBox>(w, "Frame1")->title(), "Spreadsheet Viewing");
    EXPECT_EQ(control<QGroupBox>(w, "Frame2")->title(), "Spreadsheets Desired");
    EXPECT_EQ(control<QRadioButton>(w, "opt1")->text(), "View While Processing");
    EXPECT_EQ(control<QRadioButton>(w, "opt2")->text(), "View After Completed");
    EXPECT_EQ(control<QRadioButton>(w, "opt3")->text(), "Players Only");
    EXPECT_EQ(control<QRadioButton>(w, "opt4")->text(), "Teams Only");
    EXPECT_EQ(control<QRadioButton>(w, "opt5")->text(), "Players and Teams");
    EXPECT_NE(control<QComboBox>(w, "drv1"), nullptr);
    EXPECT_NE(control<QListWidget>(w, "dir1"), nullptr);
}

TEST_F(WindowStartup, DefaultWorkbookIsTallybookXlsxInTheDocumentsFolder) {
    auto s = settings();
    s.output.clear();
    Form1 w(s);
    const QString out = QDir::fromNativeSeparators(control<QLineEdit>(w, "txtOutput")->text());
    EXPECT_TRUE(out.endsWith("/TALLYBOOK.xlsx")) << out.toStdString();
}

class SavedFolderFile : public WindowTest {};

TEST_F(SavedFolderFile, FirstStartCreatesTheDataFolderHoldingTheProgramFolderQuoted) {
    ASSERT_FALSE(QFileInfo::exists(data_dir));
    Form1 w(settings());
    EXPECT_TRUE(QFileInfo(data_dir).isDir());
    const QByteArray expected =
        '"' + QFile::encodeName(QCoreApplication::applicationDirPath()) + "\"\r\n";
    EXPECT_EQ(file_bytes(saved_file()), expected);
    EXPECT_FALSE(control<QPushButton>(w, "cmdProcess")->isEnabled());
}

TEST_F(SavedFolderFile, NextStartOpensTheSavedFolderWithProcessEnabled) {
    const QString folder = qpath(enc_folder("league"));
    save_folder(folder);
    Form1 w(settings());
    EXPECT_EQ(w.enc_folder(), folder);
    EXPECT_TRUE(control<QPushButton>(w, "cmdProcess")->isEnabled());
    EXPECT_EQ(QDir::fromNativeSeparators(control<QLineEdit>(w, "txtFolder")->text()), folder);
}

TEST_F(SavedFolderFile, SavedFolderThatNoLongerExistsOpensTheHomeFolder) {
    const QString gone = qpath(tmp.path() / "gone");
    save_folder(gone);
    const QByteArray before = file_bytes(saved_file());
    Form1 w(settings());
    EXPECT_EQ(w.enc_folder(), QDir::cleanPath(QDir::homePath()));
    EXPECT_EQ(file_bytes(saved_file()), before);
}

TEST_F(SavedFolderFile, FileThatIsNotOneQuotedLineIsIgnored) {
    QDir().mkpath(data_dir);
    for (const QByteArray& content : {QByteArray(), QByteArray("no quotes\r\n"), QByteArray("\"\"\r\n"),
                                      QByteArray("\"half\r\n"), QByteArray("\xff\xfe\x00\x01", 4)}) {
        QFile f(saved_file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        Form1 w(settings());
        EXPECT_EQ(w.enc_folder(), QDir::cleanPath(QDir::homePath())) << content.toStdString();
        EXPECT_EQ(file_bytes(saved_file()), content);
    }
}

TEST_F(SavedFolderFile, RoundTripKeepsAnyFolderName) {
    for (const QString& folder : {QStringLiteral("/plain/folder"), QStringLiteral("/with space/and \"quote\""),
                                 QString::fromUtf8("/Jos\xc3\xa9/\xc3\x9c" "ber")}) {
        ASSERT_TRUE(tb::gui::write_saved_folder(saved_file(), folder).isEmpty());
        EXPECT_EQ(file_bytes(saved_file()), '"' + QFile::encodeName(folder) + "\"\r\n");
        const auto back = tb::gui::read_saved_folder(saved_file());
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(*back, folder);
    }
}

TEST_F(SavedFolderFile, NotWrittenWhenTheUserOnlyChangesTheFolder) {
    save_folder(qpath(enc_folder("first")));
    const QByteArray before = file_bytes(saved_file());
    Form1 w(settings());
    ASSERT_TRUE(w.set_folder(qpath(enc_folder("second"))));
    EXPECT_EQ(file_bytes(saved_file()), before);
}

TEST_F(SavedFolderFile, EnvironmentVariableChoosesTheDataFolder) {
    qputenv("TALLYBOOK_DATA_DIR", data_dir.toUtf8());
    const QString chosen = tb::gui::data_folder();
    qunsetenv("TALLYBOOK_DATA_DIR");
    EXPECT_EQ(chosen, data_dir);
    EXPECT_TRUE(tb::gui::data_folder().endsWith("/tallybook/data"));
}

TEST_F(SavedFolderFile, UnwritableDataFolderIsReportedNotFatal) {
    touch(tmp.path() / "blocker");
    const QString error = tb::gui::write_saved_folder(qpath(tmp.path() / "blocker" / "TALLYBOOK.txt"), "/x");
    EXPECT_FALSE(error.isEmpty());
}

}  // namespace
}  // namespace tb::test
