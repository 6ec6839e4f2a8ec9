// The live view's rows as both windows draw them: the latest rows of the
// sheet being filled, cell by cell with the text it displays and how it
// looks (alignment, bold, size, fill, borders), under column letters and
// row numbers. Built from the run's snapshot; a view only draws it.
#pragma once

#include "app/run.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tb::window {

inline constexpr int kLiveColumns = 31;       // A .. AE, the widest sheet
inline constexpr int kLiveRowLimit = 200;     // the newest rows; more would fit on no screen

enum class Alignment { Left, Right };

// One edge of a cell: its width in pixels (0: not drawn) and colour (RGB).
struct LiveEdge {
    int width = 0;
    int32_t color = 0x000000;
    bool operator==(const LiveEdge&) const = default;
};
enum LiveEdgeSide { kTopEdge, kBottomEdge, kLeftEdge, kRightEdge };

struct LiveCell {
    std::string text;                    // as the cell displays it
    Alignment alignment = Alignment::Left;
    bool bold = false;
    double font_scale = 1.0;             // the cell's font size over the sheet's usual 11 points
    int32_t fill = -1;                   // RGB background, -1 none
    std::array<LiveEdge, 4> edges{};     // by LiveEdgeSide
    bool blank = true;                   // no text and no look of its own: nothing to draw
};

struct LiveRows {
    std::string title;                           // Sheet "A"; empty before the first rows
    std::vector<std::string> column_titles;      // "A" .. "AE"
    std::vector<std::string> row_titles;         // the sheet's row numbers
    std::vector<std::vector<LiveCell>> cells;    // a row per row title, at most kLiveColumns cells each
};

// The view model of a snapshot: its newest kLiveRowLimit rows. Numbers
// stand right, as does text aligned right; an edge is 1 pixel wide, 2 when
// medium, 3 when thick, black unless coloured.
LiveRows live_rows(const app::SheetSnapshot& snapshot);

// An empty live view: the column letters and nothing else.
LiveRows empty_live_rows();

// A sheet's column title from its index: 0 "A", 25 "Z", 26 "AA", ...
std::string column_title(int index);

}  // namespace tb::window
