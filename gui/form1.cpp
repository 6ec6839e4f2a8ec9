#include "form1.h"

#include "live_view.h"
#include "saved_folder.h"
#include "window_observer.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <limits>

namespace tb::gui {

namespace {

const QString kTitle = QStringLiteral("TALLYBOOK");

std::filesystem::path to_path(const QString& s) {
#ifdef _WIN32
    return std::filesystem::path(s.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(s).toStdString());
#endif
}

QString from_path(const std::filesystem::path& p) {
#ifdef _WIN32
    return QString::fromStdWString(p.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(p.string()));
#endif
}

// The team file in any letter case, as the game's own file system ignores case.
bool holds_team_file(const QString& folder) {
    if (folder.isEmpty()) return false;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    return std::any_of(files.begin(), files.end(), [](const QFileInfo& f) {
        return f.isFile() && f.fileName().compare(QLatin1String("encteam.dat"), Qt::CaseInsensitive) == 0;
    });
}

QString default_output() {
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty() || !QFileInfo(docs).isDir()) docs = QDir::homePath();
    return docs + "/TALLYBOOK.xlsx";
}

QString with_xlsx_suffix(const QString& file) {
    return file.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive) ? file : file + ".xlsx";
}

QString drive_caption(const QStorageInfo& v) {
#ifdef _WIN32
    return v.rootPath().left(2);
#else
    return QDir::toNativeSeparators(v.rootPath());
#endif
}

QRadioButton* option(const char* name, const QString& caption, QWidget* parent) {
    auto* b = new QRadioButton(caption, parent);
    b->setObjectName(name);
    return b;
}

QLineEdit* read_only_box(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    return e;
}

QLabel* caption_label(const char* name, const QString& text, bool bold, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

// Opens the workbook with the desktop's application for .xlsx. On Linux the
// opener (xdg-open) starts even when no application takes the type, so ask
// the desktop's type table first; when it cannot be asked, just try.
bool open_with_desktop(const QUrl& url) {
#ifdef Q_OS_LINUX
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"),
                 QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet")});
    if (query.waitForFinished(3000) && query.exitCode() == 0 &&
        query.readAllStandardOutput().trimmed().isEmpty())
        return false;
#endif
    return QDesktopServices::openUrl(url);
}

}  // namespace

Form1::Form1(WindowSettings settings, QWidget* parent)
    : QWidget(parent), settings_(std::move(settings)) {
    if (!settings_.run) settings_.run = tb::app::run_process;
    if (!settings_.open_workbook) settings_.open_workbook = open_with_desktop;
    setObjectName("Form1");
    setWindowTitle(QStringLiteral("%1 %2").arg(kTitle, QStringLiteral(TALLYBOOK_VERSION)));
    setWindowIcon(QIcon::fromTheme("tallybook"));
    build_controls();
    arrange_controls();
    Form_Load();
}

Form1::~Form1() { stop_run(); }

QString Form1::saved_folder_path() const { return saved_folder_file(data_dir_); }

