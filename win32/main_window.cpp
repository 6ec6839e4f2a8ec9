#include "main_window.h"

#include "live_grid.h"
#include "text_box.h"
#include "platform/platform.h"
#include "screen_reader_name.h"
#include "window/texts.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <system_error>

namespace tb::win32 {

namespace fs = std::filesystem;
using window::Control;
using window::ControlKind;

namespace {

constexpr UINT kWakeMessage = WM_APP + 1;
constexpr UINT_PTR kPumpTimer = 1;
constexpr wchar_t kClassName[] = L"TallybookMainWindow";
constexpr int kLiveHeight = 230;   // logical units the window grows by for the live view
constexpr int kNoticesHeight = 84;  // logical units of the notice list

std::wstring wide(std::string_view utf8) { return platform::path_of_utf8(std::string(utf8)).wstring(); }

std::string utf8(const std::wstring& w) { return platform::utf8_of(fs::path(w)); }

std::wstring window_text(HWND h) {
    std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    s.resize(static_cast<std::size_t>(GetWindowTextW(h, s.data(), static_cast<int>(s.size()))));
    return s;
}

void set_text(HWND h, const std::wstring& s) {
    if (window_text(h) != s) SetWindowTextW(h, s.c_str());
}

// The window class and styles of each kind of control.
struct NativeKind {
    const wchar_t* cls;
    DWORD style;
    DWORD ex_style;
};

NativeKind native_kind(ControlKind kind) {
    const DWORD tab = WS_TABSTOP;
    switch (kind) {
        case ControlKind::DropDown: return {WC_COMBOBOXW, tab | CBS_DROPDOWNLIST | WS_VSCROLL, 0};
        case ControlKind::Field: return {L"EDIT", tab | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::ReadOnlyBox: return {L"EDIT", ES_READONLY | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::List:
            return {L"LISTBOX", tab | LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE};
        case ControlKind::Lines:
            return {L"LISTBOX", tab | LBS_EXTENDEDSEL | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT,
                    WS_EX_CLIENTEDGE};
        case ControlKind::Button: return {L"BUTTON", tab | BS_PUSHBUTTON, 0};
        case ControlKind::Frame: return {L"BUTTON", BS_GROUPBOX, 0};
        case ControlKind::Radio: return {L"BUTTON", BS_AUTORADIOBUTTON, 0};
        case ControlKind::Bar: return {PROGRESS_CLASSW, 0, 0};
        default: return {L"STATIC", SS_NOPREFIX, 0};
    }
}

// Puts text on the clipboard, with the line ends Windows programs expect.
void copy_to_clipboard(HWND owner, const std::wstring& text) {
    std::wstring crlf;
    for (wchar_t c : text) {
        if (c == L'\n') crlf += L'\r';
        crlf += c;
    }
    if (!OpenClipboard(owner)) return;
    EmptyClipboard();
    const std::size_t bytes = (crlf.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* p = GlobalLock(mem)) {
            std::memcpy(p, crlf.c_str(), bytes);
            GlobalUnlock(mem);
        }
        if (!SetClipboardData(CF_UNICODETEXT, mem)) GlobalFree(mem);
    }
    CloseClipboard();
}

// The work areas of the screens that are there, in the workspace
// coordinates of GetWindowPlacement and SetWindowPlacement: those start at
// the main screen's work area, not at its corner (a taskbar at the top or
// the left moves them).
std::vector<window::Rect> screens() {
    struct Found {
        POINT shift{0, 0};
        std::vector<window::Rect> rects;
    } found;
    MONITORINFO primary{};
    primary.cbSize = sizeof(primary);
    if (GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary))
        found.shift = {primary.rcWork.left - primary.rcMonitor.left, primary.rcWork.top - primary.rcMonitor.top};
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
            auto* f = reinterpret_cast<Found*>(data);
            MONITORINFO info{};
            info.cbSize = sizeof(info);
            if (GetMonitorInfoW(monitor, &info)) {
                const RECT& r = info.rcWork;
                f->rects.push_back({r.left - f->shift.x, r.top - f->shift.y, r.right - r.left, r.bottom - r.top});
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.rects;
}

}  // namespace

MainWindow::MainWindow(window::Setup setup, MessageBoxHook message_box)
    : model_([&] {
          if (setup.program_folder.empty()) {
              wchar_t exe[MAX_PATH * 4];
              const DWORD n = GetModuleFileNameW(nullptr, exe, static_cast<DWORD>(std::size(exe)));
              setup.program_folder = fs::path(std::wstring(exe, n)).parent_path();
          }
          return std::move(setup);
      }()),
      message_box_(std::move(message_box)) {}

MainWindow::~MainWindow() {
    model_.detach();
    if (hwnd_) DestroyWindow(hwnd_);
    live_.reset();
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

    RECT r{0, 0, px(600), px(660)};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES);
    hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES, kClassName,
                            wide(window::texts::window_title()).c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                            CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, this);
    if (!hwnd_) return false;
    make_controls();
    add_tooltips(instance);
    fill_drives();
    model_.attach(this, fs::current_path());
    take_place();
    layout();
    return true;
}

