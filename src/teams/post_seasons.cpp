#include "teams/post_seasons.h"

#include "sheets/sheet_names.h"

#include <stdexcept>
#include <string>

namespace tb::teams {

namespace {

struct PostSeasonPhase {
    std::string_view code;
    std::string_view title;
    std::string_view sheet;
    enc::PhaseRecord enc::TeamSeason::*block;
    int32_t sheets::TeamTotalsCounters::*counter;
};

constexpr PostSeasonPhase kPhases[] = {
    {"DCS", "Divisional Championship", sheets::kTeamTotals[2], &enc::TeamSeason::division_series,
     &sheets::TeamTotalsCounters::TeamDCSLine},
    {"LCS", "League Championship", sheets::kTeamTotals[3], &enc::TeamSeason::championship_series,
     &sheets::TeamTotalsCounters::TeamLCSLine},
    {"WS", "World Series", sheets::kTeamTotals[4], &enc::TeamSeason::world_series,
     &sheets::TeamTotalsCounters::TeamWSLine},
};

// Totals of one phase over the team's seasons.
struct PhaseTotals {
    int64_t PhWon = 0, PhLost = 0, PhScored = 0, PhAllowed = 0, PhSHO = 0, PhGDP = 0, PhLOB = 0;
    void add(const enc::PhaseRecord& b) {
        PhWon += b.won;
        PhLost += b.lost;
        PhScored += b.runs_scored;
        PhAllowed += b.runs_allowed;
        PhSHO += b.shutouts;
        PhGDP += b.double_plays;
        PhLOB += b.left_on_base;
    }
    bool played() const { return PhWon > 0 || PhLost > 0; }
    RecordFigures figures() const { return {PhWon, PhLost, PhScored, PhAllowed, PhSHO, PhGDP, PhLOB}; }
};

void medium_sides_and_bottom(wb::Range range) {
    for (int edge : {wb::xlEdgeRight, wb::xlEdgeLeft, wb::xlEdgeBottom})
        range.Borders(edge).Weight(wb::xlMedium);
}

const enc::TeamSeason& read_by_number(const std::vector<enc::TeamSeason>& records,
                                            int32_t record_number) {
    if (record_number < 1 || static_cast<std::size_t>(record_number) > records.size())
        throw std::out_of_range("team-season record " + std::to_string(record_number) + " does not exist");
    return records[static_cast<std::size_t>(record_number) - 1];
}

// One season row of a phase block at TeamRow.
void write_phase_season(wb::Workbook& wb, TeamPassState& st, const PostSeasonPhase& phase,
                        const enc::TeamSeason& rec, const enc::PhaseRecord& b) {
    const int32_t r = st.TeamRow;
    wb.cell(D, r).Value(static_cast<int32_t>(rec.year));
    st.LinePct = put_figures(wb, r, kOnTeamRecords, {b.won, b.lost, b.runs_scored, b.runs_allowed, b.shutouts, b.double_plays, b.left_on_base});
    if (phase.code == "DCS") wb.cell(D, r).Borders(wb::xlEdgeTop).Weight(wb::xlMedium);
    medium_sides_and_bottom(wb.block(D, r, G, r));
    medium_sides_and_bottom(wb.block(J, r, N, r));
}

// The phase totals row on "Team Records" at TeamRow.
void write_phase_totals(wb::Workbook& wb, TeamPassState& st, const PhaseTotals& ph) {
    const int32_t t = st.TeamRow;
    st.LinePct = put_figures(wb, t, kOnTeamRecords, ph.figures());
    for (const auto& [c1, c2] : {std::pair{E, G}, std::pair{J, N}}) {
        medium_sides_and_bottom(wb.block(c1, t, c2, t));
        for (int edge : {wb::xlEdgeRight, wb::xlEdgeLeft, wb::xlEdgeBottom})
            wb.block(c1, t, c2, t).Borders(edge).Color(wb::xlRed);
    }
}

// The team's row on the phase's totals sheet (the header row first when the
// sheet has none yet). Activates that sheet.
void write_phase_sheet_row(wb::Workbook& wb, const TeamPassState& st, const LeagueTables& tables,
                           const PostSeasonPhase& phase, int32_t& counter, const PhaseTotals& ph,
                           int32_t last_league_id) {
    wb.Activate(phase.sheet);
    if (counter == 1) {
        const int32_t h = counter;
        wb.cell(D, h).Value("Team");
        put_figure_titles(wb, h, kOnPostSeasonSheet);
        medium_sides_and_bottom(wb.block(D, h, L, h));
        wb.block(D, h, L, h).InteriorColorIndex(kTeamTotalsHeaderColor);
    }
    ++counter;
    const int32_t s = counter;
    wb.cell(D, s).Value(st.SectionTeamName);
    put_figures(wb, s, kOnPostSeasonSheet, ph.figures());
    medium_sides_and_bottom(wb.block(D, s, L, s));
    league_fill(wb.block(D, s, L, s), tables.league_color(last_league_id));
}

void Do_Post_Season_Phase(wb::Workbook& wb, TeamPassState& st, const LeagueTables& tables,
                          const std::vector<enc::TeamSeason>& team_seasons,
                          sheets::TeamTotalsCounters& counters, const PostSeasonPhase& phase) {
    PhaseTotals ph;
    bool first_row = true;
    int32_t last_league_id = 0;
    for (int32_t record_number : st.PostSeasonRecs) {
        const enc::TeamSeason& rec = read_by_number(team_seasons, record_number);
        last_league_id = rec.league_id;
        const enc::PhaseRecord& b = rec.*phase.block;
        if (b.won == 0 && b.lost == 0) continue;
        ++st.TeamRow;
        if (first_row) Do_Team_PS_Headers(wb, st, tables, phase.code, rec.league_id);
        first_row = false;
        write_phase_season(wb, st, phase, rec, b);
        ph.add(b);
    }
    if (!ph.played()) return;

    ++st.TeamRow;
    write_phase_totals(wb, st, ph);
    write_phase_sheet_row(wb, st, tables, phase, counters.*phase.counter, ph, last_league_id);
    if (phase.code == "DCS")
        sheets::autofit_columns(wb, D, L);
    else
        sheets::COL_AUTOFIT(wb);
    if (phase.code != "WS") wb.Activate(sheets::kTeamRecords);
}

}  // namespace

void Do_Team_PS_Headers(wb::Workbook& wb, const TeamPassState& st, const LeagueTables& tables,
                        std::string_view phase_code, int32_t league_id) {
    const int32_t r = st.TeamRow;
    wb.block(A, r, C, r).Merge();
    league_fill(wb.block(A, r, C, r), tables.league_color(league_id));
    const auto edges = [&](auto put) {
        put(wb.block(A, r, D, r).Borders(wb::xlEdgeTop));
        put(wb.block(A, r, C, r).Borders(wb::xlEdgeLeft));
        put(wb.block(A, r, C, r).Borders(wb::xlEdgeRight));
        put(wb.block(A, r, C, r).Borders(wb::xlEdgeBottom));
    };
    edges([](wb::Border b) { b.LineStyle(wb::xlContinuous); });
    edges([](wb::Border b) { b.Weight(wb::xlMedium); });

    std::string_view text;
    for (const auto& phase : kPhases)
        if (phase.code == phase_code) text = phase.title;
    if (text.empty()) return;
    wb.cell(A, r).Value(text);
    wb.cell(A, r).FontBold(true);
    wb.cell(A, r).FontSize(10);
}

void Do_Post_Seasons(wb::Workbook& wb, TeamPassState& st, const LeagueTables& tables,
                     const std::vector<enc::TeamSeason>& team_seasons,
                     sheets::TeamTotalsCounters& counters) {
    for (const auto& phase : kPhases) Do_Post_Season_Phase(wb, st, tables, team_seasons, counters, phase);
}

}  // namespace tb::teams
