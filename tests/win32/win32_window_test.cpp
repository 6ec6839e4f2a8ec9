// The Windows window driven the way a user drives it, by its controls and
// keys, its messages served as the program's loop serves them: the model's
// captions on the native controls and the names a screen reader hears, the
// folder typed and processed by the real run, a refused workbook place as a
// warning box, Enter and Alt+P, the notice list, the live grid's drawing, and
// its pace during a flood of reports with Escape, Cancel or E&XIT in it.
#include "archive/sample.h"
#include "main_window.h"
#include "platform/platform.h"
#include "support/encyclopedia_builder.h"
#include "support/flood_run.h"
#include "support/older_workbook.h"
#include "window/texts.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <oleacc.h>

#include <chrono>
#include <fstream>
#include <functional>
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

// Serves the messages as the program's loop does (the window's keyboard
// handling first) until `done` holds (at most 60 s).
bool pump_until(const std::function<bool()>& done, MainWindow* window = nullptr) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        MSG msg;
        while (!done() && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
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
void press_key(MainWindow& w, HWND target, UINT message, WPARAM key) {
    MSG msg{target, message, key, 0, 0, {}};
    if (w.dialog_message(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void click(HWND window, Control c) {
    const int id = win32::control_id(c);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

// The folder typed into its field, then Process.
void start_in(MainWindow& w, const fs::path& folder) {
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

// The name Windows' Active Accessibility gives a screen reader, as Wine offers it.
std::wstring accessible_name(HWND control) {
    IAccessible* a = nullptr;
    if (AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&a)) != S_OK)
        return L"(no accessible object)";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR got = nullptr;
    a->get_accName(self, &got);
    std::wstring name = got ? got : L"";
    SysFreeString(got);
    a->Release();
    return name;
}

TEST_F(Win32Window, CaptionsNamesARunOfTheTypedFolderAndARefusedPlace) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);   // for the accessible objects, till the program ends
    MainWindow w(settings(), answer());
    ASSERT_TRUE(w.create(GetModuleHandleW(nullptr)));
    const HWND h = w.hwnd();
    for (Control c : window::all_controls()) {
        SCOPED_TRACE(std::string(window::control_name(c)));
        if (const std::string caption(window::texts::caption(c)); !caption.empty()) {
            EXPECT_EQ(platform::utf8_of(fs::path(text_of(item(h, c)))), caption);
        }
        // A field or list is called by its label, not by what it holds.
        if (const std::string name = window::texts::accessible_name(c); !name.empty()) {
            EXPECT_EQ(platform::utf8_of(fs::path(accessible_name(item(h, c)))), name);
        }
    }
    EXPECT_EQ(IsDlgButtonChecked(h, win32::control_id(Control::ViewWhileProcessing)), UINT{BST_CHECKED});
    EXPECT_EQ(IsDlgButtonChecked(h, win32::control_id(Control::PlayersAndTeams)), UINT{BST_CHECKED});

    start_in(w, folder);   // the folder typed into the field is what Process converts
    ASSERT_TRUE(pump_until([&] { return !w.model().state().running; }));
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : platform::utf8_of(fs::path(boxes[0].text)));
    EXPECT_EQ(text_of(item(h, Control::StatusBox)), L"Processing Completed");

    // The workbook's field as it reads is taken too: a place that is refused
    // is a warning box, before anything runs.
    const fs::path book = folder / "inside.xlsx";
    SetWindowTextW(item(h, Control::WorkbookField), book.wstring().c_str());
    start_in(w, folder);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, window::Message::Kind::Warning);
    EXPECT_EQ(boxes[0].text.rfind(L"cannot write the workbook " + book.wstring(), 0), 0u);
    EXPECT_FALSE(w.model().state().running);
}

// Where the first dark pixels of one cell of the live grid lie, painted as
// the screen would show it: a share of the cell's width from its left, or -1
// when there are none.
double ink_start(HWND grid, int row, int column) {
    RECT rc{}, cell{};
    GetClientRect(grid, &rc);
    ListView_GetSubItemRect(grid, row, column + 1, LVIR_BOUNDS, &cell);
    HDC screen = GetDC(grid);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(grid, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    double ink = -1;
    for (int x = cell.left + 2; x < cell.right - 2 && ink < 0; ++x)
        for (int y = cell.top + 2; y < cell.bottom - 2; ++y) {
            const COLORREF p = GetPixel(dc, x, y);
            if (GetRValue(p) < 128 && GetGValue(p) < 128 && GetBValue(p) < 128)
                ink = static_cast<double>(x - cell.left) / (cell.right - cell.left);
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
        obs.snapshot({"A", 3, {{{"a", false, {}}, {"7", true, {}}}}});
        return app::RunResult{app::RunOutcome::Cancelled, {}, {}};
    };
    MainWindow w(s, answer());
    ASSERT_TRUE(w.create(GetModuleHandleW(nullptr)));
    w.show(SW_SHOWNOACTIVATE);
    start_in(w, folder);
    ASSERT_TRUE(pump_until([&] { return !w.model().state().running; }));
    const HWND grid = item(w.hwnd(), Control::LiveGrid);
    ASSERT_TRUE(IsWindowVisible(grid));
    const double text = ink_start(grid, 0, 0), number = ink_start(grid, 0, 1);
    EXPECT_TRUE(text >= 0 && text < 0.25) << text;
    EXPECT_GT(number, 0.5);
}

std::wstring clipboard_text() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) text = p;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

std::wstring list_row(HWND list, int row) {
    std::wstring s(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, row, 0)) + 1, L'\0');
    s.resize(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(s.data()))));
    return s;
}

