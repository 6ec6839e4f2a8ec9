#include "main_window.h"

#include "app_icon.h"
#include "live_view.h"
#include "platform/platform.h"
#include "window/texts.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
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
#include <QScreen>
#include <QStorageInfo>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace tb::gui {

namespace {

using window::Control;
using window::ControlKind;

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Read-only boxes show; they are not stops on the Tab key's way.
QLineEdit* read_only_box(QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

QWidget* make_widget(ControlKind kind, const QString& caption, QWidget* parent) {
    switch (kind) {
        case ControlKind::DropDown: return new QComboBox(parent);
        case ControlKind::Field: return new QLineEdit(parent);
        case ControlKind::ReadOnlyBox: return read_only_box(parent);
        case ControlKind::List: return new QListWidget(parent);
        case ControlKind::Lines: {
            auto* list = new QListWidget(parent);
            list->setSelectionMode(QAbstractItemView::ExtendedSelection);
            return list;
        }
        case ControlKind::Button: return new QPushButton(caption, parent);
        case ControlKind::Frame: return new QGroupBox(caption, parent);
        case ControlKind::Radio: return new QRadioButton(caption, parent);
        case ControlKind::Bar: return new QProgressBar(parent);
        default: return new QLabel(caption, parent);
    }
}

void set_text(QLineEdit* field, const QString& text) {
    if (field->text() != text) field->setText(text);
}

// Qt names a drop-down list by its value on Linux, leaving its label to a
// relation; a drop-down given a name of its own here is called by that name
// (what it shows stays its value).
class NamedDropDown : public QAccessibleWidget {
public:
    explicit NamedDropDown(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return static_cast<const QComboBox*>(widget())->currentText();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* named_drop_downs(const QString&, QObject* object) {
    auto* box = qobject_cast<QComboBox*>(object);
    return box && !box->accessibleName().isEmpty() ? new NamedDropDown(box) : nullptr;
}

}  // namespace

std::filesystem::path to_path(const QString& s) { return platform::path_of_utf8(s.toStdString()); }

QString from_path(const std::filesystem::path& p) { return QString::fromStdString(platform::utf8_of(p)); }

MainWindow::MainWindow(window::Setup setup, QWidget* parent)
    : QWidget(parent), model_([&] {
          if (setup.program_folder.empty()) setup.program_folder = to_path(QCoreApplication::applicationDirPath());
          return std::move(setup);
      }()) {
    static const bool named = (QAccessible::installFactory(named_drop_downs), true);
    (void)named;
    setObjectName("main_window");
    setWindowTitle(qs(window::texts::window_title()));
    setWindowIcon(app_icon());
    setAcceptDrops(true);
    make_controls();
    connect_controls();
    arrange_controls();
    fill_drives();
    model_.attach(this, to_path(QDir::currentPath()));
    take_place();
}

MainWindow::~MainWindow() { model_.detach(); }

void MainWindow::make_controls() {
    live_ = new LiveView(this);
    live_->setMinimumHeight(200);
    live_->hide();
    for (Control c : window::all_controls()) {
        QWidget* w = nullptr;
        if (c == Control::LiveSheet) w = live_->sheet_label();
        else if (c == Control::LiveGrid) w = live_->grid();
        else w = make_widget(window::control_kind(c), qs(window::texts::caption(c)), this);
        w->setObjectName(qs(window::control_name(c)));
        w->setToolTip(qs(window::texts::tooltip(c)));
        // A field or list is called by its label, never by what it holds.
        if (const std::string name = window::texts::accessible_name(c); !name.empty()) w->setAccessibleName(qs(name));
        w->installEventFilter(this);
        if (window::bold_caption(c)) {
            QFont f = w->font();
            f.setBold(true);
            w->setFont(f);
        }
        if (auto* b = qobject_cast<QPushButton*>(w)) b->setAutoDefault(false);
        widgets_[static_cast<std::size_t>(c)] = w;
    }
    for (Control c : window::all_controls())
        if (const auto label = window::label_of(c)) widget_as<QLabel>(*label)->setBuddy(widget(c));
    // The radio buttons belong to their frames, so each frame is one group.
    for (Control c : window::kViewingRadios) widget(c)->setParent(widget(Control::ViewingFrame));
    for (Control c : window::kDesiredRadios) widget(c)->setParent(widget(Control::DesiredFrame));
    auto* process = widget_as<QPushButton>(Control::ProcessButton);
    process->setDefault(true);
    auto* browse = widget_as<QPushButton>(Control::BrowseButton);
    browse->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    browse->setMaximumWidth(browse->fontMetrics().horizontalAdvance("...") * 3 + 12);
    widget_as<QLabel>(Control::ProcessHint)->setWordWrap(true);
    auto* saved = widget_as<QLabel>(Control::SavedLine);
    saved->setWordWrap(true);
    saved->setTextInteractionFlags(Qt::TextSelectableByMouse);
    widget_as<QProgressBar>(Control::ProgressBar)->setRange(0, 1000);

    setTabOrder(widget(Control::ExitButton), process);
    setTabOrder(process, widget(Control::DriveList));
    setTabOrder(widget(Control::DriveList), widget(Control::FolderField));
    setTabOrder(widget(Control::FolderField), widget(Control::FolderList));
}

void MainWindow::connect_controls() {
    auto clicked = [this](Control c, auto slot) {
        connect(widget_as<QPushButton>(c), &QPushButton::clicked, this, slot);
    };
    auto* drives = widget_as<QComboBox>(Control::DriveList);
    connect(drives, qOverload<int>(&QComboBox::activated), this, [this, drives](int index) {
        model_.choose_drive(to_path(drives->itemData(index).toString()));
        select_drive_of(encyclopedia_folder());
    });
    // A double-click (or the style's click) opens a folder; Enter is the event filter's.
    connect(widget_as<QListWidget>(Control::FolderList), &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { model_.open_folder_entry(static_cast<std::size_t>(item->listWidget()->row(item))); });
    auto* folder = widget_as<QLineEdit>(Control::FolderField);
    connect(folder, &QLineEdit::editingFinished, this, [this, folder] { model_.leave_folder_field(folder->text().toStdString()); });
    connect(widget_as<QComboBox>(Control::RecentList), qOverload<int>(&QComboBox::activated), this, [this](int index) {
        if (index > 0) model_.choose_recent(static_cast<std::size_t>(index - 1));
    });
    auto* output = widget_as<QLineEdit>(Control::WorkbookField);
    connect(output, &QLineEdit::editingFinished, this,
            [this, output] { model_.leave_output_field(output->text().toStdString()); });
    clicked(Control::BrowseButton, &MainWindow::browse_folder);
    clicked(Control::SaveAsButton, &MainWindow::save_as);
    clicked(Control::ProcessButton, &MainWindow::start_processing);
    clicked(Control::CancelButton, [this] { model_.cancel(); });
    // The window goes at once; a run under way is cancelled behind it and
    // waited for when the program ends, so nothing is left half-written.
    clicked(Control::ExitButton, [this] { close(); });
    clicked(Control::OpenButton, [this] { model_.open_workbook(); });
    clicked(Control::ShowFolderButton, [this] { model_.show_workbook_folder(); });
    clicked(Control::CopyNoticesButton, &MainWindow::copy_notices);
    clicked(Control::AboutButton, &MainWindow::show_about);
    for (const auto& group : {std::vector<Control>(window::kViewingRadios.begin(), window::kViewingRadios.end()),
                              std::vector<Control>(window::kDesiredRadios.begin(), window::kDesiredRadios.end())})
        for (Control c : group)
            connect(widget_as<QRadioButton>(c), &QRadioButton::toggled, this, [this, c](bool on) {
                if (on) model_.choose_option(c);
            });
}

// Left: drive, folder, Process. Right: the times and the two frames.
// Below: the workbook file, progress, the status box, the saved workbook,
// the buttons, and the live view when one is wanted.
void MainWindow::arrange_controls() {
    auto* viewing = new QVBoxLayout(widget(Control::ViewingFrame));
    for (Control c : window::kViewingRadios) viewing->addWidget(widget(c));
    auto* desired = new QVBoxLayout(widget(Control::DesiredFrame));
    for (Control c : window::kDesiredRadios) desired->addWidget(widget(c));

    auto* left = new QVBoxLayout;
    left->addWidget(widget(Control::DriveLabel));
    left->addWidget(widget(Control::DriveList));
    left->addWidget(widget(Control::FolderLabel));
    auto* folder_row = new QHBoxLayout;
    folder_row->addWidget(widget(Control::FolderField), 1);
    folder_row->addWidget(widget(Control::BrowseButton));
    left->addLayout(folder_row);
    left->addWidget(widget(Control::RecentList));
    left->addWidget(widget(Control::FolderList), 1);
    left->addWidget(widget(Control::ProcessHint));
    left->addWidget(widget(Control::ProcessButton), 0, Qt::AlignRight);

    auto* right = new QVBoxLayout;
    for (Control c : {Control::StartedLabel, Control::StartTime, Control::EndedLabel, Control::EndTime})
        right->addWidget(widget(c));
    right->addSpacing(8);
    right->addWidget(widget(Control::ViewingFrame));
    right->addWidget(widget(Control::DesiredFrame));
    right->addStretch(1);

    auto* output_row = new QHBoxLayout;
    output_row->addWidget(widget(Control::WorkbookLabel));
    output_row->addWidget(widget(Control::WorkbookField), 1);
    output_row->addWidget(widget(Control::SaveAsButton));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(widget(Control::OpenButton));
    buttons->addWidget(widget(Control::ShowFolderButton));
    buttons->addStretch(1);
    for (Control c : {Control::AboutButton, Control::CancelButton, Control::ExitButton}) buttons->addWidget(widget(c));

    auto* grid = new QGridLayout(this);
    grid->addLayout(left, 0, 0);
    grid->addLayout(right, 0, 1);
    grid->addLayout(output_row, 1, 0, 1, 2);
    int row = 2;
    for (Control c : {Control::ProgressBar, Control::StatusLabel, Control::StatusBox, Control::SavedLine})
        grid->addWidget(widget(c), row++, 0, 1, 2);
    auto* notices_row = new QHBoxLayout;
    notices_row->addWidget(widget(Control::NoticesLabel), 1);
    notices_row->addWidget(widget(Control::CopyNoticesButton));
    grid->addLayout(notices_row, row++, 0, 1, 2);
    auto* notices = widget(Control::NoticeList);
    notices->setMinimumHeight(notices->fontMetrics().height() * 5);
    notices->setMaximumHeight(notices->fontMetrics().height() * 8);
    grid->addWidget(notices, row++, 0, 1, 2);
    grid->addLayout(buttons, row++, 0, 1, 2);
    grid->addWidget(live_, row, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    // Spare height goes to the folder list (and to the live view when shown).
    grid->setRowStretch(0, 1);
    grid_ = grid;
    resize(600, 660);
}

// The remembered place when it shows on a screen that is there.
void MainWindow::take_place() {
    std::vector<window::Rect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect r = screen->availableGeometry();
        screens.push_back({r.x(), r.y(), r.width(), r.height()});
    }
    const std::optional<window::WindowPlace> place = model_.opening_place(screens);
    if (!place) return;
    move(place->rect.x, place->rect.y);
    resize(place->rect.width, place->rect.height);
    if (place->maximized) setWindowState(windowState() | Qt::WindowMaximized);
}

// Where the window was (its frame's corner) and its size without the live view.
void MainWindow::remember_place() {
    const QRect normal = isMaximized() ? normalGeometry() : QRect(frameGeometry().topLeft(), size());
    const int height = !live_->isHidden() && height_without_live_ > 0 ? height_without_live_ : normal.height();
    model_.remember_place({{normal.x(), normal.y(), normal.width(), height}, isMaximized()});
}

void MainWindow::fill_drives() {
    auto* drives = widget_as<QComboBox>(Control::DriveList);
    drives->clear();
    QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    std::sort(volumes.begin(), volumes.end(),
              [](const QStorageInfo& a, const QStorageInfo& b) { return a.rootPath() < b.rootPath(); });
    for (const QStorageInfo& v : volumes) {
        if (!v.isValid() || !v.isReady()) continue;
        drives->addItem(qs(window::drive_text(to_path(v.rootPath()))), v.rootPath());
    }
}

void MainWindow::select_drive_of(const QString& folder) {
    auto* drives = widget_as<QComboBox>(Control::DriveList);
    const QString root = QStorageInfo(folder).rootPath();
    int index = drives->findData(root);
    if (index < 0 && !root.isEmpty()) {
        drives->addItem(qs(window::drive_text(to_path(root))), root);
        index = drives->count() - 1;
    }
    drives->setCurrentIndex(index);
}

bool MainWindow::set_folder(const QString& folder) { return !folder.isEmpty() && model_.choose_folder(to_path(folder)); }

void MainWindow::browse_folder() {
    const QString chosen =
        QFileDialog::getExistingDirectory(this, qs(window::texts::kChooseFolderTitle), encyclopedia_folder());
    if (!chosen.isEmpty()) set_folder(chosen);
}

void MainWindow::save_as() {
    const QString chosen = QFileDialog::getSaveFileName(this, qs(window::texts::kSaveAsTitle),
                                                        widget_as<QLineEdit>(Control::WorkbookField)->text(),
                                                        qs(window::texts::kWorkbookFilterName));
    if (!chosen.isEmpty()) model_.enter_output(chosen.toStdString());
}

void MainWindow::start_processing() {
    if (model_.process(widget_as<QLineEdit>(Control::FolderField)->text().toStdString(),
                       widget_as<QLineEdit>(Control::WorkbookField)->text().toStdString()))
        widget(Control::CancelButton)->setFocus();
}

void MainWindow::press_enter(Control focused) {
    switch (window::enter_key(focused)) {
        case window::EnterKey::StartProcess: start_processing(); break;
        case window::EnterKey::OpenFolder:
            if (const int row = widget_as<QListWidget>(focused)->currentRow(); row >= 0)
                model_.open_folder_entry(static_cast<std::size_t>(row));
            break;
        case window::EnterKey::TakeFolder: {
            auto* field = widget_as<QLineEdit>(focused);
            if (!model_.enter_folder(field->text().toStdString())) field->setText(qs(model_.text(focused)));
            break;
        }
        case window::EnterKey::PressButton: widget_as<QPushButton>(focused)->click(); break;
        case window::EnterKey::Nothing: break;
    }
}

void MainWindow::copy_notices() {
    std::vector<std::size_t> rows;
    auto* list = widget_as<QListWidget>(Control::NoticeList);
    for (const QModelIndex& index : list->selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(index.row()));
    std::sort(rows.begin(), rows.end());
    QGuiApplication::clipboard()->setText(qs(model_.notices_text(rows)));
}

std::optional<Control> MainWindow::control_of(const QObject* object) const {
    const auto it = std::find(widgets_.begin(), widgets_.end(), object);
    if (it == widgets_.end()) return std::nullopt;
    return static_cast<Control>(it - widgets_.begin());
}

// Enter, an access key and Copy on the controls, the same as the Windows window does.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const std::optional<Control> c = control_of(watched);
    if (!c) return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        window::enter_key(*c) != window::EnterKey::Nothing) {
        press_enter(*c);
        return true;
    }
    // Alt with a letter is an access key: when its control is off (Process
    // during a run, or without ENCTEAM.DAT) it types nothing either.
    const Qt::KeyboardModifiers mods = key->modifiers();
    if ((mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) && window::control_kind(*c) == ControlKind::Field)
        return true;
    if (*c == Control::NoticeList && key->matches(QKeySequence::Copy)) {
        copy_notices();
        return true;
    }
    return false;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    remember_place();
    model_.detach();
    event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && running()) {
        model_.cancel();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!running() && urls.size() == 1 && urls.front().isLocalFile() && QFileInfo(urls.front().toLocalFile()).isDir())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && set_folder(urls.front().toLocalFile())) event->acceptProposedAction();
}

