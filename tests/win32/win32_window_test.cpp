// The Windows window driven the way a user drives it, by its controls: the
// model's captions on the native controls, the folder typed and entered, the
// real run with its status texts and saved-folder file, the live grid's
// drawing, and Cancel or E&XIT during the save leaving an older workbook as it was.
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
namespace {

namespace fs = std::filesystem;
using win32::MainWindow;
using window::Control;

HWND item(HWND window, Control c) { return GetDlgItem(window, win32::control_id(c)); }

std::wstring text_of(HWND h) {
    std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    s.resize(static_cast<std::size_t>(GetWindowTextW(h, s.data(), static_cast<int>(s.size()))));
    return s;
}

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Serves the window's messages until `done` holds (at most 60 s).
bool pump_until(const std::function<bool()>& done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void click(HWND window, Control c) {
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
    std::vector<std::wstring> boxes;
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
        return [this](HWND, const std::wstring&, const std::wstring& text, bool) { boxes.push_back(text); };
    }
};

TEST_F(Win32Window, CaptionsFolderProcessStatusAndTheSavedFolderFile) {
    MainWindow w(settings(), answer());
    ASSERT_TRUE(w.create(GetModuleHandleW(nullptr)));
    const HWND h = w.hwnd();
    for (Control c : window::all_controls()) {
        const std::string caption(window::texts::caption(c));
        if (caption.empty()) continue;
        EXPECT_EQ(platform::utf8_of(fs::path(text_of(item(h, c)))), caption) << caption;
    }
    EXPECT_EQ(IsDlgButtonChecked(h, win32::control_id(Control::ViewWhileProcessing)), UINT{BST_CHECKED});
    EXPECT_EQ(IsDlgButtonChecked(h, win32::control_id(Control::PlayersAndTeams)), UINT{BST_CHECKED});

    // The folder typed into the field is what Process converts.
    SetWindowTextW(item(h, Control::FolderField), folder.wstring().c_str());
    click(h, Control::ProcessButton);
    ASSERT_TRUE(pump_until([&] { return !w.model().state().running; }));
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : platform::utf8_of(fs::path(boxes[0])));
    EXPECT_EQ(text_of(item(h, Control::StatusBox)), L"Processing Completed");
    EXPECT_FALSE(text_of(item(h, Control::StartTime)).empty());
    EXPECT_NE(text_of(item(h, Control::SavedLine)).find(output.filename().wstring()), std::wstring::npos);
    EXPECT_EQ(read_file(output).substr(0, 2), "PK");
    EXPECT_EQ(read_file(window::saved_folder_file(data)), window::saved_folder_line(folder));
    EXPECT_EQ(opened, std::vector<fs::path>{output});
    EXPECT_TRUE(IsWindowVisible(item(h, Control::OpenButton)) || !IsWindowVisible(h));