void MainWindow::show(int show_command) {
    const bool plain = show_command == SW_SHOWNORMAL || show_command == SW_SHOWDEFAULT || show_command == SW_SHOW;
    ShowWindow(hwnd_, open_maximized_ && plain ? SW_SHOWMAXIMIZED : show_command);
    UpdateWindow(hwnd_);
}

// The remembered place when it shows on a screen that is there.
void MainWindow::take_place() {
    const std::optional<window::WindowPlace> place = model_.opening_place(screens());
    if (!place) return;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!GetWindowPlacement(hwnd_, &wp)) return;
    const window::Rect& r = place->rect;
    wp.rcNormalPosition = {r.x, r.y, r.x + r.width, r.y + r.height};
    wp.showCmd = SW_HIDE;   // shown by show()
    SetWindowPlacement(hwnd_, &wp);
    open_maximized_ = place->maximized;
}

// Where the window is (or would be when not maximized), without the live view.
void MainWindow::remember_place() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!hwnd_ || !GetWindowPlacement(hwnd_, &wp)) return;
    const RECT& r = wp.rcNormalPosition;
    const int height = live_shown_ && height_without_live_ > 0 ? height_without_live_ : r.bottom - r.top;
    model_.remember_place({{r.left, r.top, r.right - r.left, height}, wp.showCmd == SW_SHOWMAXIMIZED});
}

// E&XIT or the window's close box: the window goes at once; a run under way
// is cancelled behind it and waited for when the window object ends.
void MainWindow::close_window() {
    remember_place();
    model_.detach();
    DestroyWindow(hwnd_);
}

int MainWindow::px(int logical) const { return MulDiv(logical, static_cast<int>(dpi_), 96); }

void MainWindow::make_controls() {
    // The system's message font, at the system's size.
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    font_ = CreateFontIndirectW(&ncm.lfMessageFont);
    LOGFONTW bold = ncm.lfMessageFont;
    bold.lfWeight = FW_BOLD;
    bold_font_ = CreateFontIndirectW(&bold);

    const HINSTANCE inst = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
    for (Control c : window::all_controls()) {
        if (c == Control::LiveGrid) continue;
        NativeKind kind = native_kind(window::control_kind(c));
        if (c == Control::ProcessButton) kind.style = WS_TABSTOP | BS_DEFPUSHBUTTON;
        // Each frame's first radio button starts a group that the arrow keys walk.
        if (c == window::kViewingRadios.front() || c == window::kDesiredRadios.front())
            kind.style |= WS_TABSTOP | WS_GROUP;
        if (c == Control::SavedLine) kind.style |= SS_PATHELLIPSIS;
        HWND h = CreateWindowExW(kind.ex_style, kind.cls, wide(window::texts::caption(c)).c_str(),
                                 WS_CHILD | WS_VISIBLE | kind.style, 0, 0, 10, 10, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id(c))), inst, nullptr);
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(window::bold_caption(c) ? bold_font_ : font_), TRUE);
    }
    SendMessageW(control(Control::ProgressBar), PBM_SETRANGE32, 0, 1000);
    live_ = std::make_unique<LiveGrid>(hwnd_, control_id(Control::LiveGrid), ncm.lfMessageFont);
    ShowWindow(control(Control::LiveSheet), SW_HIDE);
    // A field or list is called by its label, never by what it holds.
    for (Control c : window::all_controls())
        if (const std::string name = window::texts::accessible_name(c); !name.empty())
            name_for_screen_readers(control(c), wide(name));
}

