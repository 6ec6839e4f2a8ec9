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
namespace fs = std::filesystem;
using tb::test::TempDir;

namespace {

constexpr std::array<std::string_view, 6> kFiles = {enc::kTeamFile, enc::kPlayerFile, enc::kStatsFile,
                                                    enc::kTeamSeasonFile, enc::kLeagueSeasonFile, enc::kLeagueFile};

// The default sample, written and read back once for all tests here.
class SampleContents : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        enc::write_encyclopedia(dir_->path(), enc::make_sample({}).contents);
        const enc::Encyclopedia e(dir_->path());
        teams_ = new auto(e.read_teams());
        players_ = new auto(e.read_players());
        stats_ = new auto(e.read_stats());
        team_seasons_ = new auto(e.read_team_seasons());
        league_seasons_ = new auto(e.read_league_seasons());
        leagues_ = new auto(e.read_leagues());
    }
    static void TearDownTestSuite() {
        delete teams_;
        delete players_;
        delete stats_;
        delete team_seasons_;
        delete league_seasons_;
        delete leagues_;
        delete dir_;
    }

    static std::vector<enc::PlayerSeasonStats> used_stats() {
        std::vector<enc::PlayerSeasonStats> out;
        std::copy_if(stats_->begin(), stats_->end(), std::back_inserter(out),
                     [](const auto& s) { return enc::is_used(s); });
        return out;
    }

    static inline TempDir* dir_ = nullptr;
    static inline std::vector<enc::TeamRecord>* teams_ = nullptr;
    static inline std::vector<enc::PlayerRecord>* players_ = nullptr;
    static inline std::vector<enc::PlayerSeasonStats>* stats_ = nullptr;
    static inline std::vector<enc::TeamSeasonRecord>* team_seasons_ = nullptr;
    static inline std::vector<enc::LeagueSeasonRecord>* league_seasons_ = nullptr;
    static inline std::vector<enc::LeagueRecord>* leagues_ = nullptr;
};

TEST(SampleDeterminism, TheSameSeedGivesTheSameBytes) {
    TempDir a, b, c;
    enc::write_encyclopedia(a.path(), enc::make_sample({7, 4, 60}).contents);
    enc::write_encyclopedia(b.path(), enc::make_sample({7, 4, 60}).contents);
    enc::write_encyclopedia(c.path(), enc::make_sample({8, 4, 60}).contents);
    bool any_difference = false;
    for (const auto name : kFiles) {
        const std::string bytes = tb::test::read_raw(a / std::string(name));
        EXPECT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(bytes, tb::test::read_raw(b / std::string(name))) << name;
        any_difference |= bytes != tb::test::read_raw(c / std::string(name));
    }
    EXPECT_TRUE(any_difference);
}

TEST(SampleSize, OptionsAreClampedToWhatTheFormatAllows) {
    const auto small = enc::make_sample({1, 0, 3});
    EXPECT_EQ(small.players, enc::kMinSamplePlayers);
    EXPECT_EQ(small.first_season, small.last_season);
    const auto longer = enc::make_sample({1, 1000, 30});
    EXPECT_EQ(longer.last_season - longer.first_season + 1, enc::kMaxSampleSeasons);
}

TEST(SampleSize, MorePlayersAndSeasonsGiveMoreLines) {
    const auto small = enc::make_sample({1, 5, 50});
    const auto big = enc::make_sample({1, 20, 400});
    EXPECT_GT(big.contents.stats->size(), 4 * small.contents.stats->size());
    EXPECT_EQ(big.contents.team_seasons->size(), 20 * 31 + 1u);
}

TEST_F(SampleContents, ThreeLeaguesInUseAndOneDeleted) {
    std::vector<int> used;
    for (const auto& l : *leagues_)
        if (enc::is_used(l)) used.push_back(l.LeagueId);
    EXPECT_EQ(used.size(), 3u);
    EXPECT_EQ(leagues_->size(), 4u);
}

