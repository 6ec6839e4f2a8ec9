// The record writer: the field walks of record_fields.h with a writer.
#include "archive/record_writer.h"

#include "encyclopedia/encyclopedia.h"
#include "encyclopedia/record_fields.h"
#include "platform/file_access.h"
#include "text/utf8.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tb::enc {

namespace {

namespace fs = std::filesystem;
using namespace fields;

constexpr std::size_t kRecordsPerChunk = 8192;

// Writes a record into zero-filled bytes.
class FieldWriter {
public:
    explicit FieldWriter(std::size_t size) : bytes_(size, '\0') {}
    void operator()(std::size_t offset, int16_t v) { put(offset, static_cast<uint16_t>(v), 2); }
    void operator()(std::size_t offset, int32_t v) { put(offset, static_cast<uint32_t>(v), 4); }
    void operator()(std::size_t offset, uint8_t v) { put(offset, v, 1); }
    // Windows-1252 bytes, cut to the field; shorter texts are NUL-padded.
    void text(std::size_t offset, std::size_t width, const std::string& utf8) {
        const std::string bytes = utf8_to_cp1252(utf8);
        std::memcpy(bytes_.data() + offset, bytes.data(), std::min(width, bytes.size()));
    }
    void in_use(std::size_t, bool) {}  // follows from the text written
    std::string take() { return std::move(bytes_); }

private:
    void put(std::size_t offset, uint32_t u, int width) {
        for (int k = 0; k < width; ++k) bytes_[offset + k] = static_cast<char>((u >> (8 * k)) & 0xFF);
    }
    std::string bytes_;
};

template <class Record, class Fields>
std::string encode_with(const Record& r, Fields fields) {
    FieldWriter writer(Record::kSize);
    fields(writer, r);
    return writer.take();
}

std::string quoted(const fs::path& p) { return "'" + text::path_utf8(p) + "'"; }

template <class Record>
void write_file(const fs::path& path, const std::vector<Record>& records) {
    errno = 0;
    platform::FileHandle file = platform::open_file(path, true);
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

std::string encode(const TeamEntry& r) { return encode_with(r, [](auto& v, auto& x) { team_fields(v, x); }); }
std::string encode(const PlayerEntry& r) { return encode_with(r, [](auto& v, auto& x) { player_fields(v, x); }); }
std::string encode(const StatsLine& r) { return encode_with(r, [](auto& v, auto& x) { stats_fields(v, x); }); }
std::string encode(const TeamSeason& r) {
    return encode_with(r, [](auto& v, auto& x) { team_season_fields(v, x); });
}
std::string encode(const LeagueSeason& r) {
    return encode_with(r, [](auto& v, auto& x) { league_season_fields(v, x); });
}
std::string encode(const LeagueEntry& r) { return encode_with(r, [](auto& v, auto& x) { league_fields(v, x); }); }

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
