// The Windows window driven the way a user drives it, by its controls: the
// captions, choosing the folder, Process, the status texts, the saved-folder
// file, and Cancel or E&XIT during the save leaving an older workbook as it was.
#include "main_window.h"
#include "platform/platform.h"
#include "support/encyclopedia_builder.h"
#include "window/remembered.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <future>
#include <thread>

namespace tb::test {
namespace {

namespace fs = std::filesystem;
using win32::MainWindow;

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

void click(HWND window, int id) {
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

    win32::WindowSettings settings() {
        win32::WindowSettings s;
        s.data_dir = data;
        s.output = output;
        s.open_workbook = [this](const fs::path& p) {
            opened.push_back(p);
            return true;
        };
        s.message_box = [this](HWND, const std::wstring& text, bool) { boxes.push_back(text); };
        s.run = [this](const app::RunOptions& o, app::RunObserver& obs, const std::atomic<bool>* cancel) {
            Gate gate(obs, hold_in_save ? &reached : nullptr, go_future);
            return app::run_process(o, gate, cancel);
        };
        return s;
    }
};

TEST_F(Win32Window, CaptionsFolderProcessStatusAndTheSavedFolderFile) {
    MainWindow w(settings());
    ASSERT_TRUE(w.create(GetModuleHandleW(nullptr)));
    const HWND h = w.hwnd();
    const std::pair<int, const wchar_t*> captions[] = {
        {win32::kLabelDrive, L"Encyclopedia Drive"}, {win32::kLabelFolder, L"Encyclopedia Folder"},
        {win32::kLabelStatus, L"Player being Processed"}, {win32::kLabelStarted, L"Processing Started"},
        {win32::kLabelEnded, L"Processing Ended"}, {win32::kProcess, L"&Process"}, {win32::kExit, L"E&XIT"},
        {win32::kFrameViewing, L"Spreadsheet Viewing"}, {win32::kFrameDesired, L"Spreadsheets Desired"},
        {win32::kViewWhile, L"View While Processing"}, {win32::kViewAfter, L"View After Completed"},
        {win32::kPlayersOnly, L"Players Only"}, {win32::kTeamsOnly, L"Teams Only"},
        {win32::kPlayersAndTeams, L"Players and Teams"}};
    for (const auto& [id, caption] : captions) EXPECT_EQ(text_of(GetDlgItem(h, id)), caption) << id;
    EXPECT_EQ(IsDlgButtonChecked(h, win32::kViewWhile), UINT{BST_CHECKED});
    EXPECT_EQ(IsDlgButtonChecked(h, win32::kPlayersAndTeams), UINT{BST_CHECKED});

    // The folder typed into the field is what Process converts.
    SetWindowTextW(GetDlgItem(h, win32::kFolderEdit), folder.wstring().c_str());
    click(h, win32::kProcess);
    ASSERT_TRUE(pump_until([&] { return !w.model().state().running; }));
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : platform::utf8_of(fs::path(boxes[0])));
    EXPECT_EQ(text_of(GetDlgItem(h, win32::kStatus)), L"Processing Completed");
    EXPECT_FALSE(text_of(GetDlgItem(h, win32::kStartTime)).empty());
    EXPECT_NE(text_of(GetDlgItem(h, win32::kSaved)).find(output.filename().wstring()), std::wstring::npos);
    EXPECT_EQ(read_file(output).substr(0, 2), "PK");
    EXPECT_EQ(read_file(window::saved_folder_file(data)), window::saved_folder_line(folder));
    EXPECT_EQ(opened, std::vector<fs::path>{output});
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(h, win32::kOpen)) || !IsWindowVisible(h));

    // Enter in the folder field takes the folder typed there: one without
    // ENCTEAM.DAT disables Process and clears the last run's status.
    const HWND edit = GetDlgItem(h, win32::kFolderEdit);
    SetWindowTextW(edit, output.parent_path().wstring().c_str());
    MSG enter{edit, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(w.dialog_message(enter));
    ASSERT_TRUE(pump_until([&] { return w.model().state().folder == output.parent_path(); }));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(h, win32::kProcess)));
    EXPECT_NE(text_of(GetDlgItem(h, win32::kStatus)), L"Processing Completed");
}

TEST_F(Win32Window, CancelOrExitDuringTheSaveKeepsTheOlderWorkbook) {
    for (int press : {int(win32::kCancel), int(win32::kExit)}) {
        std::ofstream(output, std::ios::binary) << "an older workbook";
        reached = false;
        go = std::promise<void>();
        go_future = go.get_future().share();
        hold_in_save = true;
        {
            MainWindow w(settings());
            ASSERT_TRUE(w.create(GetModuleHandleW(nullptr)));
            const HWND h = w.hwnd();
            SetWindowTextW(GetDlgItem(h, win32::kFolderEdit), folder.wstring().c_str());
            click(h, win32::kProcess);
            ASSERT_TRUE(pump_until([&] { return reached.load(); }));
            EXPECT_EQ(text_of(GetDlgItem(h, win32::kStatus)), L"Saving the workbook...");
            click(h, press);
            if (press == win32::kExit) {
                EXPECT_FALSE(IsWindow(h));   // at once
            }
            go.set_value();
            if (press == win32::kCancel) {
                ASSERT_TRUE(pump_until([&] { return !w.model().state().running; }));
                EXPECT_EQ(text_of(GetDlgItem(h, win32::kStatus)), L"Processing Cancelled");
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
