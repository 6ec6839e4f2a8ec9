// Building tiny encyclopedias in tests: records that pass their "used" tests
// unless a test changes them.
#pragma once

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

// A statistics line of a hitter (StatKind 1), or of another kind.
inline enc::PlayerSeasonStats hitter_line(int32_t player, int year, int phase, int team, std::string last,
                                          std::string first, int kind = 1) {
    enc::PlayerSeasonStats s;
    put(s.PlayerId, player), put(s.PhaseCode, phase), put(s.SeasonYear, year), put(s.TeamId, team);
    put(s.StatKind, kind);
    s.LastName = std::move(last);
    s.FirstName = std::move(first);
    return s;
}

inline enc::PlayerSeasonStats pitcher_line(int32_t player, int year, int phase, int team, std::string last,
                                           std::string first) {
    return hitter_line(player, year, phase, team, std::move(last), std::move(first), 2);
}

inline enc::TeamRecord team(int id, std::string abbrev) {
    enc::TeamRecord t;
    put(t.TeamId, id), put(t.Field50, 1), put(t.Field52, 1);
    t.TeamAbbrev = std::move(abbrev);
    return t;
}

inline enc::PlayerRecord player(int id, int birth_year, int month = 7, int day = 4) {
    enc::PlayerRecord p;
    put(p.PlayerId, id), put(p.BirthYear, birth_year), put(p.BirthMonth, month), put(p.BirthDay, day);
    put(p.Field48, 1), put(p.Field50, 1);
    return p;
}

// One team season; the post-season blocks stay empty until a test sets them.
inline enc::TeamSeasonRecord team_season(int team, int year, int league, std::string city,
                                         std::string nickname, int won, int lost) {
    enc::TeamSeasonRecord t;
    put(t.TeamId, team), put(t.SeasonYear, year), put(t.LeagueId, league), put(t.RegTotals.Won, won);
    put(t.RegTotals.Lost, lost);
    t.TeamCity = std::move(city);
    t.TeamNickname = std::move(nickname);
    return t;
}

// One league season with no divisions; every slot empty (-1) until a test
// fills DivisionTeams (slots 15k..15k+14 belong to division k).
inline enc::LeagueSeasonRecord league_season(int league, int year, std::string name) {
    enc::LeagueSeasonRecord l;
    put(l.LeagueId, league), put(l.SeasonYear, year);
    l.LeagueName = std::move(name);
    l.DivisionTeams.fill(-1);
    return l;
}

inline enc::LeagueRecord league(int id, std::string title) {
    enc::LeagueRecord l;
    put(l.LeagueId, id), put(l.LeagueField44, 1);
    l.LeagueTitle = std::move(title);
    l.TitleInUse = true;
    return l;
}

}  // namespace tb::test
