#include "main_window.h"

#include "live_grid.h"
#include "platform/platform.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <algorithm>
#include <system_error>

namespace tb::win32 {

namespace fs = std::filesystem;

namespace {

constexpr UINT kWakeMessage = WM_APP + 1;
constexpr wchar_t kClassName[] = L"TallybookMainWindow";
constexpr int kLiveHeight = 230;   // logical units the window grows by for the live view

std::wstring wide(const std::string& utf8) { return platform::path_of_utf8(utf8).wstring(); }

std::string utf8(const std::wstring& w) { return platform::utf8_of(fs::path(w)); }

std::wstring text_of(HWND h) {
    std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    s.resize(static_cast<std::size_t>(GetWindowTextW(h, s.data(), static_cast<int>(s.size()))));
    return s;
}

void set_text(HWND h, const std::wstring& s) {
    if (text_of(h) != s) SetWindowTextW(h, s.c_str());
}

std::wstring title() {
    return L"TALLYBOOK " + wide(TALLYBOOK_VERSION);
}

// Case-insensitive order of folder names, as a folder list shows them.
bool name_less(const fs::path& a, const fs::path& b) {
    return CompareStringOrdinal(a.filename().c_str(), -1, b.filename().c_str(), -1, TRUE) == CSTR_LESS_THAN;
}

}  // namespace

MainWindow::MainWindow(WindowSettings settings)
    : settings_(std::move(settings)), model_([&] {
          window::Setup s;
          s.data_dir = settings_.data_dir;
          s.default_output = settings_.output;
          wchar_t exe[MAX_PATH * 4];
          const DWORD n = GetModuleFileNameW(nullptr, exe, static_cast<DWORD>(std::size(exe)));
          s.program_folder = fs::path(std::wstring(exe, n)).parent_path();
          s.hooks.run = settings_.run;
          s.hooks.open_workbook = settings_.open_workbook;
          s.hooks.show_in_folder = settings_.show_in_folder;
          return s;
      }()) {}

MainWindow::~MainWindow() {
    model_.detach();
    if (hwnd_) DestroyWindow(hwnd_);
    delete live_;
    if (font_) DeleteObject(font_);
    if (bold_font_) DeleteObject(bold_font_);
}

bool MainWindow::create(HINSTANCE instance) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hIconSm = wc.hIcon;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);   // a second window of the process finds it registered

    HDC screen = GetDC(nullptr);
    dpi_ = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    // The system's message font, at the system's size.
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    font_ = CreateFontIndirectW(&ncm.lfMessageFont);
    LOGFONTW bold = ncm.lfMessageFont;
    bold.lfWeight = FW_BOLD;
    bold_font_ = CreateFontIndirectW(&bold);

    RECT r{0, 0, px(600), px(560)};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES);
    hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES, kClassName, title().c_str(), WS_OVERLAPPEDWINDOW,
                            CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                            instance, this);
    if (!hwnd_) return false;
    build();
    fill_drives();
    model_.attach(this, fs::current_path());
    if (!settings_.output.empty()) model_.set_output(settings_.output);
    refresh();
    layout();
    return true;
}

void MainWindow::show(int show_command) {
    ShowWindow(hwnd_, show_command);
    UpdateWindow(hwnd_);
}

int MainWindow::px(int logical) const { return MulDiv(logical, static_cast<int>(dpi_), 96); }

