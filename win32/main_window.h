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

// Shows a message box and returns when it is answered; tests answer them themselves.
using MessageBoxHook =
    std::function<void(HWND owner, const std::wstring& title, const std::wstring& text, bool error)>;

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
    // Whether a message is the window's dialog navigation (Tab, access keys,
    // Enter, Escape); the message loop skips dispatching those.
    bool dialog_message(MSG& msg);

private:
    static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

    // WindowView
    void refresh() override;
    void show_message(const window::Message& message) override;
    void wake() override;

    void make_controls();
    void layout();
    int px(int logical) const;          // logical units at 96 dpi to this window's pixels
    HWND control(window::Control c) const { return GetDlgItem(hwnd_, control_id(c)); }
    std::string text_of(window::Control c) const;
    void command(int id, int code);
    void fill_drives();
    void select_drive_of(const std::filesystem::path& folder);
    void draw_lists(const window::DrawnParts::Changed& changed);
    void draw_control(window::Control c);
    void draw_bar(HWND bar);
    void set_live_visible(bool visible);
    void browse_folder();
    void save_as();
    void message(const std::string& title, const std::string& text, bool error);

    window::WindowModel model_;
    window::DrawnParts drawn_;
    MessageBoxHook message_box_;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr, bold_font_ = nullptr;
    UINT dpi_ = 96;
    std::vector<std::filesystem::path> drives_;             // what each drive list row opens
    bool live_shown_ = false;
    int height_without_live_ = 0;
    std::unique_ptr<LiveGrid> live_;
};

// The message loop of the program's one window; returns the exit code.
int run_message_loop(MainWindow& window);

}  // namespace tb::win32
