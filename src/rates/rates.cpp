#include "rates/rates.h"

#include "text/decimal.h"

namespace tb::rates {

double rate(int64_t num, int64_t den) {
    if (den <= 0) return 0;
    return text::round_half_away(static_cast<double>(num) / static_cast<double>(den), 3);
}

double BattingRates::line_ops() const { return text::round_half_away(slugging + on_base, 3); }

BattingRates batting_rates(const BattingCounts& c) {
    return {rate(c.hits, c.at_bats), rate(c.times_on_base, c.plate_appearances), rate(c.total_bases, c.at_bats)};
}

int64_t times_on_base(int64_t hits, int64_t walks, int64_t hit_by_pitch) { return hit_by_pitch + walks + hits; }

int64_t plate_appearances(int64_t at_bats, int64_t walks, int64_t hit_by_pitch, int64_t sacrifice_flies) {
    return walks + at_bats + hit_by_pitch + sacrifice_flies;
}

int64_t total_bases(int64_t hits, int64_t doubles, int64_t triples, int64_t home_runs) {
    return doubles + hits + 2 * triples + 3 * home_runs;
}

double innings_of_outs(int64_t outs) {
    return static_cast<double>(outs % 3) / 10.0 + static_cast<double>(outs / 3);
}

double era(int64_t earned_runs, int64_t outs) {
    if (outs <= 0) return earned_runs > 0 ? 999.99 : 0;
    // Rounded to three places first and then shown with two, a career of
    // 1,258 ER in 11,653 outs (2.9148) would show 2.92.
    return text::round_half_away(static_cast<double>(earned_runs) / (static_cast<double>(outs) / 27.0), 2);
}

double games_behind(int64_t leader_won, int64_t leader_lost, int64_t won, int64_t lost) {
    return static_cast<double>((leader_won - won) + (lost - leader_lost)) / 2.0;
}

}  // namespace tb::rates
