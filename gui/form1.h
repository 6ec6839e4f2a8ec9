// The one window of the program: pick the encyclopedia folder, the
// spreadsheets desired and the viewing option, press Process, get the workbook.
#pragma once

#include "app/run.h"

#include <QDateTime>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;

namespace tb::gui {

class LiveView;
struct RunLink;

using RunFunction = std::function<tb::app::RunResult(
    const tb::app::RunOptions&, tb::app::RunObserver&, const std::atomic<bool>*)>;
// Opens the saved workbook in the desktop's application; false when none.
using OpenFunction = std::function<bool(const QUrl&)>;

struct WindowSettings {
    QString data_dir;             // empty: see data_folder()
    RunFunction run;              // empty: tb::app::run_process
    OpenFunction open_workbook;   // empty: QDesktopServices::openUrl
    QString output;               // empty: TALLYBOOK.xlsx in the documents folder
};

class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(WindowSettings settings = {}, QWidget* parent = nullptr);
    ~Form1() override;

    // The folder the run will read; empty until the folder list has a folder.
    const QString& enc_folder() const { return EncFolder; }
    // Shows `folder` in the drive and folder lists, as a user's choice would.
    // Returns false (and changes nothing) when it is not a folder.
    bool set_folder(const QString& folder);
    bool running() const { return worker_.joinable(); }
    QString saved_folder_path() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    friend class WindowObserver;

    void build_controls();
    void arrange_controls();
    void Form_Load();
    void read_path();
    QString write_path(const QString& folder);
    void fill_drives();
    void select_drive_of(const QString& folder);
    void fill_folder_list();
    void drv1_Change(int index);
    void dir1_Activated(QListWidgetItem* item);
    void dir1_Change();
    void folder_field_entered();
    void browse_folder();
    void choose_output();
    void cmdProcess_Click();
    void cmdCancel_Click();
    void cmdExit_Click();
    void set_running(bool on);
    void stop_run();
    void refresh_live_view();

    // Reports of the run, on the window's thread; `run_id` tells a report of
    // the current run from a late one of a run already given up.
    void run_started(uint64_t run_id, const QDateTime& t);
    void run_ended(uint64_t run_id, const QDateTime& t);
    void run_status(uint64_t run_id, const QString& text);
    void run_notice(uint64_t run_id, const QString& text, const QString& detail);
    void run_progress(uint64_t run_id, int64_t done, int64_t total);
    void run_show_workbook(uint64_t run_id);
    void run_finished(uint64_t run_id, const tb::app::RunResult& result);
    void open_output(const QString& output);

    WindowSettings settings_;
    QString data_dir_;
    QString EncFolder;
    QString shown_folder_;   // the folder the folder list shows
    QString run_folder_;     // the folder of the run under way, saved when it completes

    QLabel* Label1 = nullptr;
    QComboBox* drv1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtFolder = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QListWidget* dir1 = nullptr;
    QPushButton* cmdProcess = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* txtstarttime = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* txtendtime = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* opt1 = nullptr;
    QRadioButton* opt2 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QRadioButton* opt3 = nullptr;
    QRadioButton* opt4 = nullptr;
    QRadioButton* opt5 = nullptr;
    QLabel* lblOutput = nullptr;
    QLineEdit* txtOutput = nullptr;
    QPushButton* cmdSaveAs = nullptr;
    QProgressBar* prgRun = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txt1 = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdExit = nullptr;
    LiveView* live_ = nullptr;
    QTimer* live_timer_ = nullptr;

    std::thread worker_;
    std::atomic<bool> cancel_{false};
    std::shared_ptr<RunLink> link_;
    uint64_t run_id_ = 0;          // of the run under way; 0 when none
    uint64_t last_run_id_ = 0;
};

}  // namespace tb::gui