void MainWindow::build() {
    const HINSTANCE inst = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
    auto make = [&](DWORD ex, const wchar_t* cls, const std::wstring& text, DWORD style, int id, bool bold = false) {
        HWND h = CreateWindowExW(ex, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(bold ? bold_font_ : font_), TRUE);
        return h;
    };
    const DWORD tab = WS_TABSTOP;
    make(0, L"STATIC", L"Encyclopedia Drive", 0, kLabelDrive, true);
    make(0, WC_COMBOBOXW, L"", tab | CBS_DROPDOWNLIST | WS_VSCROLL, kDrive);
    make(0, L"STATIC", L"Encyclopedia Folder", 0, kLabelFolder, true);
    make(WS_EX_CLIENTEDGE, L"EDIT", L"", tab | ES_AUTOHSCROLL, kFolderEdit);
    make(0, L"BUTTON", L"...", tab | BS_PUSHBUTTON, kBrowse);
    make(0, WC_COMBOBOXW, L"", tab | CBS_DROPDOWNLIST | WS_VSCROLL, kRecent);
    make(WS_EX_CLIENTEDGE, L"LISTBOX", L"", tab | LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, kFolderList);
    make(0, L"STATIC", L"", 0, kHint);
    make(0, L"BUTTON", L"&Process", tab | BS_DEFPUSHBUTTON, kProcess);
    make(0, L"STATIC", L"Processing Started", 0, kLabelStarted);
    make(WS_EX_CLIENTEDGE, L"EDIT", L"", ES_READONLY | ES_AUTOHSCROLL, kStartTime);
    make(0, L"STATIC", L"Processing Ended", 0, kLabelEnded);
    make(WS_EX_CLIENTEDGE, L"EDIT", L"", ES_READONLY | ES_AUTOHSCROLL, kEndTime);
    make(0, L"BUTTON", L"Spreadsheet Viewing", BS_GROUPBOX, kFrameViewing);
    make(0, L"BUTTON", L"View While Processing", tab | WS_GROUP | BS_AUTORADIOBUTTON, kViewWhile);
    make(0, L"BUTTON", L"View After Completed", BS_AUTORADIOBUTTON, kViewAfter);
    make(0, L"BUTTON", L"Spreadsheets Desired", BS_GROUPBOX, kFrameDesired);
    make(0, L"BUTTON", L"Players Only", tab | WS_GROUP | BS_AUTORADIOBUTTON, kPlayersOnly);
    make(0, L"BUTTON", L"Teams Only", BS_AUTORADIOBUTTON, kTeamsOnly);
    make(0, L"BUTTON", L"Players and Teams", BS_AUTORADIOBUTTON, kPlayersAndTeams);
    make(0, L"STATIC", L"Workbook", 0, kLabelOutput);
    make(WS_EX_CLIENTEDGE, L"EDIT", L"", tab | ES_AUTOHSCROLL, kOutput);
    make(0, L"BUTTON", L"Save &As...", tab | BS_PUSHBUTTON, kSaveAs);
    make(0, PROGRESS_CLASSW, L"", 0, kProgress);
    make(0, L"STATIC", L"Player being Processed", 0, kLabelStatus);
    make(WS_EX_CLIENTEDGE, L"EDIT", L"", ES_READONLY | ES_AUTOHSCROLL, kStatus);
    make(0, L"STATIC", L"", SS_PATHELLIPSIS, kSaved);
    make(0, L"BUTTON", L"&Open workbook", tab | BS_PUSHBUTTON, kOpen);
    make(0, L"BUTTON", L"Show in &folder", tab | BS_PUSHBUTTON, kShowFolder);
    make(0, L"BUTTON", L"About...", tab | BS_PUSHBUTTON, kAbout);
    make(0, L"BUTTON", L"Cancel", tab | BS_PUSHBUTTON, kCancel);
    make(0, L"BUTTON", L"E&XIT", tab | BS_PUSHBUTTON, kExit);
    make(0, L"STATIC", L"", 0, kLiveSheet);
    SendMessageW(control(kProgress), PBM_SETRANGE32, 0, 1000);
    live_ = new LiveGrid(hwnd_, kLiveGrid, font_, bold_font_);
    ShowWindow(control(kLiveSheet), SW_HIDE);
}

