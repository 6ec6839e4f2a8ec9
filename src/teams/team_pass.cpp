#include "teams/team_pass.h"

#include "teams/league_tables.h"
#include "teams/post_seasons.h"
#include "teams/standings.h"
#include "teams/team_headers.h"
#include "teams/team_state.h"
#include "sheets/sheet_names.h"

#include <exception>
#include <new>
#include <vector>

namespace tb::teams {

namespace {

// What one call of Do_Teams works with.
struct TeamPass {
    TeamPassContext& ctx;
    wb::Workbook& wb;
    LeagueTables tables;
    const std::vector<enc::TeamSeason>& team_seasons;  // element i = record number i + 1
    TeamPassState st;
};

void Add_To_Team_Totals(TeamTotals& tot, const StandingsEntry& e) {
    tot.TotWon += e.won;
    tot.TotLost += e.lost;
    tot.TotScored += e.runs_scored;
    tot.TotAllowed += e.runs_allowed;
    tot.TotSHO += e.shutouts;
    tot.TotGDP += e.double_plays;
    tot.TotLOB += e.left_on_base;
}

void Append_Post_Season(TeamPassState& st, const StandingsEntry& e) {
    if (e.PostSeasonRec > 0) st.PostSeasonRecs.push_back(e.PostSeasonRec);
}

// One season row at TeamRow on "Team Records".
void Write_Season_Row(TeamPass& p, const StandingsEntry& e) {
    wb::Workbook& wb = p.wb;
    const int32_t r = p.st.TeamRow;
    wb.cell(A, r).Value(p.tables.league_name(e.league_id));
    wb.cell(B, r).Value(e.Division);
    wb.cell(C, r).Value(e.SeasonTeamName);
    wb.cell(D, r).Value(e.year);
    wb.cell(H, r).Value(e.GamesBehind);
    wb.cell(I, r).Value(e.Finish);
    p.st.LinePct = put_figures(wb, r, kOnTeamRecords, {e.won, e.lost, e.runs_scored, e.runs_allowed, e.shutouts, e.double_plays, e.left_on_base});
}

// Title, headers and first season row of a team's section. The first
// section starts at row 1; later ones leave one empty row above the title.
void Open_Team_Section(TeamPass& p, const StandingsEntry& e, bool first_section) {
    TeamPassState& st = p.st;
    p.wb.Activate(sheets::kTeamRecords);
    st.SectionTeamName = p.tables.team_season_name(e.team_id);
    if (first_section) {
        st.FirstDataRow = 3;
    } else {
        ++st.TeamRow;
        st.FirstDataRow = st.TeamRow + 3;
    }
    st.Totals = TeamTotals{};
    st.PostSeasonRecs.clear();
    st.SectionLeagueId = e.league_id;
    Do_Team_Rec_Headers(p.wb, st, p.tables);
    ++st.TeamRow;
    Add_To_Team_Totals(st.Totals, e);
    Append_Post_Season(st, e);
    Write_Season_Row(p, e);
}

// A further entry of the section's team. A second entry in the year the
// section began with gets its own title and headers.
void Write_Further_Entry(TeamPass& p, const StandingsEntry& e, int32_t section_year) {
    TeamPassState& st = p.st;
    if (e.year == section_year) {
        st.SectionLeagueId = e.league_id;
        Do_Team_Rec_Headers(p.wb, st, p.tables);
        ++st.TeamRow;
        Write_Season_Row(p, e);
    } else {
        ++st.TeamRow;
        Write_Season_Row(p, e);
        st.LastDataRow = st.TeamRow;
    }
    Add_To_Team_Totals(st.Totals, e);
    Append_Post_Season(st, e);
}

// Outline, totals row, post-season blocks and the "TeamRegTotals" row.
void Close_Team_Section(TeamPass& p, int32_t team_id) {
    TeamPassState& st = p.st;
    Do_Team_Borders(p.wb, st);
    Do_Team_Totals(p.wb, st);
    if (!st.PostSeasonRecs.empty()) Do_Post_Seasons(p.wb, st, p.tables, p.team_seasons, p.ctx.counters);
    sheets::COL_AUTOFIT(p.wb);
    p.wb.Activate(sheets::kTeamRegTotals);
    if (st.TeamRegLine == 0) {
        st.TeamRegLine = 1;
        TeamSumHeaders(p.wb, st.TeamRegLine);
    }
    st.SumTeamName = p.tables.team_season_name(team_id);
    ++st.TeamRegLine;
    TeamSumTotals(p.wb, st, p.tables, st.TeamRegLine);
    st.PostSeasonRecs.clear();
}

// The consecutive entries [first, last) of one team number.
void Write_Team(TeamPass& p, const std::vector<StandingsEntry>& standings, std::size_t first,
                std::size_t last) {
    const StandingsEntry& opening = Unravel_Standings(standings, first);
    Open_Team_Section(p, opening, first == 0);
    for (std::size_t i = first + 1; i < last; ++i)
        Write_Further_Entry(p, Unravel_Standings(standings, i), opening.year);
    Close_Team_Section(p, opening.team_id);
}

void report(TeamPass& p, const StandingsEntry& e, const std::exception& error) {
    if (!p.ctx.notice) return;
    std::string name = p.tables.team_season_name(e.team_id);
    if (name.empty()) name = "team " + std::to_string(e.team_id);
    p.ctx.notice("Team Records: the section of " + name + " may be incomplete (" + error.what() + ")",
                 e.RecordNumber, e.team_id);
}

}  // namespace

bool Do_Teams(TeamPassContext& ctx) {
    // A. Tables.
    TeamPass p{ctx, ctx.workbook, {}, ctx.team_seasons, {}};
    p.tables = Build_League_Tables(ctx.league_seasons, ctx.leagues, p.team_seasons);
    const std::vector<LstxItem> lstx = Build_Lstx(p.team_seasons, p.tables, ctx.team_table);

    // B. Standings.
    const std::vector<StandingsEntry> lstStandings = Unravel_lstx(lstx);
    if (lstStandings.empty()) return true;  // no team season: nothing to write

    // C. One section per team number, in standings order. A failure on one
    // team costs only that team; a sheet past its last row ends the run.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < lstStandings.size(); ++i)
        if (i == 0 || lstStandings[i].team_id != lstStandings[i - 1].team_id) starts.push_back(i);
    const auto total = static_cast<int64_t>(starts.size());
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const std::size_t first = starts[k];
        const std::size_t last = k + 1 < starts.size() ? starts[k + 1] : lstStandings.size();
        try {
            Write_Team(p, lstStandings, first, last);
        } catch (const wb::WorkbookError&) {
            throw;
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception& error) {
            report(p, lstStandings[first], error);
        }
        if (ctx.step && !ctx.step(static_cast<int64_t>(k) + 1, total)) return false;
    }

    // D. The outline of "TeamRegTotals".
    ctx.workbook.Activate(sheets::kTeamRegTotals);
    if (p.st.TeamRegLine > 0) {
        TeamSumBorders(ctx.workbook, p.st.TeamRegLine);
        sheets::Set_Totals_View(ctx.workbook, sheets::kTeamRegTotals, C, C, K, p.st.TeamRegLine);
    }
    sheets::COL_AUTOFIT(ctx.workbook);
    return true;
}

}  // namespace tb::teams