void MainWindow::add_tooltips(HINSTANCE instance) {
    tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance,
                                nullptr);
    if (!tooltips_) return;
    SendMessageW(tooltips_, TTM_SETMAXTIPWIDTH, 0, px(400));
    for (Control c : window::all_controls()) {
        std::wstring text = wide(window::texts::tooltip(c));
        if (text.empty()) continue;
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd_;
        tool.uId = reinterpret_cast<UINT_PTR>(control(c));
        tool.lpszText = text.data();
        SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
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
    const int bottom_block = px(160 + 26 + kNoticesHeight + 6);
    auto put = [&](Control c, int x, int y, int cx, int cy) { MoveWindow(control(c), x, y, cx, cy, FALSE); };

    // Right column.
    int y = m;
    const int rx = mid + gap, rw = w - m - rx;
    put(Control::StartedLabel, rx, y, rw, label);
    put(Control::StartTime, rx, y += label, rw, line);
    put(Control::EndedLabel, rx, y += line + gap, rw, label);
    put(Control::EndTime, rx, y += label, rw, line);
    y += line + gap * 2;
    for (const auto& [frame, radios] : {std::pair{Control::ViewingFrame, std::vector<Control>(window::kViewingRadios.begin(), window::kViewingRadios.end())},
                                        std::pair{Control::DesiredFrame, std::vector<Control>(window::kDesiredRadios.begin(), window::kDesiredRadios.end())}}) {
        const int frame_h = px(24 + 22 * static_cast<int>(radios.size()));
        put(frame, rx, y, rw, frame_h);
        for (std::size_t i = 0; i < radios.size(); ++i)
            put(radios[i], rx + px(12), y + px(20 + 22 * static_cast<int>(i)), rw - px(24), px(20));
        y += frame_h + gap;
    }
    const int right_bottom = y - gap;

    // Left column; the folder list takes what is left.
    const int lw = mid - m;
    const int top_end = std::max(right_bottom, h - bottom_block - live - m);
    y = m;
    put(Control::DriveLabel, m, y, lw, label);
    put(Control::DriveList, m, y += label, lw, px(240));
    put(Control::FolderLabel, m, y += line + gap, lw, label);
    y += label;
    put(Control::FolderField, m, y, lw - px(40), line);
    put(Control::BrowseButton, m + lw - px(36), y, px(36), line);
    put(Control::RecentList, m, y += line + gap, lw, px(240));
    y += line + gap;
    const int list_h = std::max(px(60), top_end - y - px(34) - button_h - gap);
    put(Control::FolderList, m, y, lw, list_h);
    put(Control::ProcessHint, m, y += list_h + gap, lw, px(32));
    put(Control::ProcessButton, m + lw - px(100), y += px(34), px(100), button_h);

    // Below both.
    y = std::max(right_bottom, y + button_h) + gap * 2;
    put(Control::WorkbookLabel, m, y + px(4), px(62), label);
    put(Control::WorkbookField, m + px(64), y, w - 2 * m - px(64) - px(90), line);
    put(Control::SaveAsButton, w - m - px(84), y, px(84), line);
    put(Control::ProgressBar, m, y += line + gap, w - 2 * m, px(18));
    put(Control::StatusLabel, m, y += px(18) + gap, w - 2 * m, label);
    put(Control::StatusBox, m, y += label, w - 2 * m, line);
    put(Control::SavedLine, m, y += line + px(2), w - 2 * m, label);
    y += label + gap;
    put(Control::NoticesLabel, m, y + px(5), w - 2 * m - px(118), label);
    put(Control::CopyNoticesButton, w - m - px(112), y, px(112), button_h);
    put(Control::NoticeList, m, y += button_h, w - 2 * m, px(kNoticesHeight));
    y += px(kNoticesHeight) + gap;
    put(Control::OpenButton, m, y, px(112), button_h);
    put(Control::ShowFolderButton, m + px(118), y, px(112), button_h);
    put(Control::ExitButton, w - m - px(88), y, px(88), button_h);
    put(Control::CancelButton, w - m - px(88) - px(86), y, px(80), button_h);
    put(Control::AboutButton, w - m - px(88) - px(172), y, px(80), button_h);
    y += button_h + gap;
    put(Control::LiveSheet, m, y, w - 2 * m, label);
    put(Control::LiveGrid, m, y + label, w - 2 * m, std::max(px(40), h - y - label - m));
    InvalidateRect(hwnd_, nullptr, TRUE);
}