    // Enter in the folder field takes the folder typed there: one without
    // ENCTEAM.DAT disables Process and clears the last run's status.
    const HWND edit = item(h, Control::FolderField);
    SetWindowTextW(edit, output.parent_path().wstring().c_str());
    MSG enter{edit, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(w.dialog_message(enter));
    ASSERT_TRUE(pump_until([&] { return w.model().state().folder == output.parent_path(); }));
    EXPECT_FALSE(IsWindowEnabled(item(h, Control::ProcessButton)));
    EXPECT_NE(text_of(item(h, Control::StatusBox)), L"Processing Completed");
}

// Where the dark pixels of one cell of the live grid lie, painted as the
// screen would show it: {leftmost, rightmost} column, or {-1, -1} when none.
std::pair<int, int> ink_of_cell(HWND grid, int row, int column) {
    RECT rc{}, cell{};
    GetClientRect(grid, &rc);
    ListView_GetSubItemRect(grid, row, column + 1, LVIR_BOUNDS, &cell);
    HDC screen = GetDC(grid);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(grid, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    std::pair<int, int> ink{-1, -1};
    for (int x = cell.left + 2; x < cell.right - 2; ++x)
        for (int y = cell.top + 2; y < cell.bottom - 2; ++y) {
            const COLORREF p = GetPixel(dc, x, y);
            if (GetRValue(p) < 128 && GetGValue(p) < 128 && GetBValue(p) < 128) {
                if (ink.first < 0) ink.first = x - cell.left;
                ink.second = x - cell.left;
            }
        }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(grid, screen);
    return ink;
}

// The live grid draws each cell as the model describes it: a number at the
// right of its cell, text at the left.
TEST_F(Win32Window, TheLiveGridPutsNumbersRightAndTextLeft) {
    window::Setup s = settings();
    s.hooks.run = [](const app::RunOptions&, app::RunObserver& obs, const std::atomic<bool>*) {
        if (obs.wants_snapshots()) obs.snapshot({"A", 3, {{{"a", false, {}}, {"7", true, {}}}}});
        return app::RunResult{app::RunOutcome::Cancelled, {}, {}};
    };
    MainWindow w(s, answer());
    ASSERT_TRUE(w.create(GetModuleHandleW(nullptr)));
    w.show(SW_SHOWNOACTIVATE);
    const HWND h = w.hwnd();
    SetWindowTextW(item(h, Control::FolderField), folder.wstring().c_str());
    click(h, Control::ProcessButton);
    ASSERT_TRUE(pump_until([&] { return !w.model().state().running; }));
    const HWND grid = item(h, Control::LiveGrid);
    ASSERT_TRUE(IsWindowVisible(grid));
    EXPECT_EQ(text_of(item(h, Control::LiveSheet)), L"Sheet \"A\"");
    RECT cell{};
    ListView_GetSubItemRect(grid, 0, 1, LVIR_BOUNDS, &cell);
    const int width = cell.right - cell.left;
    const auto [text_left, text_right] = ink_of_cell(grid, 0, 0);
    const auto [number_left, number_right] = ink_of_cell(grid, 0, 1);
    EXPECT_TRUE(text_left >= 0 && text_right < width / 2) << text_left << " " << text_right << " of " << width;
    EXPECT_TRUE(number_left > width / 2) << number_left << " " << number_right << " of " << width;
}

TEST_F(Win32Window, CancelOrExitDuringTheSaveKeepsTheOlderWorkbook) {
    for (Control press : {Control::CancelButton, Control::ExitButton}) {
        std::ofstream(output, std::ios::binary) << "an older workbook";
        reached = false;
        go = std::promise<void>();
        go_future = go.get_future().share();
        hold_in_save = true;
        {
            MainWindow w(settings(), answer());
            ASSERT_TRUE(w.create(GetModuleHandleW(nullptr)));
            const HWND h = w.hwnd();
            SetWindowTextW(item(h, Control::FolderField), folder.wstring().c_str());
            click(h, Control::ProcessButton);
            ASSERT_TRUE(pump_until([&] { return reached.load(); }));
            EXPECT_EQ(text_of(item(h, Control::StatusBox)), L"Saving the workbook...");
            click(h, press);
            if (press == Control::ExitButton) {
                EXPECT_FALSE(IsWindow(h));   // at once
            }
            go.set_value();
            if (press == Control::CancelButton) {
                ASSERT_TRUE(pump_until([&] { return !w.model().state().running; }));
                EXPECT_EQ(text_of(item(h, Control::StatusBox)), L"Processing Cancelled");
            }
        }   // the window object ends: the run is waited for
        EXPECT_EQ(read_file(output), "an older workbook");
        std::vector<std::string> files;
        for (const auto& e : fs::directory_iterator(output.parent_path())) files.push_back(e.path().filename().string());
        EXPECT_EQ(files, std::vector<std::string>{"TALLYBOOK.xlsx"});
        EXPECT_TRUE(opened.empty());
    }
}

}  // namespace
}  // namespace tb::test
