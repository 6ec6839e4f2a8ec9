// Reading the files of one encyclopedia into records.
#include "encyclopedia/encyclopedia.h"
#include "encyclopedia/file_io.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace tb::enc {
namespace fs = std::filesystem;

namespace {

template <class Record>
Record decode_one(const unsigned char* bytes);
template <> TeamEntry decode_one<TeamEntry>(const unsigned char* b) { return decode_team(b); }
template <> PlayerEntry decode_one<PlayerEntry>(const unsigned char* b) { return decode_player(b); }
template <> StatsLine decode_one<StatsLine>(const unsigned char* b) { return decode_stats(b); }
template <> TeamSeason decode_one<TeamSeason>(const unsigned char* b) { return decode_team_season(b); }
template <> LeagueSeason decode_one<LeagueSeason>(const unsigned char* b) {
    return decode_league_season(b);
}
template <> LeagueEntry decode_one<LeagueEntry>(const unsigned char* b) { return decode_league(b); }

// Streams a file of the source into records; a chunk may end inside a
// record, whose first bytes wait for the next chunk.
template <class Record>
std::vector<Record> read_all(const ByteSource& source, std::string_view name, FileFacts* facts) {
    constexpr std::size_t size = Record::kSize;
    std::vector<Record> out;
    FileFacts found;
    found.present = source.find(name).has_value();
    std::array<unsigned char, size> carry{};
    std::size_t carried = 0;
    source.read(name, [&](const unsigned char* data, std::size_t n) {
        found.bytes += n;
        if (out.capacity() == 0) out.reserve(n / size + 1);
        if (carried > 0) {
            const std::size_t take = std::min(size - carried, n);
            std::memcpy(carry.data() + carried, data, take);
            carried += take;
            data += take;
            n -= take;
            if (carried < size) return;
            out.push_back(decode_one<Record>(carry.data()));
            carried = 0;
        }
        const std::size_t whole = n / size;
        for (std::size_t i = 0; i < whole; ++i) out.push_back(decode_one<Record>(data + i * size));
        carried = n - whole * size;
        std::memcpy(carry.data(), data + whole * size, carried);
    });
    found.records = out.size();
    found.partial_bytes = carried;
    if (facts) *facts = found;
    return out;
}

}  // namespace

template <class Record>
std::vector<Record> decode_records(const unsigned char* bytes, std::size_t size, FileFacts* facts) {
    std::vector<Record> out;
    const std::size_t whole = size / Record::kSize;
    out.reserve(whole);
    for (std::size_t i = 0; i < whole; ++i) out.push_back(decode_one<Record>(bytes + i * Record::kSize));
    if (facts) *facts = FileFacts{true, size, whole, size - whole * Record::kSize};
    return out;
}

template std::vector<TeamEntry> decode_records<TeamEntry>(const unsigned char*, std::size_t, FileFacts*);
template std::vector<PlayerEntry> decode_records<PlayerEntry>(const unsigned char*, std::size_t, FileFacts*);
template std::vector<StatsLine> decode_records<StatsLine>(const unsigned char*, std::size_t,
                                                                          FileFacts*);
template std::vector<TeamSeason> decode_records<TeamSeason>(const unsigned char*, std::size_t,
                                                                        FileFacts*);
template std::vector<LeagueSeason> decode_records<LeagueSeason>(const unsigned char*, std::size_t,
                                                                            FileFacts*);
template std::vector<LeagueEntry> decode_records<LeagueEntry>(const unsigned char*, std::size_t, FileFacts*);

std::vector<std::string> file_problems(const FileFacts& facts, std::size_t used) {
    std::vector<std::string> problems;
    if (!facts.present) {
        problems.emplace_back("is missing");
        return problems;
    }
    if (facts.bytes == 0) {
        problems.emplace_back("is empty");
        return problems;
    }
    if (facts.partial_bytes > 0)
        problems.push_back("ends with a partial record of " + std::to_string(facts.partial_bytes) +
                           " bytes, which is ignored");
    if (used == 0)
        problems.push_back(facts.records == 0 ? std::string("has no whole record")
                                              : "has no used record (" + std::to_string(facts.records) +
                                                    (facts.records == 1 ? " record" : " records") +
                                                    ", none passes its tests)");
    return problems;
}

Encyclopedia::Encyclopedia(fs::path folder) : source_(folder_source(folder)) {}

Encyclopedia::Encyclopedia(std::shared_ptr<const ByteSource> source) : source_(std::move(source)) {
    if (!source_) throw EncyclopediaError("no encyclopedia was given");
}

std::vector<TeamEntry> Encyclopedia::read_teams(FileFacts* facts) const {
    return read_all<TeamEntry>(*source_, kTeamFile, facts);
}
std::vector<PlayerEntry> Encyclopedia::read_players(FileFacts* facts) const {
    return read_all<PlayerEntry>(*source_, kPlayerFile, facts);
}
std::vector<StatsLine> Encyclopedia::read_stats(FileFacts* facts) const {
    return read_all<StatsLine>(*source_, kStatsFile, facts);
}
std::vector<TeamSeason> Encyclopedia::read_team_seasons(FileFacts* facts) const {
    return read_all<TeamSeason>(*source_, kTeamSeasonFile, facts);
}
std::vector<LeagueSeason> Encyclopedia::read_league_seasons(FileFacts* facts) const {
    return read_all<LeagueSeason>(*source_, kLeagueSeasonFile, facts);
}
std::vector<LeagueEntry> Encyclopedia::read_leagues(FileFacts* facts) const {
    return read_all<LeagueEntry>(*source_, kLeagueFile, facts);
}

TeamTable build_team_table(const std::vector<TeamEntry>& records) {
    TeamTable table;
    for (const TeamEntry& r : records)
        if (is_used(r)) table[r.team_id] = r.abbreviation;
    return table;
}

BirthYears build_birth_years(const std::vector<PlayerEntry>& records, int current_year) {
    BirthYears years;
    for (const PlayerEntry& r : records)
        if (is_used(r, current_year)) years[r.player_id] = r.birth_year;
    return years;
}

}  // namespace tb::enc
