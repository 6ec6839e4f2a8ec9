#include "teams/post_seasons.h"

#include <stdexcept>
#include <string>

namespace tb::teams {

namespace {

struct PostSeasonPhase {
    std::string_view code;
    std::string_view title;
    std::string_view sheet;
    enc::TeamPhaseTotals enc::TeamSeasonRecord::*block;
    int32_t sheets::TeamTotalsCounters::*counter;
};

constexpr PostSeasonPhase kPhases[] = {
    {"DCS", "Divisional Championship", "TeamDCSTotals", &enc::TeamSeasonRecord::DivTotals,
     &sheets::TeamTotalsCounters::TeamDCSLine},
    {"LCS", "League Championship", "TeamLCSTotals", &enc::TeamSeasonRecord::LcsTotals,
     &sheets::TeamTotalsCounters::TeamLCSLine},
    {"WS", "World Series", "TeamWSTotals", &enc::TeamSeasonRecord::WsTotals,
     &sheets::TeamTotalsCounters::TeamWSLine},
};

// Totals of one phase over the team's seasons.
struct PhaseTotals {
    int64_t PhWon = 0, PhLost = 0, PhScored = 0, PhAllowed = 0, PhSHO = 0, PhGDP = 0, PhLOB = 0;
    void add(const enc::TeamPhaseTotals& b) {
        PhWon += b.Won;
        PhLost += b.Lost;
        PhScored += b.Scored;
        PhAllowed += b.Allowed;
        PhSHO += b.SHO;
        PhGDP += b.GDP;
        PhLOB += b.LOB;
    }
    bool played() const { return PhWon > 0 || PhLost > 0; }
};

void medium_sides_and_bottom(wb::Range range) {
    for (int edge : {wb::xlEdgeRight, wb::xlEdgeLeft, wb::xlEdgeBottom})
        range.Borders(edge).Weight(wb::xlMedium);
}

const enc::TeamSeasonRecord& read_by_number(const std::vector<enc::TeamSeasonRecord>& records,
                                            int32_t record_number) {
    if (record_number < 1 || static_cast<std::size_t>(record_number) > records.size())
        throw std::out_of_range("team-season record " + std::to_string(record_number) + " does not exist");
    return records[static_cast<std::size_t>(record_number) - 1];
}

// One season row of a phase block at TeamRow.
void write_phase_season(wb::Workbook& wb, TeamPassState& st, const PostSeasonPhase& phase,
                        const enc::TeamSeasonRecord& rec, const enc::TeamPhaseTotals& b) {
    const int32_t r = st.TeamRow;
    wb.range(cell_address("D", r)).Value(static_cast<int32_t>(rec.SeasonYear));
    st.LinePct = put_record_figures(wb, r, {b.Won, b.Lost, b.Scored, b.Allowed, b.SHO, b.GDP, b.LOB});
    if (phase.code == "DCS") wb.range(cell_address("D", r)).Borders(wb::xlEdgeTop).Weight(wb::xlMedium);
    medium_sides_and_bottom(wb.range(range_address("D", r, "G", r)));
    medium_sides_and_bottom(wb.range(range_address("J", r, "N", r)));
}

// The phase totals row on "Team Records" at TeamRow.
void write_phase_totals(wb::Workbook& wb, TeamPassState& st, const PhaseTotals& ph) {
    const int32_t t = st.TeamRow;
    st.LinePct = put_record_figures(wb, t, {ph.PhWon, ph.PhLost, ph.PhScored, ph.PhAllowed, ph.PhSHO, ph.PhGDP, ph.PhLOB});
    const std::string left = range_address("E", t, "G", t);
    const std::string right = range_address("J", t, "N", t);
    medium_sides_and_bottom(wb.range(left));
    medium_sides_and_bottom(wb.range(right));
    for (const std::string* address : {&left, &right})
        for (int edge : {wb::xlEdgeRight, wb::xlEdgeLeft, wb::xlEdgeBottom})
            wb.range(*address).Borders(edge).Color(wb::xlRed);
}

// The team's row on the phase's totals sheet (the header row first when the
// sheet has none yet). Activates that sheet.
void write_phase_sheet_row(wb::Workbook& wb, const TeamPassState& st, const LeagueTables& tables,
                           const PostSeasonPhase& phase, int32_t& counter, const PhaseTotals& ph,
                           int32_t last_league_id) {
    wb.Activate(phase.sheet);
    if (counter == 1) {
        const int32_t h = counter;
        const std::pair<std::string_view, std::string_view> headers[] = {
            {"D", "Team"}, {"E", "Won"}, {"F", "Lost"}, {"G", "PCT"}, {"H", "Scored"},
            {"I", "Allowed"}, {"J", "SHO"}, {"K", "GDP"}, {"L", "LOB"}};
        for (const auto& [column, text] : headers) wb.range(cell_address(column, h)).Value(text);
        medium_sides_and_bottom(wb.range(range_address("D", h, "L", h)));
        wb.range(range_address("D", h, "L", h)).InteriorColorIndex(kTeamTotalsHeaderColor);
    }
    ++counter;
    const int32_t s = counter;
    wb.range(cell_address("G", s)).NumberFormat("#.000");
    wb.range(cell_address("D", s)).Value(st.SectionTeamName);
    wb.range(cell_address("E", s)).Value(ph.PhWon);
    wb.range(cell_address("F", s)).Value(ph.PhLost);
    wb.range(cell_address("G", s)).Value(st.LinePct);
    wb.range(cell_address("H", s)).Value(ph.PhScored);
    wb.range(cell_address("I", s)).Value(ph.PhAllowed);
    wb.range(cell_address("J", s)).Value(ph.PhSHO);
    wb.range(cell_address("K", s)).Value(ph.PhGDP);
    wb.range(cell_address("L", s)).Value(ph.PhLOB);
    medium_sides_and_bottom(wb.range(range_address("D", s, "L", s)));
    league_fill(wb.range(range_address("D", s, "L", s)), tables.league_color(last_league_id));
}

void Do_Post_Season_Phase(wb::Workbook& wb, TeamPassState& st, const LeagueTables& tables,
                          const std::vector<enc::TeamSeasonRecord>& team_seasons,
                          sheets::TeamTotalsCounters& counters, const PostSeasonPhase& phase) {
    PhaseTotals ph;
    bool first_row = true;
    int32_t last_league_id = 0;
    for (int32_t record_number : st.PostSeasonRecs) {
        const enc::TeamSeasonRecord& rec = read_by_number(team_seasons, record_number);
        last_league_id = rec.LeagueId;
        const enc::TeamPhaseTotals& b = rec.*phase.block;
        if (b.Won == 0 && b.Lost == 0) continue;
        ++st.TeamRow;
        if (first_row) Do_Team_PS_Headers(wb, st, tables, phase.code, rec.LeagueId);
        first_row = false;
        write_phase_season(wb, st, phase, rec, b);
        ph.add(b);
    }
    if (!ph.played()) return;

    ++st.TeamRow;
    write_phase_totals(wb, st, ph);
    write_phase_sheet_row(wb, st, tables, phase, counters.*phase.counter, ph, last_league_id);
    if (phase.code == "DCS")
        wb.range("D:L").ColumnsAutoFit();
    else
        sheets::COL_AUTOFIT(wb);
    if (phase.code != "WS") wb.Activate(kTeamRecordsSheet);
}

}  // namespace

void Do_Team_PS_Headers(wb::Workbook& wb, const TeamPassState& st, const LeagueTables& tables,
                        std::string_view phase_code, int32_t league_id) {
    const int32_t r = st.TeamRow;
    wb.range(range_address("A", r, "C", r)).Merge();
    league_fill(wb.range(range_address("A", r, "C", r)), tables.league_color(league_id));
    const std::string top = range_address("A", r, "D", r);
    const std::string title = range_address("A", r, "C", r);
    const std::pair<const std::string*, int> edges[] = {
        {&top, wb::xlEdgeTop}, {&title, wb::xlEdgeLeft}, {&title, wb::xlEdgeRight},
        {&title, wb::xlEdgeBottom}};
    for (const auto& [address, edge] : edges) wb.range(*address).Borders(edge).LineStyle(wb::xlContinuous);
    for (const auto& [address, edge] : edges) wb.range(*address).Borders(edge).Weight(wb::xlMedium);

    std::string_view text;
    for (const auto& phase : kPhases)
        if (phase.code == phase_code) text = phase.title;
    if (text.empty()) return;
    wb.range(cell_address("A", r)).Value(text);
    wb.range(cell_address("A", r)).FontBold(true);
    wb.range(cell_address("A", r)).FontSize(10);
}

void Do_Post_Seasons(wb::Workbook& wb, TeamPassState& st, const LeagueTables& tables,
                     const std::vector<enc::TeamSeasonRecord>& team_seasons,
                     sheets::TeamTotalsCounters& counters) {
    for (const auto& phase : kPhases) Do_Post_Season_Phase(wb, st, tables, team_seasons, counters, phase);
}

}  // namespace tb::teams
