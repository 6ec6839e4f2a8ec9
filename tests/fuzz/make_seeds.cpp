// Writes the seed corpus of every fuzz target: small cuts of made-up
// encyclopedias (the sample generator) and a few hand-made edge cases.
//
//   tallybook-fuzz-seeds OUT_DIR
//
// makes OUT_DIR/<target>/<seed> for each target, replacing what those
// folders held. The same build always writes the same bytes.
#include "split.h"

#include "archive/sample.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

using namespace tb;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kFileCap = 4096;   // small seeds keep every execution fast

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

// The statistics file cut by whole players, the lowest numbers first, so a
// seed holds careers rather than one season's first lines (and the player
// file, in number order, begins with those players).
fuzz::Files cut(const enc::EncyclopediaContents& c) {
    std::vector<enc::StatsLine> lines;
    for (int32_t last = 1; lines.size() < c.stats->size(); ++last) {
        std::vector<enc::StatsLine> careers;
        for (const auto& l : *c.stats)
            if (l.player_id <= last) careers.push_back(l);
        if (!lines.empty() && careers.size() * enc::StatsLine::kSize > kFileCap) break;
        lines = std::move(careers);
    }
    return {first_records(*c.teams), first_records(*c.players), first_records(lines),
            first_records(*c.team_seasons), first_records(*c.league_seasons), first_records(*c.leagues)};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT_DIR\n", argv[0]);
        return 2;
    }
    std::set<std::string> cleared;
    auto write = [&](const std::string& target, const std::string& name, const std::string& bytes) {
        const fs::path dir = fs::path(argv[1]) / target;
        if (cleared.insert(target).second) fs::remove_all(dir), fs::create_directories(dir);
        if (!(std::ofstream(dir / name, std::ios::binary) << bytes).flush()) {
            std::fprintf(stderr, "tallybook-fuzz-seeds: cannot write %s\n", (dir / name).c_str());
            std::exit(1);
        }
    };
    const char* const record_targets[] = {"fuzz_teams", "fuzz_players", "fuzz_stats",
                                          "fuzz_team_seasons", "fuzz_league_seasons", "fuzz_leagues"};

    // Samples named by seed, players and seasons; fuzz_run gets each for
    // every choice of sheets (control 0 all, 1 teams only, 2 players only).
    fuzz::Files first{};
    for (const auto& [name, options] : {std::pair{"s1-p30-y1", enc::SampleOptions{1, 1, 30}},
                                        {"s2-p45-y2", {2, 2, 45}}, {"s3-p60-y3", {3, 3, 60}}}) {
        const fuzz::Files files = cut(enc::make_sample(options).contents);
        if (first[0].empty()) first = files;
        for (std::size_t i = 0; i < files.size(); ++i) write(record_targets[i], name, files[i]);
        for (const auto& [control, sheets] : {std::pair{0u, "-all"}, {1u, "-teams"}, {2u, "-players"}})
            write("fuzz_run", name + std::string(sheets), fuzz::join_run_input(control, files));
    }
    // One file: nothing, or the first cut less its last byte (a partial
    // record at the end); a run: no input, every file missing (bits 2..7) or
    // so cut, and no team file.
    fuzz::Files partial{};
    for (std::size_t i = 0; i < first.size(); ++i) {
        partial[i] = first[i].substr(0, first[i].size() - 1);
        write(record_targets[i], "empty", "");
        write(record_targets[i], "partial", partial[i]);
    }
    write("fuzz_run", "empty", "");
    write("fuzz_run", "all-missing", fuzz::join_run_input(0x3F << 2, {}));
    write("fuzz_run", "all-partial", fuzz::join_run_input(0, partial));
    write("fuzz_run", "no-team-file", fuzz::join_run_input(1 << 2, first));
    // Names in Windows-1252 and UTF-8, broken UTF-8, unassigned codes.
    const std::pair<const char*, std::string> texts[] = {
        {"empty", ""},
        {"name-cp1252", "Qu\xE9" "bec \x8A" "ekerci,Jos\xE9"},
        {"name-utf8", "Montr\xC3\xA9" "al \xE2\x80\x9C" "Big\xE2\x80\x9D"},
        {"name-with-nul", std::string("Smith\0John", 10)},
        {"broken-utf8", "\xC3(\xE2\x82\xF0\x9F\x98"},
        {"unassigned-cp1252", "\x81\x8D\x8F\x90\x9D"}};
    for (const auto& [name, text] : texts) write("fuzz_workbook_text", name, text);
    std::printf("seeds written under %s\n", argv[1]);
    return 0;
}
