// Record layouts of the six encyclopedia files written by the baseball game.
//
// Every file is a sequence of fixed-length little-endian records with no
// header. Record n (counted from 1) starts at byte (n - 1) * record length.
// The first 16-bit field of every record is a status word; a record is used
// only when it is 0 (and when the further tests of its `is_used` pass).
//
// Text fields hold Windows-1252 bytes; a field is cut at its first NUL
// (a field with no NUL is taken whole) and kept here decoded as UTF-8.
// Fields this program does not use are not kept; the encoders write them as
// zero bytes. The comment after each field gives its byte offset.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tb::enc {

// ENCTEAM.DAT, 56 bytes: a team's number and abbreviation.
struct TeamEntry {
    static constexpr std::size_t kSize = 56;
    int16_t status = 0;          // 0
    int16_t team_id = 0;         // 2
    std::string abbreviation;    // 4, 4 characters
    int16_t use_mark_50 = 0;     // 50, only tested: must be > 0
    int16_t use_mark_52 = 0;     // 52, only tested: must be > 0
};

// ENCPLYR.DAT, 52 bytes: a player's birth date.
struct PlayerEntry {
    static constexpr std::size_t kSize = 52;
    int16_t status = 0;          // 0
    int32_t player_id = 0;       // 4
    int16_t birth_year = 0;      // 40
    uint8_t birth_month = 0;     // 42
    uint8_t birth_day = 0;       // 43
    int16_t use_mark_48 = 0;     // 48, only tested: must be > 0
    int16_t use_mark_50 = 0;     // 50, only tested: must be > 0
};

// The season phases of a statistics line, by its phase code. Code 1 (an
// exhibition) is passed over without a word; any other code is unknown.
enum class SeasonPhase : uint8_t { Regular, WildCard, DivisionSeries, ChampionshipSeries, WorldSeries };
inline constexpr uint8_t kExhibitionCode = 1;
std::optional<SeasonPhase> season_phase_of(uint8_t phase_code);

// What a statistics line holds, by its kind code: hitting figures, pitching
// figures, or both (a two-way line).
enum class LineKind : uint8_t { Hitting = 1, Pitching = 2, TwoWay = 3 };
std::optional<LineKind> line_kind_of(uint8_t kind_code);

// The batting figures of a statistics line.
struct HittingFigures {
    int16_t at_bats = 0;                  // 58
    int16_t runs = 0;                     // 60
    int16_t runs_batted_in = 0;           // 62
    int16_t hits = 0;                     // 64
    uint8_t doubles = 0;                  // 66
    uint8_t triples = 0;                  // 67
    uint8_t home_runs = 0;                // 68
    uint8_t hit_by_pitch = 0;             // 69
    int16_t strikeouts = 0;               // 70
    int16_t walks = 0;                    // 72
    uint8_t intentional_walks = 0;        // 74
    uint8_t stolen_bases = 0;             // 75
    uint8_t caught_stealing = 0;          // 76
    uint8_t sacrifice_hits = 0;           // 78
    uint8_t sacrifice_flies = 0;          // 79
    uint8_t double_plays = 0;             // 80, grounded into
};

// The pitching figures of a statistics line.
struct PitchingFigures {
    int16_t batters_faced = 0;            // 122
    int16_t outs = 0;                     // 124
    int16_t at_bats = 0;                  // 126, opponents'
    int16_t hits = 0;                     // 128
    int16_t strikeouts = 0;               // 130
    int16_t walks = 0;                    // 132
    uint8_t intentional_walks = 0;        // 134
    int16_t runs = 0;                     // 136
    int16_t earned_runs = 0;              // 138
    uint8_t home_runs = 0;                // 142
    uint8_t wild_pitches = 0;             // 143
    uint8_t balks = 0;                    // 144
    uint8_t double_plays = 0;             // 148
    uint8_t wins = 0;                     // 149
    uint8_t losses = 0;                   // 150
    uint8_t saves = 0;                    // 151
    uint8_t blown_saves = 0;              // 153
    uint8_t holds = 0;                    // 154
    uint8_t shutouts = 0;                 // 162
    uint8_t complete_games = 0;           // 163
    uint8_t games = 0;                    // 164
    uint8_t games_started = 0;            // 166
};

