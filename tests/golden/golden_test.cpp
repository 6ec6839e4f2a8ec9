// The whole workbook of a small encyclopedia, compared with a reviewed dump
// kept beside this test (golden_workbook.txt). The encyclopedia holds a
// little of everything: hitters and pitchers in every phase, a two-way
// player, standings with ties and post-season play, accented names and a
// name for the "#" sheet, a line of an unknown phase and one ignored.
//
// After a deliberate change of the output, review the difference and write
// the file anew with TALLYBOOK_UPDATE_GOLDEN=1.
#include "app/run_state.h"
#include "support/encyclopedia_builder.h"
#include "support/workbook_dump.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tb::test {
namespace {

enc::PlayerSeasonStats hitter(int id, int year, int phase, int team, std::string last, std::string first, int ab,
                              int h, int d, int t, int hr, int bb, int hbp, int sf) {
    auto s = hitter_line(id, year, phase, team, std::move(last), std::move(first));
    s.HitAB = static_cast<int16_t>(ab);
    s.HitHits = static_cast<int16_t>(h);
    s.HitDoubles = static_cast<uint8_t>(d);
    s.HitTriples = static_cast<uint8_t>(t);
    s.HitHR = static_cast<uint8_t>(hr);
    s.HitWalks = static_cast<int16_t>(bb);
    s.HitHBP = static_cast<uint8_t>(hbp);
    s.HitSF = static_cast<uint8_t>(sf);
    s.HitRuns = static_cast<int16_t>(h / 2 + hr);
    s.HitRBI = static_cast<int16_t>(h / 3 + 2 * hr);
    s.HitStrikeouts = static_cast<int16_t>(ab / 5);
    s.HitIntWalks = static_cast<uint8_t>(bb / 10);
    s.HitSB = static_cast<uint8_t>(t + 1);
    s.HitCS = static_cast<uint8_t>(t / 2);
    s.HitSH = 1;
    s.HitGIDP = static_cast<uint8_t>(ab / 60);
    return s;
}

// Runs and earned runs differ on every line, so that a swap shows.
enc::PlayerSeasonStats pitcher(enc::PlayerSeasonStats s, int outs, int r, int er, int w, int l, int sv) {
    s.PitOuts = static_cast<int16_t>(outs);
    s.PitRuns = static_cast<int16_t>(r);
    s.PitEarnedRuns = static_cast<int16_t>(er);
    s.PitWins = static_cast<uint8_t>(w);
    s.PitLosses = static_cast<uint8_t>(l);
    s.PitSaves = static_cast<uint8_t>(sv);
    s.PitBattersFaced = static_cast<int16_t>(outs + outs / 3 + 4);
    s.PitAtBats = static_cast<int16_t>(outs + outs / 4);
    s.PitHits = static_cast<int16_t>(outs / 4);
    s.PitWalks = static_cast<int16_t>(outs / 9);
    s.PitIntWalks = 1;
    s.PitStrikeouts = static_cast<int16_t>(outs / 3);
    s.PitHR = static_cast<uint8_t>(er / 4);
    s.PitDoublePlays = 2;
    s.PitWildPitches = 1;
    s.PitBalks = static_cast<uint8_t>(l % 2);
    s.PitHolds = static_cast<uint8_t>(sv / 2);
    s.PitBlownSaves = static_cast<uint8_t>(sv / 3);
    s.PitGames = static_cast<uint8_t>(outs / 15 + 1);
    s.PitGamesStarted = static_cast<uint8_t>(outs / 30);
    s.PitCompleteGames = static_cast<uint8_t>(outs / 150);
    s.PitShutouts = static_cast<uint8_t>(outs / 300);
    return s;
}

enc::EncyclopediaContents small_encyclopedia() {
    enc::EncyclopediaContents c;
    c.teams = {team(1, "NYA"), team(2, "BOS"), team(3, "TOR"), team(4, "BAL"), team(5, "\xC3\x81GU")};
    c.players = {player(1, 1970), player(2, 1975), player(3, 1980), player(4, 1968), player(6, 1990),
                 player(7, 1985)};
    auto& s = c.stats.emplace();
    s.push_back(hitter(1, 2000, 2, 1, "Alvarez", "Aaron", 500, 150, 30, 3, 20, 60, 5, 4));
    s.push_back(hitter(1, 2001, 2, 1, "Alvarez", "Aaron", 480, 130, 25, 1, 15, 55, 3, 6));
    s.push_back(hitter(1, 2001, 6, 1, "Alvarez", "Aaron", 16, 5, 1, 0, 1, 2, 0, 0));
    s.push_back(hitter(1, 2001, 7, 1, "Alvarez", "Aaron", 25, 7, 2, 0, 0, 3, 1, 1));
    s.push_back(hitter(1, 2001, 8, 1, "Alvarez", "Aaron", 28, 9, 1, 1, 2, 4, 0, 0));
    s.push_back(hitter(2, 2000, 2, 2, "\xC3\x81lvarez", "Ra\xC3\xBAl", 300, 80, 10, 2, 5, 30, 2, 2));
    s.push_back(hitter(2, 2000, 5, 2, "\xC3\x81lvarez", "Ra\xC3\xBAl", 12, 2, 0, 0, 0, 1, 0, 0));
    s.push_back(hitter(3, 2000, 2, 3, "d'Arnaud", "Travis", 0, 0, 0, 0, 0, 0, 0, 0));   // no at-bats
    s.push_back(pitcher(pitcher_line(4, 2000, 2, 2, "Baker", "Bo"), 600, 90, 81, 14, 9, 0));
    s.push_back(pitcher(pitcher_line(4, 2001, 2, 4, "Baker", "Bo"), 200, 30, 22, 5, 5, 12));
    s.push_back(pitcher(pitcher_line(4, 2001, 6, 4, "Baker", "Bo"), 20, 5, 4, 1, 0, 0));
    s.push_back(pitcher(pitcher_line(4, 2001, 7, 4, "Baker", "Bo"), 0, 2, 2, 0, 1, 0));   // earned runs, no outs
    s.push_back(pitcher(pitcher_line(4, 2001, 8, 4, "Baker", "Bo"), 27, 3, 1, 1, 0, 0));
    s.push_back(pitcher(pitcher_line(4, 2001, 1, 4, "Baker", "Bo"), 9, 1, 1, 0, 0, 0));   // phase 1: ignored
    auto two_way = [&](int year, int phase, int ab, int h, int outs, int r, int er) {
        auto line = pitcher(hitter(6, year, phase, 5, "Ohtani", "Sho", ab, h, 5, 1, 4, 10, 1, 1), outs, r, er, 3, 2, 0);
        line.StatKind = 3;
        s.push_back(line);
    };
    two_way(2000, 2, 200, 60, 300, 40, 35);
    two_way(2001, 2, 220, 70, 330, 45, 30);
    two_way(2001, 5, 8, 3, 15, 3, 2);
    two_way(2001, 8, 10, 4, 18, 2, 1);
    s.push_back(hitter(7, 2001, 2, 3, "\xC3\x98" "degaard", "Ole", 100, 25, 5, 0, 3, 8, 0, 1));
    s.push_back(hitter(7, 2001, 3, 3, "\xC3\x98" "degaard", "Ole", 10, 2, 0, 0, 0, 0, 0, 0));  // "this case is 3"
    s.push_back(hitter(8, 2001, 2, 9, "Zed", "Zack", 50, 12, 2, 0, 1, 5, 0, 0));   // team 9: no record, no birth year

    auto season = [&](int team_id, int year, std::string city, std::string nick, int won, int lost) -> auto& {
        c.team_seasons->push_back(team_season(team_id, year, 1, std::move(city), std::move(nick), won, lost));
        auto& t = c.team_seasons->back();
        t.RegTotals.Scored = static_cast<int16_t>(won * 5);
        t.RegTotals.Allowed = static_cast<int16_t>(lost * 5);
        t.RegTotals.SHO = static_cast<uint8_t>(won / 10);
        t.RegTotals.GDP = static_cast<int16_t>(lost + 40);
        t.RegTotals.LOB = static_cast<int16_t>(won * 7);
        return t;
    };
    c.team_seasons.emplace();
    season(1, 2000, "New York", "Yanks", 95, 67);
    season(2, 2000, "Boston", "Sox", 90, 72);
    season(3, 2000, "Toronto", "Jays", 90, 72);         // tied for second
    season(4, 2000, "Baltimore", "Birds", 70, 92);
    season(5, 2000, "\xC3\x81guilas", "Blancas", 81, 81);
    auto& ny = season(1, 2001, "New York", "Yanks", 99, 63);
    ny.DivTotals = {10, 3, 20, 12, 3, 1, 1};   // LOB, GDP, scored, allowed, won, lost, SHO
    ny.LcsTotals = {12, 4, 25, 20, 4, 3, 0};
    ny.WsTotals = {15, 2, 30, 22, 4, 2, 1};
    season(2, 2001, "Boston", "Sox", 88, 74);
    auto& bal = season(4, 2001, "Baltimore", "Orioles", 91, 71);
    bal.DivTotals = {9, 2, 15, 18, 2, 3, 0};
    season(3, 2001, "Toronto", "Jays", 80, 82);

    auto divided = [](int year) {
        auto l = league_season(1, year, "American League");
        l.DivisionNames[0] = "East";
        l.DivisionNames[1] = "West";
        l.DivisionInUse = {true, true, false, false};
        for (int k = 0; k < 4; ++k) l.DivisionTeams[static_cast<std::size_t>(k)] = static_cast<int16_t>(k + 1);
        l.DivisionTeams[15] = 5;
        return l;
    };
    c.league_seasons = {divided(2000), divided(2001)};
    c.leagues = {league(1, "American League")};
    return c;
}

std::string read_file(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Golden, TheWholeWorkbookOfASmallEncyclopedia) {
    TempDir dir;
    enc::write_encyclopedia(dir / "enc", small_encyclopedia());
    app::RunOptions options;
    options.folder = dir / "enc";
    options.save = false;
    options.current_year = 2026;
    struct Notices : app::RunObserver {
        std::string text;
        void notice(const app::Notice& n) override { text += "notice: " + n.text + " | " + n.where() + "\n"; }
    } observer;
    app::RunState state(options, observer, nullptr);
    const app::RunResult result = app::run_with_state(state);
    ASSERT_EQ(result.outcome, app::RunOutcome::Completed) << result.error;
    const std::string got = observer.text + dump_workbook(state.workbook);

    const std::filesystem::path golden = std::filesystem::path(TALLYBOOK_TEST_DIR) / "golden" / "golden_workbook.txt";
    if (std::getenv("TALLYBOOK_UPDATE_GOLDEN")) {
        std::ofstream(golden, std::ios::binary) << got;
        GTEST_SKIP() << "wrote " << golden;
    }
    const std::string want = read_file(golden);
    if (got == want) return;
    // Name the first line that differs: the whole dump is long.
    std::istringstream a(want), b(got);
    std::string la, lb;
    for (int line = 1;; ++line) {
        const bool ea = !std::getline(a, la), eb = !std::getline(b, lb);
        if (ea && eb) break;
        if (la != lb || ea != eb) {
            FAIL() << "the workbook differs from " << golden << " at line " << line << ":\n  golden: " << la
                   << "\n  now:    " << lb;
        }
    }
}

}  // namespace
}  // namespace tb::test
