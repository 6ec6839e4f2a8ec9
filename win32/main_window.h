// The program's window on Windows: the native controls of the game's own
// tools, a thin view over the window model that decides everything (the same
// model the Qt window shows on Linux).
#pragma once

#include "window/window_model.h"

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>

namespace tb::win32 {

struct WindowSettings {
    std::filesystem::path data_dir;         // empty: %APPDATA%\tallybook\data
    window::RunFunction run;                // empty: the real run
    std::function<bool(const std::filesystem::path&)> open_workbook;   // empty: the associated application
    std::function<bool(const std::filesystem::path&)> show_in_folder;  // empty: Explorer
    std::filesystem::path output;           // empty: remembered, or TALLYBOOK.xlsx in Documents
    // Shows message boxes; tests answer them themselves. Returns when the
    // box is answered.
    std::function<void(HWND owner, const std::wstring& text, bool error)> message_box;
};

// Control identifiers, also what tests find the controls by.
enum ControlId : int {
    kDrive = 101, kFolderEdit, kBrowse, kRecent, kFolderList, kHint, kProcess, kStartTime, kEndTime,
    kViewWhile, kViewAfter, kPlayersOnly, kTeamsOnly, kPlayersAndTeams, kOutput, kSaveAs, kProgress,
    kStatus, kSaved, kOpen, kShowFolder, kAbout, kCancel, kExit, kLiveSheet, kLiveGrid,
    kLabelDrive, kLabelFolder, kLabelStarted, kLabelEnded, kFrameViewing, kFrameDesired, kLabelOutput, kLabelStatus,
};

class MainWindow final : private window::WindowView {
public:
    explicit MainWindow(WindowSettings settings);
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
    void show_notice(const app::Notice& notice) override;
    void show_failure(const std::string& text) override;
    void show_message(const std::string& text) override;
    void snapshot_ready() override;
    void wake() override;

    void build();
    void layout();
    int px(int logical) const;          // logical units at 96 dpi to this window's pixels
    HWND control(int id) const { return GetDlgItem(hwnd_, id); }
    void command(int id, int code);
    void fill_drives();
    void fill_folder_list();
    void choose_folder(const std::filesystem::path& folder);
    void folder_entered();
    void browse_folder();
    void save_as();
    void process();
    void about();
    void message(const std::string& utf8, bool error = false);
    void set_live_visible(bool visible);

    WindowSettings settings_;
    window::WindowModel model_;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr, bold_font_ = nullptr;
    UINT dpi_ = 96;
    std::filesystem::path shown_folder_;
    bool live_shown_ = false;
    int height_without_live_ = 0;
    std::vector<std::filesystem::path> folder_items_;   // what each folder list row opens
    class LiveGrid* live_ = nullptr;
};

// The message loop of the program's one window; returns the exit code.
int run_message_loop(MainWindow& window);

}  // namespace tb::win32
