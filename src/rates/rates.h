// The figures the sheets work out from counts: batting rates, the innings
// figure, ERA, opponents' average, winning percentage, games behind. Pure
// functions of their inputs.
//
// A rate is kept as the sheets show it: the quotient rounded half away from
// zero to three decimals on its 15-significant-digit value (see
// text::round_half_away). A divisor of zero gives 0, except ERA with earned
// runs and no outs (999.99).
#pragma once

#include <cstdint>

namespace tb::rates {

// `num / den` to three decimals; 0 when `den` is 0 or less.
double rate(int64_t num, int64_t den);

// The counts behind a batting line or a sum of lines.
struct BattingCounts {
    int64_t at_bats = 0, hits = 0, total_bases = 0;
    int64_t times_on_base = 0, plate_appearances = 0;
};

struct BattingRates {
    double batting_average = 0, on_base = 0, slugging = 0;
    // OPS of a season line: the sum of the rounded on-base and slugging
    // averages, itself rounded to three decimals.
    double line_ops() const;
    // OPS of a totals row: the plain sum of the rounded terms.
    double totals_ops() const { return slugging + on_base; }
};

BattingRates batting_rates(const BattingCounts& c);

// Times on base, plate appearances (sacrifice hits do not count) and total
// bases of a line.
int64_t times_on_base(int64_t hits, int64_t walks, int64_t hit_by_pitch);
int64_t plate_appearances(int64_t at_bats, int64_t walks, int64_t hit_by_pitch, int64_t sacrifice_flies);
int64_t total_bases(int64_t hits, int64_t doubles, int64_t triples, int64_t home_runs);

// Outs as the innings figure whose digit after the point counts outs, not
// tenths: 200 outs are 66.2.
double innings_of_outs(int64_t outs);

// Earned runs per nine innings, ER / (outs / 27), rounded once to the two
// decimals it is shown with (half away from zero); 999.99 for earned runs
// without an out.
double era(int64_t earned_runs, int64_t outs);

// Hits per at-bat against a pitcher.
inline double opponents_average(int64_t hits, int64_t at_bats) { return rate(hits, at_bats); }

// Wins per decision (a team's won-lost percentage too).
inline double won_lost_pct(int64_t won, int64_t lost) { return rate(won, won + lost); }

// Games behind a leader: half the sum of the win and loss differences.
double games_behind(int64_t leader_won, int64_t leader_lost, int64_t won, int64_t lost);

}  // namespace tb::rates
