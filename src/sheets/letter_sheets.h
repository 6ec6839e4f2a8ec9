// The letter sheets "A" .. "Z", "AA" .. "AE" (and "#" when needed) and the
// player blocks on them: a name row, column titles, season lines phase by
// phase (each post-season phase under its section title), each phase closed
// by a "Totals" row.
//
// A block of a side is laid out from the row it is given:
//     name row           the name over A..E, the player number over R..Y
//     column titles      Year, Team, Age, then the side's figure columns
//     season lines       of the regular season, if any
//     "Totals"
//     section title      of a post-season phase, e.g. "- - L C S - -"
//     season lines
//     "Totals"           ... one section a phase with lines
#pragma once

#include "encyclopedia/records.h"
#include "sheets/side.h"
#include "workbook/workbook.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tb::sheets {

// A season line: its lead cells and its figures (in figure_columns order).
struct BlockLine {
    int32_t year = 0;
    std::string team;               // the team's abbreviation; "" when unknown
    std::optional<int32_t> age;     // none when the birth year is unknown
    std::vector<double> figures;
};

// The lines of one phase and the figures of its "Totals" row.
struct BlockSection {
    enc::SeasonPhase phase = enc::SeasonPhase::Regular;
    std::vector<BlockLine> lines;   // at least one
    std::vector<double> totals;
};

struct Block {
    Side side = Side::Hitting;
    std::string name;               // on the name row
    int32_t player_id = 0;
    std::vector<BlockSection> sections;   // in phase order; none empty
};

// The letter sheet of a display name: its first letter, upper-cased, with
// accents folded to the base letter ("de Aza" -> "D", "Élan" -> "E"); "#"
// for a name that does not start with a letter A-Z after folding.
std::string letter_sheet_of(std::string_view display_name);

class LetterSheets {
public:
    // Adds the letter sheets "A" .. "AE" at the right end of the workbook.
    explicit LetterSheets(wb::Workbook& book);

    struct Place {
        wb::SheetId sheet;
        int32_t row;   // where the player's blocks start
    };
    // The sheet and row for the blocks of a player whose first name shown is
    // `display_name`; "#" is added after "AE" when first needed. Moving on
    // to another sheet fits the columns A..AD of the one left.
    Place place_for(std::string_view display_name);
    // The player's blocks on `sheet` ended above `row_below`: the next
    // player there starts one empty row lower.
    void blocks_ended(wb::SheetId sheet, int32_t row_below);
    // Fits the columns A..Z of the sheet written last. Call once, at the end.
    void finish();

    wb::SheetId first_sheet() const { return first_; }

private:
    wb::Workbook& book_;
    wb::SheetId first_, last_letter_;
    std::optional<wb::SheetId> current_;
    std::unordered_map<uint32_t, int32_t> next_row_;   // by SheetId.value
};

// Writes a block from `row`; returns the row below its last "Totals" row.
int32_t write_block(wb::Workbook& book, wb::SheetId sheet, int32_t row, const Block& block);

}  // namespace tb::sheets
