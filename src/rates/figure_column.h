// How one column of figures is shown: its title and number format in a
// player's block on a letter sheet and on a totals sheet. The hitting and
// pitching rows each list their columns once, in column order, and the sheets
// write titles and figures from that one list, so a title and its figures
// cannot drift apart.
#pragma once

#include <string_view>

namespace tb::rates {

struct FigureColumn {
    std::string_view block_title;     // over the column in a player's block
    std::string_view totals_title;    // on a hitting or pitching totals sheet
    std::string_view block_format;    // number format in the block ("" General)
    std::string_view totals_format;   // ... and on the totals sheet
};

}  // namespace tb::rates
