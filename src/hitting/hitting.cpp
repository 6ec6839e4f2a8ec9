#include "hitting/hitting.h"

#include "sheets/figures.h"
#include "sheets/player_block.h"

#include <array>

namespace tb::hitting {

namespace {

using sheets::Where;

constexpr int A = 0, B = 1, C = 2, D = 3;

// What a hitting row shows: its rates, its OPS and its counts.
struct HittingRow {
    rates::BattingRates rates;
    double ops;
    HittingCounts c;
};

constexpr const char* kRate = "#.000";

const std::array<sheets::FigureColumn<HittingRow>, 22> kFigures = {{
    {"BAVG", "BAVG", kRate, kRate, [](const HittingRow& r) { return r.rates.BAVG; }},
    {"OBP", "OBP", kRate, kRate, [](const HittingRow& r) { return r.rates.OBP; }},
    {"SPC", "SPC", kRate, kRate, [](const HittingRow& r) { return r.rates.SPC; }},
    {"OPS", "OPS", kRate, kRate, [](const HittingRow& r) { return r.ops; }},
    {"PA", "PA", "", "", [](const HittingRow& r) { return double(r.c.PA); }},
    {"AB", "AB", "", "", [](const HittingRow& r) { return double(r.c.AB); }},
    {"H", "H", "", "", [](const HittingRow& r) { return double(r.c.H); }},
    {"2B", "2B", "", "", [](const HittingRow& r) { return double(r.c.Doubles); }},
    {"3B", "3B", "", "", [](const HittingRow& r) { return double(r.c.Triples); }},
    {"HR", "HR", "", "", [](const HittingRow& r) { return double(r.c.HR); }},
    {"R", "R", "", "", [](const HittingRow& r) { return double(r.c.R); }},
    {"RBI", "RBI", "", "", [](const HittingRow& r) { return double(r.c.RBI); }},
    {"HBP", "HBP", "", "", [](const HittingRow& r) { return double(r.c.HBP); }},
    {"BB", "BB", "", "", [](const HittingRow& r) { return double(r.c.BB); }},
    {"IBB", "IBB", "", "", [](const HittingRow& r) { return double(r.c.IBB); }},
    {"K", "K", "", "", [](const HittingRow& r) { return double(r.c.K); }},
    {"SB", "SB", "", "", [](const HittingRow& r) { return double(r.c.SB); }},
    {"CS", "CS", "", "", [](const HittingRow& r) { return double(r.c.CS); }},
    {"SH", "SH", "", "", [](const HittingRow& r) { return double(r.c.SH); }},
    {"SF", "SF", "", "", [](const HittingRow& r) { return double(r.c.SF); }},
    {"GIDP", "GDP", "", "", [](const HittingRow& r) { return double(r.c.GIDP); }},
    {"TB", "TB", "", "", [](const HittingRow& r) { return double(r.c.TB); }},
}};

HittingRow line_row(const HittingCounts& c) {
    const rates::BattingRates r = rates::batting_rates(c.batting());
    return {r, r.line_ops(), c};
}

HittingRow totals_row(const HittingCounts& c) {
    const rates::BattingRates r = rates::batting_rates(c.batting());
    return {r, r.totals_ops(), c};
}

}  // namespace

HittingCounts& HittingCounts::operator+=(const HittingCounts& o) {
    PA += o.PA, AB += o.AB, H += o.H, Doubles += o.Doubles, Triples += o.Triples, HR += o.HR, R += o.R;
    RBI += o.RBI, HBP += o.HBP, BB += o.BB, IBB += o.IBB, K += o.K, SB += o.SB, CS += o.CS, SH += o.SH;
    SF += o.SF, GIDP += o.GIDP, TB += o.TB, OB += o.OB;
    return *this;
}

HittingCounts line_counts(const enc::StatsLine& rec) {
    HittingCounts c;
    c.PA = rates::plate_appearances(rec.hitting.at_bats, rec.hitting.walks, rec.hitting.hit_by_pitch, rec.hitting.sacrifice_flies);
    c.AB = rec.hitting.at_bats;
    c.H = rec.hitting.hits;
    c.Doubles = rec.hitting.doubles;
    c.Triples = rec.hitting.triples;
    c.HR = rec.hitting.home_runs;
    c.R = rec.hitting.runs;
    c.RBI = rec.hitting.runs_batted_in;
    c.HBP = rec.hitting.hit_by_pitch;
    c.BB = rec.hitting.walks;
    c.IBB = rec.hitting.intentional_walks;
    c.K = rec.hitting.strikeouts;
    c.SB = rec.hitting.stolen_bases;
    c.CS = rec.hitting.caught_stealing;
    c.SH = rec.hitting.sacrifice_hits;
    c.SF = rec.hitting.sacrifice_flies;
    c.GIDP = rec.hitting.double_plays;
    c.TB = rates::total_bases(rec.hitting.hits, rec.hitting.doubles, rec.hitting.triples, rec.hitting.home_runs);
    c.OB = rates::times_on_base(rec.hitting.hits, rec.hitting.walks, rec.hitting.hit_by_pitch);
    return c;
}

void Hitting_Header(wb::Workbook& W, int32_t row) {
    sheets::column_titles(W, row, sheets::titles({"Year", "Team", "Age"}, kFigures, Where::Block), 19, true);
}

void Hitter_EntryLine(wb::Workbook& W, int32_t r, int32_t year, std::string_view team, std::optional<int32_t> age,
                      const HittingCounts& line) {
    sheets::season_line_lead(W, r, year, team, age);
    sheets::put_figures(W, r, D, kFigures, line_row(line), Where::Block);
    sheets::line_sides(W, r, kLastBlockColumn);
}

void Hitter_TotalLine(wb::Workbook& W, int32_t r, const HittingCounts& totals) {
    sheets::totals_line_lead(W, r);
    sheets::put_figures(W, r, D, kFigures, totals_row(totals), Where::Block);
    sheets::totals_row_borders(W, r, kLastBlockColumn);
}

void HitSumHeader(wb::Workbook& W, int32_t LineNo) {
    sheets::put_titles(W, LineNo, sheets::titles({"Player", "Last Yr"}, kFigures, Where::TotalsSheet));
}

void HitSumTotals(wb::Workbook& W, int32_t n, std::string_view name, int32_t last_year, const HittingCounts& totals) {
    W.cell(A, n).Value(name);
    W.cell(B, n).Value(last_year);
    sheets::put_figures(W, n, C, kFigures, totals_row(totals), Where::TotalsSheet);
    for (int edge : {wb::xlEdgeTopOfRange, wb::xlEdgeBottom, wb::xlEdgeRight, wb::xlEdgeLeft})
        W.block(A, n, kLastSumColumn, n).Borders(edge).Weight(wb::xlMedium);
}

}  // namespace tb::hitting