// ENCPLSTATS.DAT, 344 bytes: one statistics line (player, season, phase,
// team).
struct StatsLine {
    static constexpr std::size_t kSize = 344;
    int16_t status = 0;          // 0
    int32_t player_id = 0;       // 4
    uint8_t phase_code = 0;      // 8, see season_phase_of
    int16_t year = 0;            // 10
    int16_t team_id = 0;         // 12
    std::string first_name;      // 16, 16 characters
    std::string last_name;       // 32, 16 characters
    uint8_t kind = 0;            // 48, see line_kind_of
    HittingFigures hitting;
    PitchingFigures pitching;
};

// A 16-byte block of enctmyr.dat: one season phase of one team season.
struct PhaseRecord {
    static constexpr std::size_t kSize = 16;
    int16_t left_on_base = 0;    // 0
    int16_t double_plays = 0;    // 2
    int16_t runs_scored = 0;     // 6
    int16_t runs_allowed = 0;    // 8
    uint8_t won = 0;             // 10
    uint8_t lost = 0;            // 11
    uint8_t shutouts = 0;        // 14

    bool played() const { return won != 0 || lost != 0; }
};

// enctmyr.dat, 548 bytes: one team season.
struct TeamSeason {
    static constexpr std::size_t kSize = 548;
    int16_t status = 0;                  // 0
    int16_t team_id = 0;                 // 4
    int16_t year = 0;                    // 6
    std::string city;                    // 8, 20 characters
    std::string nickname;                // 28, 20 characters
    std::string season_abbreviation;     // 118, 4 characters
    int16_t league_id = 0;               // 122
    PhaseRecord regular;                 // 466
    PhaseRecord wild_card;               // 482, read but not shown
    PhaseRecord division_series;         // 498
    PhaseRecord championship_series;     // 514
    PhaseRecord world_series;            // 530
};

// enclgyr.dat, 1000-byte slots (864 bytes used): one league season.
struct LeagueSeason {
    static constexpr std::size_t kSize = 1000;
    int16_t status = 0;                           // 0
    int16_t league_id = 0;                        // 4
    int16_t year = 0;                             // 6
    std::string name;                             // 12, 40 characters
    std::array<std::string, 4> division_names;    // 52, 72, 92, 112: 20 characters each
    // Whether each division name is "in use": the uncut 20-byte field compares
    // greater than the one-character text " " by character codes, that is its
    // first byte is 0x20 or above. Encoders ignore this flag (it follows from
    // the name they write).
    std::array<bool, 4> division_in_use{};
    std::array<int16_t, 60> division_teams{};     // 132: slots 15k..15k+14 belong to division k; < 0 empty
};

// encleag.dat, 50 bytes: one league.
struct LeagueEntry {
    static constexpr std::size_t kSize = 50;
    int16_t status = 0;          // 0
    int16_t league_id = 0;       // 2
    std::string title;           // 4, 40 characters
    bool title_in_use = false;   // as division_in_use: first byte >= 0x20
    int16_t use_mark_44 = 0;     // 44, must be >= 1
};

// The "used" rules, one per layout.
bool is_used(const TeamEntry& r);
// `current_year` is the calendar year of the run: a player born in it or
// later has no usable birth date.
bool is_used(const PlayerEntry& r, int current_year);
bool is_used(const StatsLine& r);     // status 0 and player_id > 0
bool is_used(const TeamSeason& r);    // status 0 and year > 0
bool is_used(const LeagueSeason& r);  // status 0 and year >= 1
bool is_used(const LeagueEntry& r);   // status 0, use_mark_44 >= 1, title in use

}  // namespace tb::enc
