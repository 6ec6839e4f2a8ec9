// Writes the seed corpus of every fuzz target: small cuts of made-up
// encyclopedias (the sample generator) and a few hand-made edge cases.
//
//   tallybook-fuzz-seeds OUT_DIR
//
// makes OUT_DIR/<target>/<seed> for each target, replacing what those
// folders held. The same build always writes the same bytes.
#include "split.h"

#include "encyclopedia/encyclopedia.h"
#include "archive/sample.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

using namespace tb;
namespace fs = std::filesystem;

namespace {

// Files of a seed stay this small, so that every execution stays fast.
constexpr std::size_t kFileCap = 4096;

struct SampleCut {
    const char* name;
    enc::SampleOptions options;
};

constexpr SampleCut kSamples[] = {
    {"s1-p30-y1", {1, 1, 30}},
    {"s2-p45-y2", {2, 2, 45}},
    {"s3-p60-y3", {3, 3, 60}},
};

class SeedWriter {
public:
    explicit SeedWriter(fs::path root) : root_(std::move(root)) {}

    void write(const std::string& target, const std::string& name, const std::string& bytes) {
        const fs::path dir = root_ / target;
        if (cleared_.insert(target).second) {
            fs::remove_all(dir);
            fs::create_directories(dir);
        }
        std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) throw std::runtime_error("cannot write " + (dir / name).string());
        ++written_;
    }
    int written() const { return written_; }

private:
    fs::path root_;
    std::set<std::string> cleared_;
    int written_ = 0;
};

// Whole records, as many as fit in kFileCap (at least one).
template <class Record>
std::string first_records(const std::vector<Record>& records) {
    std::string out;
    for (const Record& r : records) {
        if (!out.empty() && out.size() + Record::kSize > kFileCap) break;
        out += enc::encode(r);
    }
    return out;
}

// The statistics file cut by whole players, so a seed holds careers (all
// phases, all seasons) rather than one season's first lines.
std::vector<enc::StatsLine> whole_players(const std::vector<enc::StatsLine>& lines) {
    std::vector<int32_t> order;
    for (const auto& l : lines)
        if (std::find(order.begin(), order.end(), l.player_id) == order.end()) order.push_back(l.player_id);
    std::vector<enc::StatsLine> kept;
    for (const int32_t id : order) {
        std::vector<enc::StatsLine> more = kept;
        for (const auto& l : lines)
            if (l.player_id == id) more.push_back(l);
        if (!kept.empty() && more.size() * enc::StatsLine::kSize > kFileCap) break;
        kept = std::move(more);
    }
    return kept;
}

// The players of the kept lines first, so their ages can be worked out.
std::vector<enc::PlayerEntry> players_of(const std::vector<enc::PlayerEntry>& players,
                                          const std::vector<enc::StatsLine>& lines) {
    std::set<int32_t> ids;
    for (const auto& l : lines) ids.insert(l.player_id);
    std::vector<enc::PlayerEntry> out;
    for (const auto& p : players)
        if (ids.count(p.player_id)) out.push_back(p);
    for (const auto& p : players)
        if (!ids.count(p.player_id)) out.push_back(p);
    return out;
}

fuzz::Files cut(const enc::EncyclopediaContents& c) {
    const auto lines = whole_players(*c.stats);
    return {first_records(*c.teams), first_records(players_of(*c.players, lines)), first_records(lines),
            first_records(*c.team_seasons), first_records(*c.league_seasons), first_records(*c.leagues)};
}

const char* const kRecordTargets[] = {"fuzz_teams", "fuzz_players", "fuzz_stats",
                                      "fuzz_team_seasons", "fuzz_league_seasons", "fuzz_leagues"};
constexpr std::size_t kRecordSizes[] = {enc::TeamEntry::kSize, enc::PlayerEntry::kSize,
                                        enc::StatsLine::kSize, enc::TeamSeason::kSize,
                                        enc::LeagueSeason::kSize, enc::LeagueEntry::kSize};

void write_all(SeedWriter& w) {
    fuzz::Files first{};
    for (const SampleCut& s : kSamples) {
        const fuzz::Files files = cut(enc::make_sample(s.options).contents);
        if (first[0].empty()) first = files;
        for (std::size_t i = 0; i < files.size(); ++i) w.write(kRecordTargets[i], s.name, files[i]);
        w.write("fuzz_run", std::string(s.name) + "-all", fuzz::join_run_input(0, files));
        w.write("fuzz_run", std::string(s.name) + "-teams",
                fuzz::join_run_input(fuzz::control_byte(sheets::SheetsDesired::TeamsOnly), files));
        w.write("fuzz_run", std::string(s.name) + "-players",
                fuzz::join_run_input(fuzz::control_byte(sheets::SheetsDesired::PlayersOnly), files));
    }

    // Edge cases of one file: nothing, one partial record, a record and a
    // partial one.
    fuzz::Files partial{};
    for (std::size_t i = 0; i < first.size(); ++i) {
        const std::size_t size = kRecordSizes[i];
        partial[i] = first[i].substr(0, size - 1);
        w.write(kRecordTargets[i], "empty", "");
        w.write(kRecordTargets[i], "partial", partial[i]);
        w.write(kRecordTargets[i], "record-and-partial", first[i].substr(0, size + 7));
    }

    // Edge cases of a run: no input, every file empty for each choice of
    // sheets, every file missing, every file a partial record, and the
    // sample without a team file.
    w.write("fuzz_run", "empty", "");
    w.write("fuzz_run", "all-empty-teams", fuzz::join_run_input(1, {}));
    w.write("fuzz_run", "all-empty-players", fuzz::join_run_input(2, {}));
    w.write("fuzz_run", "all-missing", fuzz::join_run_input(fuzz::control_byte({}, 0x3F), {}));
    w.write("fuzz_run", "all-partial", fuzz::join_run_input(0, partial));
    w.write("fuzz_run", "no-team-file", fuzz::join_run_input(fuzz::control_byte({}, 0x01), first));

    // Addresses good and bad, names in Windows-1252 and UTF-8, broken UTF-8.
    const std::pair<const char*, std::string> texts[] = {
        {"empty", ""},
        {"cell", "A12"},
        {"cell-lower", "ae5"},
        {"row-range", "A12:E12"},
        {"column", "A:A"},
        {"columns", "A:AE"},
        {"last-cell", "XFD1048576"},
        {"past-last-column", "XFE1"},
        {"past-last-row", "A1048577"},
        {"row-zero", "A0"},
        {"four-letters", "AAAA1"},
        {"mixed-range", "A1:B"},
        {"name-cp1252", "Qu\xE9" "bec \x8A" "ekerci,Jos\xE9"},
        {"name-utf8", "Montr\xC3\xA9" "al \xE2\x80\x9C" "Big\xE2\x80\x9D"},
        {"name-with-nul", std::string("Smith\0John", 10)},
        {"broken-utf8", "\xC3(\xE2\x82\xF0\x9F\x98"},
        {"unassigned-cp1252", "\x81\x8D\x8F\x90\x9D"},
    };
    for (const auto& [name, text] : texts) w.write("fuzz_workbook_text", name, text);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT_DIR\n", argv[0]);
        return 2;
    }
    try {
        SeedWriter writer(argv[1]);
        write_all(writer);
        std::printf("%d seeds written under %s\n", writer.written(), argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tallybook-fuzz-seeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