// Left: drive, folder, Process. Right: the times and the two frames. Below:
// the workbook file, the bar, the status, the saved workbook, the buttons,
// and the live view when it shows. Spare height goes to the folder list.
void MainWindow::layout() {
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    const int w = rc.right, h = rc.bottom;
    const int m = px(10), gap = px(6), line = px(22), label = px(16), button_h = px(26);
    const int mid = w / 2;
    const int live = live_shown_ ? px(kLiveHeight) : 0;
    const int bottom_block = px(160);
    auto put = [&](int id, int x, int y, int cx, int cy) { MoveWindow(control(id), x, y, cx, cy, FALSE); };

    // Right column.
    int y = m;
    const int rx = mid + gap, rw = w - m - rx;
    put(kLabelStarted, rx, y, rw, label);
    put(kStartTime, rx, y += label, rw, line);
    put(kLabelEnded, rx, y += line + gap, rw, label);
    put(kEndTime, rx, y += label, rw, line);
    y += line + gap * 2;
    put(kFrameViewing, rx, y, rw, px(68));
    put(kViewWhile, rx + px(12), y + px(20), rw - px(24), px(20));
    put(kViewAfter, rx + px(12), y + px(42), rw - px(24), px(20));
    y += px(68) + gap;
    put(kFrameDesired, rx, y, rw, px(90));
    put(kPlayersOnly, rx + px(12), y + px(20), rw - px(24), px(20));
    put(kTeamsOnly, rx + px(12), y + px(42), rw - px(24), px(20));
    put(kPlayersAndTeams, rx + px(12), y + px(64), rw - px(24), px(20));
    const int right_bottom = y + px(90);

    // Left column; the folder list takes what is left.
    const int lw = mid - m;
    const int top_end = std::max(right_bottom, h - bottom_block - live - m);
    y = m;
    put(kLabelDrive, m, y, lw, label);
    put(kDrive, m, y += label, lw, px(240));
    put(kLabelFolder, m, y += line + gap, lw, label);
    y += label;
    put(kFolderEdit, m, y, lw - px(40), line);
    put(kBrowse, m + lw - px(36), y, px(36), line);
    put(kRecent, m, y += line + gap, lw, px(240));
    y += line + gap;
    const int list_h = std::max(px(60), top_end - y - px(34) - button_h - gap);
    put(kFolderList, m, y, lw, list_h);
    put(kHint, m, y += list_h + gap, lw, px(32));
    put(kProcess, m + lw - px(100), y += px(34), px(100), button_h);

    // Below both.
    y = std::max(right_bottom, y + button_h) + gap * 2;
    put(kLabelOutput, m, y + px(4), px(62), label);
    put(kOutput, m + px(64), y, w - 2 * m - px(64) - px(90), line);
    put(kSaveAs, w - m - px(84), y, px(84), line);
    put(kProgress, m, y += line + gap, w - 2 * m, px(18));
    put(kLabelStatus, m, y += px(18) + gap, w - 2 * m, label);
    put(kStatus, m, y += label, w - 2 * m, line);
    put(kSaved, m, y += line + px(2), w - 2 * m, label);
    y += label + gap;
    put(kOpen, m, y, px(112), button_h);
    put(kShowFolder, m + px(118), y, px(112), button_h);
    put(kExit, w - m - px(88), y, px(88), button_h);
    put(kCancel, w - m - px(88) - px(86), y, px(80), button_h);
    put(kAbout, w - m - px(88) - px(172), y, px(80), button_h);
    y += button_h + gap;
    put(kLiveSheet, m, y, w - 2 * m, label);
    put(kLiveGrid, m, y + label, w - 2 * m, std::max(px(40), h - y - label - m));
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void MainWindow::fill_drives() {
    HWND combo = control(kDrive);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const fs::path& d : platform::drives()) {
        std::wstring root = d.wstring();
        // "C:" as the drive list writes it.
        if (root.size() >= 2 && root[1] == L':') root = root.substr(0, 2);
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(root.c_str()));
    }
}

void MainWindow::fill_folder_list() {
    HWND list = control(kFolderList);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    folder_items_.clear();
    if (shown_folder_.empty()) return;
    if (shown_folder_.has_relative_path()) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L".."));
        folder_items_.push_back(shown_folder_.parent_path());
    }
    std::vector<fs::path> subfolders;
    std::error_code ec;
    for (fs::directory_iterator it(shown_folder_, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code dir_ec;
        if (it->is_directory(dir_ec)) subfolders.push_back(it->path());
    }
    std::sort(subfolders.begin(), subfolders.end(), name_less);
    for (const fs::path& f : subfolders) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.filename().c_str()));
        folder_items_.push_back(f);
    }
}

void MainWindow::choose_folder(const fs::path& folder) {
    if (model_.state().running) return;
    if (!model_.choose_folder(folder)) message(platform::utf8_of(folder) + " cannot be opened.");
}

void MainWindow::folder_entered() {
    const auto checked = model_.check_folder(utf8(text_of(control(kFolderEdit))));
    if (!checked.error.empty()) {
        message(checked.error);
        return;
    }
    model_.choose_folder(checked.folder);
}

