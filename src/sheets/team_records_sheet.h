// "Team Records": one section per team, in standings order, one empty row
// between sections:
//     title row          the team's latest name over A..C, in its league's colour
//     column headers     League, Division, Year, Won .. LOB
//     season rows        (each further season of the first year under a title
//                        and headers of its own), framed
//     totals row         Won, Lost, Pct and Scored .. LOB in red boxes
//     post-season blocks division series, LCS, world series: a season row
//                        each (the first one titled "Divisional Championship",
//                        ...), then the phase's totals
#pragma once

#include "teams/team_sections.h"
#include "workbook/workbook.h"

#include <cstdint>

namespace tb::sheets {

class TeamRecordsSheet {
public:
    // Adds "Team Records" at the right end of the workbook.
    explicit TeamRecordsSheet(wb::Workbook& book);
    // Writes a team's section below the previous one.
    void add_section(const teams::TeamSection& section);
    // Fits the columns A..Z. Call once, at the end.
    void finish();

    wb::SheetId sheet() const { return sheet_; }
    // The last row written; 0 before the first section.
    int32_t last_row() const { return last_row_; }

private:
    wb::Workbook& book_;
    wb::SheetId sheet_;
    int32_t last_row_ = 0;
};

}  // namespace tb::sheets
