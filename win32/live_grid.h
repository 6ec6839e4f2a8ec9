// The latest rows of the sheet being filled, drawn as the workbook has them
// (fills, bold, number formats, alignment and borders): a report-style list
// view whose cells are painted from the run's copy of the rows.
#pragma once

#include "app/run.h"

#include <windows.h>
#include <commctrl.h>

namespace tb::win32 {

class LiveGrid {
public:
    LiveGrid(HWND parent, int id, HFONT font, HFONT bold);
    HWND hwnd() const { return list_; }
    void clear();
    void show(const app::SheetSnapshot& snapshot);
    // Handles the list's custom-draw notifications; returns the result.
    LRESULT custom_draw(NMLVCUSTOMDRAW* cd);

private:
    HWND list_;
    HFONT font_, bold_;
    app::SheetSnapshot rows_;
};

}  // namespace tb::win32
