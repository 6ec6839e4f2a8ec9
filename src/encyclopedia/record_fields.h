// Each record layout once, as a walk over its fields: `v(offset, field)` for
// an integer field, `v.text(offset, width, field)` for a text field and
// `v.in_use(offset, flag)` for the "in use" test of a text field. The
// decoder and the record writer walk the same lists, so reading and writing
// cannot drift apart. `R` is the record, const when writing.
#pragma once

#include "encyclopedia/records.h"

#include <cstddef>

namespace tb::enc::fields {

template <class V, class R>
void phase_totals_fields(V& v, std::size_t at, R& t) {
    v(at + 0, t.left_on_base);
    v(at + 2, t.double_plays);
    v(at + 6, t.runs_scored);
    v(at + 8, t.runs_allowed);
    v(at + 10, t.won);
    v(at + 11, t.lost);
    v(at + 14, t.shutouts);
}

template <class V, class R>
void team_fields(V& v, R& r) {
    v(0, r.status);
    v(2, r.team_id);
    v.text(4, 4, r.abbreviation);
    v(50, r.use_mark_50);
    v(52, r.use_mark_52);
}

template <class V, class R>
void player_fields(V& v, R& r) {
    v(0, r.status);
    v(4, r.player_id);
    v(40, r.birth_year);
    v(42, r.birth_month);
    v(43, r.birth_day);
    v(48, r.use_mark_48);
    v(50, r.use_mark_50);
}

template <class V, class R>
void stats_fields(V& v, R& r) {
    v(0, r.status);
    v(4, r.player_id);
    v(8, r.phase_code);
    v(10, r.year);
    v(12, r.team_id);
    v.text(16, 16, r.first_name);
    v.text(32, 16, r.last_name);
    v(48, r.kind);

    v(58, r.hitting.at_bats);
    v(60, r.hitting.runs);
    v(62, r.hitting.runs_batted_in);
    v(64, r.hitting.hits);
    v(66, r.hitting.doubles);
    v(67, r.hitting.triples);
    v(68, r.hitting.home_runs);
    v(69, r.hitting.hit_by_pitch);
    v(70, r.hitting.strikeouts);
    v(72, r.hitting.walks);
    v(74, r.hitting.intentional_walks);
    v(75, r.hitting.stolen_bases);
    v(76, r.hitting.caught_stealing);
    v(78, r.hitting.sacrifice_hits);
    v(79, r.hitting.sacrifice_flies);
    v(80, r.hitting.double_plays);

    v(122, r.pitching.batters_faced);
    v(124, r.pitching.outs);
    v(126, r.pitching.at_bats);
    v(128, r.pitching.hits);
    v(130, r.pitching.strikeouts);
    v(132, r.pitching.walks);
    v(134, r.pitching.intentional_walks);
    v(136, r.pitching.runs);
    v(138, r.pitching.earned_runs);
    v(142, r.pitching.home_runs);
    v(143, r.pitching.wild_pitches);
    v(144, r.pitching.balks);
    v(148, r.pitching.double_plays);
    v(149, r.pitching.wins);
    v(150, r.pitching.losses);
    v(151, r.pitching.saves);
    v(153, r.pitching.blown_saves);
    v(154, r.pitching.holds);
    v(162, r.pitching.shutouts);
    v(163, r.pitching.complete_games);
    v(164, r.pitching.games);
    v(166, r.pitching.games_started);
}

template <class V, class R>
void team_season_fields(V& v, R& r) {
    v(0, r.status);
    v(4, r.team_id);
    v(6, r.year);
    v.text(8, 20, r.city);
    v.text(28, 20, r.nickname);
    v.text(118, 4, r.season_abbreviation);
    v(122, r.league_id);
    phase_totals_fields(v, 466, r.regular);
    phase_totals_fields(v, 482, r.wild_card);
    phase_totals_fields(v, 498, r.division_series);
    phase_totals_fields(v, 514, r.championship_series);
    phase_totals_fields(v, 530, r.world_series);
}

template <class V, class R>
void league_season_fields(V& v, R& r) {
    v(0, r.status);
    v(4, r.league_id);
    v(6, r.year);
    v.text(12, 40, r.name);
    for (std::size_t k = 0; k < 4; ++k) {
        v.text(52 + 20 * k, 20, r.division_names[k]);
        v.in_use(52 + 20 * k, r.division_in_use[k]);
    }
    for (std::size_t i = 0; i < r.division_teams.size(); ++i) v(132 + 2 * i, r.division_teams[i]);
}

template <class V, class R>
void league_fields(V& v, R& r) {
    v(0, r.status);
    v(2, r.league_id);
    v.text(4, 40, r.title);
    v.in_use(4, r.title_in_use);
    v(44, r.use_mark_44);
}

}  // namespace tb::enc::fields
