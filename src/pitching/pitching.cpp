#include "pitching/pitching.h"

#include "rates/rates.h"
#include "sheets/figures.h"
#include "sheets/player_block.h"

#include <array>

namespace tb::pitching {

namespace {

using sheets::Where;

constexpr int A = 0, B = 1, C = 2, D = 3;

struct PitchingRow {
    double era, pct, innings, oba;
    PitchingCounts c;
};

PitchingRow row_of(const PitchingCounts& c) {
    return {rates::era(c.ER, c.Outs), rates::pct(c.W, c.L), CALC_INNINGS(c.Outs), rates::oba(c.H, c.AB), c};
}

constexpr const char* kRate = "#.000";

const std::array<sheets::FigureColumn<PitchingRow>, 25> kFigures = {{
    {"ERA", "ERA", "##0.00", "##0.00", [](const PitchingRow& r) { return r.era; }},
    {"W", "W", "", "", [](const PitchingRow& r) { return double(r.c.W); }},
    {"L", "L", "", "", [](const PitchingRow& r) { return double(r.c.L); }},
    {"PCT", "PCT", kRate, kRate, [](const PitchingRow& r) { return r.pct; }},
    {"SV", "SV", "", "", [](const PitchingRow& r) { return double(r.c.SV); }},
    {"HLD", "HLD", "", "", [](const PitchingRow& r) { return double(r.c.HLD); }},
    {"BLS", "BLS", "", "", [](const PitchingRow& r) { return double(r.c.BLS); }},
    {"G", "G", "", "", [](const PitchingRow& r) { return double(r.c.G); }},
    {"GS", "GS", "", "", [](const PitchingRow& r) { return double(r.c.GS); }},
    {"CG", "CG", "", "", [](const PitchingRow& r) { return double(r.c.CG); }},
    {"SHO", "SHO", "", "", [](const PitchingRow& r) { return double(r.c.shutouts); }},
    {"IP", "IP", "0.0", "#0.0", [](const PitchingRow& r) { return r.innings; }},
    {"BF", "BF", "", "", [](const PitchingRow& r) { return double(r.c.BF); }},
    {"AB", "AB", "", "", [](const PitchingRow& r) { return double(r.c.AB); }},
    {"H", "H", "", "", [](const PitchingRow& r) { return double(r.c.H); }},
    {"OBA", "OBA", kRate, kRate, [](const PitchingRow& r) { return r.oba; }},
    {"R", "R", "", "", [](const PitchingRow& r) { return double(r.c.R); }},
    {"ER", "ER", "", "", [](const PitchingRow& r) { return double(r.c.ER); }},
    {"BB", "BB", "", "", [](const PitchingRow& r) { return double(r.c.BB); }},
    {"IBB", "IBB", "", "", [](const PitchingRow& r) { return double(r.c.IBB); }},
    {"K", "K", "", "", [](const PitchingRow& r) { return double(r.c.K); }},
    {"HR", "HR", "", "", [](const PitchingRow& r) { return double(r.c.HR); }},
    {"GDP", "GDP", "", "", [](const PitchingRow& r) { return double(r.c.double_plays); }},
    {"WP", "WP", "", "", [](const PitchingRow& r) { return double(r.c.WP); }},
    {"BK", "BK", "", "", [](const PitchingRow& r) { return double(r.c.BK); }},
}};

}  // namespace

PitchingCounts& PitchingCounts::operator+=(const PitchingCounts& o) {
    W += o.W, L += o.L, SV += o.SV, HLD += o.HLD, BLS += o.BLS, G += o.G, GS += o.GS, CG += o.CG, shutouts += o.shutouts;
    Outs += o.Outs, BF += o.BF, AB += o.AB, H += o.H, R += o.R, ER += o.ER, BB += o.BB, IBB += o.IBB, K += o.K;
    HR += o.HR, double_plays += o.double_plays, WP += o.WP, BK += o.BK;
    return *this;
}

PitchingCounts line_counts(const enc::StatsLine& rec) {
    PitchingCounts c;
    c.W = rec.pitching.wins;
    c.L = rec.pitching.losses;
    c.SV = rec.pitching.saves;
    c.HLD = rec.pitching.holds;
    c.BLS = rec.pitching.blown_saves;
    c.G = rec.pitching.games;
    c.GS = rec.pitching.games_started;
    c.CG = rec.pitching.complete_games;
    c.shutouts = rec.pitching.shutouts;
    c.Outs = rec.pitching.outs;
    c.BF = rec.pitching.batters_faced;
    c.AB = rec.pitching.at_bats;
    c.H = rec.pitching.hits;
    c.R = rec.pitching.runs;
    c.ER = rec.pitching.earned_runs;
    c.BB = rec.pitching.walks;
    c.IBB = rec.pitching.intentional_walks;
    c.K = rec.pitching.strikeouts;
    c.HR = rec.pitching.home_runs;
    c.double_plays = rec.pitching.double_plays;
    c.WP = rec.pitching.wild_pitches;
    c.BK = rec.pitching.balks;
    return c;
}

double CALC_INNINGS(int64_t OutsToConvert) { return rates::innings_of_outs(OutsToConvert); }

void Pitching_Header(wb::Workbook& W, int32_t row) {
    sheets::column_titles(W, row, sheets::titles({"Year", "Team", "Age"}, kFigures, Where::Block), 20, false);
}

void Pitcher_EntryLine(wb::Workbook& W, int32_t r, int32_t year, std::string_view team, std::optional<int32_t> age,
                       const PitchingCounts& line) {
    sheets::season_line_lead(W, r, year, team, age);
    sheets::put_figures(W, r, D, kFigures, row_of(line), Where::Block);
    sheets::line_sides(W, r, kLastBlockColumn);
}

void Pitcher_TotalLine(wb::Workbook& W, int32_t r, const PitchingCounts& totals) {
    sheets::totals_line_lead(W, r);
    sheets::put_figures(W, r, D, kFigures, row_of(totals), Where::Block);
    sheets::totals_row_borders(W, r, kLastBlockColumn);
}

void PitchSumHeader(wb::Workbook& W, int32_t LineNo) {
    sheets::put_titles(W, LineNo, sheets::titles({"Player", "Last Yr"}, kFigures, Where::TotalsSheet));
}

void PitchSumTotals(wb::Workbook& W, int32_t n, std::string_view name, int32_t last_year,
                    const PitchingCounts& totals) {
    W.cell(A, n).Value(name);
    W.cell(B, n).Value(last_year);
    sheets::put_figures(W, n, C, kFigures, row_of(totals), Where::TotalsSheet);
    for (int edge : {wb::xlEdgeTopOfRange, wb::xlEdgeBottom, wb::xlEdgeRight, wb::xlEdgeLeft})
        W.block(A, n, kLastSumColumn, n).Borders(edge).Weight(wb::xlMedium);
}

}  // namespace tb::pitching
