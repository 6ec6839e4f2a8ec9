// The Windows window by keyboard and by screen reader, its notice list, its
// pace during a flood of reports, and where it opens.
#include "win32_fixture.h"

#include "support/flood_run.h"
#include "window/texts.h"

#include <oleacc.h>

#include <algorithm>

namespace tb::test {
namespace {

std::wstring wide(std::string_view utf8) { return platform::path_of_utf8(std::string(utf8)).wstring(); }

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

// The window's tooltip control: a window of the thread that `owner` owns.
HWND tooltips_of(HWND owner) {
    std::pair<HWND, HWND> found{owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM data) -> BOOL {
            auto* f = reinterpret_cast<std::pair<HWND, HWND>*>(data);
            wchar_t cls[64] = {};
            GetClassNameW(h, cls, 64);
            if (GetWindow(h, GW_OWNER) == f->first && std::wstring(cls) == TOOLTIPS_CLASSW) f->second = h;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.second;
}

TEST_F(Win32Window, NoticesGoToTheirListWithACountAndCopy) {
    window::Setup s = settings();
    s.hooks.run = [](const app::RunOptions& o, app::RunObserver& obs, const std::atomic<bool>*) {
        for (int i = 0; i < 3; ++i) obs.notice({"this case is 3", "ENCPLSTATS.DAT", 4 + i, "PhaseCode", "3", "Smith,John"});
        std::ofstream(o.output, std::ios::binary) << "workbook";
        return app::RunResult{app::RunOutcome::Completed, {}, {}};
    };
    MainWindow w(s, answer());
    ASSERT_TRUE(w.create(GetModuleHandleW(nullptr)));
    const HWND h = w.hwnd(), list = item(h, Control::NoticeList);
    start_in(w, folder);
    ASSERT_TRUE(pump_until([&] { return !w.model().state().running; }, &w));
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
    const std::wstring second = L"this case is 3 - ENCPLSTATS.DAT record 5, PhaseCode 3, player Smith,John";
    EXPECT_EQ(list_row(list, 1), second);
    EXPECT_EQ(text_of(item(h, Control::NoticesLabel)), L"Notices: 3");

    SendMessageW(list, LB_SETSEL, TRUE, 1);   // Ctrl+C copies the selected rows
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    press_key(w, list, WM_KEYDOWN, 'C');
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(clipboard_text(), second + L"\r\n");
    SendMessageW(list, LB_SETSEL, FALSE, -1);   // and Copy all of them when none is
    click(h, Control::CopyNoticesButton);
    const std::wstring all = clipboard_text();
    EXPECT_EQ(std::count(all.begin(), all.end(), L'\n'), 3);
}

TEST_F(Win32Window, EnterWhereTheModelSaysAndAltPWithProcessOffTypesNothing) {
    const fs::path games = tmp / "games";
    fs::create_directories(games / "League");
    MainWindow w(settings(), answer());
    ASSERT_TRUE(w.create(GetModuleHandleW(nullptr)));
    const HWND h = w.hwnd(), field = item(h, Control::FolderField), list = item(h, Control::FolderList);
    SetWindowTextW(field, games.wstring().c_str());
    press_key(w, field, WM_KEYDOWN, VK_RETURN);   // the folder field takes the folder
    ASSERT_EQ(w.model().state().folder, games);
    SendMessageW(list, LB_SETCURSEL, 1, 0);       // the folder list opens the selected one
    press_key(w, list, WM_KEYDOWN, VK_RETURN);
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
}

// What Windows' Active Accessibility tells a screen reader, as Wine offers it.
TEST_F(Win32Window, ScreenReadersGetTheModelsNamesAndEveryControlItsTooltip) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        MainWindow w(settings(), answer());
        ASSERT_TRUE(w.create(GetModuleHandleW(nullptr)));
        const HWND h = w.hwnd(), tips = tooltips_of(h);
        ASSERT_NE(tips, nullptr);
        for (Control c : window::all_controls()) {
            SCOPED_TRACE(std::string(window::control_name(c)));
            if (const std::string name = window::texts::accessible_name(c); !name.empty()) {
                IAccessible* a = nullptr;
                ASSERT_EQ(AccessibleObjectFromWindow(item(h, c), OBJID_CLIENT, __uuidof(IAccessible),
                                                     reinterpret_cast<void**>(&a)),
                          S_OK);
                VARIANT self{};
                self.vt = VT_I4;
                self.lVal = CHILDID_SELF;
                BSTR got = nullptr;
                EXPECT_EQ(a->get_accName(self, &got), S_OK);
                EXPECT_EQ(std::wstring(got ? got : L""), wide(name));
                SysFreeString(got);
                a->Release();
            }
            if (const std::string_view tip = window::texts::tooltip(c); !tip.empty() && c != Control::ProcessButton) {
                wchar_t text[512] = {};
                TTTOOLINFOW tool{};
                tool.cbSize = sizeof(tool);
                tool.hwnd = h;
                tool.uId = reinterpret_cast<UINT_PTR>(item(h, c));
                tool.lpszText = text;
                SendMessageW(tips, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
                EXPECT_EQ(std::wstring(text), wide(tip));
            }
        }
    }
    if (SUCCEEDED(com)) CoUninitialize();
}

// However fast the run reports, the window pumps at its own pace: paint
// and the keyboard are served, and Escape cancels in the middle of it.
TEST_F(Win32Window, AFloodOfReportsLeavesPaintAndKeysServedAndEscapeCancels) {
    std::atomic<int64_t> reports{0};
    window::Setup s = settings();
    s.hooks.run = flood_run(reports);
    MainWindow w(s, answer());
    ASSERT_TRUE(w.create(GetModuleHandleW(nullptr)));
    w.show(SW_SHOWNOACTIVATE);
    const HWND h = w.hwnd();
    start_in(w, folder);
    ASSERT_TRUE(pump_until([&] { return reports > 1000; }, &w));
    int wakes = 0, paints = 0;
    InvalidateRect(h, nullptr, TRUE);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    pump_until([&] { return std::chrono::steady_clock::now() > until; }, &w, [&](const MSG& m) {
        wakes += m.message == WM_APP + 1;
        paints += m.message == WM_PAINT && m.hwnd == h;
    });
    EXPECT_GT(paints, 0);
    EXPECT_LE(wakes, 500 / window::kPumpInterval.count() + 3);   // one wake-up a pump, a pump a timer tick
    EXPECT_NE(text_of(item(h, Control::StatusBox)).find(L"player "), std::wstring::npos);
    press_key(w, item(h, Control::CancelButton), WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(text_of(item(h, Control::StatusBox)), L"Cancelling...");
    ASSERT_TRUE(pump_until([&] { return !w.model().state().running; }, &w));
    EXPECT_EQ(text_of(item(h, Control::StatusBox)), L"Processing Cancelled");
}

TEST_F(Win32Window, TheWindowOpensWhereItWasClosedWhenAScreenShowsIt) {
    const RECT placed{60, 40, 60 + 700, 40 + 720};
    auto rect_of = [](HWND h) {
        RECT r{};
        GetWindowRect(h, &r);
        return std::tuple(r.left, r.top, r.right, r.bottom);
    };
    {
        MainWindow w(settings(), answer());
        ASSERT_TRUE(w.create(GetModuleHandleW(nullptr)));
        w.show(SW_SHOWNOACTIVATE);
        SetWindowPos(w.hwnd(), nullptr, placed.left, placed.top, 700, 720, SWP_NOZORDER | SWP_NOACTIVATE);
        click(w.hwnd(), Control::ExitButton);
    }
    {
        MainWindow again(settings(), answer());
        ASSERT_TRUE(again.create(GetModuleHandleW(nullptr)));
        again.show(SW_SHOWNOACTIVATE);
        EXPECT_EQ(rect_of(again.hwnd()), std::tuple(placed.left, placed.top, placed.right, placed.bottom));
        SetWindowPos(again.hwnd(), nullptr, -5000, -5000, 700, 720, SWP_NOZORDER | SWP_NOACTIVATE);
        click(again.hwnd(), Control::ExitButton);   // closed where no screen is
    }
    MainWindow elsewhere(settings(), answer());
    ASSERT_TRUE(elsewhere.create(GetModuleHandleW(nullptr)));
    elsewhere.show(SW_SHOWNOACTIVATE);
    EXPECT_GT(std::get<0>(rect_of(elsewhere.hwnd())), -5000 + 1000);   // the system's default place
}

}  // namespace
}  // namespace tb::test