void MainWindow::browse_folder() {
    IFileOpenDialog* dialog = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog)))) return;
    DWORD options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM);
    dialog->SetTitle(L"Encyclopedia Folder");
    IShellItem* start = nullptr;
    if (SUCCEEDED(SHCreateItemFromParsingName(shown_folder_.c_str(), nullptr, IID_PPV_ARGS(&start)))) {
        dialog->SetFolder(start);
        start->Release();
    }
    if (SUCCEEDED(dialog->Show(hwnd_))) {
        IShellItem* item = nullptr;
        if (SUCCEEDED(dialog->GetResult(&item))) {
            PWSTR path = nullptr;
            if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
                choose_folder(fs::path(path));
                CoTaskMemFree(path);
            }
            item->Release();
        }
    }
    dialog->Release();
}

void MainWindow::save_as() {
    std::wstring file = text_of(control(kOutput));
    file.resize(std::max<std::size_t>(file.size(), 32768 / 2), L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = hwnd_;
    ofn.lpstrFilter = L"Excel workbook (*.xlsx)\0*.xlsx\0";
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = L"Save the workbook as";
    ofn.lpstrDefExt = L"xlsx";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&ofn)) return;
    file.resize(wcslen(file.c_str()));
    if (const auto problem = model_.set_output(fs::path(file))) message(*problem);
}

void MainWindow::process() {
    const fs::path typed(text_of(control(kFolderEdit)));
    const std::string folder = typed == shown_folder_ ? std::string() : utf8(text_of(control(kFolderEdit)));
    if (const auto problem = model_.process(folder, utf8(text_of(control(kOutput))))) {
        message(*problem);
        return;
    }
    live_->clear();
    set_live_visible(false);
    SetFocus(control(kCancel));
}

void MainWindow::about() {
    message("TALLYBOOK " TALLYBOOK_VERSION "\nTurns a baseball encyclopedia into an .xlsx workbook.\n\n"
            "Built with:\nlibdeflate (MIT) and zlib (zlib licence); the workbook's theme as libxlsxwriter writes it (BSD 2-Clause)\n"
            "the name order: a table made from ICU's collation data (Unicode licence)\n"
            "the MinGW-w64 runtime (ZPL 2.1 and others)");
}

void MainWindow::message(const std::string& text, bool error) {
    const std::wstring w = wide(text);
    if (settings_.message_box) {
        settings_.message_box(hwnd_, w, error);
        return;
    }
    MessageBoxW(hwnd_, w.c_str(), L"TALLYBOOK", MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
}

void MainWindow::set_live_visible(bool visible) {
    if (visible == live_shown_) return;
    live_shown_ = visible;
    ShowWindow(control(kLiveSheet), visible ? SW_SHOW : SW_HIDE);
    ShowWindow(live_->hwnd(), visible ? SW_SHOW : SW_HIDE);
    RECT wr{};
    GetWindowRect(hwnd_, &wr);
    if (visible) {
        height_without_live_ = wr.bottom - wr.top;
        SetWindowPos(hwnd_, nullptr, 0, 0, wr.right - wr.left, height_without_live_ + px(kLiveHeight),
                     SWP_NOMOVE | SWP_NOZORDER);
    } else if (height_without_live_ > 0) {
        SetWindowPos(hwnd_, nullptr, 0, 0, wr.right - wr.left, height_without_live_, SWP_NOMOVE | SWP_NOZORDER);
    }
    layout();
}

void MainWindow::command(int id, int code) {
    switch (id) {
        case kProcess: case IDOK: process(); break;
        case kCancel: case IDCANCEL: model_.cancel(); break;
        case kExit:
            // The window goes at once; a run under way is cancelled behind it
            // and waited for when the window object ends.
            model_.detach();
            DestroyWindow(hwnd_);
            break;
        case kBrowse: browse_folder(); break;
        case kSaveAs: save_as(); break;
        case kAbout: about(); break;
        case kOpen:
            if (!model_.open_workbook()) message("No application to open .xlsx workbooks was found.");
            break;
        case kShowFolder:
            if (!model_.show_workbook_folder()) message("The folder cannot be shown.");
            break;
        case kViewWhile: if (code == BN_CLICKED) model_.set_viewing(app::Viewing::WhileProcessing); break;
        case kViewAfter: if (code == BN_CLICKED) model_.set_viewing(app::Viewing::AfterCompleted); break;
        case kPlayersOnly: if (code == BN_CLICKED) model_.set_desired(sheets::SheetsDesired::PlayersOnly); break;
        case kTeamsOnly: if (code == BN_CLICKED) model_.set_desired(sheets::SheetsDesired::TeamsOnly); break;
        case kPlayersAndTeams:
            if (code == BN_CLICKED) model_.set_desired(sheets::SheetsDesired::PlayersAndTeams);
            break;
        case kFolderList:
            if (code == LBN_DBLCLK) {
                const auto i = SendMessageW(control(kFolderList), LB_GETCURSEL, 0, 0);
                if (i >= 0 && static_cast<std::size_t>(i) < folder_items_.size()) choose_folder(folder_items_[static_cast<std::size_t>(i)]);
            }
            break;
        case kFolderEdit:
            // A folder typed and left is taken when it is one.
            if (code == EN_KILLFOCUS && !model_.state().running) {
                const auto checked = model_.check_folder(utf8(text_of(control(kFolderEdit))));
                if (checked.error.empty() && checked.folder != model_.state().folder) model_.choose_folder(checked.folder);
            }
            break;
        case kDrive:
            if (code == CBN_SELCHANGE) {
                const auto i = SendMessageW(control(kDrive), CB_GETCURSEL, 0, 0);
                const auto drives = platform::drives();
                if (i >= 0 && static_cast<std::size_t>(i) < drives.size()) {
                    std::error_code ec;
                    if (!fs::is_directory(drives[static_cast<std::size_t>(i)], ec)) message("The drive is not ready.");
                    else choose_folder(drives[static_cast<std::size_t>(i)]);
                }
            }
            break;
        case kRecent:
            if (code == CBN_SELCHANGE) {
                const auto i = SendMessageW(control(kRecent), CB_GETCURSEL, 0, 0);
                const auto& recent = model_.state().choices.recent;
                if (i >= 1 && static_cast<std::size_t>(i) <= recent.size()) choose_folder(recent[static_cast<std::size_t>(i) - 1]);
            }
            break;
        case kOutput:
            if (code == EN_KILLFOCUS && !model_.state().running) {
                const std::wstring typed = text_of(control(kOutput));
                if (!typed.empty() && fs::path(typed) != model_.state().choices.output) {
                    if (const auto problem = model_.set_output(fs::path(typed))) message(*problem);
                }
            }
            break;
        default: break;
    }
}

bool MainWindow::dialog_message(MSG& msg) {
    if (!hwnd_) return false;
    // Enter in the folder field confirms the folder, as in the folder list;
    // elsewhere it presses the default button, Process.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && msg.hwnd == control(kFolderEdit)) {
        if (!model_.state().running) folder_entered();
        return true;
    }
    return IsDialogMessageW(hwnd_, &msg);
}

