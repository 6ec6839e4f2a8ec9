// The Windows window driven the way a user drives it, by its controls: the
// model's captions on the native controls, the folder typed and entered, the
// real run with its status texts and saved-folder file, the live grid's
// drawing, and Cancel or E&XIT during the save leaving an older workbook as it was.
#include "support/older_workbook.h"
#include "win32_fixture.h"

namespace tb::test {
namespace {

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
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : platform::utf8_of(fs::path(boxes[0].text)));
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
        const std::string older = write_older_workbook(output);
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
            ASSERT_TRUE(pump_until(
                [&] { return reached.load() && text_of(item(h, Control::StatusBox)) == L"Saving the workbook..."; }));
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
        EXPECT_EQ(read_file(output), older);
        std::vector<std::string> files;
        for (const auto& e : fs::directory_iterator(output.parent_path())) files.push_back(e.path().filename().string());
        EXPECT_EQ(files, std::vector<std::string>{"TALLYBOOK.xlsx"});
        EXPECT_TRUE(opened.empty());
    }
}

}  // namespace
}  // namespace tb::test