std::string MainWindow::text_of(Control c) const { return utf8(window_text(control(c))); }

void MainWindow::fill_drives() {
    HWND combo = control(Control::DriveList);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    drives_ = platform::drives();
    for (const fs::path& d : drives_)
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(window::drive_text(d)).c_str()));
}

void MainWindow::select_drive_of(const fs::path& folder) {
    const std::wstring root = wide(window::drive_text(folder.root_path()));
    const auto i = SendMessageW(control(Control::DriveList), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>(root.c_str()));
    SendMessageW(control(Control::DriveList), CB_SETCURSEL, static_cast<WPARAM>(i), 0);
}

void MainWindow::browse_folder() {
    IFileOpenDialog* dialog = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog)))) return;
    DWORD options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM);
    dialog->SetTitle(wide(window::texts::kChooseFolderTitle).c_str());
    IShellItem* start = nullptr;
    if (SUCCEEDED(SHCreateItemFromParsingName(model_.state().folder.c_str(), nullptr, IID_PPV_ARGS(&start)))) {
        dialog->SetFolder(start);
        start->Release();
    }
    if (SUCCEEDED(dialog->Show(hwnd_))) {
        IShellItem* item = nullptr;
        if (SUCCEEDED(dialog->GetResult(&item))) {
            PWSTR path = nullptr;
            if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
                model_.choose_folder(fs::path(path));
                CoTaskMemFree(path);
            }
            item->Release();
        }
    }
    dialog->Release();
}

void MainWindow::save_as() {
    std::wstring file = window_text(control(Control::WorkbookField));
    file.resize(std::max<std::size_t>(file.size(), 32768 / 2), L'\0');
    // "name\0pattern\0\0"
    std::wstring filter = wide(window::texts::kWorkbookFilterName);
    filter += L'\0';
    filter += wide(window::texts::kWorkbookPattern);
    filter += L'\0';
    const std::wstring title = wide(window::texts::kSaveAsTitle);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = hwnd_;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title.c_str();
    ofn.lpstrDefExt = L"xlsx";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&ofn)) return;
    file.resize(wcslen(file.c_str()));
    model_.enter_output(utf8(file));
}

bool MainWindow::message(const Box& box) {
    if (message_box_) return message_box_(hwnd_, box);
    using Kind = window::Message::Kind;
    MSGBOXPARAMSW params{};
    params.cbSize = sizeof(params);
    params.hwndOwner = hwnd_;
    params.hInstance = GetModuleHandleW(nullptr);
    params.lpszText = box.text.c_str();
    params.lpszCaption = box.title.c_str();
    params.dwStyle = (box.question ? MB_YESNO | MB_DEFBUTTON2 : MB_OK) | (box.program_icon         ? MB_USERICON
                              : box.kind == Kind::Failure ? MB_ICONERROR
                              : box.kind == Kind::Warning ? MB_ICONWARNING
                                                          : MB_ICONINFORMATION);
    params.lpszIcon = box.program_icon ? MAKEINTRESOURCEW(1) : nullptr;   // the icon of tallybook.rc
    return MessageBoxIndirectW(&params) == IDYES;
}

