// Building tiny encyclopedias in tests: a temporary folder and records that
// pass their "used" tests unless a test changes them.
#pragma once

#include "encyclopedia/encyclopedia.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace tb::test {

namespace enc = tb::enc;

inline long process_id() {
#ifdef _WIN32
    return _getpid();
#else
    return ::getpid();
#endif
}

// A fresh, empty folder under the system's temp folder, removed with all its
// content when the object goes.
class TempDir {
public:
    TempDir() {
        static std::atomic<unsigned> counter{0};
        const auto base = std::filesystem::temp_directory_path();
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        for (;;) {
            auto candidate = base / ("tallybook-test-" + std::to_string(process_id()) + "-" +
                                     std::to_string(stamp) + "-" + std::to_string(counter++));
            if (std::filesystem::create_directory(candidate)) {
                path_ = std::move(candidate);
                break;
            }
        }
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// A regular-season-style statistics line of a hitter (StatKind 1).
inline enc::PlayerSeasonStats hitter_line(int32_t player, int year, int phase, int team,
                                          std::string last, std::string first) {
    enc::PlayerSeasonStats s;
    s.PlayerId = player;
    s.PhaseCode = static_cast<uint8_t>(phase);
    s.SeasonYear = static_cast<int16_t>(year);
    s.TeamId = static_cast<int16_t>(team);
    s.LastName = std::move(last);
    s.FirstName = std::move(first);
    s.StatKind = 1;
    return s;
}

// The same for a pitcher (StatKind 2).
inline enc::PlayerSeasonStats pitcher_line(int32_t player, int year, int phase, int team,
                                           std::string last, std::string first) {
    auto s = hitter_line(player, year, phase, team, std::move(last), std::move(first));
    s.StatKind = 2;
    return s;
}

// A two-way line (StatKind 3): hitting and pitching figures both valid.
inline enc::PlayerSeasonStats two_way_line(int32_t player, int year, int phase, int team,
                                           std::string last, std::string first) {
    auto s = hitter_line(player, year, phase, team, std::move(last), std::move(first));
    s.StatKind = 3;
    return s;
}

inline enc::TeamRecord team(int id, std::string abbrev) {
    enc::TeamRecord t;
    t.TeamId = static_cast<int16_t>(id);
    t.TeamAbbrev = std::move(abbrev);
    t.Field50 = 1;
    t.Field52 = 1;
    return t;
}

inline enc::PlayerRecord player(int id, int birth_year, int month = 7, int day = 4) {
    enc::PlayerRecord p;
    p.PlayerId = id;
    p.BirthYear = static_cast<int16_t>(birth_year);
    p.BirthMonth = static_cast<uint8_t>(month);
    p.BirthDay = static_cast<uint8_t>(day);
    p.Field48 = 1;
    p.Field50 = 1;
    return p;
}

// One team season; the post-season blocks stay empty until a test sets them.
inline enc::TeamSeasonRecord team_season(int team, int year, int league, std::string city,
                                         std::string nickname, int won, int lost) {
    enc::TeamSeasonRecord t;
    t.TeamId = static_cast<int16_t>(team);
    t.SeasonYear = static_cast<int16_t>(year);
    t.LeagueId = static_cast<int16_t>(league);
    t.TeamCity = std::move(city);
    t.TeamNickname = std::move(nickname);
    t.RegTotals.Won = static_cast<uint8_t>(won);
    t.RegTotals.Lost = static_cast<uint8_t>(lost);
    return t;
}

// One league season with no divisions; every slot empty (-1) until a test
// fills DivisionTeams (slots 15k..15k+14 belong to division k).
inline enc::LeagueSeasonRecord league_season(int league, int year, std::string name) {
    enc::LeagueSeasonRecord l;
    l.LeagueId = static_cast<int16_t>(league);
    l.SeasonYear = static_cast<int16_t>(year);
    l.LeagueName = std::move(name);
    l.DivisionTeams.fill(-1);
    return l;
}

inline enc::LeagueRecord league(int id, std::string title) {
    enc::LeagueRecord l;
    l.LeagueId = static_cast<int16_t>(id);
    l.LeagueTitle = std::move(title);
    l.TitleInUse = true;
    l.LeagueField44 = 1;
    return l;
}

}  // namespace tb::test
