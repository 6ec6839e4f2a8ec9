// Reading (and, for tests and the sample generator, writing) the six
// encyclopedia files of one folder.
#pragma once

#include "encyclopedia/records.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tb::enc {

// Canonical file names, as the game writes them.
inline constexpr std::string_view kTeamFile = "ENCTEAM.DAT";
inline constexpr std::string_view kPlayerFile = "ENCPLYR.DAT";
inline constexpr std::string_view kStatsFile = "ENCPLSTATS.DAT";
inline constexpr std::string_view kTeamSeasonFile = "enctmyr.dat";
inline constexpr std::string_view kLeagueSeasonFile = "enclgyr.dat";
inline constexpr std::string_view kLeagueFile = "encleag.dat";

// A folder or file that cannot be read. what() names the path and the reason.
class EncyclopediaError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Windows-1252 <-> UTF-8. Every byte 0x01..0xFF decodes (the five codes that
// Windows-1252 leaves unassigned map to the C1 control of the same value).
std::string cp1252_to_utf8(std::string_view bytes);
// Characters with no Windows-1252 code become '?'.
std::string utf8_to_cp1252(std::string_view utf8);
// A fixed-length text field: cut at the first NUL, decoded to UTF-8.
std::string decode_text_field(const unsigned char* field, std::size_t width);

// Little-endian field access on raw record bytes.
int16_t read_i16(const unsigned char* p);
int32_t read_i32(const unsigned char* p);

// Decoders: `bytes` holds exactly T::kSize bytes.
TeamRecord decode_team(const unsigned char* bytes);
PlayerRecord decode_player(const unsigned char* bytes);
PlayerSeasonStats decode_stats(const unsigned char* bytes);
TeamSeasonRecord decode_team_season(const unsigned char* bytes);
LeagueSeasonRecord decode_league_season(const unsigned char* bytes);
LeagueRecord decode_league(const unsigned char* bytes);

// Encoders, the inverse of the decoders: kSize bytes, unused fields zero,
// text encoded to Windows-1252 and NUL-padded (a text that fills the field
// gets no NUL; a longer one is cut).
std::string encode(const TeamRecord& r);
std::string encode(const PlayerRecord& r);
std::string encode(const PlayerSeasonStats& r);
std::string encode(const TeamSeasonRecord& r);
std::string encode(const LeagueSeasonRecord& r);
std::string encode(const LeagueRecord& r);

// One encyclopedia folder. Files are looked up by name without regard to
// letter case; when several names match, the canonical spelling wins.
// Files are only ever opened for reading; nothing is created in the folder.
class Encyclopedia {
public:
    // Throws EncyclopediaError when `folder` does not exist, is not a
    // folder, or cannot be listed.
    explicit Encyclopedia(std::filesystem::path folder);

    const std::filesystem::path& folder() const { return folder_; }

    // The path of a file of the folder, if it is there.
    std::optional<std::filesystem::path> find(std::string_view canonical_name) const;

    // All whole records of a file, used or not, in file order: element i is
    // record number i + 1. A missing file gives no records; a partial
    // trailing record is ignored. Throws EncyclopediaError (naming the path)
    // when a file exists but cannot be read.
    std::vector<TeamRecord> read_teams() const;
    std::vector<PlayerRecord> read_players() const;
    std::vector<PlayerSeasonStats> read_stats() const;
    std::vector<TeamSeasonRecord> read_team_seasons() const;
    std::vector<LeagueSeasonRecord> read_league_seasons() const;
    std::vector<LeagueRecord> read_leagues() const;

private:
    std::filesystem::path folder_;
    std::unordered_map<std::string, std::filesystem::path> files_;  // lower-case name -> path
};

// Team abbreviation by team number, from the used team records; a later
// record with the same number wins.
using TeamTable = std::unordered_map<int32_t, std::string>;
TeamTable build_team_table(const std::vector<TeamRecord>& records);

// Birth year by player number, from the used player records; a later record
// wins. Month and day are not needed (the age is season year - birth year).
using BirthYears = std::unordered_map<int32_t, int32_t>;
BirthYears build_birth_years(const std::vector<PlayerRecord>& records, int current_year);

// Writing a whole encyclopedia (tests and the sample generator). Missing
// vectors write no file. Throws EncyclopediaError on failure.
struct EncyclopediaContents {
    std::optional<std::vector<TeamRecord>> teams;
    std::optional<std::vector<PlayerRecord>> players;
    std::optional<std::vector<PlayerSeasonStats>> stats;
    std::optional<std::vector<TeamSeasonRecord>> team_seasons;
    std::optional<std::vector<LeagueSeasonRecord>> league_seasons;
    std::optional<std::vector<LeagueRecord>> leagues;
};
void write_encyclopedia(const std::filesystem::path& folder, const EncyclopediaContents& contents);

}  // namespace tb::enc