void MainWindow::show_about() {
    const auto about = window::texts::about("the Windows API");
    std::string text = about.heading;
    for (const std::string& line : about.lines) text += "\n" + line;
    const Box box{wide(about.title), wide(text + "\n\n" + about.notices), window::Message::Kind::Information, true};
    // The licences run long: a box to scroll through rather than a message box.
    if (message_box_)
        message_box_(hwnd_, box);
    else
        show_text_box(hwnd_, box.title, box.text);
}

void MainWindow::start_processing() {
    if (model_.process(text_of(Control::FolderField), text_of(Control::WorkbookField)))
        SetFocus(control(Control::CancelButton));
}

void MainWindow::press_enter(Control focused) {
    switch (window::enter_key(focused)) {
        case window::EnterKey::StartProcess: start_processing(); break;
        case window::EnterKey::OpenFolder: {
            const auto row = SendMessageW(control(focused), LB_GETCURSEL, 0, 0);
            if (row >= 0) model_.open_folder_entry(static_cast<std::size_t>(row));
            break;
        }
        case window::EnterKey::TakeFolder:
            if (!model_.enter_folder(text_of(focused))) set_text(control(focused), wide(model_.text(focused)));
            break;
        case window::EnterKey::PressButton: SendMessageW(control(focused), BM_CLICK, 0, 0); break;
        case window::EnterKey::Nothing: break;
    }
}

void MainWindow::copy_notices() {
    HWND list = control(Control::NoticeList);
    const auto count = SendMessageW(list, LB_GETSELCOUNT, 0, 0);
    std::vector<int> selected(static_cast<std::size_t>(std::max<LRESULT>(count, 0)));
    if (!selected.empty())
        SendMessageW(list, LB_GETSELITEMS, selected.size(), reinterpret_cast<LPARAM>(selected.data()));
    const std::vector<std::size_t> rows(selected.begin(), selected.end());
    copy_to_clipboard(hwnd_, wide(model_.notices_text(rows)));
}

void MainWindow::set_live_visible(bool visible) {
    if (visible == live_shown_) return;
    live_shown_ = visible;
    ShowWindow(control(Control::LiveSheet), visible ? SW_SHOW : SW_HIDE);
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
    // Escape: Cancel. (Enter is dialog_message's.)
    if (id == IDCANCEL) id = control_id(Control::CancelButton);
    if (id < kFirstControlId || id >= kFirstControlId + window::kControlCount) return;
    const auto c = static_cast<Control>(id - kFirstControlId);
    const auto selection = [&](UINT message) { return SendMessageW(control(c), message, 0, 0); };
    switch (c) {
        case Control::ProcessButton: start_processing(); break;
        case Control::CancelButton: model_.cancel(); break;
        case Control::ExitButton: close_window(); break;
        case Control::BrowseButton: browse_folder(); break;
        case Control::SaveAsButton: save_as(); break;
        case Control::AboutButton: show_about(); break;
        case Control::CopyNoticesButton: copy_notices(); break;
        case Control::OpenButton: model_.open_workbook(); break;
        case Control::ShowFolderButton: model_.show_workbook_folder(); break;
        case Control::FolderList:
            if (code == LBN_DBLCLK && selection(LB_GETCURSEL) >= 0)
                model_.open_folder_entry(static_cast<std::size_t>(selection(LB_GETCURSEL)));
            break;
        case Control::FolderField:
            if (code == EN_KILLFOCUS) model_.leave_folder_field(text_of(c));
            break;
        case Control::WorkbookField:
            if (code == EN_KILLFOCUS) model_.leave_output_field(text_of(c));
            break;
        case Control::DriveList:
            if (code == CBN_SELCHANGE) {
                const auto i = selection(CB_GETCURSEL);
                if (i >= 0 && static_cast<std::size_t>(i) < drives_.size()) model_.choose_drive(drives_[static_cast<std::size_t>(i)]);
                select_drive_of(model_.state().folder);
            }
            break;
        case Control::RecentList:
            if (code == CBN_SELCHANGE && selection(CB_GETCURSEL) >= 1)
                model_.choose_recent(static_cast<std::size_t>(selection(CB_GETCURSEL)) - 1);
            break;
        default:
            if (window::control_kind(c) == ControlKind::Radio && code == BN_CLICKED) model_.choose_option(c);
            break;
    }
}

