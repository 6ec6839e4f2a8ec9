// A made-up but believable encyclopedia, for trying the program out, for
// tests and for benchmarks. The same options always give the same records.
#pragma once

#include "archive/record_writer.h"

#include <cstdint>
#include <string>

namespace tb::enc {

// Largest archives the format's tables allow.
inline constexpr int kMaxSamplePlayers = 65000;
inline constexpr std::size_t kMaxSampleStatsLines = 500000;
// One team's post-season seasons are kept in at most 200 slots.
inline constexpr int kMaxSampleSeasons = 200;
// Smallest sample that still shows every feature it promises.
inline constexpr int kMinSamplePlayers = 30;
// The last season of every sample, so that the bytes never depend on the date
// they are made on (and every birth year lies in the past).
inline constexpr int kSampleLastSeason = 2024;

struct SampleOptions {
    uint64_t seed = 1;
    int seasons = 10;   // clamped to 1..kMaxSampleSeasons
    int players = 300;  // clamped to kMinSamplePlayers..kMaxSamplePlayers
};

struct Sample {
    EncyclopediaContents contents;
    int first_season = 0;
    int last_season = 0;
    int players = 0;            // players made (after clamping)
    bool stats_capped = false;  // the line limit cut the last seasons short
};

Sample make_sample(const SampleOptions& options);

// One line saying what the sample holds.
std::string sample_summary(const Sample& sample);

}  // namespace tb::enc
