// The parts of a player's block on a letter sheet that the hitting and the
// pitching rows share: the name row, column titles, the borders of a season
// line and of a totals row, and the title row of a post-season section.
// Each writes at the row it is given, on the active sheet.
#pragma once

#include "workbook/workbook.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tb::sheets {

// The block's name row: the name over A..E, the player number over R..Y,
// bold, 12 points, framed (HEADER_BORDER).
void Name_Header(wb::Workbook& W, int32_t row, std::string_view name, int32_t player_id);
void HEADER_BORDER(wb::Workbook& W, int32_t row);

// Titles from column A on at `row`, each right-aligned.
void put_titles(wb::Workbook& W, int32_t row, const std::vector<std::string_view>& titles);

// The column-title row of a block at `row`: the titles over A..last, framed
// (medium edges, given a line style too when `line_style`) and filled with
// `color_index`; the name row above takes the same fill.
void column_titles(wb::Workbook& W, int32_t row, const std::vector<std::string_view>& titles, int color_index,
                   bool line_style);

// The lead cells of a season line: year, team and age (none for a player
// without a birth date, rather than a made-up one).
void season_line_lead(wb::Workbook& W, int32_t row, int32_t year, std::string_view team, std::optional<int32_t> age);

// The lead cells of a block's "Totals" row.
void totals_line_lead(wb::Workbook& W, int32_t row);

// The medium sides of a season line, which stack into one frame.
void line_sides(wb::Workbook& W, int32_t row, int last_col);

// A "Totals" row: a medium line over A..last, a medium red frame around B..last.
void totals_row_borders(wb::Workbook& W, int32_t row, int last_col);

// The borders of a section title row.
void postseason_border(wb::Workbook& W, int32_t row);

// The title row of a post-season section: the title merged over A..C, bold,
// filled with `color_index` (19 hitting, 20 pitching).
void section_title(wb::Workbook& W, int32_t row, std::string_view title, int color_index);

}  // namespace tb::sheets
