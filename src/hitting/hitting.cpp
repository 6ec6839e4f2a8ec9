#include "hitting/hitting.h"

namespace tb::hitting {

namespace {
constexpr std::string_view kRate = "#.000";
}

const std::array<rates::FigureColumn, kFigureCount> kColumns = {{
    {"BAVG", "BAVG", kRate, kRate},
    {"OBP", "OBP", kRate, kRate},
    {"SPC", "SPC", kRate, kRate},
    {"OPS", "OPS", kRate, kRate},
    {"PA", "PA", "", ""},
    {"AB", "AB", "", ""},
    {"H", "H", "", ""},
    {"2B", "2B", "", ""},
    {"3B", "3B", "", ""},
    {"HR", "HR", "", ""},
    {"R", "R", "", ""},
    {"RBI", "RBI", "", ""},
    {"HBP", "HBP", "", ""},
    {"BB", "BB", "", ""},
    {"IBB", "IBB", "", ""},
    {"K", "K", "", ""},
    {"SB", "SB", "", ""},
    {"CS", "CS", "", ""},
    {"SH", "SH", "", ""},
    {"SF", "SF", "", ""},
    {"GIDP", "GDP", "", ""},
    {"TB", "TB", "", ""},
}};

HittingCounts& HittingCounts::operator+=(const HittingCounts& o) {
    plate_appearances += o.plate_appearances, at_bats += o.at_bats, hits += o.hits, doubles += o.doubles;
    triples += o.triples, home_runs += o.home_runs, runs += o.runs, runs_batted_in += o.runs_batted_in;
    hit_by_pitch += o.hit_by_pitch, walks += o.walks, intentional_walks += o.intentional_walks;
    strikeouts += o.strikeouts, stolen_bases += o.stolen_bases, caught_stealing += o.caught_stealing;
    sacrifice_hits += o.sacrifice_hits, sacrifice_flies += o.sacrifice_flies, double_plays += o.double_plays;
    total_bases += o.total_bases, times_on_base += o.times_on_base;
    return *this;
}

rates::BattingCounts HittingCounts::batting() const {
    return {at_bats, hits, total_bases, times_on_base, plate_appearances};
}

HittingCounts line_counts(const enc::HittingFigures& l) {
    HittingCounts c;
    c.plate_appearances = rates::plate_appearances(l.at_bats, l.walks, l.hit_by_pitch, l.sacrifice_flies);
    c.at_bats = l.at_bats;
    c.hits = l.hits;
    c.doubles = l.doubles;
    c.triples = l.triples;
    c.home_runs = l.home_runs;
    c.runs = l.runs;
    c.runs_batted_in = l.runs_batted_in;
    c.hit_by_pitch = l.hit_by_pitch;
    c.walks = l.walks;
    c.intentional_walks = l.intentional_walks;
    c.strikeouts = l.strikeouts;
    c.stolen_bases = l.stolen_bases;
    c.caught_stealing = l.caught_stealing;
    c.sacrifice_hits = l.sacrifice_hits;
    c.sacrifice_flies = l.sacrifice_flies;
    c.double_plays = l.double_plays;
    c.total_bases = rates::total_bases(l.hits, l.doubles, l.triples, l.home_runs);
    c.times_on_base = rates::times_on_base(l.hits, l.walks, l.hit_by_pitch);
    return c;
}

std::array<double, kFigureCount> figures(const HittingCounts& c, RowKind kind) {
    const rates::BattingRates r = rates::batting_rates(c.batting());
    const double ops = kind == RowKind::SeasonLine ? r.line_ops() : r.totals_ops();
    auto d = [](int64_t v) { return static_cast<double>(v); };
    return {r.batting_average, r.on_base, r.slugging, ops, d(c.plate_appearances), d(c.at_bats), d(c.hits),
            d(c.doubles), d(c.triples), d(c.home_runs), d(c.runs), d(c.runs_batted_in), d(c.hit_by_pitch),
            d(c.walks), d(c.intentional_walks), d(c.strikeouts), d(c.stolen_bases), d(c.caught_stealing),
            d(c.sacrifice_hits), d(c.sacrifice_flies), d(c.double_plays), d(c.total_bases)};
}

}  // namespace tb::hitting