LRESULT CALLBACK MainWindow::proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = h;
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    return self ? self->handle(msg, wp, lp) : DefWindowProcW(h, msg, wp, lp);
}

LRESULT MainWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case kWakeMessage: model_.pump(); return 0;
        case WM_COMMAND: command(LOWORD(wp), HIWORD(wp)); return 0;
        case DM_GETDEFID: return MAKELRESULT(kProcess, DC_HASDEFID);
        case WM_SIZE: if (control(kProcess)) layout(); return 0;
        case WM_GETMINMAXINFO: {
            auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
            mm->ptMinTrackSize = {px(520), px(480)};
            return 0;
        }
        case WM_NOTIFY: {
            auto* nm = reinterpret_cast<NMHDR*>(lp);
            if (nm->idFrom == kLiveGrid && nm->code == NM_CUSTOMDRAW && live_)
                return live_->custom_draw(reinterpret_cast<NMLVCUSTOMDRAW*>(lp));
            break;
        }
        case WM_DROPFILES: {
            auto drop = reinterpret_cast<HDROP>(wp);
            wchar_t path[MAX_PATH * 4];
            if (DragQueryFileW(drop, 0, path, static_cast<UINT>(std::size(path)))) {
                std::error_code ec;
                if (fs::is_directory(path, ec)) choose_folder(fs::path(path));
            }
            DragFinish(drop);
            return 0;
        }
        case WM_CLOSE:
            model_.detach();
            DestroyWindow(hwnd_);
            return 0;
        case WM_DESTROY:
            model_.detach();   // no report of a run reaches a window that is gone
            hwnd_ = nullptr;
            PostQuitMessage(0);
            return 0;
        default: break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

// --- the model's view -------------------------------------------------------

