// The team totals sheets: "TeamRegTotals" (every team's regular seasons
// added up) and "TeamDCSTotals", "TeamLCSTotals", "TeamWSTotals" (its play in
// each post-season phase): a header row, then one row per team in section
// order, in its league's colour.
#pragma once

#include "teams/standings.h"
#include "teams/team_sections.h"
#include "workbook/workbook.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tb::sheets {

class TeamTotalsSheets {
public:
    // Adds the four sheets at the right end of the workbook.
    explicit TeamTotalsSheets(wb::Workbook& book);
    // A team's row on "TeamRegTotals" and on the sheet of each phase it played.
    void add_team(const teams::TeamSection& section);
    // Frames "TeamRegTotals", removes the phase sheets without rows, fits the
    // others and sets them all up as totals sheets. Call once, at the end.
    void finish();

private:
    struct Sheet {
        wb::SheetId id;
        int32_t last_row = 0;   // 0: no header yet
    };
    wb::Workbook& book_;
    Sheet regular_;
    std::array<Sheet, 3> phases_;   // by teams::PostSeasonPhase
};

}  // namespace tb::sheets
