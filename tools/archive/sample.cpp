// The sample encyclopedia: three leagues (two with divisions and a post-season
// bracket, one without), a regular season simulated game by game, a bracket of
// wild-card, division, league championship and world series, and players
// with careers whose lines follow their team through the post-season.
//
// Randomness comes from std::mt19937_64, whose sequence the language fixes,
// and only through the small helpers below (the standard distributions differ
// between libraries), so a seed gives the same bytes everywhere.
#include "archive/sample.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <sstream>
#include <vector>

namespace tb::enc {
namespace {

class Rng {
public:
    explicit Rng(uint64_t seed) : gen_(seed) {}
    int between(int lo, int hi) {  // inclusive
        return lo + static_cast<int>(gen_() % static_cast<uint64_t>(hi - lo + 1));
    }
    double unit() { return static_cast<double>(gen_() >> 11) * 0x1.0p-53; }
    double between(double lo, double hi) { return lo + (hi - lo) * unit(); }
    bool chance(double p) { return unit() < p; }

private:
    std::mt19937_64 gen_;
};

int16_t i16(double v) { return static_cast<int16_t>(std::clamp(std::lround(v), 0L, 32767L)); }
uint8_t u8(double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

// ---- Leagues and teams ----

struct TeamDef {
    int16_t id;
    const char* abbrev;
    const char* city;
    const char* nickname;
    int league;    // index into kLeagues
    int division;  // index into that league's divisions
};

struct LeagueDef {
    int16_t id;
    const char* title;
    const char* early_name;  // name in the first half of the seasons
    std::array<const char*, 4> divisions;
    int games_per_pair;
    bool post_season;
};

constexpr std::array<LeagueDef, 3> kLeagues = {{
    {1, "Atlantic League", "Atlantic League", {"North", "South", "", ""}, 18, true},
    {2, "Continental League", "Continental League", {"East", "Central", "West", ""}, 11, true},
    {3, "Frontier League", "Border League", {"", "", "", ""}, 30, false},
}};

constexpr std::array<TeamDef, 31> kTeams = {{
    {1, "BOS", "Boston", "Harbormen", 0, 0},
    {2, "NY", "New York", "Knights", 0, 0},
    {3, "MTL", "Montréal", "Voyageurs", 0, 0},
    {4, "QUÉ", "Québec", "Citadelles", 0, 0},
    {5, "TORO", "Toronto", "Maple Leafs", 0, 0},
    {6, "ATL", "Atlanta", "Crackers", 0, 1},
    {7, "MIA", "Miami", "Flamingos", 0, 1},
    {8, "HAV", "Havana", "Sugar Kings", 0, 1},
    {9, "NO", "New Orleans", "Pelicans", 0, 1},
    {10, "MEM", "Memphis", "Chicks", 0, 1},
    {11, "PHI", "Philadelphia", "Bells", 1, 0},
    {12, "PIT", "Pittsburgh", "Ironmen", 1, 0},
    {13, "BAL", "Baltimore", "Clippers", 1, 0},
    {14, "WAS", "Washington", "Statesmen", 1, 0},
    {15, "BUF", "Buffalo", "Bisons", 1, 0},
    {16, "CHI", "Chicago", "Whales", 1, 1},
    {17, "STL", "St. Louis", "Stars", 1, 1},
    {18, "MIL", "Milwaukee", "Cream Citys", 1, 1},
    {19, "CIN", "Cincinnati", "Porkers", 1, 1},
    {20, "DET", "Detroit", "Wolverines", 1, 1},
    {21, "DEN", "Denver", "Bears", 1, 2},
    {22, "SEA", "Seattle", "Rainiers", 1, 2},
    {23, "POR", "Portland", "Beavers", 1, 2},
    {24, "SJ", "San José", "Orchards", 1, 2},
    {25, "LA", "Los Angeles", "Angels", 1, 2},
    {26, "MTY", "Monterrey", "Sultanes", 2, 0},
    {27, "MXL", "Mexicali", "Águilas", 2, 0},
    {28, "TIJ", "Tijuana", "Toros", 2, 0},
    {29, "HER", "Hermosillo", "Naranjeros", 2, 0},
    {30, "CUL", "Culiacán", "Tomateros", 2, 0},
    {31, "MAZ", "Mazatlán", "Venados", 2, 0},
}};
constexpr std::size_t kTeamCount = kTeams.size();

// ---- Names ----

constexpr std::array<const char*, 40> kFirstNames = {
    "José", "Élan", "Zoë", "Björn", "André", "Mike", "Tom", "Rafael", "Luis", "Jim",
    "Carlos", "Dave", "François", "Jürgen", "Kenji", "Pedro", "Ramón", "Sam", "Tony", "Will",
    "Bobby", "Chris", "Dmitri", "Eddie", "Felipe", "Greg", "Hank", "Iván", "Jake", "Kyle",
    "Lou", "Matt", "Nate", "Óscar", "Pat", "Ryan", "Steve", "Tim", "Vic", "Walt",
};
constexpr std::array<const char*, 48> kLastNames = {
    "Muñoz", "Šimek", "Núñez", "Peña", "Ødegaard", "Žitnik", "Müller", "Castaño", "Smith", "Jones",
    "Brown", "Miller", "Davis", "García", "Rodríguez", "Wilson", "Martínez", "Anderson", "Taylor", "Thomas",
    "Hernández", "Moore", "Martin", "Jackson", "Thompson", "White", "López", "Lee", "González", "Harris",
    "Clark", "Lewis", "Robinson", "Walker", "Pérez", "Hall", "Young", "Allen", "Sánchez", "Wright",
    "King", "Scott", "Green", "Baker", "Adams", "Nelson", "Hill", "Ramírez",
};
// A last name that fills its 16-byte field exactly (written with no NUL).
constexpr const char* kFullWidthLastName = "Vandenberghe-Roe";

// ---- Season simulation ----

enum Phase { kRegular, kWild, kDivision, kLcs, kWorld, kPhaseCount };
constexpr std::array<uint8_t, kPhaseCount> kPhaseCode = {2, 5, 6, 7, 8};

struct SeasonState {
    std::array<double, kTeamCount> strength{};
    std::array<std::array<PhaseRecord, kPhaseCount>, kTeamCount> totals{};
};

double win_chance(const SeasonState& s, std::size_t a, std::size_t b) {
    return std::clamp(0.5 + (s.strength[a] - s.strength[b]), 0.2, 0.8);
}

// One game between a and b in the given phase; returns whether a won.
bool play_game(Rng& rng, SeasonState& s, Phase phase, std::size_t a, std::size_t b) {
    const bool a_wins = rng.chance(win_chance(s, a, b));
    const std::size_t w = a_wins ? a : b;
    const std::size_t l = a_wins ? b : a;
    const int loser_runs = rng.between(0, 3) + rng.between(0, 3);
    const int winner_runs = loser_runs + 1 + rng.between(0, 4);
    PhaseRecord& tw = s.totals[w][phase];
    PhaseRecord& tl = s.totals[l][phase];
    tw.won = u8(tw.won + 1);
    tl.lost = u8(tl.lost + 1);
    tw.runs_scored = i16(tw.runs_scored + winner_runs);
    tw.runs_allowed = i16(tw.runs_allowed + loser_runs);
    tl.runs_scored = i16(tl.runs_scored + loser_runs);
    tl.runs_allowed = i16(tl.runs_allowed + winner_runs);
    if (loser_runs == 0) tw.shutouts = u8(tw.shutouts + 1);
    for (PhaseRecord* t : {&tw, &tl}) {
        t->left_on_base = i16(t->left_on_base + rng.between(3, 11));
        t->double_plays = i16(t->double_plays + rng.between(0, 2));
    }
    return a_wins;
}

// A best-of-n series; returns the winner.
std::size_t play_series(Rng& rng, SeasonState& s, Phase phase, int best_of, std::size_t a, std::size_t b) {
    const int need = best_of / 2 + 1;
    int wa = 0, wb = 0;
    while (wa < need && wb < need) (play_game(rng, s, phase, a, b) ? wa : wb)++;
    return wa == need ? a : b;
}

std::vector<std::size_t> teams_of(int league) {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < kTeamCount; ++i)
        if (kTeams[i].league == league) out.push_back(i);
    return out;
}

// Teams by regular-season record, best first (ties: stronger team, then number).
void sort_by_record(const SeasonState& s, std::vector<std::size_t>& teams) {
    std::sort(teams.begin(), teams.end(), [&](std::size_t a, std::size_t b) {
        const int wa = s.totals[a][kRegular].won, wb = s.totals[b][kRegular].won;
        if (wa != wb) return wa > wb;
        if (s.strength[a] != s.strength[b]) return s.strength[a] > s.strength[b];
        return a < b;
    });
}

// Six teams of a league in seed order: division winners first, then the best
// of the rest as wild cards.
std::vector<std::size_t> playoff_seeds(const SeasonState& s, int league) {
    std::vector<std::size_t> all = teams_of(league);
    sort_by_record(s, all);
    std::vector<std::size_t> seeds;
    std::vector<bool> division_done(4, false);
    for (std::size_t t : all) {
        if (!division_done[kTeams[t].division]) {
            division_done[kTeams[t].division] = true;
            seeds.push_back(t);
        }
    }
    for (std::size_t t : all)
        if (seeds.size() < 6 && std::find(seeds.begin(), seeds.end(), t) == seeds.end()) seeds.push_back(t);
    return seeds;
}

// Seeds 3-6 play best-of-three wild-card series, the winners meet seeds 1
// and 2 in best-of-five division series, then a best-of-seven league
// championship; returns the champion.
std::size_t league_bracket(Rng& rng, SeasonState& s, int league) {
    const auto seed = playoff_seeds(s, league);
    const std::size_t wc_a = play_series(rng, s, kWild, 3, seed[2], seed[5]);
    const std::size_t wc_b = play_series(rng, s, kWild, 3, seed[3], seed[4]);
    const std::size_t ds_a = play_series(rng, s, kDivision, 5, seed[0], wc_b);
    const std::size_t ds_b = play_series(rng, s, kDivision, 5, seed[1], wc_a);
    return play_series(rng, s, kLcs, 7, ds_a, ds_b);
}

void play_season(Rng& rng, SeasonState& s) {
    for (std::size_t i = 0; i < kTeamCount; ++i) {
        const double fresh = rng.between(-0.09, 0.09);
        s.strength[i] = 0.6 * s.strength[i] + 0.4 * fresh;
        s.totals[i] = {};
    }
    for (int league = 0; league < static_cast<int>(kLeagues.size()); ++league) {
        const auto teams = teams_of(league);
        for (std::size_t x = 0; x < teams.size(); ++x)
            for (std::size_t y = x + 1; y < teams.size(); ++y)
                for (int g = 0; g < kLeagues[league].games_per_pair; ++g)
                    play_game(rng, s, kRegular, teams[x], teams[y]);
    }
    const std::size_t champ_a = league_bracket(rng, s, 0);
    const std::size_t champ_b = league_bracket(rng, s, 1);
    play_series(rng, s, kWorld, 7, champ_a, champ_b);
}

TeamSeason team_season_record(const SeasonState& s, std::size_t t, int year) {
    TeamSeason r;
    r.team_id = kTeams[t].id;
    r.year = static_cast<int16_t>(year);
    r.city = kTeams[t].city;
    r.nickname = kTeams[t].nickname;
    r.season_abbreviation = kTeams[t].abbrev;
    r.league_id = kLeagues[kTeams[t].league].id;
    r.regular = s.totals[t][kRegular];
    r.wild_card = s.totals[t][kWild];
    r.division_series = s.totals[t][kDivision];
    r.championship_series = s.totals[t][kLcs];
    r.world_series = s.totals[t][kWorld];
    return r;
}

LeagueSeason league_season_record(int league, int year, bool early) {
    const LeagueDef& def = kLeagues[league];
    LeagueSeason r;
    r.league_id = def.id;
    r.year = static_cast<int16_t>(year);
    r.name = early ? def.early_name : def.title;
    r.division_teams.fill(-1);
    std::array<int, 4> used{};
    for (std::size_t k = 0; k < 4; ++k) r.division_names[k] = def.divisions[k];
    for (const TeamDef& t : kTeams) {
        if (t.league != league) continue;
        r.division_teams[15 * t.division + used[t.division]++] = t.id;
    }
    return r;
}

// ---- Players ----

enum class Role { Hitter, Starter, Reliever, Closer, TwoWay };

struct Profile {
    int32_t id = 0;
    std::string first, last;
    Role role = Role::Hitter;
    int debut = 0;
    int seasons = 1;
    double skill = 0.5;  // 0 poor .. 1 star
    double power = 0.5;
    double speed = 0.5;
    std::size_t team = 0;
    bool has_record = true;
    int16_t birth_year = 0;
    uint8_t birth_month = 1, birth_day = 1;
};

bool hits(Role r) { return r == Role::Hitter || r == Role::TwoWay; }
bool pitches(Role r) { return r != Role::Hitter; }

uint8_t stat_kind(Role r) {
    if (r == Role::TwoWay) return 3;
    return hits(r) ? 1 : 2;
}

// Hitting figures for a share `f` of a full season (1 = 162 games).
void hitting_figures(Rng& rng, const Profile& p, double playing_time, double f, StatsLine& s) {
    const double ab = std::floor(600.0 * playing_time * f * rng.between(0.8, 1.15));
    const double avg = 0.205 + 0.11 * p.skill + rng.between(-0.025, 0.025);
    const double h = std::floor(ab * avg);
    const double hr = std::min(h * 0.5, std::floor(ab * (0.005 + 0.06 * p.power) * rng.between(0.7, 1.3)));
    const double triples = std::min(h - hr, std::floor(h * 0.035 * p.speed * rng.between(0.5, 1.5)));
    const double doubles = std::min(h - hr - triples, std::floor(h * rng.between(0.15, 0.25)));
    const double walks = std::floor(ab * rng.between(0.05, 0.13));
    const double sb = std::floor(ab * 0.07 * p.speed * p.speed * rng.between(0.5, 1.5));
    s.hitting.at_bats = i16(ab);
    s.hitting.hits = i16(h);
    s.hitting.home_runs = u8(hr);
    s.hitting.triples = u8(triples);
    s.hitting.doubles = u8(doubles);
    s.hitting.walks = i16(walks);
    s.hitting.intentional_walks = u8(walks * 0.1 * p.power * rng.unit());
    s.hitting.strikeouts = i16(ab * (0.12 + 0.12 * p.power) * rng.between(0.8, 1.2));
    s.hitting.hit_by_pitch = u8(ab * 0.01 * rng.unit());
    s.hitting.stolen_bases = u8(sb);
    s.hitting.caught_stealing = u8(sb * rng.between(0.15, 0.4));
    s.hitting.sacrifice_hits = u8(ab * 0.012 * (1 - p.power) * rng.unit());
    s.hitting.sacrifice_flies = u8(ab * 0.01 * rng.unit());
    s.hitting.double_plays = u8(ab * 0.025 * (1 - p.speed) * rng.between(0.5, 1.5));
    s.hitting.runs = i16(h * 0.4 + walks * 0.3 + hr * 0.6 + sb * 0.2);
    s.hitting.runs_batted_in = i16((h - hr) * 0.3 + hr * 1.6);
}

// Pitching figures for a share `f` of a full season.
void pitching_figures(Rng& rng, const Profile& p, double playing_time, double f, StatsLine& s) {
    double games = 0, starts = 0, outs = 0;
    if (p.role == Role::Starter || p.role == Role::TwoWay) {
        const double full = p.role == Role::TwoWay ? 22 : 34;
        starts = std::round(full * playing_time * f * rng.between(0.8, 1.1));
        if (f < 1 && starts == 0 && rng.chance(0.5)) starts = 1;
        games = starts + (rng.chance(0.3) ? rng.between(0, 2) : 0);
        outs = starts * rng.between(15.0, 20.0);
    } else {
        games = std::round(70 * playing_time * f * rng.between(0.7, 1.1));
        outs = games * rng.between(2.6, 3.6);
    }
    outs = std::floor(outs);
    const double innings = outs / 3.0;
    const double era = 5.4 - 2.6 * p.skill + rng.between(-0.6, 0.6);
    const double er = std::floor(innings * era / 9.0);
    const double h = std::floor(innings * rng.between(0.78, 1.08));
    const double bb = std::floor(innings * rng.between(0.25, 0.45));
    const double hbp = std::floor(innings * 0.03 * rng.unit());
    const double sac = std::floor(innings * 0.02 * rng.unit());
    const double ab = outs + h - sac;
    s.pitching.games = u8(games);
    s.pitching.games_started = u8(starts);
    s.pitching.outs = i16(outs);
    s.pitching.hits = i16(h);
    s.pitching.walks = i16(bb);
    s.pitching.intentional_walks = u8(bb * 0.08 * rng.unit());
    s.pitching.at_bats = i16(ab);
    s.pitching.batters_faced = i16(ab + bb + hbp + sac);
    s.pitching.strikeouts = i16(innings * (0.6 + 0.5 * p.skill) * rng.between(0.85, 1.15));
    s.pitching.earned_runs = i16(er);
    s.pitching.runs = i16(er + std::floor(er * rng.between(0.0, 0.15)));
    s.pitching.home_runs = u8(innings * rng.between(0.07, 0.14));
    s.pitching.wild_pitches = u8(innings * 0.03 * rng.unit());
    s.pitching.balks = u8(rng.chance(0.2 * f) ? 1 : 0);
    s.pitching.double_plays = u8(innings * 0.1 * rng.unit());
    const double decisions = starts > 0 ? starts * rng.between(0.6, 0.8) : games * rng.between(0.05, 0.15);
    const double win_share = std::clamp(0.35 + 0.3 * p.skill + rng.between(-0.1, 0.1), 0.1, 0.9);
    s.pitching.wins = u8(std::round(decisions * win_share));
    s.pitching.losses = u8(std::round(decisions) - std::round(decisions * win_share));
    const double complete = starts > 0 ? std::floor(starts * 0.12 * p.skill * rng.unit() * 2) : 0;
    s.pitching.complete_games = u8(complete);
    s.pitching.shutouts = u8(std::floor(complete * rng.between(0.0, 0.5)));
    if (p.role == Role::Closer) {
        s.pitching.saves = u8(games * rng.between(0.4, 0.6));
        s.pitching.blown_saves = u8(games * rng.between(0.03, 0.1));
    } else if (p.role == Role::Reliever) {
        s.pitching.saves = u8(games * 0.03 * rng.unit());
        s.pitching.blown_saves = u8(games * 0.05 * rng.unit());
        s.pitching.holds = u8(games * rng.between(0.05, 0.3));
    }
}

Role pick_role(Rng& rng, int index, int two_way_count) {
    if (index >= 0 && index < two_way_count) return Role::TwoWay;
    const double r = rng.unit();
    if (r < 0.55) return Role::Hitter;
    if (r < 0.78) return Role::Starter;
    if (r < 0.95) return Role::Reliever;
    return Role::Closer;
}

std::vector<Profile> make_profiles(Rng& rng, int count, int first_season, int last_season) {
    const int span = last_season - first_season + 1;
    const int two_way = std::clamp(count / 75, 3, 500);
    std::vector<Profile> out;
    out.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        Profile p;
        p.id = i + 1;
        // Two-way players come after a few ordinary ones so that the special
        // names below do not all land on them.
        p.role = pick_role(rng, i - 5, two_way);
        p.first = kFirstNames[static_cast<std::size_t>(rng.between(0, kFirstNames.size() - 1))];
        p.last = kLastNames[static_cast<std::size_t>(rng.between(0, kLastNames.size() - 1))];
        p.seasons = std::min(span, 1 + rng.between(0, 7) + rng.between(0, 7));
        p.debut = rng.between(first_season, last_season - p.seasons + 1);
        p.skill = rng.unit();
        p.power = rng.unit();
        p.speed = rng.unit();
        p.team = static_cast<std::size_t>(rng.between(0, kTeamCount - 1));
        p.has_record = (i % 37) != 36;
        p.birth_year = static_cast<int16_t>(p.debut - rng.between(20, 29));
        p.birth_month = static_cast<uint8_t>(rng.between(1, 12));
        p.birth_day = static_cast<uint8_t>(rng.between(1, 28));
        out.push_back(std::move(p));
    }
    // Names the sample promises, on players whose careers start with the
    // archive so that no line limit can cut them away.
    auto special = [&](std::size_t i, const char* first, const char* last, Role role) {
        out[i].first = first;
        out[i].last = last;
        out[i].role = role;
        out[i].debut = first_season;
    };
    special(0, "Élan", "Muñoz", Role::Hitter);
    special(1, "Pavel", "Šimek", Role::Starter);
    special(2, "Alejandro", "de Aza", Role::Hitter);
    special(3, "Christopher", kFullWidthLastName, Role::Hitter);
    special(4, "Zoë", "Ödegaard", Role::Closer);
    for (std::size_t i = 5; i < 5 + static_cast<std::size_t>(two_way); ++i) out[i].debut = first_season;
    return out;
}

PlayerEntry player_record(const Profile& p) {
    PlayerEntry r;
    r.player_id = p.id;
    r.birth_year = p.birth_year;
    r.birth_month = p.birth_month;
    r.birth_day = p.birth_day;
    r.use_mark_48 = static_cast<int16_t>(70 + p.id % 10);   // the game's own figures; only tested for > 0
    r.use_mark_50 = static_cast<int16_t>(170 + p.id % 40);
    return r;
}

StatsLine stats_line(Rng& rng, const Profile& p, int year, Phase phase, double playing_time, double f) {
    StatsLine s;
    s.player_id = p.id;
    s.phase_code = kPhaseCode[phase];
    s.year = static_cast<int16_t>(year);
    s.team_id = kTeams[p.team].id;
    s.first_name = p.first;
    s.last_name = p.last;
    s.kind = stat_kind(p.role);
    if (hits(p.role)) hitting_figures(rng, p, p.role == Role::TwoWay ? 0.6 * playing_time : playing_time, f, s);
    if (pitches(p.role)) pitching_figures(rng, p, playing_time, f, s);
    return s;
}

// A line of the other kind beside a player's own, as real archives hold
// them: a starting pitcher's turns at bat (in a regular season or a
// post-season phase) and, rarely, a position player called on to pitch. The
// game keeps such a line apart from the player's own line of that phase.
// `extra` draws only these, so the rest of the archive stays as it was.
void other_kind_line(Rng& extra, const Profile& p, int year, Phase phase, double f,
                     std::vector<StatsLine>& out) {
    Profile other = p;
    if (p.role == Role::Starter && extra.chance(phase == kRegular ? 0.2 : 0.1)) {
        other.role = Role::Hitter;
        other.skill = 0.05, other.power = 0.1, other.speed = 0.2;
        out.push_back(stats_line(extra, other, year, phase, 0.1, f));
    } else if (p.role == Role::Hitter && phase == kRegular && extra.chance(0.01)) {
        other.role = Role::Reliever;
        other.skill = 0.0;
        out.push_back(stats_line(extra, other, year, phase, 0.03, f));
    }
}

// All lines of one season: each active player's regular-season line, then
// one line per post-season phase his team played in.
void season_lines(Rng& rng, Rng& extra, std::vector<Profile>& profiles, const SeasonState& season, int year,
                  std::size_t limit, std::vector<StatsLine>& out) {
    for (Profile& p : profiles) {
        if (year < p.debut || year >= p.debut + p.seasons) continue;
        if (year > p.debut && rng.chance(0.12)) p.team = static_cast<std::size_t>(rng.between(0, kTeamCount - 1));
        const double playing_time = std::clamp(0.25 + 0.75 * p.skill + rng.between(-0.2, 0.2), 0.05, 1.0);
        for (int ph = kRegular; ph < kPhaseCount; ++ph) {
            const PhaseRecord& t = season.totals[p.team][ph];
            if (!t.played()) continue;
            if (out.size() >= limit) return;
            const double f = (t.won + t.lost) / 162.0;
            out.push_back(stats_line(rng, p, year, static_cast<Phase>(ph), playing_time, f));
            if (out.size() < limit) other_kind_line(extra, p, year, static_cast<Phase>(ph), f, out);
        }
    }
}

// Records the game leaves behind that must be passed over: deleted entries
// (status not 0) in every file and a line of the ignored phase code 1.
void add_passed_over_records(Rng& rng, Sample& s, const std::vector<Profile>& profiles) {
    auto& c = s.contents;
    TeamEntry gone;
    gone.status = 1;
    gone.team_id = 99;
    gone.abbreviation = "OLD";
    gone.use_mark_50 = 1;
    gone.use_mark_52 = 1;
    c.teams->push_back(gone);

    PlayerEntry deleted = player_record(profiles[1]);
    deleted.status = 1;
    deleted.birth_year = 1900;
    c.players->insert(c.players->begin() + 1, deleted);

    LeagueEntry defunct;
    defunct.status = 1;
    defunct.league_id = 9;
    defunct.title = "Defunct League";
    defunct.use_mark_44 = 1;
    c.leagues->push_back(defunct);

    LeagueSeason old_season = c.league_seasons->front();
    old_season.status = 1;
    old_season.name = "Deleted League Season";
    c.league_seasons->push_back(old_season);

    // A deleted team season in the middle, so later record numbers count it.
    TeamSeason stale = (*c.team_seasons)[kTeamCount / 2];
    stale.status = 1;
    stale.regular.won = 0;
    stale.regular.lost = 99;
    c.team_seasons->insert(c.team_seasons->begin() + kTeamCount / 2 + 1, stale);

    // Next to the first line of the first player: a deleted copy and an
    // exhibition line of phase code 1.
    auto& stats = *c.stats;
    const auto first = std::find_if(stats.begin(), stats.end(), [](const auto& l) { return l.player_id == 1; });
    StatsLine dead = *first;
    dead.status = 1;
    dead.hitting.at_bats = 999;
    Profile on_tour = profiles[0];
    on_tour.team = static_cast<std::size_t>(std::find_if(kTeams.begin(), kTeams.end(),
                                                         [&](const TeamDef& t) { return t.id == first->team_id; }) -
                                            kTeams.begin());
    StatsLine exhibition = stats_line(rng, on_tour, first->year, kRegular, 0.5, 0.1);
    exhibition.phase_code = 1;
    const auto at = first - stats.begin() + 1;
    stats.insert(stats.begin() + at, {dead, exhibition});
}

}  // namespace

