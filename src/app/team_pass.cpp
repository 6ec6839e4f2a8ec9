#include "app/team_pass.h"

#include "teams/league_tables.h"
#include "teams/standings.h"
#include "teams/team_sections.h"

namespace tb::app {

bool write_team_sheets(wb::Workbook& book, sheets::TeamRecordsSheet& records, sheets::TeamTotalsSheets& totals,
                       const TeamPassInput& input, Reporter& reporter) {
    std::vector<enc::TeamSeason> seasons;
    seasons.reserve(input.team_seasons.size());
    for (const auto& s : input.team_seasons) seasons.push_back(s.record);
    const teams::LeagueTables tables(input.league_seasons, input.leagues, seasons);
    const std::vector<teams::TeamSection> sections =
        teams::team_sections(teams::standings_by_team(input.team_seasons, tables, input.teams), tables);
    const auto total = static_cast<int64_t>(sections.size());
    for (std::size_t k = 0; k < sections.size(); ++k) {
        records.add_section(sections[k]);
        totals.add_team(sections[k]);
        reporter.progress(Stage::Teams, static_cast<int64_t>(k) + 1, total);
        reporter.live_rows(book, records.sheet(), records.last_row(), false);
        if (reporter.cancelled()) return false;
    }
    reporter.live_rows(book, records.sheet(), std::max(records.last_row(), 1), true);
    return true;
}

}  // namespace tb::app
