#include "form1.h"

#include "app_icon.h"
#include "live_view.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMetaObject>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStorageInfo>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace tb::gui {

namespace {

const QString kTitle = QStringLiteral("TALLYBOOK");

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

// Read-only boxes show; they are not stops on the Tab key's way.
QLineEdit* read_only_box(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
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

QPushButton* button(const char* name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

QString qs(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

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

namespace {
tb::window::Setup model_setup(const WindowSettings& w) {
    tb::window::Setup s;
    s.data_dir = to_path(w.data_dir);
    s.default_output = to_path(w.output);
    s.program_folder = to_path(QCoreApplication::applicationDirPath());
    s.hooks.run = w.run;
    s.hooks.open_workbook = w.open_workbook;
    s.hooks.show_in_folder = w.show_in_folder;
    return s;
}
}  // namespace

Form1::Form1(WindowSettings settings, QWidget* parent) : QWidget(parent), model_(model_setup(settings)) {
    setObjectName("Form1");
    setWindowTitle(QStringLiteral("%1 %2").arg(kTitle, QStringLiteral(TALLYBOOK_VERSION)));
    setWindowIcon(app_icon());
    setAcceptDrops(true);
    build_controls();
    arrange_controls();
    fill_drives();
    model_.attach(this, to_path(QDir::currentPath()));
    // A workbook path given by the caller wins over the remembered one.
    if (!settings.output.isEmpty()) model_.set_output(to_path(settings.output));
    refresh();
}

Form1::~Form1() { model_.detach(); }

QString Form1::saved_folder_path() const {
    return from_path(tb::window::saved_folder_file(model_.data_dir()));
}

void Form1::build_controls() {
    Label1 = caption_label("Label1", tr("Encyclopedia Drive"), true, this);
    drv1 = new QComboBox(this);
    drv1->setObjectName("drv1");
    Label2 = caption_label("Label2", tr("Encyclopedia Folder"), true, this);
    txtFolder = new QLineEdit(this);
    txtFolder->setObjectName("txtFolder");
    txtFolder->setToolTip(tr("Type or paste a folder and press Enter; a folder can also be dropped on the window"));
    cmdBrowse = button("cmdBrowse", tr("..."), this);
    cmdBrowse->setToolTip(tr("Choose the encyclopedia folder"));
    cmdBrowse->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    cmdBrowse->setMaximumWidth(cmdBrowse->fontMetrics().horizontalAdvance("...") * 3 + 12);
    cmbRecent = new QComboBox(this);
    cmbRecent->setObjectName("cmbRecent");
    cmbRecent->setToolTip(tr("Folders of the last runs"));
    dir1 = new QListWidget(this);
    dir1->setObjectName("dir1");
    dir1->setToolTip(tr("Double-click a folder (or press Enter) to open it"));
    lblHint = new QLabel(this);
    lblHint->setObjectName("lblHint");
    lblHint->setWordWrap(true);
    cmdProcess = button("cmdProcess", tr("&Process"), this);
    cmdProcess->setDefault(true);

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
    cmdSaveAs = button("cmdSaveAs", tr("Save &As..."), this);
    prgRun = new QProgressBar(this);
    prgRun->setObjectName("prgRun");
    prgRun->setRange(0, 1000);
    prgRun->setValue(0);
    Label3 = caption_label("Label3", tr("Player being Processed"), false, this);
    txt1 = read_only_box("txt1", this);
    lblSaved = new QLabel(this);
    lblSaved->setObjectName("lblSaved");
    lblSaved->setWordWrap(true);
    lblSaved->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdOpen = button("cmdOpen", tr("&Open workbook"), this);
    cmdShowFolder = button("cmdShowFolder", tr("Show in &folder"), this);
    cmdAbout = button("cmdAbout", tr("About..."), this);
    cmdCancel = button("cmdCancel", tr("Cancel"), this);
    cmdExit = button("cmdExit", tr("E&XIT"), this);
    for (QPushButton* b : {cmdOpen, cmdShowFolder, cmdAbout, cmdCancel, cmdExit, cmdSaveAs, cmdBrowse})
        b->setAutoDefault(false);

    live_ = new LiveView(this);
    live_->setMinimumHeight(200);
    live_->hide();

    connect(drv1, qOverload<int>(&QComboBox::activated), this, &Form1::drv1_Change);
    connect(dir1, &QListWidget::itemActivated, this, &Form1::dir1_Activated);
    connect(txtFolder, &QLineEdit::returnPressed, this, &Form1::folder_field_entered);
    connect(txtFolder, &QLineEdit::editingFinished, this, &Form1::folder_field_left);
    connect(cmbRecent, qOverload<int>(&QComboBox::activated), this, &Form1::recent_chosen);
    connect(cmdBrowse, &QPushButton::clicked, this, &Form1::browse_folder);
    connect(cmdSaveAs, &QPushButton::clicked, this, &Form1::choose_output);
    connect(txtOutput, &QLineEdit::returnPressed, this, &Form1::output_field_entered);
    connect(cmdProcess, &QPushButton::clicked, this, &Form1::cmdProcess_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &Form1::cmdCancel_Click);
    connect(cmdExit, &QPushButton::clicked, this, &Form1::cmdExit_Click);
    connect(cmdOpen, &QPushButton::clicked, this, [this] {
        if (!model_.open_workbook()) message("savedAsBox", tr("No application to open .xlsx workbooks was found."));
    });
    connect(cmdShowFolder, &QPushButton::clicked, this, [this] {
        if (!model_.show_workbook_folder()) message("savedAsBox", tr("The folder cannot be shown here."));
    });
    connect(cmdAbout, &QPushButton::clicked, this, &Form1::about);
    connect(opt3, &QRadioButton::toggled, this, [this](bool on) {
        if (on) model_.set_desired(sheets::SheetsDesired::PlayersOnly);
    });
    connect(opt4, &QRadioButton::toggled, this, [this](bool on) {
        if (on) model_.set_desired(sheets::SheetsDesired::TeamsOnly);
    });
    connect(opt5, &QRadioButton::toggled, this, [this](bool on) {
        if (on) model_.set_desired(sheets::SheetsDesired::PlayersAndTeams);
    });
    connect(opt1, &QRadioButton::toggled, this, [this](bool on) {
        if (on) model_.set_viewing(app::Viewing::WhileProcessing);
    });
    connect(opt2, &QRadioButton::toggled, this, [this](bool on) {
        if (on) model_.set_viewing(app::Viewing::AfterCompleted);
    });

    setTabOrder(cmdExit, cmdProcess);
    setTabOrder(cmdProcess, drv1);
    setTabOrder(drv1, txtFolder);
    setTabOrder(txtFolder, dir1);
}

// Left: drive, folder, Process. Right: the times and the two frames.
// Below: the workbook file, progress, the status box, the saved workbook,
// the buttons, and the live view when one is wanted.
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
    left->addWidget(cmbRecent);
    left->addWidget(dir1, 1);
    left->addWidget(lblHint);
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
    buttons->addWidget(cmdOpen);
    buttons->addWidget(cmdShowFolder);
    buttons->addStretch(1);
    buttons->addWidget(cmdAbout);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdExit);

    auto* grid = new QGridLayout(this);
    grid->addLayout(left, 0, 0);
    grid->addLayout(right, 0, 1);
    grid->addLayout(output_row, 1, 0, 1, 2);
    grid->addWidget(prgRun, 2, 0, 1, 2);
    grid->addWidget(Label3, 3, 0, 1, 2);
    grid->addWidget(txt1, 4, 0, 1, 2);
    grid->addWidget(lblSaved, 5, 0, 1, 2);
    grid->addLayout(buttons, 6, 0, 1, 2);
    grid->addWidget(live_, 7, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    // Spare height goes to the folder list (and to the live view when shown).
    grid->setRowStretch(0, 1);
    grid_ = grid;
    resize(600, 560);
}

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
        message("driveBox", tr("The drive %1 is not ready.").arg(drv1->itemText(index)));
        select_drive_of(shown_folder_);
    }
}

bool Form1::set_folder(const QString& folder) {
    if (folder.isEmpty() || running()) return false;
    return model_.choose_folder(to_path(folder));
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

void Form1::folder_field_entered() {
    const auto checked = model_.check_folder(txtFolder->text().toStdString());
    if (!checked.error.empty()) {
        message("folderBox", qs(checked.error));
        txtFolder->setText(QDir::toNativeSeparators(shown_folder_));
        return;
    }
    model_.choose_folder(checked.folder);
}

// A folder typed and left without Enter is taken when it is one; anything
// else waits for Enter or Process, which say what is wrong.
void Form1::folder_field_left() {
    if (running()) return;
    const auto checked = model_.check_folder(txtFolder->text().toStdString());
    if (checked.error.empty() && checked.folder != model_.state().folder) model_.choose_folder(checked.folder);
}

void Form1::recent_chosen(int index) {
    const QString folder = cmbRecent->itemData(index).toString();
    if (!folder.isEmpty() && !set_folder(folder)) message("folderBox", tr("%1 is no longer there.").arg(folder));
}

void Form1::browse_folder() {
    const QString chosen = QFileDialog::getExistingDirectory(this, tr("Encyclopedia Folder"), shown_folder_);
    if (!chosen.isEmpty()) set_folder(chosen);
}

void Form1::choose_output() {
    const QString chosen = QFileDialog::getSaveFileName(this, tr("Save the workbook as"), txtOutput->text(),
                                                        tr("Excel workbook (*.xlsx)"));
    if (chosen.isEmpty()) return;
    if (const auto problem = model_.set_output(to_path(chosen))) message("outputBox", qs(*problem));
}

void Form1::output_field_entered() {
    if (const auto problem = model_.set_output(to_path(QDir::fromNativeSeparators(txtOutput->text().trimmed()))))
        message("outputBox", qs(*problem));
}

void Form1::cmdProcess_Click() {
    if (running()) return;
    const std::string folder = txtFolder->text().trimmed() == QDir::toNativeSeparators(shown_folder_)
                                   ? std::string()
                                   : txtFolder->text().toStdString();
    const QString output = QDir::fromNativeSeparators(txtOutput->text().trimmed());
    if (const auto problem = model_.process(folder, output.toStdString())) {
        message("processBox", qs(*problem));
        return;
    }
    live_->clear();
    set_live_visible(false);
    cmdCancel->setFocus();
}

void Form1::cmdCancel_Click() { model_.cancel(); }

// The window goes at once; a run under way is cancelled behind it and
// waited for when the program ends, so nothing is left half-written.
void Form1::cmdExit_Click() { close(); }

void Form1::closeEvent(QCloseEvent* event) {
    model_.detach();
    event->accept();
}

void Form1::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && running()) {
        model_.cancel();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!running() && urls.size() == 1 && urls.front().isLocalFile() && QFileInfo(urls.front().toLocalFile()).isDir())
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && set_folder(urls.front().toLocalFile())) event->acceptProposedAction();
}

