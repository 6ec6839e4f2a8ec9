// Shared pieces of the Windows window's tests: a window on a temporary data
// folder and a tiny encyclopedia, its controls by their model names, its
// messages served as the program's loop serves them, the boxes it shows.
#pragma once

#include "main_window.h"
#include "platform/platform.h"
#include "support/encyclopedia_builder.h"
#include "window/remembered.h"
#include "window/texts.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <future>
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

inline std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
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

// Passes every report on; holds the run inside the save (every row written,
// the file about to be packed) until released, when asked to.
class Gate : public app::RunObserver {
public:
    Gate(app::RunObserver& inner, std::atomic<bool>* reached, std::shared_future<void> go)
        : inner_(inner), reached_(reached), go_(std::move(go)) {}
    void started(std::chrono::system_clock::time_point t) override { inner_.started(t); }
    void ended(std::chrono::system_clock::time_point t) override { inner_.ended(t); }
    void stage(app::Stage s) override { inner_.stage(s); }
    void status(const std::string& s) override { inner_.status(s); }
    void notice(const app::Notice& n) override { inner_.notice(n); }
    bool wants_snapshots() const override { return inner_.wants_snapshots(); }
    void snapshot(app::SheetSnapshot s) override { inner_.snapshot(std::move(s)); }
    void progress(app::Stage s, int64_t d, int64_t t) override {
        inner_.progress(s, d, t);
        if (reached_ && s == app::Stage::Saving && !reached_->exchange(true)) go_.wait();
    }

private:
    app::RunObserver& inner_;
    std::atomic<bool>* reached_;
    std::shared_future<void> go_;
};

class Win32Window : public ::testing::Test {
protected:
    TempDir tmp;
    fs::path data = tmp / "data";
    fs::path folder = tmp / "league";
    fs::path output = tmp / "out" / "TALLYBOOK.xlsx";
    std::vector<win32::Box> boxes;
    std::vector<fs::path> opened;
    std::atomic<bool> reached{false};
    std::promise<void> go;
    std::shared_future<void> go_future = go.get_future().share();
    bool hold_in_save = false;

    void SetUp() override {
        enc::EncyclopediaContents c;
        c.teams = {team(1, "NYA"), team(2, "BOS")};
        c.players = {player(1, 1970), player(2, 1972)};
        c.stats = {hitter_line(1, 1999, 2, 1, "Smith", "John"), pitcher_line(2, 1999, 2, 2, "Jones", "Bob")};
        c.team_seasons = {team_season(1, 1999, 1, "New York", "Yankees", 98, 64)};
        c.league_seasons = {league_season(1, 1999, "American League")};
        c.leagues = {tb::test::league(1, "American League")};
        enc::write_encyclopedia(folder, c);
        fs::create_directories(output.parent_path());
    }

    window::Setup settings() {
        window::Setup s;
        s.data_dir = data;
        s.output = output;
        s.hooks.open_workbook = [this](const fs::path& p) {
            opened.push_back(p);
            return true;
        };
        s.hooks.run = [this](const app::RunOptions& o, app::RunObserver& obs, const std::atomic<bool>* cancel) {
            Gate gate(obs, hold_in_save ? &reached : nullptr, go_future);
            return app::run_process(o, gate, cancel);
        };
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