void Form1::build_controls() {
    Label1 = caption_label("Label1", tr("Encyclopedia Drive"), true, this);
    drv1 = new QComboBox(this);
    drv1->setObjectName("drv1");
    Label2 = caption_label("Label2", tr("Encyclopedia Folder"), true, this);
    txtFolder = new QLineEdit(this);
    txtFolder->setObjectName("txtFolder");
    txtFolder->setToolTip(tr("Type or paste a folder and press Enter"));
    cmdBrowse = new QPushButton(tr("..."), this);
    cmdBrowse->setObjectName("cmdBrowse");
    cmdBrowse->setToolTip(tr("Choose the encyclopedia folder"));
    cmdBrowse->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    cmdBrowse->setMaximumWidth(cmdBrowse->fontMetrics().horizontalAdvance("...") * 3 + 12);
    dir1 = new QListWidget(this);
    dir1->setObjectName("dir1");
    dir1->setToolTip(tr("Double-click a folder (or press Enter) to open it"));
    cmdProcess = new QPushButton(tr("Process"), this);
    cmdProcess->setObjectName("cmdProcess");

    Label4 = caption_label("Label4", tr("Processing Started"), false, this);
    txtstarttime = read_only_box("txtstarttime", this);
    Label5 = caption_label("Label5", tr("Processing Ended"), false, this);
    txtendtime = read_only_box("txtendtime", this);

    Frame1 = new QGroupBox(tr("Spreadsheet Viewing"), this);
    Frame1->setObjectName("Frame1");
    opt1 = option("opt1", tr("View While Processing"), Frame1);
    opt2 = option("opt2", tr("View After Completed"), Frame1);
    Frame2 = new QGroupBox(tr("Spreadsheets Desired"), this);
    Frame2->setObjectName("Frame2");
    opt3 = option("opt3", tr("Players Only"), Frame2);
    opt4 = option("opt4", tr("Teams Only"), Frame2);
    opt5 = option("opt5", tr("Players and Teams"), Frame2);

    lblOutput = caption_label("lblOutput", tr("Workbook"), false, this);
    txtOutput = new QLineEdit(this);
    txtOutput->setObjectName("txtOutput");
    cmdSaveAs = new QPushButton(tr("Save &As..."), this);
    cmdSaveAs->setObjectName("cmdSaveAs");
    prgRun = new QProgressBar(this);
    prgRun->setObjectName("prgRun");
    prgRun->setRange(0, 1);
    prgRun->setValue(0);
    Label3 = caption_label("Label3", tr("Player being Processed"), false, this);
    txt1 = read_only_box("txt1", this);
    cmdCancel = new QPushButton(tr("Cancel"), this);
    cmdCancel->setObjectName("cmdCancel");
    cmdExit = new QPushButton(tr("E&XIT"), this);
    cmdExit->setObjectName("cmdExit");

    live_ = new LiveView(this);
    live_->setMinimumHeight(180);
    live_->hide();
    live_timer_ = new QTimer(this);
    live_timer_->setInterval(250);

    connect(drv1, qOverload<int>(&QComboBox::activated), this, &Form1::drv1_Change);
    connect(dir1, &QListWidget::itemActivated, this, &Form1::dir1_Activated);
    connect(txtFolder, &QLineEdit::returnPressed, this, &Form1::folder_field_entered);
    connect(cmdBrowse, &QPushButton::clicked, this, &Form1::browse_folder);
    connect(cmdSaveAs, &QPushButton::clicked, this, &Form1::choose_output);
    connect(cmdProcess, &QPushButton::clicked, this, &Form1::cmdProcess_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &Form1::cmdCancel_Click);
    connect(cmdExit, &QPushButton::clicked, this, &Form1::cmdExit_Click);
    connect(live_timer_, &QTimer::timeout, this, &Form1::refresh_live_view);

    setTabOrder(cmdExit, cmdProcess);
    setTabOrder(cmdProcess, drv1);
    setTabOrder(drv1, dir1);
    setTabOrder(dir1, txt1);
}

// Left: drive, folder, Process. Right: the times and the two frames.
// Below: the workbook file, progress, the status box, Cancel and Exit, and
// the live view when one is wanted.
void Form1::arrange_controls() {
    auto* v1 = new QVBoxLayout(Frame1);
    v1->addWidget(opt1);
    v1->addWidget(opt2);
    auto* v2 = new QVBoxLayout(Frame2);
    v2->addWidget(opt3);
    v2->addWidget(opt4);
    v2->addWidget(opt5);

    auto* left = new QVBoxLayout;
    left->addWidget(Label1);
    left->addWidget(drv1);
    left->addWidget(Label2);
    auto* folder_row = new QHBoxLayout;
    folder_row->addWidget(txtFolder, 1);
    folder_row->addWidget(cmdBrowse);
    left->addLayout(folder_row);
    left->addWidget(dir1, 1);
    left->addWidget(cmdProcess, 0, Qt::AlignRight);

    auto* right = new QVBoxLayout;
    right->addWidget(Label4);
    right->addWidget(txtstarttime);
    right->addWidget(Label5);
    right->addWidget(txtendtime);
    right->addSpacing(8);
    right->addWidget(Frame1);
    right->addWidget(Frame2);
    right->addStretch(1);

    auto* output_row = new QHBoxLayout;
    output_row->addWidget(lblOutput);
    output_row->addWidget(txtOutput, 1);
    output_row->addWidget(cmdSaveAs);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdExit);

    auto* grid = new QGridLayout(this);
    grid->addLayout(left, 0, 0);
    grid->addLayout(right, 0, 1);
    grid->addLayout(output_row, 1, 0, 1, 2);
    grid->addWidget(prgRun, 2, 0, 1, 2);
    grid->addWidget(Label3, 3, 0, 1, 2);
    grid->addWidget(txt1, 4, 0, 1, 2);
    grid->addLayout(buttons, 5, 0, 1, 2);
    grid->addWidget(live_, 6, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 1);
    grid->setRowStretch(6, 2);
    resize(560, 520);
}

