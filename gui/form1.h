// The one window of the program: pick the encyclopedia folder, the
// spreadsheets desired and the viewing option, press Process, get the
// workbook. A thin Qt view over the window model, which decides everything.
#pragma once

#include "window/window_model.h"

#include <QString>
#include <QWidget>

#include <filesystem>
#include <functional>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace tb::gui {

class LiveView;

using RunFunction = tb::window::RunFunction;
using FileAction = std::function<bool(const std::filesystem::path&)>;

struct WindowSettings {
    QString data_dir;             // empty: the per-user data folder
    RunFunction run;              // empty: tb::app::run_process
    FileAction open_workbook;     // empty: the desktop's application for .xlsx
    QString output;               // empty: remembered, or TALLYBOOK.xlsx in the documents folder
    FileAction show_in_folder;    // empty: the desktop's file manager
};

std::filesystem::path to_path(const QString& s);
QString from_path(const std::filesystem::path& p);

class Form1 : public QWidget, private tb::window::WindowView {
    Q_OBJECT

public:
    explicit Form1(WindowSettings settings = {}, QWidget* parent = nullptr);
    ~Form1() override;

    // The folder the run will read; empty until the folder list has a folder.
    QString enc_folder() const { return from_path(model_.state().folder); }
    // Shows `folder` in the drive and folder lists, as a user's choice would.
    // Returns false (and changes nothing) when it is not a folder.
    bool set_folder(const QString& folder);
    bool running() const { return model_.state().running; }
    QString saved_folder_path() const;
    tb::window::WindowModel& model() { return model_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // WindowView
    void refresh() override;
    void show_notice(const tb::app::Notice& notice) override;
    void show_failure(const std::string& text) override;
    void show_message(const std::string& text) override;
    void snapshot_ready() override;
    void wake() override;

    void build_controls();
    void arrange_controls();
    void fill_drives();
    void select_drive_of(const QString& folder);
    void fill_folder_list();
    void drv1_Change(int index);
    void dir1_Activated(QListWidgetItem* item);
    void folder_field_entered();
    void folder_field_left();
    void recent_chosen(int index);
    void browse_folder();
    void choose_output();
    void output_field_entered();
    void cmdProcess_Click();
    void cmdCancel_Click();
    void cmdExit_Click();
    void about();
    void message(const QString& object_name, const QString& text, bool critical = false);
    void set_live_visible(bool visible);

    tb::window::WindowModel model_;
    QString shown_folder_;       // the folder the lists show
    int height_without_live_ = 0;

    QLabel* Label1 = nullptr;
    QComboBox* drv1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtFolder = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QComboBox* cmbRecent = nullptr;
    QListWidget* dir1 = nullptr;
    QLabel* lblHint = nullptr;
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
    QLabel* lblSaved = nullptr;
    QPushButton* cmdOpen = nullptr;
    QPushButton* cmdShowFolder = nullptr;
    QPushButton* cmdAbout = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdExit = nullptr;
    LiveView* live_ = nullptr;
    QGridLayout* grid_ = nullptr;
};

}  // namespace tb::gui
