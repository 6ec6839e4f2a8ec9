#include "text_box.h"

#include <vector>

namespace tb::win32 {

namespace {

constexpr WORD kTextId = 100;
constexpr short kWidth = 360, kHeight = 260, kMargin = 7, kButtonWidth = 50, kButtonHeight = 14;

// A dialog template in memory (the sizes in dialog units, so it follows the
// font and the DPI); no resource script needed.
class Template {
public:
    Template(const std::wstring& title, short items) {
        DLGTEMPLATE t{};
        t.style = DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        t.cdit = static_cast<WORD>(items);
        t.cx = kWidth;
        t.cy = kHeight;
        put(&t, sizeof t);
        words({0, 0});   // no menu, the standard class
        text(title);
        words({8});      // point size of the font that follows
        text(L"MS Shell Dlg");
    }
    void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom, const std::wstring& caption) {
        align();
        DLGITEMTEMPLATE i{};
        i.style = style | WS_CHILD | WS_VISIBLE;
        i.x = x, i.y = y, i.cx = cx, i.cy = cy, i.id = id;
        put(&i, sizeof i);
        words({0xFFFF, atom});
        text(caption);
        words({0});      // no creation data
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(data_.data()); }

private:
    void put(const void* p, std::size_t n) {
        const auto* w = static_cast<const WORD*>(p);
        data_.insert(data_.end(), w, w + n / sizeof(WORD));
    }
    void words(std::initializer_list<WORD> w) { data_.insert(data_.end(), w); }
    void text(const std::wstring& s) {
        data_.insert(data_.end(), s.begin(), s.end());
        data_.push_back(0);
    }
    // Each item begins on a DWORD boundary.
    void align() {
        if (data_.size() % 2) data_.push_back(0);
    }
    std::vector<WORD> data_;
};

INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetDlgItemTextW(dialog, kTextId, reinterpret_cast<const wchar_t*>(lparam));
            // The program's icon in the caption, as its own box.
            const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
            SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
            SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
            // The OK button has the focus, not the text (which would show all selected).
            SetFocus(GetDlgItem(dialog, IDOK));
            return FALSE;
        }
        case WM_COMMAND:
            if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) EndDialog(dialog, 0);
            return TRUE;
        default: return FALSE;
    }
}

}  // namespace

void show_text_box(HWND owner, const std::wstring& title, const std::wstring& text) {
    // An edit control breaks lines only at "\r\n".
    std::wstring shown;
    shown.reserve(text.size() + text.size() / 32);
    for (wchar_t c : text) {
        if (c == L'\n') shown += L'\r';
        shown += c;
    }
    Template t(title, 2);
    constexpr WORD kEdit = 0x0081, kButton = 0x0080;
    t.item(ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP, kMargin, kMargin,
           kWidth - 2 * kMargin, kHeight - 3 * kMargin - kButtonHeight, kTextId, kEdit, L"");
    t.item(BS_DEFPUSHBUTTON | WS_TABSTOP, kWidth - kMargin - kButtonWidth, kHeight - kMargin - kButtonHeight,
           kButtonWidth, kButtonHeight, IDOK, kButton, L"OK");
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.get(), owner, procedure,
                            reinterpret_cast<LPARAM>(shown.c_str()));
}

}  // namespace tb::win32