void Form1::Form_Load() {
    data_dir_ = data_folder(settings_.data_dir);
    QDir().mkpath(data_dir_);
    opt1->setChecked(true);
    opt5->setChecked(true);
    cmdProcess->setEnabled(false);
    txt1->clear();
    txtstarttime->clear();
    txtendtime->clear();
    txtOutput->setText(QDir::toNativeSeparators(
        settings_.output.isEmpty() ? default_output() : settings_.output));
    cmdCancel->setVisible(false);
    fill_drives();
    read_path();
}

// A saved folder that is gone (or a file that is not one quoted line) is
// passed over: the lists open on the home folder instead.
void Form1::read_path() {
    const QString file = saved_folder_path();
    if (QFileInfo::exists(file)) {
        const std::optional<QString> saved = read_saved_folder(file);
        if (saved && set_folder(*saved)) return;
        set_folder(QDir::homePath());
        return;
    }
    const QString error = write_saved_folder(file, QCoreApplication::applicationDirPath());
    if (!error.isEmpty()) qWarning("TALLYBOOK: %s", qUtf8Printable(error));
    set_folder(QDir::currentPath());
}

QString Form1::write_path(const QString& folder) { return write_saved_folder(saved_folder_path(), folder); }

void Form1::fill_drives() {
    drv1->clear();
    QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    std::sort(volumes.begin(), volumes.end(),
              [](const QStorageInfo& a, const QStorageInfo& b) { return a.rootPath() < b.rootPath(); });
    for (const QStorageInfo& v : volumes) {
        if (!v.isValid() || !v.isReady()) continue;
        drv1->addItem(drive_caption(v), v.rootPath());
    }
}

void Form1::select_drive_of(const QString& folder) {
    const QString root = QStorageInfo(folder).rootPath();
    int index = drv1->findData(root);
    if (index < 0 && !root.isEmpty()) {
        drv1->addItem(QDir::toNativeSeparators(root), root);
        index = drv1->count() - 1;
    }
    drv1->setCurrentIndex(index);
}

void Form1::drv1_Change(int index) {
    const QString root = drv1->itemData(index).toString();
    if (!set_folder(root)) {
        QMessageBox::warning(this, kTitle, tr("The drive %1 is not ready.").arg(drv1->itemText(index)));
        select_drive_of(shown_folder_);
    }
}

bool Form1::set_folder(const QString& folder) {
    if (folder.isEmpty()) return false;
    const QFileInfo info(folder);
    if (!info.isDir()) return false;
    shown_folder_ = QDir::cleanPath(info.absoluteFilePath());
    select_drive_of(shown_folder_);
    txtFolder->setText(QDir::toNativeSeparators(shown_folder_));
    fill_folder_list();
    dir1_Change();
    return true;
}

void Form1::fill_folder_list() {
    dir1->clear();
    const QDir dir(shown_folder_);
    const QIcon icon = style()->standardIcon(QStyle::SP_DirIcon);
    if (!dir.isRoot()) {
        auto* up = new QListWidgetItem(style()->standardIcon(QStyle::SP_FileDialogToParent), "..", dir1);
        up->setData(Qt::UserRole, QFileInfo(shown_folder_).absolutePath());
    }
    // Hidden folders too: an encyclopedia under a Wine prefix lives in one.
    const QFileInfoList subdirs =
        dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& d : subdirs) {
        auto* item = new QListWidgetItem(icon, d.fileName(), dir1);
        item->setData(Qt::UserRole, d.absoluteFilePath());
    }
}