void MainWindow::refresh() {
    if (!hwnd_) return;
    const window::WindowState& st = model_.state();
    if (st.folder != shown_folder_) {
        shown_folder_ = st.folder;
        fill_folder_list();
        // The drive of the folder in the drive list.
        const std::wstring root = shown_folder_.root_name().wstring();
        const auto i = SendMessageW(control(kDrive), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(root.c_str()));
        SendMessageW(control(kDrive), CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    }
    if (GetFocus() != control(kFolderEdit) || st.running) set_text(control(kFolderEdit), shown_folder_.wstring());

    const bool run = st.running;
    for (int id : {kFrameViewing, kViewWhile, kViewAfter, kFrameDesired, kPlayersOnly, kTeamsOnly, kPlayersAndTeams,
                   kDrive, kFolderList, kFolderEdit, kBrowse, kRecent, kOutput, kSaveAs})
        EnableWindow(control(id), !run);
    EnableWindow(control(kProcess), st.process_enabled);
    set_text(control(kHint), wide(st.process_hint));
    ShowWindow(control(kHint), !run && !st.process_hint.empty() ? SW_SHOW : SW_HIDE);
    ShowWindow(control(kCancel), run ? SW_SHOW : SW_HIDE);
    EnableWindow(control(kCancel), run && !st.cancelling);

    const int desired = st.choices.desired == sheets::SheetsDesired::PlayersOnly ? kPlayersOnly
                        : st.choices.desired == sheets::SheetsDesired::TeamsOnly ? kTeamsOnly
                                                                              : kPlayersAndTeams;
    CheckRadioButton(hwnd_, kPlayersOnly, kPlayersAndTeams, desired);
    CheckRadioButton(hwnd_, kViewWhile, kViewAfter,
                     st.choices.viewing == app::Viewing::AfterCompleted ? kViewAfter : kViewWhile);
    if (GetFocus() != control(kOutput)) set_text(control(kOutput), st.choices.output.wstring());

    HWND recent = control(kRecent);
    SendMessageW(recent, CB_RESETCONTENT, 0, 0);
    SendMessageW(recent, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Recent folders"));
    for (const fs::path& f : st.choices.recent)
        SendMessageW(recent, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.c_str()));
    SendMessageW(recent, CB_SETCURSEL, 0, 0);

    set_text(control(kStartTime), wide(st.start_time));
    set_text(control(kEndTime), wide(st.end_time));
    set_text(control(kStatus), wide(st.status));
    SendMessageW(control(kStatus), EM_SETSEL, 0, 0);   // a long status shows its beginning
    set_text(control(kSaved), wide(st.saved_line));
    const bool has_workbook = !run && st.workbook.has_value() && !st.saved_line.empty();
    ShowWindow(control(kOpen), has_workbook ? SW_SHOW : SW_HIDE);
    ShowWindow(control(kShowFolder), has_workbook ? SW_SHOW : SW_HIDE);

    HWND bar = control(kProgress);
    const LONG_PTR style = GetWindowLongPtrW(bar, GWL_STYLE);
    if (st.progress_busy) {
        if (!(style & PBS_MARQUEE)) {
            SetWindowLongPtrW(bar, GWL_STYLE, style | PBS_MARQUEE);
            SendMessageW(bar, PBM_SETMARQUEE, TRUE, 30);
        }
    } else {
        if (style & PBS_MARQUEE) {
            SendMessageW(bar, PBM_SETMARQUEE, FALSE, 0);
            SetWindowLongPtrW(bar, GWL_STYLE, style & ~PBS_MARQUEE);
            SendMessageW(bar, PBM_SETRANGE32, 0, 1000);
        }
        SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(st.progress * 1000 + 0.5), 0);
    }
    set_live_visible(st.live_visible);
}

void MainWindow::show_notice(const app::Notice& notice) {
    std::string text = notice.text;
    if (const std::string where = notice.where(); !where.empty()) text += "\n\n" + where;
    message(text);
    model_.answer_notice();
}

void MainWindow::show_failure(const std::string& text) { message(text, true); }

void MainWindow::show_message(const std::string& text) { message(text); }

void MainWindow::snapshot_ready() {
    if (auto s = model_.take_snapshot()) {
        set_text(control(kLiveSheet), L"Sheet \"" + wide(s->sheet) + L"\"");
        live_->show(*s);
    }
}

void MainWindow::wake() {
    // From the worker thread: only a posted message touches the window.
    if (hwnd_) PostMessageW(hwnd_, kWakeMessage, 0, 0);
}

int run_message_loop(MainWindow& window) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (window.dialog_message(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace tb::win32