// Enter does what the model says where it is pressed, Alt+P with Process
// off types nothing, and a run's notices go to their list, counted, and
// Ctrl+C copies the selected ones.
TEST_F(Win32Window, EnterAltPAndTheNoticeListWithItsCopy) {
    window::Setup s = settings();
    s.hooks.run = [](const app::RunOptions& o, app::RunObserver& obs, const std::atomic<bool>*) {
        for (int i = 0; i < 3; ++i) obs.notice({"this case is 3", "ENCPLSTATS.DAT", 4 + i, "PhaseCode", "3", "Smith,John"});
        write_older_workbook(o.output);   // a workbook, so the next run may replace it
        return app::RunResult{app::RunOutcome::Completed, {}, {}};
    };
    const fs::path games = tmp / "games";
    fs::create_directories(games / "League");
    MainWindow w(s, answer());
    ASSERT_TRUE(w.create(GetModuleHandleW(nullptr)));
    const HWND h = w.hwnd(), field = item(h, Control::FolderField), folders = item(h, Control::FolderList);
    SetWindowTextW(field, games.wstring().c_str());
    press_key(w, field, WM_KEYDOWN, VK_RETURN);   // the folder field takes the folder
    ASSERT_EQ(w.model().state().folder, games);
    SendMessageW(folders, LB_SETCURSEL, 1, 0);    // the folder list opens the selected one
    press_key(w, folders, WM_KEYDOWN, VK_RETURN);
    ASSERT_EQ(w.model().state().folder, games / "League");

    ASSERT_FALSE(IsWindowEnabled(item(h, Control::ProcessButton)));   // no ENCTEAM.DAT there
    const std::wstring before = text_of(field);
    SetFocus(field);
    press_key(w, field, WM_SYSKEYDOWN, 'P');
    press_key(w, field, WM_SYSCHAR, 'p');
    EXPECT_EQ(text_of(field), before);
    EXPECT_FALSE(w.model().state().running);

    SetWindowTextW(field, folder.wstring().c_str());   // typed: Process takes the field as it reads
    for (Control from : {Control::PlayersAndTeams, Control::ViewAfterCompleted, Control::WorkbookField,
                         Control::ProcessButton}) {
        press_key(w, item(h, from), WM_KEYDOWN, VK_RETURN);
        EXPECT_TRUE(w.model().state().running) << window::control_name(from);
        ASSERT_TRUE(pump_until([&] { return !w.model().state().running; }, &w));
    }
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : platform::utf8_of(fs::path(boxes[0].text)));

    const HWND notices = item(h, Control::NoticeList);
    ASSERT_EQ(SendMessageW(notices, LB_GETCOUNT, 0, 0), 3);
    const std::wstring second = L"this case is 3 - ENCPLSTATS.DAT record 5, PhaseCode 3, player Smith,John";
    EXPECT_EQ(list_row(notices, 1), second);
    EXPECT_EQ(text_of(item(h, Control::NoticesLabel)), L"Notices: 3");
    SendMessageW(notices, LB_SETSEL, TRUE, 1);   // Ctrl+C copies the selected rows
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    press_key(w, notices, WM_KEYDOWN, 'C');
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(clipboard_text(), second + L"\r\n");
}

// However fast the run reports, the window pumps at its own pace (a timer
// tick, after what the user does and sees): paint is served, and Escape,
// Cancel or E&XIT reach the run in the middle of it. E&XIT takes the window
// at once; the window object's end waits for the run.
TEST_F(Win32Window, AFloodOfReportsLeavesPaintServedAndEscapeCancelOrExitReachTheRun) {
    std::atomic<int64_t> reports{0};
    std::atomic<bool> ended{false};
    window::Setup s = settings();
    s.hooks.run = [&](const app::RunOptions& o, app::RunObserver& obs, const std::atomic<bool>* cancel) {
        ended = false;
        const app::RunResult r = flood_run(reports)(o, obs, cancel);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));   // a run takes a moment to end
        ended = true;
        return r;
    };
    enum class Press { Escape, Cancel, Exit };
    for (Press press : {Press::Escape, Press::Cancel, Press::Exit}) {
        SCOPED_TRACE(static_cast<int>(press));
        reports = 0;
        {
            MainWindow w(s, answer());
            ASSERT_TRUE(w.create(GetModuleHandleW(nullptr)));
            w.show(SW_SHOWNOACTIVATE);
            const HWND h = w.hwnd();
            start_in(w, folder);
            ASSERT_TRUE(pump_until([&] { return reports > 1000; }, &w));
            InvalidateRect(h, nullptr, TRUE);
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
            pump_until([&] { return std::chrono::steady_clock::now() > until; }, &w);
            EXPECT_FALSE(GetUpdateRect(h, nullptr, FALSE));   // painted meanwhile
            EXPECT_NE(text_of(item(h, Control::StatusBox)).find(L"player "), std::wstring::npos);
            if (press == Press::Escape) press_key(w, item(h, Control::CancelButton), WM_KEYDOWN, VK_ESCAPE);
            else click(h, press == Press::Cancel ? Control::CancelButton : Control::ExitButton);
            if (press == Press::Exit) {
                EXPECT_FALSE(IsWindow(h));   // at once
            } else {
                EXPECT_EQ(text_of(item(h, Control::StatusBox)), L"Cancelling...");
                ASSERT_TRUE(pump_until([&] { return !w.model().state().running; }, &w));
                EXPECT_EQ(text_of(item(h, Control::StatusBox)), L"Processing Cancelled");
            }
        }
        EXPECT_TRUE(ended);
    }
}

}  // namespace
}  // namespace tb::test
