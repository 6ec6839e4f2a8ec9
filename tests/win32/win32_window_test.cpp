// The Windows window driven the way a user drives it, by its controls: the
// model's captions on the native controls, the folder typed and processed by
// the real run with its status texts, a refused workbook place as a warning
// box, About with the program's icon, the live grid's drawing, and Cancel or
// E&XIT during the save reaching the run.
#include "support/older_workbook.h"
#include "win32_fixture.h"

namespace tb::test {
namespace {

TEST_F(Win32Window, CaptionsARunOfTheTypedFolderARefusedPlaceAndAbout) {
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
    click(h, Control::AboutButton);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes.back().program_icon);
    EXPECT_EQ(boxes.back().title, L"About TALLYBOOK");
    EXPECT_NE(boxes.back().text.find(L"THIRD-PARTY NOTICES"), std::wstring::npos);
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
    start_in(w, folder);
    ASSERT_TRUE(pump_until([&] { return !w.model().state().running; }));
    const HWND grid = item(h, Control::LiveGrid);
    ASSERT_TRUE(IsWindowVisible(grid));
    RECT cell{};
    ListView_GetSubItemRect(grid, 0, 1, LVIR_BOUNDS, &cell);
    const int width = cell.right - cell.left;
    const auto [text_left, text_right] = ink_of_cell(grid, 0, 0);
    const auto [number_left, number_right] = ink_of_cell(grid, 0, 1);
    EXPECT_TRUE(text_left >= 0 && text_right < width / 2) << text_left << " " << text_right << " of " << width;
    EXPECT_TRUE(number_left > width / 2) << number_left << " " << number_right << " of " << width;
}

// A stand-in save that writes the workbook unless the cancel reaches it
// within 30 s: Cancel, and E&XIT (the window goes at once, the run is
// waited for when the window object ends), must reach it.
TEST_F(Win32Window, CancelOrExitDuringTheSaveKeepsTheOlderWorkbook) {
    window::Setup s = settings();
    s.hooks.run = [](const app::RunOptions& o, app::RunObserver& obs, const std::atomic<bool>* cancel) {
        obs.status("Saving the workbook...");
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!cancel->load() && std::chrono::steady_clock::now() < limit) std::this_thread::yield();
        if (cancel->load()) return app::RunResult{app::RunOutcome::Cancelled, {}, {}};
        std::ofstream(o.output, std::ios::binary) << "new";
        return app::RunResult{app::RunOutcome::Completed, {}, {}};
    };
    for (Control press : {Control::CancelButton, Control::ExitButton}) {
        SCOPED_TRACE(std::string(window::control_name(press)));
        const std::string older = write_older_workbook(output);
        {
            MainWindow w(s, answer());
            ASSERT_TRUE(w.create(GetModuleHandleW(nullptr)));
            const HWND h = w.hwnd();
            start_in(w, folder);
            ASSERT_TRUE(pump_until([&] { return text_of(item(h, Control::StatusBox)) == L"Saving the workbook..."; }));
            click(h, press);
            if (press == Control::ExitButton) {
                EXPECT_FALSE(IsWindow(h));   // at once
            } else {
                ASSERT_TRUE(pump_until([&] { return !w.model().state().running; }));
                EXPECT_EQ(text_of(item(h, Control::StatusBox)), L"Processing Cancelled");
            }
        }
        EXPECT_EQ(read_bytes(output), older);
    }
}

}  // namespace
}  // namespace tb::test
