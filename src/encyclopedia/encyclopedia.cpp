// Finding and reading the files of one encyclopedia folder, and writing one
// (tests and the sample generator only).
#include "encyclopedia/encyclopedia.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace tb::enc {
namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 6> kCanonicalNames = {
    kTeamFile, kPlayerFile, kStatsFile, kTeamSeasonFile, kLeagueSeasonFile, kLeagueFile,
};

std::string lower_ascii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool is_canonical(const std::string& name) {
    return std::find(kCanonicalNames.begin(), kCanonicalNames.end(), name) != kCanonicalNames.end();
}

// Of two spellings of one name, the canonical one wins; otherwise the first
// in byte order, so that the choice does not depend on listing order.
bool better_spelling(const std::string& candidate, const std::string& current) {
    if (is_canonical(current)) return false;
    if (is_canonical(candidate)) return true;
    return candidate < current;
}

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Records are decoded from a buffer of this many at a time: large enough
// that the per-call cost of reading vanishes, small enough that the raw
// bytes never need as much memory as the decoded records.
constexpr std::size_t kRecordsPerChunk = 8192;

template <class Record, Record (*Decode)(const unsigned char*)>
std::vector<Record> read_all(const std::optional<fs::path>& found) {
    std::vector<Record> out;
    if (!found) return out;
    const fs::path& path = *found;

    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (ec) {
        if (ec == std::errc::no_such_file_or_directory) return out;  // gone since the listing
        throw EncyclopediaError("cannot read encyclopedia file " + quoted(path) + ": " + ec.message());
    }
    if (!fs::is_regular_file(st))
        throw EncyclopediaError("cannot read encyclopedia file " + quoted(path) + ": not a regular file");

    errno = 0;
    FileHandle file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        const int err = errno;
        if (err == ENOENT) return out;
        throw EncyclopediaError("cannot open encyclopedia file " + quoted(path) + ": " +
                                std::strerror(err ? err : EIO));
    }
    std::setvbuf(file.get(), nullptr, _IONBF, 0);  // we read big blocks ourselves

    const auto size = fs::file_size(path, ec);
    if (!ec) out.reserve(static_cast<std::size_t>(size / Record::kSize));

    std::vector<unsigned char> buffer(kRecordsPerChunk * Record::kSize);
    std::size_t filled = 0;  // bytes in buffer not yet decoded
    for (;;) {
        const std::size_t got = std::fread(buffer.data() + filled, 1, buffer.size() - filled, file.get());
        filled += got;
        const std::size_t whole = filled / Record::kSize;
        for (std::size_t i = 0; i < whole; ++i) out.push_back(Decode(buffer.data() + i * Record::kSize));
        const std::size_t rest = filled - whole * Record::kSize;
        std::memmove(buffer.data(), buffer.data() + whole * Record::kSize, rest);
        filled = rest;
        if (got == 0) break;
    }
    if (std::ferror(file.get())) {
        const int err = errno;
        throw EncyclopediaError("cannot read encyclopedia file " + quoted(path) + ": " +
                                std::strerror(err ? err : EIO));
    }
    // Any bytes left in `filled` are a partial trailing record: ignored.
    return out;
}

template <class Record>
void write_file(const fs::path& path, const std::vector<Record>& records) {
    errno = 0;
    FileHandle file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        const int err = errno;
        throw EncyclopediaError("cannot create " + quoted(path) + ": " + std::strerror(err ? err : EIO));
    }
    std::string chunk;
    chunk.reserve(kRecordsPerChunk * Record::kSize);
    auto flush = [&] {
        if (!chunk.empty() && std::fwrite(chunk.data(), 1, chunk.size(), file.get()) != chunk.size()) {
            const int err = errno;
            throw EncyclopediaError("cannot write " + quoted(path) + ": " + std::strerror(err ? err : EIO));
        }
        chunk.clear();
    };
    for (const Record& r : records) {
        chunk += encode(r);
        if (chunk.size() >= kRecordsPerChunk * Record::kSize) flush();
    }
    flush();
    if (std::fclose(file.release()) != 0) {
        const int err = errno;
        throw EncyclopediaError("cannot write " + quoted(path) + ": " + std::strerror(err ? err : EIO));
    }
}

}  // namespace

