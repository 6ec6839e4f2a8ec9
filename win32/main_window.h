// The program's window on Windows: native controls drawing the window model,
// which decides everything (the same model the Qt window draws on Linux).
#pragma once

#include "window/window_model.h"

#include <windows.h>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tb::win32 {

class LiveGrid;

// A message box: its title, text, and icon (by the message's kind, or the
// program's own).
struct Box {
    std::wstring title, text;
    window::Message::Kind kind = window::Message::Kind::Information;
    bool program_icon = false;
    bool question = false;   // Yes and No, No the default; else OK
};
// Shows a message box and returns when it is answered, true for Yes; tests
// answer them themselves.
using MessageBoxHook = std::function<bool(HWND owner, const Box& box)>;

// A control's identifier, also what tests find the controls by.
inline constexpr int kFirstControlId = 101;
constexpr int control_id(window::Control control) { return kFirstControlId + static_cast<int>(control); }

class MainWindow final : private window::WindowView {
public:
    // `setup.program_folder` empty: the folder of the running program.
    // `message_box` empty: MessageBoxW.
    explicit MainWindow(window::Setup setup, MessageBoxHook message_box = {});
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Makes the window (hidden until show()). False when it cannot be made.
    bool create(HINSTANCE instance);
    void show(int show_command);
    HWND hwnd() const { return hwnd_; }
    window::WindowModel& model() { return model_; }
    // Whether a message is the window's keyboard handling (Tab, access keys,
    // Enter, Escape, Ctrl+C in the notice list); the message loop skips
    // dispatching those.
    bool dialog_message(MSG& msg);

private:
    static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

    // WindowView
    void refresh() override;
    void show_message(const window::Message& message) override;
    bool ask(const window::Message& question) override;
    void wake() override;

    void make_controls();
    void add_tooltips(HINSTANCE instance);
    void take_place();
    void remember_place();
    void close_window();
    void layout();
    int px(int logical) const;          // logical units at 96 dpi to this window's pixels
    HWND control(window::Control c) const { return GetDlgItem(hwnd_, control_id(c)); }
    std::string text_of(window::Control c) const;
    void command(int id, int code);
    void fill_drives();
    void select_drive_of(const std::filesystem::path& folder);
    void draw_lists(const window::DrawnParts::Changed& changed);
    void draw_notices(std::size_t from);
    void draw_control(window::Control c);
    void draw_bar(HWND bar);
    void set_live_visible(bool visible);
    void browse_folder();
    void save_as();
    void start_processing();
    void press_enter(window::Control focused);
    void copy_notices();
    void show_about();
    bool message(const Box& box);

    window::WindowModel model_;
    window::DrawnParts drawn_;
    MessageBoxHook message_box_;
    HWND hwnd_ = nullptr;
    HWND tooltips_ = nullptr;
    HWND focus_ = nullptr;                                   // the control that had the keys when the window was left
    HFONT font_ = nullptr, bold_font_ = nullptr;
    bool open_maximized_ = false;
    int notice_extent_ = 0;                                  // the notice list's widest row, in pixels
    UINT dpi_ = 96;
    std::vector<std::filesystem::path> drives_;             // what each drive list row opens
    bool live_shown_ = false;
    int height_without_live_ = 0;
    std::unique_ptr<LiveGrid> live_;
};

// The message loop of the program's one window; returns the exit code.
int run_message_loop(MainWindow& window);

}  // namespace tb::win32
