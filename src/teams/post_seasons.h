// The post-season blocks of a team section on "Team Records" (division
// series, league championship series, world series) and the team's rows on
// the post-season team totals sheets.
#pragma once

#include "encyclopedia/records.h"
#include "teams/league_tables.h"
#include "teams/team_state.h"
#include "sheets/sheet_set.h"
#include "workbook/workbook.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace tb::teams {

// Title cells of a phase block in row TeamRow ("DCS", "LCS", "WS"), in the
// colour of `league_id` (the league of the season record last read).
void Do_Team_PS_Headers(wb::Workbook& wb, const TeamPassState& st, const LeagueTables& tables,
                        std::string_view phase_code, int32_t league_id);

// Writes the phase blocks of the seasons in st.PostSeasonRecs below the
// team's totals row. `team_seasons` holds every record of enctmyr.dat
// (element i = record number i + 1). Called with "Team Records" active;
// leaves "TeamWSTotals" active when the team played a world series.
void Do_Post_Seasons(wb::Workbook& wb, TeamPassState& st, const LeagueTables& tables,
                     const std::vector<enc::TeamSeason>& team_seasons,
                     sheets::TeamTotalsCounters& counters);

}  // namespace tb::teams
