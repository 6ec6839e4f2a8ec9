// Writing encyclopedia records and whole folders of them: the inverse of the
// readers, for the tests, the fuzzing seeds and the sample generator. Not
// part of the programs that convert an encyclopedia, which only read one.
#pragma once

#include "encyclopedia/records.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tb::enc {

// A record as its file holds it: kSize bytes, unused fields zero, text
// encoded to Windows-1252 and NUL-padded (a text that fills the field gets
// no NUL; a longer one is cut).
std::string encode(const TeamEntry& r);
std::string encode(const PlayerEntry& r);
std::string encode(const StatsLine& r);
std::string encode(const TeamSeason& r);
std::string encode(const LeagueSeason& r);
std::string encode(const LeagueEntry& r);

// The files of one encyclopedia; a missing vector writes no file.
struct EncyclopediaContents {
    std::optional<std::vector<TeamEntry>> teams;
    std::optional<std::vector<PlayerEntry>> players;
    std::optional<std::vector<StatsLine>> stats;
    std::optional<std::vector<TeamSeason>> team_seasons;
    std::optional<std::vector<LeagueSeason>> league_seasons;
    std::optional<std::vector<LeagueEntry>> leagues;
};

// Writes the files into `folder` (made when missing) under their canonical
// names. Throws EncyclopediaError naming the path when it cannot.
void write_encyclopedia(const std::filesystem::path& folder, const EncyclopediaContents& contents);

}  // namespace tb::enc
