#include "live_grid.h"

#include "platform/platform.h"

#include <cmath>
#include <string>

namespace tb::win32 {

namespace {

std::wstring wide(const std::string& utf8) { return tb::platform::path_of_utf8(utf8).wstring(); }

COLORREF colorref(int32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

void draw_line(HDC dc, const window::LiveEdge& edge, POINT from, POINT to) {
    HPEN pen = CreatePen(PS_SOLID, edge.width, colorref(edge.color));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
    SelectObject(dc, old);
    DeleteObject(pen);
}

}  // namespace

LiveGrid::LiveGrid(HWND parent, int id, const LOGFONTW& font) : base_(font) {
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                            WS_CHILD | LVS_REPORT | LVS_NOSORTHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0, 0, 10, 10,
                            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_for({})), TRUE);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = 40;
    wchar_t row_title[] = L"";
    col.pszText = row_title;
    ListView_InsertColumn(list_, 0, &col);   // the row numbers
    const window::LiveRows empty = window::empty_live_rows();
    for (std::size_t c = 0; c < empty.column_titles.size(); ++c) {
        std::wstring title = wide(empty.column_titles[c]);
        col.pszText = title.data();
        col.cx = 64;
        ListView_InsertColumn(list_, static_cast<int>(c) + 1, &col);
    }
}

LiveGrid::~LiveGrid() {
    for (const auto& [key, font] : fonts_) DeleteObject(font);
}

HFONT LiveGrid::font_for(const window::LiveCell& cell) {
    const std::pair<bool, int> key{cell.bold, static_cast<int>(std::lround(cell.font_scale * 100))};
    if (const auto it = fonts_.find(key); it != fonts_.end()) return it->second;
    LOGFONTW f = base_;
    f.lfWeight = cell.bold ? FW_BOLD : base_.lfWeight;
    f.lfHeight = static_cast<LONG>(std::lround(base_.lfHeight * cell.font_scale));
    return fonts_[key] = CreateFontIndirectW(&f);
}

void LiveGrid::show(const window::LiveRows& rows) {
    rows_ = rows;
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list_);
    for (std::size_t r = 0; r < rows_.cells.size(); ++r) {
        std::wstring number = wide(rows_.row_titles[r]);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(r);
        item.pszText = number.data();
        ListView_InsertItem(list_, &item);
        // The texts too, though the cells are painted from rows_: what reads
        // the list (a screen reader, a test) finds them there.
        const auto& cells = rows_.cells[r];
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (cells[c].text.empty()) continue;
            std::wstring text = wide(cells[c].text);
            ListView_SetItemText(list_, static_cast<int>(r), static_cast<int>(c) + 1, text.data());
        }
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    if (!rows_.cells.empty()) ListView_EnsureVisible(list_, static_cast<int>(rows_.cells.size()) - 1, FALSE);
    InvalidateRect(list_, nullptr, TRUE);
}

void LiveGrid::paint_cell(HDC dc, RECT rc, const window::LiveCell& cell) {
    HBRUSH fill = CreateSolidBrush(cell.fill >= 0 ? colorref(cell.fill) : GetSysColor(COLOR_WINDOW));
    FillRect(dc, &rc, fill);
    DeleteObject(fill);
    if (!cell.text.empty()) {
        const std::wstring text = wide(cell.text);
        HGDIOBJ old_font = SelectObject(dc, font_for(cell));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        RECT text_rc{rc.left + 3, rc.top, rc.right - 3, rc.bottom};
        const UINT align = cell.alignment == window::Alignment::Right ? DT_RIGHT : DT_LEFT;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_rc,
                  align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        SelectObject(dc, old_font);
    }
    // The borders, over the grid lines.
    const POINT corners[4][2] = {{{rc.left, rc.top}, {rc.right, rc.top}},
                                 {{rc.left, rc.bottom - 1}, {rc.right, rc.bottom - 1}},
                                 {{rc.left, rc.top}, {rc.left, rc.bottom}},
                                 {{rc.right - 1, rc.top}, {rc.right - 1, rc.bottom}}};
    for (std::size_t e = 0; e < 4; ++e)
        if (cell.edges[e].width > 0) draw_line(dc, cell.edges[e], corners[e][0], corners[e][1]);
}

LRESULT LiveGrid::custom_draw(NMLVCUSTOMDRAW* cd) {
    switch (cd->nmcd.dwDrawStage) {
        case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT: return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            // The row numbers, and cells with nothing of their own, as the list draws them.
            const auto r = static_cast<std::size_t>(cd->nmcd.dwItemSpec);
            const int c = cd->iSubItem - 1;
            if (c < 0 || r >= rows_.cells.size() || static_cast<std::size_t>(c) >= rows_.cells[r].size() ||
                rows_.cells[r][static_cast<std::size_t>(c)].blank)
                return CDRF_DODEFAULT;
            RECT rc{};
            ListView_GetSubItemRect(list_, static_cast<int>(r), cd->iSubItem, LVIR_BOUNDS, &rc);
            paint_cell(cd->nmcd.hdc, rc, rows_.cells[r][static_cast<std::size_t>(c)]);
            return CDRF_SKIPDEFAULT;
        }
        default: return CDRF_DODEFAULT;
    }
}

}  // namespace tb::win32
