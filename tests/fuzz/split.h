// How one fuzz input becomes the six files of an encyclopedia. The run
// target reads its input with it and the seed program writes seeds with it,
// so both always agree on the layout.
//
// Files:  [len 0][file 0][len 1][file 1] ... [len 4][file 4][file 5]
//   Files come in canonical order (ENCTEAM.DAT, ENCPLYR.DAT, ENCPLSTATS.DAT,
//   enctmyr.dat, enclgyr.dat, encleag.dat). Each of the first five has a
//   2-byte little-endian length, clamped to the bytes that are left; the
//   last file takes the rest. Where fewer than two bytes are left for a
//   length, that file and the ones after it are empty.
//
// Run input:  [control][files]
//   Control bits 0-1 choose the sheets (0 players and teams, 1 teams only,
//   2 players only, 3 players and teams again); bit 2 + i set leaves file i
//   out of the encyclopedia altogether, so "missing" is reached as well as
//   "empty".
#pragma once

#include "encyclopedia/encyclopedia.h"
#include "sheets/sheet_set.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace tb::fuzz {

inline constexpr std::array<std::string_view, 6> kFileOrder = {
    enc::kTeamFile, enc::kPlayerFile, enc::kStatsFile,
    enc::kTeamSeasonFile, enc::kLeagueSeasonFile, enc::kLeagueFile,
};

// Longest file that a 2-byte length can give (the last file is not limited).
inline constexpr std::size_t kMaxCutFile = 0xFFFF;

using Files = std::array<std::string, 6>;

inline Files split_files(const std::uint8_t* data, std::size_t size) {
    Files files;
    std::size_t pos = 0;
    for (std::size_t i = 0; i + 1 < files.size(); ++i) {
        if (size - pos < 2) return files;
        std::size_t len = data[pos] | (std::size_t{data[pos + 1]} << 8);
        pos += 2;
        len = std::min(len, size - pos);
        files[i].assign(reinterpret_cast<const char*>(data + pos), len);
        pos += len;
    }
    files.back().assign(reinterpret_cast<const char*>(data + pos), size - pos);
    return files;
}

// The inverse of split_files for files that fit their lengths: a longer one
// of the first five is cut to kMaxCutFile bytes.
inline std::string join_files(const Files& files) {
    std::string out;
    for (std::size_t i = 0; i + 1 < files.size(); ++i) {
        const std::size_t len = std::min(files[i].size(), kMaxCutFile);
        out.push_back(static_cast<char>(len & 0xFF));
        out.push_back(static_cast<char>(len >> 8));
        out.append(files[i], 0, len);
    }
    out += files.back();
    return out;
}

struct RunInput {
    sheets::SheetsDesired desired = sheets::SheetsDesired::PlayersAndTeams;
    std::map<std::string, std::string> files;   // by canonical name; left-out files absent
};

inline constexpr std::uint8_t control_byte(sheets::SheetsDesired desired, unsigned left_out_mask = 0) {
    return static_cast<std::uint8_t>(static_cast<unsigned>(desired) | ((left_out_mask & 0x3F) << 2));
}

inline RunInput split_run_input(const std::uint8_t* data, std::size_t size) {
    RunInput in;
    // An empty input reads as control 0 with six empty files.
    const std::uint8_t control = size > 0 ? data[0] : 0;
    constexpr std::array<sheets::SheetsDesired, 4> kByBits = {
        sheets::SheetsDesired::PlayersAndTeams, sheets::SheetsDesired::TeamsOnly,
        sheets::SheetsDesired::PlayersOnly, sheets::SheetsDesired::PlayersAndTeams};
    in.desired = kByBits[control & 3];
    Files files = size > 0 ? split_files(data + 1, size - 1) : Files{};
    for (std::size_t i = 0; i < files.size(); ++i)
        if (!(control & (4u << i))) in.files.emplace(std::string(kFileOrder[i]), std::move(files[i]));
    return in;
}

inline std::string join_run_input(std::uint8_t control, const Files& files) {
    return std::string(1, static_cast<char>(control)) + join_files(files);
}

}  // namespace tb::fuzz
