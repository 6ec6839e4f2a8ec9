// The sheets of a small encyclopedia, one golden file a kind of sheet
// (letter sheets, hitting and pitching totals sheets, "Team Records", team
// totals sheets), each compared with a reviewed dump kept beside this test.
// The encyclopedia holds a
// little of everything: hitters and pitchers in every phase, a two-way
// player, players with lines of both kinds, standings with ties and
// post-season play, accented names and names for the "#" sheet, lines of an
// unknown phase, ignored or unused, and teams and leagues that have tripped
// the team pass before (see below).
// After a deliberate change of the output, write the files anew with
// TALLYBOOK_UPDATE_GOLDEN=1 and review the difference.
#include "app/run.h"
#include "support/encyclopedia_builder.h"
#include "support/sheet_dump.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>

namespace tb::test {
namespace {

enc::StatsLine hitter(int id, int year, int phase, int team, std::string last, std::string first, int ab,
                              int h, int d, int t, int hr, int bb, int hbp, int sf) {
    auto s = hitter_line(id, year, phase, team, std::move(last), std::move(first));
    put(s.hitting.at_bats, ab), put(s.hitting.hits, h), put(s.hitting.doubles, d), put(s.hitting.triples, t), put(s.hitting.home_runs, hr);
    put(s.hitting.walks, bb), put(s.hitting.hit_by_pitch, hbp), put(s.hitting.sacrifice_flies, sf), put(s.hitting.runs, h / 2 + hr);
    put(s.hitting.runs_batted_in, h / 3 + 2 * hr), put(s.hitting.strikeouts, ab / 5), put(s.hitting.intentional_walks, bb / 10), put(s.hitting.stolen_bases, t + 1);
    put(s.hitting.caught_stealing, t / 2), put(s.hitting.sacrifice_hits, 1), put(s.hitting.double_plays, ab / 60);
    return s;
}

// Runs and earned runs differ on every line, so that a swap shows.
enc::StatsLine pitcher(enc::StatsLine s, int outs, int r, int er, int w, int l, int sv) {
    put(s.pitching.outs, outs), put(s.pitching.runs, r), put(s.pitching.earned_runs, er), put(s.pitching.wins, w), put(s.pitching.losses, l);
    put(s.pitching.saves, sv), put(s.pitching.batters_faced, outs + outs / 3 + 4), put(s.pitching.at_bats, outs + outs / 4);
    put(s.pitching.hits, outs / 4), put(s.pitching.walks, outs / 9), put(s.pitching.intentional_walks, 1), put(s.pitching.strikeouts, outs / 3);
    put(s.pitching.home_runs, er / 4), put(s.pitching.double_plays, 2), put(s.pitching.wild_pitches, 1), put(s.pitching.balks, l % 2);
    put(s.pitching.holds, sv / 2), put(s.pitching.blown_saves, sv / 3), put(s.pitching.games, outs / 15 + 1);
    put(s.pitching.games_started, outs / 30), put(s.pitching.complete_games, outs / 150), put(s.pitching.shutouts, outs / 300);
    return s;
}

enc::EncyclopediaContents small_encyclopedia() {
    enc::EncyclopediaContents c;
    c.teams = {team(1, "NYA"), team(2, "BOS"), team(3, "TOR"), team(4, "BAL"), team(5, "\xC3\x81GU")};
    c.players = {player(1, 1970), player(2, 1975), player(3, 1980), player(4, 1968), player(6, 1990),
                 player(7, 1985), player(19, 1978), player(20, 1982)};
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
        line.kind = 3;
        s.push_back(line);
    };
    two_way(2000, 2, 200, 60, 300, 40, 35);
    two_way(2001, 2, 220, 70, 330, 45, 30);
    two_way(2001, 5, 8, 3, 15, 3, 2);
    two_way(2001, 8, 10, 4, 18, 2, 1);
    s.push_back(hitter(6, 2002, 2, 5, "Ohtani", "Sho", 150, 40, 8, 1, 6, 12, 1, 1));   // a season of one kind
    // Lines of both kinds, none two-way: a hitting season, then pitching.
    s.push_back(hitter(19, 2000, 2, 2, "Fenn", "Gus", 120, 33, 6, 1, 2, 9, 1, 0));
    s.push_back(pitcher(pitcher_line(19, 2001, 2, 2, "Fenn", "Gus"), 150, 25, 20, 6, 7, 1));
    s.push_back(pitcher(pitcher_line(19, 2001, 6, 2, "Fenn", "Gus"), 12, 2, 2, 0, 1, 0));
    // A pitcher whose only hitting line is in the league championship series.
    s.push_back(pitcher(pitcher_line(20, 2000, 2, 1, "Quill", "Ray"), 540, 70, 62, 12, 10, 0));
    s.push_back(pitcher(pitcher_line(20, 2000, 7, 1, "Quill", "Ray"), 36, 6, 5, 1, 1, 0));
    s.push_back(hitter(20, 2000, 7, 1, "Quill", "Ray", 3, 1, 0, 0, 0, 0, 0, 0));
    s.push_back(hitter(7, 2001, 2, 3, "\xC3\x98" "degaard", "Ole", 100, 25, 5, 0, 3, 8, 0, 1));
    s.push_back(hitter(7, 2001, 3, 3, "\xC3\x98" "degaard", "Ole", 10, 2, 0, 0, 0, 0, 0, 0));  // "this case is 3"
    s.push_back(hitter(8, 2001, 2, 9, "Zed", "Zack", 50, 12, 2, 0, 1, 5, 0, 0));   // team 9: no record, no birth year
    // Letter sheets: lower case, accents, and names with no letter first.
    s.push_back(hitter(12, 2000, 2, 3, "de Aza", "Ali", 40, 10, 1, 0, 0, 4, 0, 0));
    s.push_back(hitter(13, 2000, 2, 3, "\xC3\x89lan", "Eve", 40, 11, 1, 0, 0, 4, 0, 0));
    s.push_back(hitter(14, 2000, 2, 3, "", "Nobody", 40, 12, 1, 0, 0, 4, 0, 0));
    s.push_back(hitter(15, 2000, 2, 3, "9Lives", "Cat", 40, 13, 1, 0, 0, 4, 0, 0));
    c.players->push_back(player(11, 1980, 0, 0));   // no valid birth date: the age from the year
    s.push_back(hitter(11, 2000, 2, 3, "Odd", "Date", 40, 14, 1, 0, 0, 4, 0, 0));
    s.push_back(hitter(16, 2000, 6, 3, "Post", "Only", 10, 3, 0, 0, 0, 1, 0, 0));   // no regular season: left out
    s.push_back(hitter(17, 2000, 2, 3, "Gone", "Status", 40, 10, 1, 0, 0, 4, 0, 0));
    s.back().status = 1;   // not used: left out
    s.push_back(hitter(8, 2000, 2, 9, "Zed", "Zack", 40, 10, 1, 0, 0, 3, 0, 0));   // team 9 is told once
    for (int kind : {0, 4, 255}) {   // unknown stat kinds: passed over, told
        s.push_back(hitter(18, 2001, 2, 1, "Odd", "Kind", 10, 2, 0, 0, 0, 0, 0, 0));
        s.back().kind = static_cast<uint8_t>(kind);
    }