bool MainWindow::dialog_message(MSG& msg) {
    if (!hwnd_) return false;
    const int id = msg.message == WM_KEYDOWN && IsChild(hwnd_, msg.hwnd) ? GetDlgCtrlID(msg.hwnd) : 0;
    if (id >= kFirstControlId && id < kFirstControlId + window::kControlCount) {
        const auto c = static_cast<Control>(id - kFirstControlId);
        // Enter does what the model says it does there, as in the Qt window.
        if (msg.wParam == VK_RETURN && window::enter_key(c) != window::EnterKey::Nothing) {
            press_enter(c);
            return true;
        }
        if (c == Control::NoticeList && msg.wParam == 'C' && GetKeyState(VK_CONTROL) < 0) {
            copy_notices();
            return true;
        }
    }
    // Tab, the arrow keys in a group, access keys (never typed into a field,
    // even when their control is off), Escape.
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
        // The run asked for a pump: a timer serves it, after what the user
        // does and sees (a timer comes only when nothing else waits).
        case kWakeMessage: SetTimer(hwnd_, kPumpTimer, static_cast<UINT>(window::kPumpInterval.count()), nullptr); return 0;
        case WM_TIMER:
            if (wp != kPumpTimer) break;
            KillTimer(hwnd_, kPumpTimer);
            model_.pump();
            return 0;
        case WM_COMMAND: command(LOWORD(wp), HIWORD(wp)); return 0;
        case DM_GETDEFID: return MAKELRESULT(control_id(Control::ProcessButton), DC_HASDEFID);
        case WM_SIZE: if (control(Control::ProcessButton)) layout(); return 0;
        case WM_GETMINMAXINFO: {
            auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
            mm->ptMinTrackSize = {px(520), px(580)};
            return 0;
        }
        case WM_NOTIFY: {
            auto* nm = reinterpret_cast<NMHDR*>(lp);
            if (nm->idFrom == static_cast<UINT_PTR>(control_id(Control::LiveGrid)) && nm->code == NM_CUSTOMDRAW && live_)
                return live_->custom_draw(reinterpret_cast<NMLVCUSTOMDRAW*>(lp));
            break;
        }
        case WM_DROPFILES: {
            auto drop = reinterpret_cast<HDROP>(wp);
            wchar_t path[MAX_PATH * 4];
            if (DragQueryFileW(drop, 0, path, static_cast<UINT>(std::size(path)))) model_.choose_folder(fs::path(path));
            DragFinish(drop);
            return 0;
        }
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE && GetFocus() && IsChild(hwnd_, GetFocus())) focus_ = GetFocus();
            break;
        case WM_SETFOCUS: {
            // The window itself takes no keys: the control last used does, at
            // first Process (or, when it is off, the folder field).
            HWND to = focus_ && IsWindow(focus_) && IsWindowEnabled(focus_) ? focus_ : control(Control::ProcessButton);
            if (!IsWindowEnabled(to)) to = control(Control::FolderField);
            SetFocus(to);
            return 0;
        }
        case WM_CLOSE: close_window(); return 0;
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
    const window::DrawnParts::Changed changed = drawn_.update(model_);
    if (changed.folder) select_drive_of(st.folder);
    draw_lists(changed);
    draw_notices(changed.notice_rows_from);
    for (Control c : window::all_controls()) draw_control(c);
    if (tooltips_) {   // why Process is off, else what it does
        const std::string hint = model_.process_hint();
        std::wstring text = wide(hint.empty() ? window::texts::tooltip(Control::ProcessButton) : hint);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = hwnd_;
        tool.uId = reinterpret_cast<UINT_PTR>(control(Control::ProcessButton));
        tool.lpszText = text.data();
        SendMessageW(tooltips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    if (changed.live_rows) live_->show(st.live);
    set_live_visible(st.live_visible);
}

void MainWindow::draw_lists(const window::DrawnParts::Changed& changed) {
    if (changed.folder_entries) {
        HWND list = control(Control::FolderList);
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        for (const window::FolderEntry& e : model_.state().folder_entries)
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(e.text).c_str()));
    }
    HWND recent = control(Control::RecentList);
    if (changed.recent_folders) {
        SendMessageW(recent, CB_RESETCONTENT, 0, 0);
        for (const std::string& row : model_.recent_texts())
            SendMessageW(recent, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(row).c_str()));
    }
    SendMessageW(recent, CB_SETCURSEL, 0, 0);   // the list's title, whatever was picked last
}