Sample make_sample(const SampleOptions& options) {
    Sample sample;
    const int seasons = std::clamp(options.seasons, 1, kMaxSampleSeasons);
    sample.players = std::clamp(options.players, kMinSamplePlayers, kMaxSamplePlayers);
    sample.last_season = kSampleLastSeason;
    sample.first_season = kSampleLastSeason - seasons + 1;

    Rng rng(options.seed);
    Rng extra(options.seed ^ 0x9E3779B97F4A7C15ull);
    auto profiles = make_profiles(rng, sample.players, sample.first_season, sample.last_season);

    auto& c = sample.contents;
    c.teams.emplace();
    for (const TeamDef& t : kTeams) {
        TeamEntry r;
        r.team_id = t.id;
        r.abbreviation = t.abbrev;
        r.use_mark_50 = static_cast<int16_t>(t.league + 1);
        r.use_mark_52 = static_cast<int16_t>(t.division + 1);
        c.teams->push_back(r);
    }
    c.leagues.emplace();
    for (const LeagueDef& l : kLeagues) {
        LeagueEntry r;
        r.league_id = l.id;
        r.title = l.title;
        r.use_mark_44 = 1;
        c.leagues->push_back(r);
    }
    c.players.emplace();
    for (const Profile& p : profiles)
        if (p.has_record) c.players->push_back(player_record(p));

    c.team_seasons.emplace();
    c.league_seasons.emplace();
    c.stats.emplace();
    const std::size_t line_limit = kMaxSampleStatsLines - 2;  // room for the two passed-over lines
    SeasonState state;
    for (int year = sample.first_season; year <= sample.last_season; ++year) {
        play_season(rng, state);
        const bool early = (year - sample.first_season) < seasons / 2;
        for (int league = 0; league < static_cast<int>(kLeagues.size()); ++league)
            c.league_seasons->push_back(league_season_record(league, year, early));
        for (std::size_t t = 0; t < kTeamCount; ++t) c.team_seasons->push_back(team_season_record(state, t, year));
        season_lines(rng, extra, profiles, state, year, line_limit, *c.stats);
        if (c.stats->size() >= line_limit) sample.stats_capped = true;
    }
    add_passed_over_records(rng, sample, profiles);
    return sample;
}

std::string sample_summary(const Sample& s) {
    const auto& c = s.contents;
    std::ostringstream out;
    out << "sample encyclopedia, seasons " << s.first_season << "-" << s.last_season << ": " << c.teams->size()
        << " team records, " << c.players->size() << " player records for " << s.players << " players, "
        << c.stats->size() << " statistics lines" << (s.stats_capped ? " (capped)" : "") << ", "
        << c.team_seasons->size() << " team seasons, " << c.league_seasons->size() << " league seasons, "
        << c.leagues->size() << " league records";
    return out.str();
}

}  // namespace tb::enc
