// Reading the six encyclopedia files of one folder (or of any byte source).
#pragma once

#include "encyclopedia/byte_source.h"
#include "encyclopedia/records.h"
#include "text/cp1252.h"

#include <cstdint>
#include <filesystem>
#include <memory>
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

// Windows-1252 <-> UTF-8 (see text/cp1252.h).
using text::cp1252_to_utf8;
using text::utf8_to_cp1252;
// A fixed-length text field: cut at the first NUL, decoded to UTF-8.
std::string decode_text_field(const unsigned char* field, std::size_t width);

// Little-endian field access on raw record bytes.
int16_t read_i16(const unsigned char* p);
int32_t read_i32(const unsigned char* p);

// Decoders: `bytes` holds exactly T::kSize bytes.
TeamEntry decode_team(const unsigned char* bytes);
PlayerEntry decode_player(const unsigned char* bytes);
StatsLine decode_stats(const unsigned char* bytes);
TeamSeason decode_team_season(const unsigned char* bytes);
LeagueSeason decode_league_season(const unsigned char* bytes);
LeagueEntry decode_league(const unsigned char* bytes);

// What reading one file found: whether it is there, how many whole records
// it holds, and the bytes of a partial record at its end (ignored).
struct FileFacts {
    bool present = false;
    std::uint64_t bytes = 0;
    std::size_t records = 0;
    std::size_t partial_bytes = 0;
    std::size_t used = 0;   // by the used_* readers: the records kept
};

// A record with its record number in its file (counted from 1).
template <class Record>
struct Numbered {
    int32_t number = 0;
    Record record;
};

// What is wrong with a file for a conversion, in words that follow its name
// ("is missing", "is empty", "ends with a partial record of 20 bytes, which
// is ignored", "has no used record"); empty when nothing is. `used` is how
// many of its records pass their "used" tests.
std::vector<std::string> file_problems(const FileFacts& facts, std::size_t used);

// One encyclopedia: the six files of a folder, or of any other byte source.
class Encyclopedia {
public:
    // The files of a folder (see folder_source). Throws EncyclopediaError
    // when `folder` does not exist, is not a folder, or cannot be listed.
    explicit Encyclopedia(std::filesystem::path folder);
    // The files of any source (memory, for tests and fuzzing).
    explicit Encyclopedia(std::shared_ptr<const ByteSource> source);

    // The folder the files are in; empty when they are not in a folder.
    std::filesystem::path folder() const { return source_->folder(); }

    // Where a file of the encyclopedia is, if it is there.
    std::optional<std::filesystem::path> find(std::string_view canonical_name) const {
        return source_->find(canonical_name);
    }

    // All whole records of a file, used or not, in file order: element i is
    // record number i + 1. A missing file gives no records; a partial
    // trailing record is ignored. `facts`, when given, says what was found.
    // Throws EncyclopediaError (naming the path) when a file exists but
    // cannot be read.
    std::vector<TeamEntry> read_teams(FileFacts* facts = nullptr) const;
    std::vector<PlayerEntry> read_players(FileFacts* facts = nullptr) const;
    std::vector<StatsLine> read_stats(FileFacts* facts = nullptr) const;
    std::vector<TeamSeason> read_team_seasons(FileFacts* facts = nullptr) const;
    std::vector<LeagueSeason> read_league_seasons(FileFacts* facts = nullptr) const;
    std::vector<LeagueEntry> read_leagues(FileFacts* facts = nullptr) const;

    // Only the records that pass their "used" rule (see records.h), with
    // their record numbers, in file order: an unused record is decoded,
    // counted in `facts` and dropped, so that memory follows the used
    // records whatever the size of the file. Throw as the read_* functions
    // do, and EncyclopediaError "not enough memory to read <FILE> (<n>
    // records)" when the used records do not fit in memory or in the limit
    // set below.
    std::vector<Numbered<TeamEntry>> used_teams(FileFacts* facts = nullptr) const;
    std::vector<Numbered<PlayerEntry>> used_players(int current_year, FileFacts* facts = nullptr) const;
    std::vector<Numbered<StatsLine>> used_stats(FileFacts* facts = nullptr) const;
    std::vector<Numbered<TeamSeason>> used_team_seasons(FileFacts* facts = nullptr) const;
    std::vector<Numbered<LeagueSeason>> used_league_seasons(FileFacts* facts = nullptr) const;
    std::vector<Numbered<LeagueEntry>> used_leagues(FileFacts* facts = nullptr) const;

    // The most memory the used records of one file may take (bytes), for a
    // run that must stay within a budget, and for tests of running out.
    void limit_memory(std::size_t bytes) { memory_limit_ = bytes; }

private:
    std::shared_ptr<const ByteSource> source_;
    std::size_t memory_limit_ = SIZE_MAX;
};

// Decodes whole records from the bytes of a file: element i is record
// i + 1; a partial trailing record is ignored (and counted in `facts`).
template <class Record>
std::vector<Record> decode_records(const unsigned char* bytes, std::size_t size, FileFacts* facts = nullptr);

// Team abbreviation by team number, from the used team records; a later
// record with the same number wins.
using TeamTable = std::unordered_map<int32_t, std::string>;
TeamTable build_team_table(const std::vector<TeamEntry>& records);
TeamTable build_team_table(const std::vector<Numbered<TeamEntry>>& used);

// Birth year by player number, from the used player records; a later record
// wins. Month and day are not needed (the age is season year - birth year).
using BirthYears = std::unordered_map<int32_t, int32_t>;
BirthYears build_birth_years(const std::vector<PlayerEntry>& records, int current_year);
BirthYears build_birth_years(const std::vector<Numbered<PlayerEntry>>& used);

}  // namespace tb::enc