    auto season = [&](int team_id, int year, std::string city, std::string nick, int won, int lost,
                      int league_id = 1) -> auto& {
        c.team_seasons->push_back(team_season(team_id, year, league_id, std::move(city), std::move(nick), won, lost));
        auto& t = c.team_seasons->back();
        put(t.regular.runs_scored, won * 5), put(t.regular.runs_allowed, lost * 5), put(t.regular.shutouts, won / 10);
        put(t.regular.double_plays, lost + 40), put(t.regular.left_on_base, won * 7);
        return t;
    };
    c.team_seasons.emplace();
    c.team_seasons->push_back(team_season(1, 1999, 1, "Gone", "Away", 1, 1));
    c.team_seasons->back().status = 1;   // unused, yet it counts in the record numbers
    season(1, 2000, "New York", "Yanks", 95, 67);
    season(2, 2000, "Boston", "Sox", 90, 72);
    season(3, 2000, "Toronto", "Jays", 90, 72);         // tied for second
    season(4, 2000, "Baltimore", "Birds", 70, 92);
    season(5, 2000, "\xC3\x81guilas", "Blancas", 81, 81);
    auto& ny = season(1, 2001, "New York", "Yanks", 99, 63);
    ny.division_series = {10, 3, 20, 12, 3, 1, 1};   // left_on_base, double_plays, scored, allowed, won, lost, shutouts
    ny.championship_series = {12, 4, 25, 20, 4, 3, 0};
    ny.world_series = {15, 2, 30, 22, 4, 2, 1};
    season(2, 2001, "Boston", "Sox", 88, 74);
    auto& bal = season(4, 2001, "Baltimore", "Orioles", 91, 71);
    bal.division_series = {9, 2, 15, 18, 2, 3, 0};
    season(3, 2001, "Toronto", "Jays", 80, 82);