void MainWindow::show_about() {
    const window::texts::AboutText about =
        window::texts::about("Qt " + std::string(qVersion()) + " (LGPL 3)");
    QString html = "<b>" + qs(about.heading).toHtmlEscaped() + "</b>";
    for (const std::string& line : about.lines) html += "<br>" + qs(line).toHtmlEscaped();
    QMessageBox box(QMessageBox::NoIcon, qs(about.title), html, QMessageBox::Ok, this);
    box.setObjectName("about_box");
    box.setIconPixmap(app_icon().pixmap(64, 64));
    box.setTextFormat(Qt::RichText);
    // The licences in full, behind "Show Details...".
    box.setDetailedText(qs(about.notices));
    box.exec();
}

void MainWindow::set_live_visible(bool visible) {
    if (visible == !live_->isHidden()) return;
    grid_->setRowStretch(grid_->rowCount() - 1, visible ? 1 : 0);
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

void MainWindow::refresh() {
    const window::WindowState& st = model_.state();
    const window::DrawnParts::Changed changed = drawn_.update(model_);
    if (changed.folder) select_drive_of(encyclopedia_folder());
    draw_lists(changed);
    draw_notices(changed.notice_rows_from);
    for (Control c : window::all_controls()) draw_control(c);
    const std::string hint = model_.process_hint();   // why Process is off, else what it does
    widget(Control::ProcessButton)->setToolTip(qs(hint.empty() ? window::texts::tooltip(Control::ProcessButton) : hint));
    setCursor(st.running ? Qt::BusyCursor : Qt::ArrowCursor);
    if (changed.live_rows) live_->show_rows(st.live);
    set_live_visible(st.live_visible);
}

void MainWindow::draw_lists(const window::DrawnParts::Changed& changed) {
    if (changed.folder_entries) {
        auto* list = widget_as<QListWidget>(Control::FolderList);
        list->clear();
        const QIcon folder_icon = style()->standardIcon(QStyle::SP_DirIcon);
        const QIcon up_icon = style()->standardIcon(QStyle::SP_FileDialogToParent);
        for (const window::FolderEntry& e : model_.state().folder_entries)
            new QListWidgetItem(e.up ? up_icon : folder_icon, qs(e.text), list);
    }
    auto* recent = widget_as<QComboBox>(Control::RecentList);
    if (changed.recent_folders) {
        recent->clear();
        for (const std::string& row : model_.recent_texts()) recent->addItem(qs(row));
    }
    recent->setCurrentIndex(0);   // the list's title, whatever was picked last
}

void MainWindow::draw_notices(std::size_t from) {
    auto* list = widget_as<QListWidget>(Control::NoticeList);
    const std::vector<std::string> rows = model_.notice_rows();
    if (from >= rows.size() && static_cast<std::size_t>(list->count()) == rows.size()) return;
    while (static_cast<std::size_t>(list->count()) > from) delete list->takeItem(list->count() - 1);
    for (std::size_t i = static_cast<std::size_t>(list->count()); i < rows.size(); ++i) list->addItem(qs(rows[i]));
}

// Enabled, shown, checked, and the text the state puts in it.
void MainWindow::draw_control(Control c) {
    QWidget* w = widget(c);
    w->setEnabled(model_.enabled(c));
    // The live view's parts show with the live view as a whole.
    if (c != Control::LiveSheet && c != Control::LiveGrid) w->setVisible(model_.shown(c));
    const QString text = qs(model_.text(c));
    switch (window::control_kind(c)) {
        case ControlKind::Radio:
            if (model_.checked(c) && !widget_as<QRadioButton>(c)->isChecked()) {
                const QSignalBlocker quiet(w);
                widget_as<QRadioButton>(c)->setChecked(true);
            }
            break;
        case ControlKind::Label:
            if (widget_as<QLabel>(c)->text() != text) widget_as<QLabel>(c)->setText(text);
            break;
        case ControlKind::ReadOnlyBox:
            // A long status shows its beginning: names and reasons start there.
            set_text(widget_as<QLineEdit>(c), text);
            widget_as<QLineEdit>(c)->setCursorPosition(0);
            break;
        case ControlKind::Field:
            // What the user is typing stays, unless a run has taken the folder.
            if (!w->hasFocus() || (model_.locked() && c == Control::FolderField)) set_text(widget_as<QLineEdit>(c), text);
            break;
        case ControlKind::Bar: {
            auto* bar = widget_as<QProgressBar>(c);
            const bool busy = model_.state().progress_busy;
            bar->setRange(0, busy ? 0 : 1000);
            if (!busy) bar->setValue(static_cast<int>(model_.state().progress * 1000 + 0.5));
            break;
        }
        default: break;
    }
}

namespace {
QMessageBox::Icon icon_of(window::Message::Kind kind) {
    using Kind = window::Message::Kind;
    return kind == Kind::Failure ? QMessageBox::Critical : kind == Kind::Warning ? QMessageBox::Warning : QMessageBox::Information;
}
}  // namespace

void MainWindow::show_message(const window::Message& message) {
    QMessageBox box(icon_of(message.kind), qs(window::texts::kMessageTitle), qs(message.text), QMessageBox::Ok, this);
    box.setObjectName(message.kind == window::Message::Kind::Failure ? "failure_box" : "message_box");
    box.exec();
}

bool MainWindow::ask(const window::Message& question) {
    QMessageBox box(icon_of(question.kind), qs(window::texts::kMessageTitle), qs(question.text),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    box.setObjectName("question_box");
    return box.exec() == QMessageBox::Yes;
}

void MainWindow::wake() {
    // From the run's thread: a timer on this thread pumps a little later.
    QMetaObject::invokeMethod(
        this, [this] { QTimer::singleShot(window::kPumpInterval, this, [this] { model_.pump(); }); },
        Qt::QueuedConnection);
}

}  // namespace tb::gui