void MainWindow::draw_notices(std::size_t from) {
    HWND list = control(Control::NoticeList);
    const std::vector<std::string> rows = model_.notice_rows();
    auto drawn = [&] { return static_cast<std::size_t>(std::max<LRESULT>(SendMessageW(list, LB_GETCOUNT, 0, 0), 0)); };
    if (from >= rows.size() && drawn() == rows.size()) return;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    if (from == 0) notice_extent_ = 0;
    while (drawn() > from) SendMessageW(list, LB_DELETESTRING, drawn() - 1, 0);
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, font_);
    for (std::size_t i = drawn(); i < rows.size(); ++i) {
        const std::wstring row = wide(rows[i]);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
        SIZE size{};
        GetTextExtentPoint32W(dc, row.c_str(), static_cast<int>(row.size()), &size);
        notice_extent_ = std::max(notice_extent_, static_cast<int>(size.cx) + px(8));
    }
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(notice_extent_), 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

// Enabled, shown, checked, and the text the state puts in it.
void MainWindow::draw_control(Control c) {
    const HWND h = control(c);
    EnableWindow(h, model_.enabled(c));
    // The live view's parts show with the live view as a whole.
    const bool visible = (GetWindowLongPtrW(h, GWL_STYLE) & WS_VISIBLE) != 0;
    if (c != Control::LiveSheet && c != Control::LiveGrid && visible != model_.shown(c))
        ShowWindow(h, model_.shown(c) ? SW_SHOW : SW_HIDE);
    switch (window::control_kind(c)) {
        case ControlKind::Radio:
            CheckDlgButton(hwnd_, control_id(c), model_.checked(c) ? BST_CHECKED : BST_UNCHECKED);
            break;
        case ControlKind::Label: set_text(h, wide(model_.text(c))); break;
        case ControlKind::ReadOnlyBox:
            // A long status shows its beginning: names and reasons start there.
            set_text(h, wide(model_.text(c)));
            SendMessageW(h, EM_SETSEL, 0, 0);
            break;
        case ControlKind::Field:
            // What the user is typing stays, unless a run has taken the folder.
            if (GetFocus() != h || (model_.locked() && c == Control::FolderField)) set_text(h, wide(model_.text(c)));
            break;
        case ControlKind::Bar: draw_bar(h); break;
        default: break;
    }
}

void MainWindow::draw_bar(HWND bar) {
    const window::WindowState& st = model_.state();
    const LONG_PTR style = GetWindowLongPtrW(bar, GWL_STYLE);
    if (st.progress_busy) {
        if (!(style & PBS_MARQUEE)) {
            SetWindowLongPtrW(bar, GWL_STYLE, style | PBS_MARQUEE);
            SendMessageW(bar, PBM_SETMARQUEE, TRUE, 30);
        }
        return;
    }
    if (style & PBS_MARQUEE) {
        SendMessageW(bar, PBM_SETMARQUEE, FALSE, 0);
        SetWindowLongPtrW(bar, GWL_STYLE, style & ~PBS_MARQUEE);
        SendMessageW(bar, PBM_SETRANGE32, 0, 1000);
    }
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(st.progress * 1000 + 0.5), 0);
}

void MainWindow::show_message(const window::Message& m) {
    message({wide(window::texts::kMessageTitle), wide(m.text), m.kind, false});
}

bool MainWindow::ask(const window::Message& m) {
    return message({wide(window::texts::kMessageTitle), wide(m.text), m.kind, false, true});
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