Encyclopedia::Encyclopedia(fs::path folder) : folder_(std::move(folder)) {
    std::error_code ec;
    const fs::file_status st = fs::status(folder_, ec);
    if (ec && ec != std::errc::no_such_file_or_directory)
        throw EncyclopediaError("cannot open encyclopedia folder " + quoted(folder_) + ": " + ec.message());
    if (!fs::exists(st))
        throw EncyclopediaError("encyclopedia folder " + quoted(folder_) + " does not exist");
    if (!fs::is_directory(st))
        throw EncyclopediaError("encyclopedia folder " + quoted(folder_) + " is not a folder");

    fs::directory_iterator it(folder_, ec);
    if (ec) throw EncyclopediaError("cannot list encyclopedia folder " + quoted(folder_) + ": " + ec.message());
    std::unordered_map<std::string, std::string> chosen;  // lower-case name -> spelling
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        const std::string name = it->path().filename().string();
        const std::string key = lower_ascii(name);
        auto [pos, inserted] = chosen.try_emplace(key, name);
        if (!inserted && better_spelling(name, pos->second)) pos->second = name;
    }
    if (ec) throw EncyclopediaError("cannot list encyclopedia folder " + quoted(folder_) + ": " + ec.message());
    for (const auto& [key, name] : chosen) files_.emplace(key, folder_ / name);
}

std::optional<fs::path> Encyclopedia::find(std::string_view canonical_name) const {
    const auto it = files_.find(lower_ascii(canonical_name));
    if (it == files_.end()) return std::nullopt;
    return it->second;
}

std::vector<TeamRecord> Encyclopedia::read_teams() const {
    return read_all<TeamRecord, decode_team>(find(kTeamFile));
}
std::vector<PlayerRecord> Encyclopedia::read_players() const {
    return read_all<PlayerRecord, decode_player>(find(kPlayerFile));
}
std::vector<PlayerSeasonStats> Encyclopedia::read_stats() const {
    return read_all<PlayerSeasonStats, decode_stats>(find(kStatsFile));
}
std::vector<TeamSeasonRecord> Encyclopedia::read_team_seasons() const {
    return read_all<TeamSeasonRecord, decode_team_season>(find(kTeamSeasonFile));
}
std::vector<LeagueSeasonRecord> Encyclopedia::read_league_seasons() const {
    return read_all<LeagueSeasonRecord, decode_league_season>(find(kLeagueSeasonFile));
}
std::vector<LeagueRecord> Encyclopedia::read_leagues() const {
    return read_all<LeagueRecord, decode_league>(find(kLeagueFile));
}

TeamTable build_team_table(const std::vector<TeamRecord>& records) {
    TeamTable table;
    for (const TeamRecord& r : records)
        if (is_used(r)) table[r.TeamId] = r.TeamAbbrev;
    return table;
}

BirthYears build_birth_years(const std::vector<PlayerRecord>& records, int current_year) {
    BirthYears years;
    for (const PlayerRecord& r : records)
        if (is_used(r, current_year)) years[r.PlayerId] = r.BirthYear;
    return years;
}

void write_encyclopedia(const fs::path& folder, const EncyclopediaContents& contents) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) throw EncyclopediaError("cannot create folder " + quoted(folder) + ": " + ec.message());
    if (!fs::is_directory(folder, ec))
        throw EncyclopediaError("cannot create folder " + quoted(folder) + ": not a folder");
    auto path_of = [&](std::string_view name) { return folder / std::string(name); };
    if (contents.teams) write_file(path_of(kTeamFile), *contents.teams);
    if (contents.players) write_file(path_of(kPlayerFile), *contents.players);
    if (contents.stats) write_file(path_of(kStatsFile), *contents.stats);
    if (contents.team_seasons) write_file(path_of(kTeamSeasonFile), *contents.team_seasons);
    if (contents.league_seasons) write_file(path_of(kLeagueSeasonFile), *contents.league_seasons);
    if (contents.leagues) write_file(path_of(kLeagueFile), *contents.leagues);
}

}  // namespace tb::enc
