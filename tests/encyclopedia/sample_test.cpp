// The sample encyclopedia: same seed, same bytes; and it holds what it
// promises to exercise.
#include "encyclopedia/encyclopedia.h"
#include "encyclopedia/sample.h"
#include "raw_bytes.h"
#include "support/encyclopedia_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace enc = tb::enc;
using tb::test::TempDir;

namespace {

// The default sample as written and read back, made once for all tests here.
struct Read {
    std::vector<enc::TeamRecord> teams;
    std::vector<enc::PlayerRecord> players;
    std::vector<enc::PlayerSeasonStats> stats, used_stats;
    std::vector<enc::TeamSeasonRecord> team_seasons;
    std::vector<enc::LeagueSeasonRecord> league_seasons;
    std::vector<enc::LeagueRecord> leagues;
};

const Read& sample() {
    static const Read read = [] {
        TempDir dir;
        enc::write_encyclopedia(dir.path(), enc::make_sample({}).contents);
        const enc::Encyclopedia e(dir.path());
        Read r{e.read_teams(), e.read_players(), e.read_stats(), {}, e.read_team_seasons(), e.read_league_seasons(),
               e.read_leagues()};
        std::copy_if(r.stats.begin(), r.stats.end(), std::back_inserter(r.used_stats),
                     [](const auto& s) { return enc::is_used(s); });
        return r;
    }();
    return read;
}

template <class Records>
bool any_status_set(const Records& records) {
    return std::any_of(records.begin(), records.end(), [](const auto& r) { return r.Status != 0; });
}

TEST(Sample, TheSameSeedGivesTheSameBytes) {
    TempDir a, b, c;
    enc::write_encyclopedia(a.path(), enc::make_sample({7, 4, 60}).contents);
    enc::write_encyclopedia(b.path(), enc::make_sample({7, 4, 60}).contents);
    enc::write_encyclopedia(c.path(), enc::make_sample({8, 4, 60}).contents);
    bool any_difference = false;
    for (const auto name : {enc::kTeamFile, enc::kPlayerFile, enc::kStatsFile, enc::kTeamSeasonFile,
                            enc::kLeagueSeasonFile, enc::kLeagueFile}) {
        const std::string bytes = tb::test::read_raw(a / std::string(name));
        EXPECT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(bytes, tb::test::read_raw(b / std::string(name))) << name;
        any_difference |= bytes != tb::test::read_raw(c / std::string(name));
    }
    EXPECT_TRUE(any_difference);
}

TEST(Sample, OptionsAreClampedToWhatTheFormatAllowsAndHonoured) {
    const auto small = enc::make_sample({1, 0, 3});
    EXPECT_EQ(small.players, enc::kMinSamplePlayers);
    EXPECT_EQ(small.first_season, small.last_season);
    const auto longer = enc::make_sample({1, 1000, 30});
    EXPECT_EQ(longer.last_season - longer.first_season + 1, enc::kMaxSampleSeasons);
    EXPECT_GT(enc::make_sample({1, 20, 400}).contents.stats->size(), 4 * enc::make_sample({1, 5, 50}).contents.stats->size());
}

TEST(Sample, ThreeLeaguesWithTwoThreeAndNoDivisions) {
    std::map<int, std::set<int>> divisions_by_league;  // league -> counts of divisions in use
    for (const auto& l : sample().league_seasons) {
        if (!enc::is_used(l)) continue;
        const auto in_use = std::count(l.DivisionInUse.begin(), l.DivisionInUse.end(), true);
        divisions_by_league[l.LeagueId].insert(static_cast<int>(in_use));
        // every listed team is in a division that is in use (or the league has none)
        for (std::size_t slot = 0; slot < 60; ++slot)
            if (l.DivisionTeams[slot] >= 0 && in_use > 0) {
                EXPECT_TRUE(l.DivisionInUse[slot / 15]) << slot;
            }
    }
    std::multiset<int> counts;
    for (const auto& [league, n] : divisions_by_league) counts.insert(n.size() == 1 ? *n.begin() : -1);
    EXPECT_EQ(counts, (std::multiset<int>{0, 2, 3}));
    EXPECT_EQ(std::count_if(sample().leagues.begin(), sample().leagues.end(), [](const auto& l) { return enc::is_used(l); }), 3);
}

TEST(Sample, LinesOfEveryKindAndPhaseIncludingTheIgnoredCode) {
    std::map<int, std::set<int>> players_by_kind;
    std::map<int, int> lines_by_phase;
    for (const auto& s : sample().used_stats) {
        players_by_kind[s.StatKind].insert(s.PlayerId);
        ++lines_by_phase[s.PhaseCode];
    }
    EXPECT_EQ(players_by_kind.size(), 3u);
    EXPECT_GE(players_by_kind[3].size(), 3u);  // a few two-way players
    EXPECT_EQ(lines_by_phase.size(), 6u);
    for (int code : {2, 5, 6, 7, 8}) EXPECT_GT(lines_by_phase[code], 10) << code;
    EXPECT_EQ(lines_by_phase[1], 1);
}

// Every kind of post-season block is played each season, and each round's
// wins and losses agree.
TEST(Sample, TeamBlocksOfEveryKindFormSeries) {
    using T = enc::TeamSeasonRecord;
    std::map<int, std::vector<const T*>> by_year;
    for (const auto& t : sample().team_seasons)
        if (enc::is_used(t)) by_year[t.SeasonYear].push_back(&t);
    ASSERT_FALSE(by_year.empty());
    for (const auto& [year, teams] : by_year)
        for (auto block : {&T::RegTotals, &T::WildTotals, &T::DivTotals, &T::LcsTotals, &T::WsTotals}) {
            int won = 0, lost = 0, played = 0;
            for (const T* t : teams) {
                played += (t->*block).played();
                won += (t->*block).Won;
                lost += (t->*block).Lost;
            }
            EXPECT_GE(played, 2) << year;
            if (block != &T::RegTotals) {
                EXPECT_EQ(won, lost) << year;
            }
        }
}

TEST(Sample, NamesThatTestTheTextHandling) {
    std::set<std::string> names;
    for (const auto& s : sample().used_stats) names.insert(s.LastName), names.insert(s.FirstName);
    // accented, 16 characters (stored without a NUL), lower-case initial
    for (const char* name : {"Muñoz", "Šimek", "Élan", "Vandenberghe-Roe", "de Aza"})
        EXPECT_TRUE(names.count(name)) << name;
}

TEST(Sample, SkippedRecordsInEveryFileAndTeamsAndBirthYearsForTheLines) {
    const Read& s = sample();
    EXPECT_TRUE(any_status_set(s.teams) && any_status_set(s.players) && any_status_set(s.stats));
    EXPECT_TRUE(any_status_set(s.team_seasons) && any_status_set(s.leagues));
    const auto table = enc::build_team_table(s.teams);
    const auto years = enc::build_birth_years(s.players, 2025);
    std::set<int32_t> players;
    for (const auto& line : s.used_stats) {
        EXPECT_TRUE(table.count(line.TeamId)) << line.TeamId;
        players.insert(line.PlayerId);
    }
    // Most players have a birth year; a few have none.
    const auto without = std::count_if(players.begin(), players.end(), [&](int32_t id) { return !years.count(id); });
    EXPECT_GT(without, 0);
    EXPECT_LT(without, static_cast<long>(players.size() / 20));
}

}  // namespace