    auto divided = [](int year) {
        auto l = league_season(1, year, "American League");
        l.division_names[0] = "East";
        l.division_names[1] = "West";
        l.division_in_use = {true, true, false, false};
        for (int k = 0; k < 4; ++k) l.division_teams[static_cast<std::size_t>(k)] = static_cast<int16_t>(k + 1);
        l.division_teams[15] = 5;
        return l;
    };
    c.league_seasons = {divided(2000), divided(2001)};

    // Other leagues in years of their own. League 2 has names for its last
    // two divisions only, which makes one group of all its teams, listed or
    // not, and a new name in its last season; races with a third team tied,
    // a tie with the leader, equal wins and half games.
    auto dormant = league(9, "Dormant");
    dormant.use_mark_44 = 0;   // not in use: takes no colour
    c.leagues = {league(1, "American League"), dormant, league(2, "Second"), league(3, "Third"),
                 league(4, "Fourth"), league(10500, "Big League")};   // the last two have no colour
    for (int year : {1990, 1991, 1992, 1993, 1994, 1998}) {
        auto l = league_season(2, year, year == 1998 ? "New Second" : "Old Second");
        l.division_names[2] = "North";
        l.division_names[3] = "South";
        put(l.division_teams[0], 21), put(l.division_teams[15], 22), put(l.division_teams[30], 23);
        c.league_seasons->push_back(l);
    }
    // Races of 1995 and 1996: the best percentage leads with fewer wins, and
    // equal percentages share first place.
    const std::vector<std::pair<int, int>> races[] = {
        {{95, 67}, {90, 72}, {90, 72}, {90, 72}}, {{95, 67}, {95, 67}}, {{90, 70}, {90, 72}}, {{95, 67}, {91, 70}},
        {{93, 62}, {92, 56}, {60, 90}}, {{2, 1}, {4, 2}, {1, 5}}};
    for (int r = 0; r < 6; ++r)
        for (std::size_t k = 0; k < races[r].size(); ++k)
            season(21 + static_cast<int>(k), 1991 + r, "Race", std::string(1, static_cast<char>('A' + k)),
                   races[r][k].first, races[r][k].second, 2);
    for (int k = 0; k < 4; ++k) c.teams->push_back(team(21 + k, std::string(3, static_cast<char>('W' + k))));
    season(50, 1990, "Old City", "Cats", 80, 82, 2);   // renamed: titled by its last name
    season(50, 1998, "New City", "Cats", 85, 77, 2);
    season(70, 1990, "Moving", "Vans", 95, 67, 2).division_series = {0, 0, 9, 5, 3, 1, 0};
    season(70, 1996, "Moving", "Vans", 96, 66, 3).world_series = {0, 0, 20, 10, 4, 1, 0};
    // A team listed in a division of two leagues in one year takes the later
    // one's; a year after the lists, or a team below the listed numbers, has none.
    auto east_west = [&](int league_id, int year, const char* name, int east, int west) {
        auto l = league_season(league_id, year, name);
        l.division_names[0] = "East";
        l.division_names[1] = "West";
        put(l.division_teams[0], east), put(l.division_teams[15], west);
        c.league_seasons->push_back(l);
    };
    east_west(3, 1996, "Third", 30, -1);
    east_west(4, 1996, "Fourth", -1, 30);
    season(30, 1996, "St. Louis, MO", "Cards", 88, 74, 3);   // a comma in the name
    season(30, 1997, "St. Louis, MO", "Cards", 86, 76, 3);
    season(29, 1996, "Below", "Range", 80, 82, 3);
    // Two entries in the first year, each with its own headers.
    season(60, 1995, "Twin", "Towns", 40, 41, 3);
    season(60, 1995, "Twin", "Towns", 42, 39, 4);
    season(60, 1996, "Twin", "Towns", 80, 82, 3);
    // One abbreviation for two team numbers (sorted as text: 100 before
    // 40), a season without games, large numbers, and no team record.
    season(40, 1997, "New York", "Giants", 90, 72, 4);
    season(100, 1997, "New York", "Mets", 80, 82, 4);
    season(41, 1997, "Atlanta", "Birds", 0, 0, 4);
    east_west(10500, 1997, "Big League", 12000, -1);
    season(12000, 1997, "Big", "Numbers", 90, 72, 10500);
    season(7, 1997, "Nowhere", "Nomads", 80, 82, 10500);
    for (auto [id, abbrev] : {std::pair{29, "XBE"}, {30, "XCA"}, {40, "YNK"}, {100, "YNK"}, {41, "YAT"},
                              {50, "ZCT"}, {60, "ZTW"}, {70, "ZMV"}, {12000, "BIG"}})
        c.teams->push_back(team(id, abbrev));
    return c;
}

// The conversion of the small encyclopedia, made once for the four goldens.
class Golden : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
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
        book_ = std::make_unique<wb::Workbook>();   // anew on every repeat
        const app::RunResult result = app::convert(options, observer, nullptr, *book_);
        ASSERT_EQ(result.outcome, app::RunOutcome::Completed) << result.error;
        notices_ = observer.text;
    }

    // Compares the dump of `sheets` (after `lead`) with golden/<file>; with
    // TALLYBOOK_UPDATE_GOLDEN set, writes it anew instead (review the diff).
    static void check(const std::string& file, const std::vector<std::string>& sheets, const std::string& lead = {}) {
        const std::string got = lead + dump_sheets(*book_, sheets);
        const std::filesystem::path golden = std::filesystem::path(TALLYBOOK_TEST_DIR) / "golden" / file;
        if (std::getenv("TALLYBOOK_UPDATE_GOLDEN")) {
            std::ofstream(golden, std::ios::binary) << got;
            return;
        }
        EXPECT_EQ(got, read_bytes(golden)) << golden;   // gtest shows the lines that differ
    }
    static std::vector<std::string> sheets_where(bool (*wanted)(const std::string&)) {
        std::vector<std::string> names;
        for (const std::string& name : book_->sheet_names())
            if (wanted(name)) names.push_back(name);
        return names;
    }

    static inline std::unique_ptr<wb::Workbook> book_;
    static inline std::string notices_;
};

// Led by the notices, the tab shown on opening and every sheet in order.
TEST_F(Golden, LetterSheets) {
    std::string lead = notices_ + "shown " + book_->shown_sheet_name() + "\nsheets";
    for (const std::string& name : book_->sheet_names()) lead += " " + name;
    check("letter_sheets.txt", sheets_where([](const std::string& n) { return n.size() <= 2 || n == "#"; }), lead + "\n");
}

TEST_F(Golden, HittingAndPitchingTotalsSheets) {
    check("player_totals.txt",
          sheets_where([](const std::string& n) { return n.starts_with("Hit") || n.starts_with("Pitch"); }));
}

TEST_F(Golden, TeamRecords) { check("team_records.txt", {"Team Records"}); }

TEST_F(Golden, TeamTotalsSheets) {
    check("team_totals.txt", sheets_where([](const std::string& n) { return n.starts_with("Team") && n != "Team Records"; }));
}

}  // namespace
}  // namespace tb::test
