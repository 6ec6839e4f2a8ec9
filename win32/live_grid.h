// The live view's rows drawn with a report-style list view: each cell
// painted as the window model describes it (fill, text in its font and
// alignment, borders over the grid lines).
#pragma once

#include "window/live_rows.h"

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <utility>

namespace tb::win32 {

class LiveGrid {
public:
    // `font` is the window's font, which cells scale and embolden.
    LiveGrid(HWND parent, int id, const LOGFONTW& font);
    ~LiveGrid();
    LiveGrid(const LiveGrid&) = delete;
    LiveGrid& operator=(const LiveGrid&) = delete;

    HWND hwnd() const { return list_; }
    void show(const window::LiveRows& rows);
    // Handles the list's custom-draw notifications; returns the result.
    LRESULT custom_draw(NMLVCUSTOMDRAW* cd);

private:
    HFONT font_for(const window::LiveCell& cell);
    void paint_cell(HDC dc, RECT rc, const window::LiveCell& cell);

    HWND list_;
    LOGFONTW base_;
    std::map<std::pair<bool, int>, HFONT> fonts_;   // by bold and size in per cent
    window::LiveRows rows_;
};

}  // namespace tb::win32
