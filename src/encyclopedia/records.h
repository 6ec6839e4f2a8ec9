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
// zero bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tb::enc {

// ENCTEAM.DAT, 56 bytes.
struct TeamRecord {
    static constexpr std::size_t kSize = 56;
    int16_t Status = 0;        // 0
    int16_t TeamId = 0;        // 2
    std::string TeamAbbrev;    // 4, 4 characters
    int16_t Field50 = 0;       // 50, tested only: must be > 0
    int16_t Field52 = 0;       // 52, tested only: must be > 0
};

// ENCPLYR.DAT, 52 bytes.
struct PlayerRecord {
    static constexpr std::size_t kSize = 52;
    int16_t Status = 0;        // 0
    int32_t PlayerId = 0;      // 4
    int16_t BirthYear = 0;     // 40
    uint8_t BirthMonth = 0;    // 42
    uint8_t BirthDay = 0;      // 43
    int16_t Field48 = 0;       // 48, tested only: must be > 0
    int16_t Field50 = 0;       // 50, tested only: must be > 0
};

// ENCPLSTATS.DAT, 344 bytes: one statistics line (player, season, phase, team).
struct PlayerSeasonStats {
    static constexpr std::size_t kSize = 344;
    int16_t Status = 0;          // 0
    int32_t PlayerId = 0;        // 4
    uint8_t PhaseCode = 0;       // 8: 2 regular, 5 wild card, 6 division, 7 LCS, 8 WS; 1 ignored
    int16_t SeasonYear = 0;      // 10
    int16_t TeamId = 0;          // 12
    std::string FirstName;       // 16, 16 characters
    std::string LastName;        // 32, 16 characters
    uint8_t StatKind = 0;        // 48: 1 hitting, 2 pitching, 3 both (two-way)

    int16_t HitAB = 0;           // 58
    int16_t HitRuns = 0;         // 60
    int16_t HitRBI = 0;          // 62
    int16_t HitHits = 0;         // 64
    uint8_t HitDoubles = 0;      // 66
    uint8_t HitTriples = 0;      // 67
    uint8_t HitHR = 0;           // 68
    uint8_t HitHBP = 0;          // 69
    int16_t HitStrikeouts = 0;   // 70
    int16_t HitWalks = 0;        // 72
    uint8_t HitIntWalks = 0;     // 74
    uint8_t HitSB = 0;           // 75
    uint8_t HitCS = 0;           // 76
    uint8_t HitSH = 0;           // 78
    uint8_t HitSF = 0;           // 79
    uint8_t HitGIDP = 0;         // 80

    int16_t PitBattersFaced = 0; // 122
    int16_t PitOuts = 0;         // 124
    int16_t PitAtBats = 0;       // 126
    int16_t PitHits = 0;         // 128
    int16_t PitStrikeouts = 0;   // 130
    int16_t PitWalks = 0;        // 132
    uint8_t PitIntWalks = 0;     // 134
    int16_t PitRuns = 0;         // 136
    int16_t PitEarnedRuns = 0;   // 138
    uint8_t PitHR = 0;           // 142
    uint8_t PitWildPitches = 0;  // 143
    uint8_t PitBalks = 0;        // 144
    uint8_t PitDoublePlays = 0;  // 148
    uint8_t PitWins = 0;         // 149
    uint8_t PitLosses = 0;       // 150
    uint8_t PitSaves = 0;        // 151
    uint8_t PitBlownSaves = 0;   // 153
    uint8_t PitHolds = 0;        // 154
    uint8_t PitShutouts = 0;     // 162
    uint8_t PitCompleteGames = 0;// 163
    uint8_t PitGames = 0;        // 164
    uint8_t PitGamesStarted = 0; // 166
};

// A 16-byte block of enctmyr.dat: one season phase of one team season.
struct TeamPhaseTotals {
    static constexpr std::size_t kSize = 16;
    int16_t LOB = 0;       // 0
    int16_t GDP = 0;       // 2
    int16_t Scored = 0;    // 6
    int16_t Allowed = 0;   // 8
    uint8_t Won = 0;       // 10
    uint8_t Lost = 0;      // 11
    uint8_t SHO = 0;       // 14

    bool played() const { return Won != 0 || Lost != 0; }
};

// enctmyr.dat, 548 bytes: one team season.
struct TeamSeasonRecord {
    static constexpr std::size_t kSize = 548;
    int16_t Status = 0;          // 0
    int16_t TeamId = 0;          // 4
    int16_t SeasonYear = 0;      // 6
    std::string TeamCity;        // 8, 20 characters
    std::string TeamNickname;    // 28, 20 characters
    std::string SeasonAbbrev;    // 118, 4 characters
    int16_t LeagueId = 0;        // 122
    TeamPhaseTotals RegTotals;   // 466
    TeamPhaseTotals WildTotals;  // 482, read but not shown
    TeamPhaseTotals DivTotals;   // 498
    TeamPhaseTotals LcsTotals;   // 514
    TeamPhaseTotals WsTotals;    // 530
};

// enclgyr.dat, 1000-byte slots (864 bytes used): one league season.
struct LeagueSeasonRecord {
    static constexpr std::size_t kSize = 1000;
    int16_t Status = 0;                          // 0
    int16_t LeagueId = 0;                        // 4
    int16_t SeasonYear = 0;                      // 6
    std::string LeagueName;                      // 12, 40 characters
    std::array<std::string, 4> DivisionNames;    // 52, 72, 92, 112: 20 characters each
    // Whether each division name is "in use": the uncut 20-byte field compares
    // greater than the one-character text " " by character codes, that is its
    // first byte is 0x20 or above. Encoders ignore this flag (it follows from
    // the name they write).
    std::array<bool, 4> DivisionInUse{};
    std::array<int16_t, 60> DivisionTeams{};     // 132: slots 15k..15k+14 belong to division k; < 0 empty
};

// encleag.dat, 50 bytes: one league.
struct LeagueRecord {
    static constexpr std::size_t kSize = 50;
    int16_t Status = 0;          // 0
    int16_t LeagueId = 0;        // 2
    std::string LeagueTitle;     // 4, 40 characters
    bool TitleInUse = false;     // as DivisionInUse: first byte >= 0x20
    int16_t LeagueField44 = 0;   // 44, must be >= 1
};

// The "used" rules, one per layout.
bool is_used(const TeamRecord& r);
// `current_year` is the calendar year of the run: a player born in it or
// later has no usable birth date.
bool is_used(const PlayerRecord& r, int current_year);
bool is_used(const PlayerSeasonStats& r);  // Status 0 and PlayerId > 0
bool is_used(const TeamSeasonRecord& r);   // Status 0 and SeasonYear > 0
bool is_used(const LeagueSeasonRecord& r); // Status 0 and SeasonYear >= 1
bool is_used(const LeagueRecord& r);       // Status 0, LeagueField44 >= 1, title in use

}  // namespace tb::enc
