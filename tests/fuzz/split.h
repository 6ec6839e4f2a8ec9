// How one fuzz_run input becomes the six files of an encyclopedia (layout in
// README.md): the run target splits with split_run_input and the seed
// program joins with join_run_input, so both agree on it.
#pragma once

#include "encyclopedia/encyclopedia.h"
#include "sheets/sheet_set.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace tb::fuzz {

inline constexpr std::array<std::string_view, 6> kFileOrder = {
    enc::kTeamFile, enc::kPlayerFile, enc::kStatsFile, enc::kTeamSeasonFile, enc::kLeagueSeasonFile, enc::kLeagueFile};

using Files = std::array<std::string, 6>;

struct RunInput {
    sheets::SheetsDesired desired;
    std::map<std::string, std::string> files;   // by canonical name; left-out files absent
};

inline RunInput split_run_input(const std::uint8_t* data, std::size_t size) {
    using D = sheets::SheetsDesired;
    const unsigned control = size > 0 ? data[0] : 0;
    constexpr D kByBits[] = {D::PlayersAndTeams, D::TeamsOnly, D::PlayersOnly, D::PlayersAndTeams};
    RunInput in{kByBits[control & 3], {}};
    std::size_t pos = size > 0 ? 1 : 0;
    for (std::size_t i = 0; i < kFileOrder.size(); ++i) {
        std::size_t len = size - pos;
        if (i + 1 < kFileOrder.size()) {
            if (len < 2) pos = size, len = 0;   // no room for a length: this file and the rest are empty
            else len = std::min<std::size_t>(data[pos] | (std::size_t{data[pos + 1]} << 8), len - 2), pos += 2;
        }
        if (!(control & (4u << i))) in.files.emplace(kFileOrder[i], std::string(reinterpret_cast<const char*>(data) + pos, len));
        pos += len;
    }
    return in;
}

// The inverse for files that fit their lengths: a longer one of the first
// five is cut to 0xFFFF bytes.
inline std::string join_run_input(unsigned control, const Files& files) {
    std::string out(1, static_cast<char>(control));
    for (std::size_t i = 0; i + 1 < files.size(); ++i) {
        const std::size_t len = std::min<std::size_t>(files[i].size(), 0xFFFF);
        out += {static_cast<char>(len & 0xFF), static_cast<char>(len >> 8)};
        out.append(files[i], 0, len);
    }
    return out + files.back();
}

}  // namespace tb::fuzz