void Form1::about() {
    QMessageBox box(QMessageBox::NoIcon, tr("About TALLYBOOK"), {}, QMessageBox::Ok, this);
    box.setObjectName("aboutBox");
    box.setIconPixmap(app_icon().pixmap(64, 64));
    box.setTextFormat(Qt::RichText);
    box.setText(tr("<b>TALLYBOOK %1</b><br>Turns a baseball encyclopedia into an .xlsx workbook.<br><br>"
                   "Built with:<br>"
                   "Qt %2 (LGPL 3)<br>"
                   "libdeflate (MIT) and zlib (zlib licence); the workbook's theme as libxlsxwriter writes it (BSD 2-Clause)<br>"
                   "the name order: a table made from ICU's collation data (Unicode licence)")
                    .arg(QStringLiteral(TALLYBOOK_VERSION), QString::fromLatin1(qVersion())));
    box.exec();
}

void Form1::message(const QString& object_name, const QString& text, bool critical) {
    QMessageBox box(critical ? QMessageBox::Critical : QMessageBox::Information, kTitle, text, QMessageBox::Ok, this);
    box.setObjectName(object_name);
    box.exec();
}

void Form1::set_live_visible(bool visible) {
    if (visible == !live_->isHidden()) return;
    grid_->setRowStretch(7, visible ? 1 : 0);
    if (visible) {
        height_without_live_ = height();
        live_->show();
        resize(width(), height() + live_->minimumHeight() + 40);
    } else {
        live_->hide();
        if (height_without_live_ > 0) resize(width(), height_without_live_);
    }
}