void Form1::dir1_Activated(QListWidgetItem* item) {
    if (!item || running()) return;
    if (!set_folder(item->data(Qt::UserRole).toString())) fill_folder_list();
}

void Form1::dir1_Change() {
    EncFolder = shown_folder_;
    cmdProcess->setEnabled(!running() && holds_team_file(EncFolder));
}

void Form1::folder_field_entered() {
    QString typed = QDir::fromNativeSeparators(txtFolder->text().trimmed());
    if (typed == "~" || typed.startsWith("~/")) typed = QDir::homePath() + typed.mid(1);
    if (!set_folder(typed)) {
        QMessageBox::warning(this, kTitle, tr("%1 is not a folder.").arg(txtFolder->text()));
        txtFolder->setText(QDir::toNativeSeparators(shown_folder_));
    }
}

void Form1::browse_folder() {
    const QString chosen = QFileDialog::getExistingDirectory(this, tr("Encyclopedia Folder"), shown_folder_);
    if (!chosen.isEmpty()) set_folder(chosen);
}

void Form1::choose_output() {
    const QString chosen = QFileDialog::getSaveFileName(this, tr("Save the workbook as"), txtOutput->text(),
                                                        tr("Excel workbook (*.xlsx)"));
    if (!chosen.isEmpty()) txtOutput->setText(QDir::toNativeSeparators(with_xlsx_suffix(chosen)));
}

void Form1::cmdProcess_Click() {
    if (running() || EncFolder.isEmpty()) return;
    const QString typed = txtOutput->text().trimmed();
    if (typed.isEmpty()) {
        QMessageBox::warning(this, kTitle, tr("Choose where to save the workbook first."));
        return;
    }
    const QString output = QFileInfo(with_xlsx_suffix(QDir::fromNativeSeparators(typed))).absoluteFilePath();
    txtOutput->setText(QDir::toNativeSeparators(output));

    tb::app::RunOptions options;
    options.folder = to_path(EncFolder);
    options.output = to_path(output);
    options.desired = opt3->isChecked()   ? tb::wb::SheetsDesired::PlayersOnly
                      : opt4->isChecked() ? tb::wb::SheetsDesired::TeamsOnly
                                          : tb::wb::SheetsDesired::PlayersAndTeams;
    options.viewing = opt2->isChecked() ? tb::app::Viewing::AfterCompleted : tb::app::Viewing::WhileProcessing;
    const bool live = options.viewing == tb::app::Viewing::WhileProcessing;

    // Each run starts fresh: nothing of the previous one stays on show.
    txtstarttime->clear();
    txtendtime->clear();
    txt1->clear();
    live_->clear();
    live_->hide();
    prgRun->setRange(0, 0);

    run_folder_ = EncFolder;
    run_id_ = ++last_run_id_;
    link_ = std::make_shared<RunLink>();
    cancel_ = false;
    set_running(true);
    if (live) live_timer_->start();

    worker_ = std::thread([this, id = run_id_, link = link_, options, live, run = settings_.run] {
        WindowObserver observer(this, id, link, live);
        tb::app::RunResult result;
        try {
            result = run(options, observer, &cancel_);
        } catch (const std::exception& e) {
            result.outcome = tb::app::RunOutcome::Failed;
            result.error = e.what();
        } catch (...) {
            result.outcome = tb::app::RunOutcome::Failed;
            result.error = "unexpected failure";
        }
        if (result.summary.output.empty()) result.summary.output = options.output;
        QMetaObject::invokeMethod(
            this, [this, id, result] { run_finished(id, result); }, Qt::QueuedConnection);
    });
}

void Form1::set_running(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{Frame1, Frame2, drv1, dir1, txtFolder, cmdBrowse,
                                                      txtOutput, cmdSaveAs})
        w->setEnabled(!on);
    cmdProcess->setEnabled(!on && holds_team_file(EncFolder));
    cmdCancel->setVisible(on);
    cmdCancel->setEnabled(on);
    setCursor(on ? Qt::BusyCursor : Qt::ArrowCursor);
}

