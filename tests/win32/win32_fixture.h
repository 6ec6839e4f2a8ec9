// Shared pieces of the Windows window's tests: a window on a temporary data
// folder and the smallest sample encyclopedia, its controls by their model
// names, its messages served as the program's loop serves them, the boxes it
// shows.
#pragma once

#include "archive/sample.h"
#include "main_window.h"
#include "platform/platform.h"
#include "support/encyclopedia_builder.h"
#include "window/texts.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <thread>

namespace tb::test {

namespace fs = std::filesystem;
using win32::MainWindow;
using window::Control;

inline HWND item(HWND window, Control c) { return GetDlgItem(window, win32::control_id(c)); }

inline std::wstring text_of(HWND h) {
    std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    s.resize(static_cast<std::size_t>(GetWindowTextW(h, s.data(), static_cast<int>(s.size()))));
    return s;
}

// Serves the messages as the program's loop does (the window's keyboard
// handling first) until `done` holds (at most 60 s); `seen`, when given,
// sees each message first.
inline bool pump_until(const std::function<bool()>& done, MainWindow* window = nullptr,
                       const std::function<void(const MSG&)>& seen = {}) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        MSG msg;
        while (!done() && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (seen) seen(msg);
            if (window && window->dialog_message(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// A key as the message loop gets it, handed to the window's keyboard
// handling and, when that passes it on, to the control.
inline void press_key(MainWindow& w, HWND target, UINT message, WPARAM key) {
    MSG msg{target, message, key, 0, 0, {}};
    if (w.dialog_message(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

inline void click(HWND window, Control c) {
    const int id = win32::control_id(c);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

// The folder typed into its field, then Process.
inline void start_in(MainWindow& w, const fs::path& folder) {
    SetWindowTextW(item(w.hwnd(), Control::FolderField), folder.wstring().c_str());
    click(w.hwnd(), Control::ProcessButton);
}

class Win32Window : public ::testing::Test {
protected:
    TempDir tmp;
    fs::path data = tmp / "data";
    fs::path folder = tmp / "league";
    fs::path output = tmp / "out" / "TALLYBOOK.xlsx";
    std::vector<win32::Box> boxes;

    void SetUp() override {
        enc::write_encyclopedia(folder, enc::make_sample({.seasons = 1, .players = enc::kMinSamplePlayers}).contents);
        fs::create_directories(output.parent_path());
    }

    window::Setup settings() {
        window::Setup s;
        s.data_dir = data;
        s.output = output;
        s.hooks.open_workbook = [](const fs::path&) { return true; };
        return s;
    }
    win32::MessageBoxHook answer() {
        return [this](HWND, const win32::Box& box) {
            boxes.push_back(box);
            return false;
        };
    }
};

}  // namespace tb::test

