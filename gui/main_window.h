// The one window of the program: pick the encyclopedia folder, the
// spreadsheets desired and the viewing option, press Process, get the
// workbook. Qt widgets drawing the window model, which decides everything.
#pragma once

#include "window/window_model.h"

#include <QString>
#include <QWidget>

#include <array>
#include <filesystem>
#include <optional>

class QGridLayout;

namespace tb::gui {

class LiveView;

std::filesystem::path to_path(const QString& s);
QString from_path(const std::filesystem::path& p);

class MainWindow : public QWidget, private tb::window::WindowView {
    Q_OBJECT

public:
    // `setup.program_folder` empty: the folder of the running program.
    explicit MainWindow(tb::window::Setup setup = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The folder the run will read; empty until one is chosen.
    QString encyclopedia_folder() const { return from_path(model_.state().folder); }
    // Shows `folder` in the drive and folder lists, as a user's choice would.
    // Returns false (and changes nothing) when it is not a folder or a run is under way.
    bool set_folder(const QString& folder);
    bool running() const { return model_.state().running; }
    tb::window::WindowModel& model() { return model_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // WindowView
    void refresh() override;
    void show_message(const tb::window::Message& message) override;
    bool ask(const tb::window::Message& question) override;
    void wake() override;

    QWidget* widget(tb::window::Control c) const { return widgets_[static_cast<std::size_t>(c)]; }
    template <class T>
    T* widget_as(tb::window::Control c) const { return static_cast<T*>(widget(c)); }
    // Building the window.
    void make_controls();
    void connect_controls();
    void arrange_controls();
    void fill_drives();
    void take_place();
    void remember_place();
    // Drawing the model's state.
    void select_drive_of(const QString& folder);
    void draw_lists(const tb::window::DrawnParts::Changed& changed);
    void draw_notices(std::size_t from);
    void draw_control(tb::window::Control c);
    void set_live_visible(bool visible);
    // The user's actions that need more than the model.
    void browse_folder();
    void save_as();
    void start_processing();
    void press_enter(tb::window::Control focused);
    void copy_notices();
    void show_about();
    std::optional<tb::window::Control> control_of(const QObject* object) const;

    tb::window::WindowModel model_;
    tb::window::DrawnParts drawn_;
    std::array<QWidget*, tb::window::kControlCount> widgets_{};
    LiveView* live_ = nullptr;
    QGridLayout* grid_ = nullptr;
    int height_without_live_ = 0;
};

}  // namespace tb::gui