// --- the model's view -------------------------------------------------------

void Form1::refresh() {
    const tb::window::WindowState& st = model_.state();
    const QString folder = from_path(st.folder);
    if (folder != shown_folder_) {
        shown_folder_ = folder;
        select_drive_of(shown_folder_);
        fill_folder_list();
    }
    if (!txtFolder->hasFocus() || st.running) txtFolder->setText(QDir::toNativeSeparators(shown_folder_));

    const bool run = st.running;
    for (QWidget* w : std::initializer_list<QWidget*>{Frame1, Frame2, drv1, dir1, txtFolder, cmdBrowse, cmbRecent,
                                                      txtOutput, cmdSaveAs})
        w->setEnabled(!run);
    cmdProcess->setEnabled(st.process_enabled);
    cmdProcess->setToolTip(qs(st.process_hint));
    lblHint->setText(qs(st.process_hint));
    lblHint->setVisible(!run && !st.process_hint.empty());
    cmdCancel->setVisible(run);
    cmdCancel->setEnabled(run && !st.cancelling);
    setCursor(run ? Qt::BusyCursor : Qt::ArrowCursor);

    QRadioButton* desired = st.choices.desired == sheets::SheetsDesired::PlayersOnly ? opt3
                            : st.choices.desired == sheets::SheetsDesired::TeamsOnly ? opt4
                                                                                 : opt5;
    QRadioButton* viewing = st.choices.viewing == app::Viewing::AfterCompleted ? opt2 : opt1;
    for (QRadioButton* b : {desired, viewing}) {
        if (b->isChecked()) continue;
        const QSignalBlocker quiet(b);
        b->setChecked(true);
    }
    if (!txtOutput->hasFocus()) txtOutput->setText(QDir::toNativeSeparators(from_path(st.choices.output)));

    cmbRecent->clear();
    cmbRecent->addItem(tr("Recent folders"), QString());
    for (const auto& f : st.choices.recent)
        cmbRecent->addItem(QDir::toNativeSeparators(from_path(f)), from_path(f));

    txtstarttime->setText(qs(st.start_time));
    txtendtime->setText(qs(st.end_time));
    // A long status shows its beginning: names and reasons start there.
    txt1->setText(qs(st.status));
    txt1->setCursorPosition(0);
    lblSaved->setText(qs(st.saved_line));
    lblSaved->setVisible(!st.saved_line.empty());
    const bool has_workbook = !run && st.workbook.has_value() && !st.saved_line.empty();
    cmdOpen->setVisible(has_workbook);
    cmdShowFolder->setVisible(has_workbook);

    if (st.progress_busy) {
        prgRun->setRange(0, 0);
    } else {
        prgRun->setRange(0, 1000);
        prgRun->setValue(static_cast<int>(st.progress * 1000 + 0.5));
    }
    set_live_visible(st.live_visible);
}

void Form1::show_notice(const tb::app::Notice& notice) {
    QMessageBox box(QMessageBox::Information, kTitle, qs(notice.text), QMessageBox::Ok, this);
    box.setObjectName("noticeBox");
    if (const std::string where = notice.where(); !where.empty()) box.setInformativeText(qs(where));
    box.exec();
    model_.answer_notice();
}

void Form1::show_failure(const std::string& text) { message("failureBox", qs(text), true); }

void Form1::show_message(const std::string& text) { message("savedAsBox", qs(text)); }

void Form1::snapshot_ready() {
    if (std::optional<tb::app::SheetSnapshot> s = model_.take_snapshot()) live_->show_snapshot(*s);
}

void Form1::wake() {
    QMetaObject::invokeMethod(this, [this] { model_.pump(); }, Qt::QueuedConnection);
}

}  // namespace tb::gui