void Form1::cmdCancel_Click() {
    if (!running()) return;
    cancel_ = true;
    cmdCancel->setEnabled(false);
    txt1->setText(tr("Cancelling..."));
}

// Ends the program at once; a run under way is cancelled and waited for, so
// nothing is left half-written.
void Form1::cmdExit_Click() {
    stop_run();
    close();
}

void Form1::closeEvent(QCloseEvent* event) {
    stop_run();
    event->accept();
}

void Form1::stop_run() {
    if (!worker_.joinable()) return;
    cancel_ = true;
    if (link_) link_->abandon();
    worker_.join();
    run_id_ = 0;
    live_timer_->stop();
    set_running(false);
}

void Form1::refresh_live_view() {
    if (!link_) return;
    if (std::optional<tb::app::SheetSnapshot> s = link_->take_snapshot()) live_->show_snapshot(*s);
}

void Form1::run_started(uint64_t id, const QDateTime& t) {
    if (id == run_id_) txtstarttime->setText(QLocale().toString(t, QLocale::ShortFormat));
}

void Form1::run_ended(uint64_t id, const QDateTime& t) {
    if (id == run_id_) txtendtime->setText(QLocale().toString(t, QLocale::ShortFormat));
}

void Form1::run_status(uint64_t id, const QString& text) {
    if (id == run_id_ && !cancel_) txt1->setText(text);
}

void Form1::run_notice(uint64_t id, const QString& text, const QString& detail) {
    if (id != run_id_) return;
    QMessageBox box(QMessageBox::Information, kTitle, text, QMessageBox::Ok, this);
    box.setObjectName("noticeBox");
    if (!detail.isEmpty()) box.setInformativeText(detail);
    box.exec();
}

void Form1::run_progress(uint64_t id, int64_t done, int64_t total) {
    if (id != run_id_ || total <= 0) return;
    // A bar counts in int; scale down the (theoretical) huge totals.
    const int64_t scale = total / std::numeric_limits<int>::max() + 1;
    prgRun->setRange(0, static_cast<int>(total / scale));
    prgRun->setValue(static_cast<int>(std::clamp<int64_t>(done, 0, total) / scale));
}

void Form1::run_show_workbook(uint64_t id) {
    if (id == run_id_ && opt1->isChecked()) live_->show();
}

void Form1::run_finished(uint64_t id, const tb::app::RunResult& result) {
    if (id != run_id_) return;
    if (worker_.joinable()) worker_.join();
    run_id_ = 0;
    live_timer_->stop();
    refresh_live_view();
    set_running(false);
    switch (result.outcome) {
    case tb::app::RunOutcome::Completed: {
        prgRun->setRange(0, 1);
        prgRun->setValue(1);
        const QString error = write_path(run_folder_);
        if (!error.isEmpty())
            QMessageBox::warning(this, kTitle, tr("The folder could not be remembered: %1").arg(error));
        open_output(from_path(result.summary.output));
        break;
    }
    case tb::app::RunOutcome::Cancelled:
        prgRun->setRange(0, 1);
        prgRun->setValue(0);
        txt1->setText(tr("Processing Cancelled"));
        break;
    case tb::app::RunOutcome::Failed: {
        prgRun->setRange(0, 1);
        prgRun->setValue(0);
        const QString error = QString::fromStdString(result.error.empty() ? "unknown error" : result.error);
        txt1->setText(tr("Processing Failed: %1").arg(error));
        QMessageBox box(QMessageBox::Critical, kTitle, tr("Processing failed; nothing was saved.\n\n%1").arg(error),
                        QMessageBox::Ok, this);
        box.setObjectName("failureBox");
        box.exec();
        break;
    }
    }
}

void Form1::open_output(const QString& output) {
    if (settings_.open_workbook(QUrl::fromLocalFile(output))) return;
    const QString shown = QDir::toNativeSeparators(output);
    txt1->setText(tr("Workbook saved as %1").arg(shown));
    QMessageBox box(QMessageBox::Information, kTitle,
                    tr("No application to open .xlsx workbooks was found.\nThe workbook was saved as:\n%1").arg(shown),
                    QMessageBox::Ok, this);
    box.setObjectName("savedAsBox");
    box.exec();
}

}  // namespace tb::gui