TEST_F(SampleContents, LeaguesWithTwoThreeAndNoDivisions) {
    std::map<int, std::set<int>> divisions_by_league;  // league -> count of divisions in use
    for (const auto& l : *league_seasons_) {
        if (!enc::is_used(l)) continue;
        const int in_use = static_cast<int>(std::count(l.DivisionInUse.begin(), l.DivisionInUse.end(), true));
        divisions_by_league[l.LeagueId].insert(in_use);
        // every listed team is in a division that is in use (or the league has none)
        for (std::size_t slot = 0; slot < 60; ++slot)
            if (l.DivisionTeams[slot] >= 0 && in_use > 0) { EXPECT_TRUE(l.DivisionInUse[slot / 15]); }
    }
    ASSERT_EQ(divisions_by_league.size(), 3u);
    std::multiset<int> counts;
    for (const auto& [league, n] : divisions_by_league) {
        ASSERT_EQ(n.size(), 1u);
        counts.insert(*n.begin());
    }
    EXPECT_EQ(counts, (std::multiset<int>{0, 2, 3}));
}

TEST_F(SampleContents, AboutTenSeasonsOfEveryTeam) {
    std::set<int> years;
    std::map<int, int> seasons_of_team;
    for (const auto& t : *team_seasons_)
        if (enc::is_used(t)) {
            years.insert(t.SeasonYear);
            ++seasons_of_team[t.TeamId];
        }
    EXPECT_EQ(years.size(), 10u);
    for (const auto& [team, n] : seasons_of_team) EXPECT_EQ(n, 10) << "team " << team;
    EXPECT_LT(std::count_if(team_seasons_->begin(), team_seasons_->end(), [](const auto& t) { return !enc::is_used(t); }),
              3);
    EXPECT_TRUE(std::any_of(team_seasons_->begin(), team_seasons_->end(), [](const auto& t) { return t.Status != 0; }));
}

// Each post-season round's blocks form series: winners and losers agree.
TEST_F(SampleContents, PostSeasonBlocksFormABracket) {
    std::map<int, std::vector<const enc::TeamSeasonRecord*>> by_year;
    for (const auto& t : *team_seasons_)
        if (enc::is_used(t)) by_year[t.SeasonYear].push_back(&t);
    for (const auto& [year, teams] : by_year) {
        auto check = [&](enc::TeamPhaseTotals enc::TeamSeasonRecord::*block, std::size_t teams_in, int wins_needed) {
            int won = 0, lost = 0;
            std::size_t played = 0, winners = 0;
            for (const auto* t : teams) {
                const auto& b = t->*block;
                if (!b.played()) continue;
                ++played;
                won += b.Won;
                lost += b.Lost;
                winners += b.Won == wins_needed;
                EXPECT_LE(b.Won, wins_needed);
            }
            EXPECT_EQ(played, teams_in) << year;
            EXPECT_EQ(winners, teams_in / 2) << year;
            EXPECT_EQ(won, lost) << year;
        };
        check(&enc::TeamSeasonRecord::WildTotals, 8, 2);
        check(&enc::TeamSeasonRecord::DivTotals, 8, 3);
        check(&enc::TeamSeasonRecord::LcsTotals, 4, 4);
        check(&enc::TeamSeasonRecord::WsTotals, 2, 4);
        for (const auto* t : teams) {
            // A team reaches a round only by winning the one before it (seeds 1 and 2 skip the wild card).
            if (t->WsTotals.played()) { EXPECT_EQ(t->LcsTotals.Won, 4); }
            if (t->LcsTotals.played()) { EXPECT_EQ(t->DivTotals.Won, 3); }
            if (t->WildTotals.Won == 2) { EXPECT_TRUE(t->DivTotals.played()); }
            if (t->LeagueId == 3) { EXPECT_FALSE(t->WildTotals.played() || t->DivTotals.played()); }
        }
    }
}

