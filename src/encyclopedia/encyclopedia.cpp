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

// Streams a file of the source record by record, calling `visit(number,
// record)` for each whole one; a chunk may end inside a record, whose first
// bytes wait for the next chunk.
template <class Record, class Visit>
FileFacts stream_records(const ByteSource& source, std::string_view name, Visit visit) {
    constexpr std::size_t size = Record::kSize;
    FileFacts found;
    found.present = source.find(name).has_value();
    std::array<unsigned char, size> carry{};
    std::size_t carried = 0;
    auto one = [&](const unsigned char* bytes) {
        ++found.records;
        visit(static_cast<int32_t>(found.records), decode_one<Record>(bytes));
    };
    source.read(name, [&](const unsigned char* data, std::size_t n) {
        found.bytes += n;
        if (carried > 0) {
            const std::size_t take = std::min(size - carried, n);
            std::memcpy(carry.data() + carried, data, take);
            carried += take;
            data += take;
            n -= take;
            if (carried < size) return;
            one(carry.data());
            carried = 0;
        }
        const std::size_t whole = n / size;
        for (std::size_t i = 0; i < whole; ++i) one(data + i * size);
        carried = n - whole * size;
        std::memcpy(carry.data(), data + whole * size, carried);
    });
    found.partial_bytes = carried;
    return found;
}

template <class Record>
std::vector<Record> read_all(const ByteSource& source, std::string_view name, FileFacts* facts) {
    std::vector<Record> out;
    const FileFacts found = stream_records<Record>(source, name, [&](int32_t, Record r) { out.push_back(std::move(r)); });
    if (facts) *facts = found;
    return out;
}

// The used records only: memory follows them, whatever the file's size. A
// memory limit, or memory running out, stops the read with a plain reason.
template <class Record, class Used>
std::vector<Numbered<Record>> read_used(const ByteSource& source, std::string_view name, Used used,
                                        std::size_t memory_limit, FileFacts* facts) {
    std::vector<Numbered<Record>> out;
    std::size_t records = 0;
    auto out_of_memory = [&] {
        return EncyclopediaError("not enough memory to read " + std::string(name) + " (" + std::to_string(records) +
                                 " records)");
    };
    FileFacts found;
    try {
        found = stream_records<Record>(source, name, [&](int32_t number, Record r) {
            ++records;
            if (!used(r)) return;
            if ((out.size() + 1) * sizeof(Numbered<Record>) > memory_limit) throw out_of_memory();
            out.push_back({number, std::move(r)});
        });
    } catch (const std::bad_alloc&) {
        std::vector<Numbered<Record>>().swap(out);
        throw out_of_memory();
    }
    found.used = out.size();
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

std::vector<Numbered<TeamEntry>> Encyclopedia::used_teams(FileFacts* facts) const {
    return read_used<TeamEntry>(*source_, kTeamFile, [](const TeamEntry& r) { return is_used(r); }, memory_limit_,
                                facts);
}
std::vector<Numbered<PlayerEntry>> Encyclopedia::used_players(int current_year, FileFacts* facts) const {
    return read_used<PlayerEntry>(*source_, kPlayerFile, [&](const PlayerEntry& r) { return is_used(r, current_year); },
                                  memory_limit_, facts);
}
std::vector<Numbered<StatsLine>> Encyclopedia::used_stats(FileFacts* facts) const {
    return read_used<StatsLine>(*source_, kStatsFile, [](const StatsLine& r) { return is_used(r); }, memory_limit_,
                                facts);
}
std::vector<Numbered<TeamSeason>> Encyclopedia::used_team_seasons(FileFacts* facts) const {
    return read_used<TeamSeason>(*source_, kTeamSeasonFile, [](const TeamSeason& r) { return is_used(r); },
                                 memory_limit_, facts);
}
std::vector<Numbered<LeagueSeason>> Encyclopedia::used_league_seasons(FileFacts* facts) const {
    return read_used<LeagueSeason>(*source_, kLeagueSeasonFile, [](const LeagueSeason& r) { return is_used(r); },
                                   memory_limit_, facts);
}
std::vector<Numbered<LeagueEntry>> Encyclopedia::used_leagues(FileFacts* facts) const {
    return read_used<LeagueEntry>(*source_, kLeagueFile, [](const LeagueEntry& r) { return is_used(r); },
                                  memory_limit_, facts);
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

TeamTable build_team_table(const std::vector<Numbered<TeamEntry>>& used) {
    TeamTable table;
    for (const auto& r : used) table[r.record.team_id] = r.record.abbreviation;
    return table;
}

BirthYears build_birth_years(const std::vector<Numbered<PlayerEntry>>& used) {
    BirthYears years;
    for (const auto& r : used) years[r.record.player_id] = r.record.birth_year;
    return years;
}

BirthYears build_birth_years(const std::vector<PlayerEntry>& records, int current_year) {
    BirthYears years;
    for (const PlayerEntry& r : records)
        if (is_used(r, current_year)) years[r.player_id] = r.birth_year;
    return years;
}

}  // namespace tb::enc
