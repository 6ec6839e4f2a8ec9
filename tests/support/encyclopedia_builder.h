// Building tiny encyclopedias in tests: records that pass their "used" tests
// unless a test changes them.
#pragma once

#include "archive/record_writer.h"
#include "encyclopedia/encyclopedia.h"
#include "support/temp_dir.h"

#include <cstdint>
#include <string>

namespace tb::test {

namespace enc = tb::enc;

// An integer field takes any int, cast to the field's own type.
template <class Field>
void put(Field& field, int value) {
    field = static_cast<Field>(value);
}

// A statistics line of a hitter (kind 1), or of another kind.
inline enc::StatsLine hitter_line(int32_t player, int year, int phase, int team, std::string last,
                                          std::string first, int kind = 1) {
    enc::StatsLine s;
    put(s.player_id, player), put(s.phase_code, phase), put(s.year, year), put(s.team_id, team);
    put(s.kind, kind);
    s.last_name = std::move(last);
    s.first_name = std::move(first);
    return s;
}

inline enc::StatsLine pitcher_line(int32_t player, int year, int phase, int team, std::string last,
                                           std::string first) {
    return hitter_line(player, year, phase, team, std::move(last), std::move(first), 2);
}

inline enc::TeamEntry team(int id, std::string abbrev) {
    enc::TeamEntry t;
    put(t.team_id, id), put(t.use_mark_50, 1), put(t.use_mark_52, 1);
    t.abbreviation = std::move(abbrev);
    return t;
}

inline enc::PlayerEntry player(int id, int birth_year, int month = 7, int day = 4) {
    enc::PlayerEntry p;
    put(p.player_id, id), put(p.birth_year, birth_year), put(p.birth_month, month), put(p.birth_day, day);
    put(p.use_mark_48, 1), put(p.use_mark_50, 1);
    return p;
}

// One team season; the post-season blocks stay empty until a test sets them.
inline enc::TeamSeason team_season(int team, int year, int league, std::string city,
                                         std::string nickname, int won, int lost) {
    enc::TeamSeason t;
    put(t.team_id, team), put(t.year, year), put(t.league_id, league), put(t.regular.won, won);
    put(t.regular.lost, lost);
    t.city = std::move(city);
    t.nickname = std::move(nickname);
    return t;
}

// One league season with no divisions; every slot empty (-1) until a test
// fills division_teams (slots 15k..15k+14 belong to division k).
inline enc::LeagueSeason league_season(int league, int year, std::string name) {
    enc::LeagueSeason l;
    put(l.league_id, league), put(l.year, year);
    l.name = std::move(name);
    l.division_teams.fill(-1);
    return l;
}

inline enc::LeagueEntry league(int id, std::string title) {
    enc::LeagueEntry l;
    put(l.league_id, id), put(l.use_mark_44, 1);
    l.title = std::move(title);
    l.title_in_use = true;
    return l;
}

}  // namespace tb::test