TEST_F(SampleContents, HittersPitchersAndAFewTwoWayPlayers) {
    std::map<int, std::set<int>> players_by_kind;
    for (const auto& s : used_stats()) players_by_kind[s.StatKind].insert(s.PlayerId);
    EXPECT_GT(players_by_kind[1].size(), 100u);
    EXPECT_GT(players_by_kind[2].size(), 80u);
    EXPECT_GE(players_by_kind[3].size(), 3u);
    EXPECT_LE(players_by_kind[3].size(), 10u);
    EXPECT_EQ(players_by_kind.size(), 3u);
}

TEST_F(SampleContents, LinesOfEveryPhaseAndOneIgnoredLine) {
    std::map<int, int> by_phase;
    for (const auto& s : used_stats()) ++by_phase[s.PhaseCode];
    EXPECT_EQ(by_phase.size(), 6u);
    for (int code : {2, 5, 6, 7, 8}) EXPECT_GT(by_phase[code], 10) << code;
    EXPECT_EQ(by_phase[1], 1);
    EXPECT_TRUE(std::any_of(stats_->begin(), stats_->end(), [](const auto& s) { return s.Status != 0; }));
}

TEST_F(SampleContents, FiguresAreBelievable) {
    for (const auto& s : used_stats()) {
        if (s.StatKind != 2) {
            EXPECT_LE(s.HitHits, s.HitAB);
            EXPECT_LE(s.HitDoubles + s.HitTriples + s.HitHR, s.HitHits);
            EXPECT_LE(s.HitAB, 700);
        } else {
            EXPECT_EQ(s.HitAB, 0);
        }
        if (s.StatKind != 1) {
            EXPECT_LE(s.PitEarnedRuns, s.PitRuns);
            EXPECT_LE(s.PitGamesStarted, s.PitGames);
            EXPECT_LE(s.PitShutouts, s.PitCompleteGames);
            EXPECT_LE(s.PitOuts, 3 * 300);
        } else {
            EXPECT_EQ(s.PitOuts, 0);
        }
    }
}

TEST_F(SampleContents, NamesThatTestTheTextHandling) {
    std::set<std::string> last, first;
    for (const auto& s : used_stats()) {
        last.insert(s.LastName);
        first.insert(s.FirstName);
    }
    for (const char* name : {"Muñoz", "Šimek", "de Aza", "Vandenberghe-Roe"}) EXPECT_TRUE(last.count(name)) << name;
    EXPECT_TRUE(first.count("Élan"));
    // The full-width name is stored without a NUL.
    const std::string bytes = tb::test::read_raw(dir_->path() / "ENCPLSTATS.DAT");
    EXPECT_NE(bytes.find("Vandenberghe-Roe\x01"), std::string::npos);  // followed by StatKind 1
}

TEST_F(SampleContents, MostPlayersHaveABirthYearAndAFewHaveNone) {
    std::set<int32_t> in_stats;
    for (const auto& s : used_stats()) in_stats.insert(s.PlayerId);
    const auto years = enc::build_birth_years(*players_, 2025);
    std::size_t without = 0;
    for (int32_t id : in_stats) without += !years.count(id);
    EXPECT_GT(without, 0u);
    EXPECT_LT(without, in_stats.size() / 20);
    EXPECT_TRUE(std::any_of(players_->begin(), players_->end(), [](const auto& p) { return p.Status != 0; }));
}

TEST_F(SampleContents, TeamsHaveShortAbbreviationsAndPassTheirTests) {
    const auto table = enc::build_team_table(*teams_);
    EXPECT_EQ(table.size(), 31u);
    for (const auto& [id, abbrev] : table) {
        EXPECT_GE(abbrev.size(), 2u);
        EXPECT_LE(enc::utf8_to_cp1252(abbrev).size(), 4u);
    }
    std::set<int> in_stats;
    for (const auto& s : used_stats()) in_stats.insert(s.TeamId);
    for (int id : in_stats) EXPECT_TRUE(table.count(id)) << id;
    EXPECT_TRUE(std::any_of(teams_->begin(), teams_->end(), [](const auto& t) { return t.Status != 0; }));
}

}  // namespace
