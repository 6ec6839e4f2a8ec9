#include "pitching/pitching.h"

#include "rates/rates.h"

namespace tb::pitching {

namespace {
constexpr std::string_view kRate = "#.000";
}

const std::array<rates::FigureColumn, kFigureCount> kColumns = {{
    {"ERA", "ERA", "##0.00", "##0.00"},
    {"W", "W", "", ""},
    {"L", "L", "", ""},
    {"PCT", "PCT", kRate, kRate},
    {"SV", "SV", "", ""},
    {"HLD", "HLD", "", ""},
    {"BLS", "BLS", "", ""},
    {"G", "G", "", ""},
    {"GS", "GS", "", ""},
    {"CG", "CG", "", ""},
    {"SHO", "SHO", "", ""},
    {"IP", "IP", "0.0", "#0.0"},
    {"BF", "BF", "", ""},
    {"AB", "AB", "", ""},
    {"H", "H", "", ""},
    {"OBA", "OBA", kRate, kRate},
    {"R", "R", "", ""},
    {"ER", "ER", "", ""},
    {"BB", "BB", "", ""},
    {"IBB", "IBB", "", ""},
    {"K", "K", "", ""},
    {"HR", "HR", "", ""},
    {"GDP", "GDP", "", ""},
    {"WP", "WP", "", ""},
    {"BK", "BK", "", ""},
}};

PitchingCounts& PitchingCounts::operator+=(const PitchingCounts& o) {
    wins += o.wins, losses += o.losses, saves += o.saves, holds += o.holds, blown_saves += o.blown_saves;
    games += o.games, games_started += o.games_started, complete_games += o.complete_games, shutouts += o.shutouts;
    outs += o.outs, batters_faced += o.batters_faced, at_bats += o.at_bats, hits += o.hits, runs += o.runs;
    earned_runs += o.earned_runs, walks += o.walks, intentional_walks += o.intentional_walks;
    strikeouts += o.strikeouts, home_runs += o.home_runs, double_plays += o.double_plays;
    wild_pitches += o.wild_pitches, balks += o.balks;
    return *this;
}

PitchingCounts line_counts(const enc::PitchingFigures& l) {
    PitchingCounts c;
    c.wins = l.wins;
    c.losses = l.losses;
    c.saves = l.saves;
    c.holds = l.holds;
    c.blown_saves = l.blown_saves;
    c.games = l.games;
    c.games_started = l.games_started;
    c.complete_games = l.complete_games;
    c.shutouts = l.shutouts;
    c.outs = l.outs;
    c.batters_faced = l.batters_faced;
    c.at_bats = l.at_bats;
    c.hits = l.hits;
    c.runs = l.runs;
    c.earned_runs = l.earned_runs;
    c.walks = l.walks;
    c.intentional_walks = l.intentional_walks;
    c.strikeouts = l.strikeouts;
    c.home_runs = l.home_runs;
    c.double_plays = l.double_plays;
    c.wild_pitches = l.wild_pitches;
    c.balks = l.balks;
    return c;
}

std::array<double, kFigureCount> figures(const PitchingCounts& c) {
    auto d = [](int64_t v) { return static_cast<double>(v); };
    return {rates::era(c.earned_runs, c.outs), d(c.wins), d(c.losses), rates::won_lost_pct(c.wins, c.losses),
            d(c.saves), d(c.holds), d(c.blown_saves), d(c.games), d(c.games_started), d(c.complete_games),
            d(c.shutouts), rates::innings_of_outs(c.outs), d(c.batters_faced), d(c.at_bats), d(c.hits),
            rates::opponents_average(c.hits, c.at_bats), d(c.runs), d(c.earned_runs), d(c.walks),
            d(c.intentional_walks), d(c.strikeouts), d(c.home_runs), d(c.double_plays), d(c.wild_pitches),
            d(c.balks)};
}

}  // namespace tb::pitching
