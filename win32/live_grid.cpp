#include "live_grid.h"

#include "platform/platform.h"

#include <commctrl.h>

#include <string>

namespace tb::win32 {

namespace {

constexpr int kColumns = 31;   // A .. AE
constexpr int kMaxRows = 200;

std::wstring wide(const std::string& utf8) { return tb::platform::path_of_utf8(utf8).wstring(); }

COLORREF colorref(int32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

std::wstring column_letter(int i) {
    std::wstring s;
    for (int v = i + 1; v > 0; v = (v - 1) / 26) s.insert(s.begin(), static_cast<wchar_t>(L'A' + (v - 1) % 26));
    return s;
}

}  // namespace

LiveGrid::LiveGrid(HWND parent, int id, HFONT font, HFONT bold) : font_(font), bold_(bold) {
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                            WS_CHILD | LVS_REPORT | LVS_NOSORTHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0, 0, 10, 10,
                            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = 40;
    wchar_t row_title[] = L"";
    col.pszText = row_title;
    ListView_InsertColumn(list_, 0, &col);   // the row numbers
    for (int c = 0; c < kColumns; ++c) {
        std::wstring letter = column_letter(c);
        col.pszText = letter.data();
        col.cx = 64;
        ListView_InsertColumn(list_, c + 1, &col);
    }
}

void LiveGrid::clear() {
    rows_ = {};
    ListView_DeleteAllItems(list_);
}

void LiveGrid::show(const app::SheetSnapshot& s) {
    rows_ = s;
    const std::size_t skip = s.rows.size() > kMaxRows ? s.rows.size() - kMaxRows : 0;
    rows_.rows.erase(rows_.rows.begin(), rows_.rows.begin() + static_cast<std::ptrdiff_t>(skip));
    rows_.first_row += static_cast<int32_t>(skip);
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list_);
    for (std::size_t r = 0; r < rows_.rows.size(); ++r) {
        std::wstring number = std::to_wstring(rows_.first_row + static_cast<int32_t>(r));
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(r);
        item.pszText = number.data();
        ListView_InsertItem(list_, &item);
        const auto& cells = rows_.rows[r];
        for (std::size_t c = 0; c < cells.size() && c < kColumns; ++c) {
            if (cells[c].text.empty()) continue;
            std::wstring text = wide(cells[c].text);
            ListView_SetItemText(list_, static_cast<int>(r), static_cast<int>(c) + 1, text.data());
        }
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    if (!rows_.rows.empty()) ListView_EnsureVisible(list_, static_cast<int>(rows_.rows.size()) - 1, FALSE);
    InvalidateRect(list_, nullptr, TRUE);
}

LRESULT LiveGrid::custom_draw(NMLVCUSTOMDRAW* cd) {
    switch (cd->nmcd.dwDrawStage) {
        case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT: return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            const auto r = static_cast<std::size_t>(cd->nmcd.dwItemSpec);
            const int c = cd->iSubItem - 1;
            cd->clrTextBk = GetSysColor(COLOR_WINDOW);
            cd->clrText = GetSysColor(COLOR_WINDOWTEXT);
            SelectObject(cd->nmcd.hdc, font_);
            if (c < 0 || r >= rows_.rows.size() || static_cast<std::size_t>(c) >= rows_.rows[r].size())
                return CDRF_NEWFONT;
            const app::SnapshotCell& cell = rows_.rows[r][static_cast<std::size_t>(c)];
            if (cell.style.fill >= 0) cd->clrTextBk = colorref(cell.style.fill);
            if (cell.style.bold) SelectObject(cd->nmcd.hdc, bold_);
            return CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT;
        }
        case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM: {
            // The borders, drawn over the grid lines.
            const auto r = static_cast<std::size_t>(cd->nmcd.dwItemSpec);
            const int c = cd->iSubItem - 1;
            if (c < 0 || r >= rows_.rows.size() || static_cast<std::size_t>(c) >= rows_.rows[r].size())
                return CDRF_DODEFAULT;
            RECT rc{};
            ListView_GetSubItemRect(list_, static_cast<int>(r), cd->iSubItem, LVIR_BOUNDS, &rc);
            const wb::Style& s = rows_.rows[r][static_cast<std::size_t>(c)].style;
            const wb::BorderEdge* edges[] = {&s.top, &s.bottom, &s.left, &s.right};
            const POINT lines[4][2] = {{{rc.left, rc.top}, {rc.right, rc.top}},
                                       {{rc.left, rc.bottom - 1}, {rc.right, rc.bottom - 1}},
                                       {{rc.left, rc.top}, {rc.left, rc.bottom}},
                                       {{rc.right - 1, rc.top}, {rc.right - 1, rc.bottom}}};
            for (int e = 0; e < 4; ++e) {
                if (!edges[e]->present()) continue;
                HPEN pen = CreatePen(PS_SOLID, edges[e]->weight == wb::xlMedium ? 2 : 1,
                                     edges[e]->color >= 0 ? colorref(edges[e]->color) : RGB(0, 0, 0));
                HGDIOBJ old = SelectObject(cd->nmcd.hdc, pen);
                MoveToEx(cd->nmcd.hdc, lines[e][0].x, lines[e][0].y, nullptr);
                LineTo(cd->nmcd.hdc, lines[e][1].x, lines[e][1].y);
                SelectObject(cd->nmcd.hdc, old);
                DeleteObject(pen);
            }
            return CDRF_DODEFAULT;
        }
        default: return CDRF_DODEFAULT;
    }
}

}  // namespace tb::win32
