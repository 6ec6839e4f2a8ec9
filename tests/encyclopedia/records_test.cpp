// The six record layouts: every field at its offset, the encoder writing the
// same bytes back, the "used" rules, and files of many records.
#include "encyclopedia/encyclopedia.h"
#include "raw_bytes.h"
#include "support/encyclopedia_builder.h"

#include <gtest/gtest.h>

#include <functional>

namespace enc = tb::enc;
using tb::test::TempDir;

namespace {

// One field of a layout: where it lives, what is stored there and what the
// decoder must make of it. width 0 marks a text field.
template <class R>
struct Field {
    std::size_t at;
    int width;
    int64_t number;
    std::string raw, text;  // stored Windows-1252 bytes, expected UTF-8
    std::function<int64_t(const R&)> get_number;
    std::function<std::string(const R&)> get_text;
    std::string name;
};

#define NUM(at, width, value, member) {at, width, value, "", "", [](const auto& r) -> int64_t { return r.member; }, {}, #member}
#define TEXT(at, raw, utf8, member) {at, 0, 0, raw, utf8, {}, [](const auto& r) { return r.member; }, #member}

// Writes one record holding `fields` (every other byte 0xEE, so a field read
// at the wrong offset shows) to `file`, reads it back through the folder and
// checks each field; the encoder must give the same bytes with the unread
// ones zeroed.
template <class R>
R check_layout(std::string_view file, std::vector<R> (enc::Encyclopedia::*read)(enc::FileFacts*) const,
               const std::vector<Field<R>>& fields) {
    tb::test::RawRecord raw(R::kSize, '\xEE');
    for (const auto& f : fields) f.width ? raw.put(f.at, f.width, f.number) : raw.text(f.at, f.raw);
    TempDir dir;
    tb::test::write_raw(dir / std::string(file), raw.bytes);
    const auto records = (enc::Encyclopedia(dir.path()).*read)(nullptr);
    if (records.size() != 1) {
        ADD_FAILURE() << file << " gave " << records.size() << " records";
        return R{};
    }
    for (const auto& f : fields) {
        if (f.width) EXPECT_EQ(f.get_number(records[0]), f.number) << f.name;
        else EXPECT_EQ(f.get_text(records[0]), f.text) << f.name;
    }
    std::replace(raw.bytes.begin(), raw.bytes.end(), '\xEE', '\0');
    EXPECT_EQ(enc::encode(records[0]), raw.bytes) << file;
    return records[0];
}

template <class R, class F>
R with(R r, F change) {
    change(r);
    return r;
}

TEST(Layout, Team) {
    check_layout<enc::TeamRecord>(enc::kTeamFile, &enc::Encyclopedia::read_teams,
                                  {NUM(0, 2, -2, Status), NUM(2, 2, 0x1234, TeamId), TEXT(4, "Q\xC9" "BC", "QÉBC", TeamAbbrev),
                                   NUM(50, 2, -32768, Field50), NUM(52, 2, 32767, Field52)});
}

TEST(Layout, Player) {
    check_layout<enc::PlayerRecord>(enc::kPlayerFile, &enc::Encyclopedia::read_players,
                                    {NUM(0, 2, 3, Status), NUM(4, 4, 0x12345678, PlayerId), NUM(40, 2, 1962, BirthYear),
                                     NUM(42, 1, 250, BirthMonth), NUM(43, 1, 14, BirthDay), NUM(48, 2, -11, Field48),
                                     NUM(50, 2, 12, Field50)});
}

TEST(Layout, Stats) {
    check_layout<enc::PlayerSeasonStats>(
        enc::kStatsFile, &enc::Encyclopedia::read_stats,
        {NUM(0, 2, 5, Status), NUM(4, 4, 123456, PlayerId), NUM(8, 1, 200, PhaseCode), NUM(10, 2, 1998, SeasonYear),
         NUM(12, 2, -9876, TeamId), TEXT(16, std::string("\xC9lan\0", 5), "Élan", FirstName),
         TEXT(32, "Vandenberghe-Roe", "Vandenberghe-Roe", LastName),  // 16 characters, no NUL
         NUM(48, 1, 3, StatKind), NUM(58, 2, 601, HitAB), NUM(60, 2, -102, HitRuns), NUM(62, 2, 103, HitRBI),
         NUM(64, 2, 204, HitHits), NUM(66, 1, 41, HitDoubles), NUM(67, 1, 12, HitTriples), NUM(68, 1, 53, HitHR),
         NUM(69, 1, 14, HitHBP), NUM(70, 2, 1505, HitStrikeouts), NUM(72, 2, 1606, HitWalks),
         NUM(74, 1, 17, HitIntWalks), NUM(75, 1, 18, HitSB), NUM(76, 1, 19, HitCS), NUM(78, 1, 21, HitSH),
         NUM(79, 1, 22, HitSF), NUM(80, 1, 23, HitGIDP), NUM(122, 2, 2801, PitBattersFaced),
         NUM(124, 2, 32767, PitOuts), NUM(126, 2, 2803, PitAtBats), NUM(128, 2, 2804, PitHits),
         NUM(130, 2, 2805, PitStrikeouts), NUM(132, 2, 2806, PitWalks), NUM(134, 1, 31, PitIntWalks),
         NUM(136, 2, 2807, PitRuns), NUM(138, 2, 2808, PitEarnedRuns), NUM(142, 1, 32, PitHR),
         NUM(143, 1, 33, PitWildPitches), NUM(144, 1, 34, PitBalks), NUM(148, 1, 35, PitDoublePlays),
         NUM(149, 1, 36, PitWins), NUM(150, 1, 37, PitLosses), NUM(151, 1, 38, PitSaves),
         NUM(153, 1, 39, PitBlownSaves), NUM(154, 1, 40, PitHolds), NUM(162, 1, 42, PitShutouts),
         NUM(163, 1, 43, PitCompleteGames), NUM(164, 1, 254, PitGames), NUM(166, 1, 255, PitGamesStarted)});
}

TEST(Layout, TeamSeason) {
    using T = enc::TeamSeasonRecord;
    std::vector<Field<T>> fields = {NUM(0, 2, 6, Status), NUM(4, 2, 31, TeamId), NUM(6, 2, 1987, SeasonYear),
                                    TEXT(8, std::string("Montr\xE9" "al\0", 9), "Montréal", TeamCity),
                                    TEXT(28, "Voyageurs-Express-XX", "Voyageurs-Express-XX", TeamNickname),
                                    TEXT(118, std::string("MT\0", 3), "MT", SeasonAbbrev), NUM(122, 2, 2, LeagueId)};
    // The five phase blocks, each field its own value.
    int k = 0;
    for (auto block : {&T::RegTotals, &T::WildTotals, &T::DivTotals, &T::LcsTotals, &T::WsTotals}) {
        const std::size_t at = 466 + 16 * k++;
        auto num = [&](std::size_t offset, int width, int64_t value, auto member) {
            fields.push_back({at + offset, width, value, "", "",
                              [block, member](const T& r) -> int64_t { return (r.*block).*member; }, {},
                              "block " + std::to_string(k) + " +" + std::to_string(offset)});
        };
        using P = enc::TeamPhaseTotals;
        num(0, 2, 100 * k + 1, &P::LOB);
        num(2, 2, 100 * k + 2, &P::GDP);
        num(6, 2, 100 * k + 3, &P::Scored);
        num(8, 2, 100 * k + 4, &P::Allowed);
        num(10, 1, 10 * k + 5, &P::Won);
        num(11, 1, 10 * k + 6, &P::Lost);
        num(14, 1, 10 * k + 7, &P::SHO);
    }
    check_layout<T>(enc::kTeamSeasonFile, &enc::Encyclopedia::read_team_seasons, fields);
}

TEST(Layout, LeagueSeasonAndDivisionsInUse) {
    using L = enc::LeagueSeasonRecord;
    std::vector<Field<L>> fields = {
        NUM(0, 2, 7, Status), NUM(4, 2, 9999, LeagueId), NUM(6, 2, 2011, SeasonYear),
        TEXT(12, std::string("Atlantic League\0", 16), "Atlantic League", LeagueName),
        TEXT(52, std::string("\x1F" "East\0", 6), "\x1F" "East", DivisionNames[0]),
        TEXT(72, "Central-Division-XYZ", "Central-Division-XYZ", DivisionNames[1]),
        TEXT(92, std::string(1, '\0'), "", DivisionNames[2]), TEXT(112, std::string(" \0", 2), " ", DivisionNames[3])};
    for (int i = 0; i < 60; ++i)
        fields.push_back({132 + 2u * i, 2, i % 7 == 0 ? -1 : 0x101 * i, "", "",
                          [i](const L& r) -> int64_t { return r.DivisionTeams[i]; }, {}, "slot " + std::to_string(i)});
    const auto l = check_layout<L>(enc::kLeagueSeasonFile, &enc::Encyclopedia::read_league_seasons, fields);
    // In use when the uncut field starts at or above a space.
    EXPECT_EQ(l.DivisionInUse, (std::array<bool, 4>{false, true, false, true}));
}

TEST(Layout, LeagueAndTitleInUse) {
    const auto l = check_layout<enc::LeagueRecord>(
        enc::kLeagueFile, &enc::Encyclopedia::read_leagues,
        {NUM(0, 2, 8, Status), NUM(2, 2, 4711, LeagueId),
         TEXT(4, std::string("\xC9lite League\0", 13), "Élite League", LeagueTitle), NUM(44, 2, -9, LeagueField44)});
    EXPECT_TRUE(l.TitleInUse);  // a high byte is above a space
}

TEST(Layout, NamesTooLongAreCutOnWritingAndShortOnesNulPadded) {
    const std::string bytes = enc::encode(tb::test::hitter_line(1, 2000, 2, 1, "Šimek-Brandenburger", "de Aza"));
    EXPECT_EQ(bytes.substr(32, 16), "\x8Aimek-Brandenbur");
    EXPECT_EQ(bytes.substr(16, 16), std::string("de Aza") + std::string(10, '\0'));
    EXPECT_EQ(enc::decode_stats(tb::test::bytes_of(bytes)).LastName, "Šimek-Brandenbur");
}

TEST(UsedRules, Teams) {
    const auto t = tb::test::team(1, "NY");
    EXPECT_TRUE(enc::is_used(t));
    EXPECT_FALSE(enc::is_used(with(t, [](auto& r) { r.Status = 1; })));
    EXPECT_FALSE(enc::is_used(with(t, [](auto& r) { r.Field50 = 0; })));
    EXPECT_FALSE(enc::is_used(with(t, [](auto& r) { r.Field52 = -3; })));
}

TEST(UsedRules, PlayersNeedABirthYearBeforeTheCurrentYear) {
    const auto p = tb::test::player(5, 1980);
    for (int year : {1, 1990, 2024}) EXPECT_TRUE(enc::is_used(tb::test::player(1, year), 2025)) << year;
    for (int year : {0, -1990, 2025, 2030}) EXPECT_FALSE(enc::is_used(tb::test::player(1, year), 2025)) << year;
    EXPECT_FALSE(enc::is_used(with(p, [](auto& r) { r.Status = -1; }), 2025));
    EXPECT_FALSE(enc::is_used(with(p, [](auto& r) { r.Field48 = 0; }), 2025));
    EXPECT_FALSE(enc::is_used(with(p, [](auto& r) { r.Field50 = -1; }), 2025));
}

TEST(UsedRules, StatsLines) {
    const auto s = tb::test::hitter_line(1, 2000, 2, 1, "A", "B");
    EXPECT_TRUE(enc::is_used(s));
    EXPECT_FALSE(enc::is_used(with(s, [](auto& r) { r.Status = 2; })));
    EXPECT_FALSE(enc::is_used(with(s, [](auto& r) { r.PlayerId = 0; })));
    EXPECT_FALSE(enc::is_used(with(s, [](auto& r) { r.PlayerId = -4; })));
}

TEST(UsedRules, TeamSeasonsAndPlayedPhases) {
    const auto t = tb::test::team_season(1, 1, 1, "A", "B", 90, 72);
    EXPECT_TRUE(enc::is_used(t));
    EXPECT_FALSE(enc::is_used(with(t, [](auto& r) { r.SeasonYear = 0; })));
    EXPECT_FALSE(enc::is_used(with(t, [](auto& r) { r.Status = 1; })));
    // A phase was played when won or lost is set; runs alone do not count.
    EXPECT_FALSE(enc::TeamPhaseTotals{}.played());
    EXPECT_FALSE(with(enc::TeamPhaseTotals{}, [](auto& b) { b.Scored = 5; }).played());
    EXPECT_TRUE(with(enc::TeamPhaseTotals{}, [](auto& b) { b.Lost = 3; }).played());
}

TEST(UsedRules, LeagueSeasons) {
    const auto l = tb::test::league_season(1, 1, "L");
    EXPECT_TRUE(enc::is_used(l));
    EXPECT_FALSE(enc::is_used(with(l, [](auto& r) { r.SeasonYear = 0; })));
    EXPECT_FALSE(enc::is_used(with(l, [](auto& r) { r.Status = -1; })));
}

TEST(UsedRules, LeaguesNeedTheirFieldAndATitleInUse) {
    const auto l = tb::test::league(1, "A");
    EXPECT_TRUE(enc::is_used(l));
    EXPECT_FALSE(enc::is_used(with(l, [](auto& r) { r.Status = 1; })));
    EXPECT_FALSE(enc::is_used(with(l, [](auto& r) { r.LeagueField44 = 0; })));
    // The title's use follows from the bytes written, not from the flag.
    const auto blank = enc::decode_league(tb::test::bytes_of(enc::encode(with(l, [](auto& r) { r.LeagueTitle = ""; }))));
    EXPECT_FALSE(blank.TitleInUse);
    EXPECT_FALSE(enc::is_used(blank));
}

TEST(Tables, TakeUsedRecordsAndTheLaterRecordWins) {
    const auto teams = enc::build_team_table({tb::test::team(1, "NY"), tb::test::team(2, "BOS"), tb::test::team(1, "NYK"),
                                              with(tb::test::team(3, "ZZZ"), [](auto& r) { r.Field52 = 0; })});
    EXPECT_EQ(teams, (enc::TeamTable{{1, "NYK"}, {2, "BOS"}}));
    const auto years = enc::build_birth_years({tb::test::player(1, 1980), tb::test::player(2, 2025), tb::test::player(1, 1985),
                                               with(tb::test::player(3, 1950), [](auto& r) { r.Status = 1; })},
                                              2025);
    EXPECT_EQ(years, (enc::BirthYears{{1, 1985}}));
}

// Record n is the n-th whole record of every file (also across the reader's
// chunks), and a trailing partial record is ignored.
TEST(Files, WholeRecordsInOrderAndNoPartialTail) {
    TempDir dir;
    auto write = [&](std::string_view file, int count, auto make) {
        std::string bytes;
        for (int i = 1; i <= count; ++i) bytes += enc::encode(make(i));
        tb::test::write_raw(dir / std::string(file), bytes + std::string(enc::encode(make(0)).size() - 1, '\x01'));
    };
    write(enc::kStatsFile, 20000, [](int i) { return tb::test::pitcher_line(i, 1900 + i % 100, 2, i % 30, "P", "Q"); });
    write(enc::kTeamFile, 3, [](int i) { return tb::test::team(i, "T"); });
    write(enc::kPlayerFile, 3, [](int i) { return tb::test::player(i, 1970); });
    write(enc::kTeamSeasonFile, 3, [](int i) { return tb::test::team_season(i, 2000, 1, "C", "N", 1, 1); });
    write(enc::kLeagueSeasonFile, 3, [](int i) { return tb::test::league_season(i, 2000, "L"); });
    write(enc::kLeagueFile, 3, [](int i) { return tb::test::league(i, "L"); });
    const enc::Encyclopedia e(dir.path());
    auto expect_numbered = [](const auto& records, std::size_t count, auto id) {
        ASSERT_EQ(records.size(), count);
        for (std::size_t i = 0; i < count; i += 1 + count / 30) EXPECT_EQ(id(records[i]), static_cast<int>(i + 1)) << i;
        EXPECT_EQ(id(records.back()), static_cast<int>(count));
    };
    expect_numbered(e.read_stats(), 20000, [](const auto& r) { return r.PlayerId; });
    expect_numbered(e.read_teams(), 3, [](const auto& r) { return r.TeamId; });
    expect_numbered(e.read_players(), 3, [](const auto& r) { return r.PlayerId; });
    expect_numbered(e.read_team_seasons(), 3, [](const auto& r) { return r.TeamId; });
    expect_numbered(e.read_league_seasons(), 3, [](const auto& r) { return r.LeagueId; });
    expect_numbered(e.read_leagues(), 3, [](const auto& r) { return r.LeagueId; });
}

TEST(TextField, CutAtTheFirstNulTakenWholeWithoutOneAndControlBytesKept) {
    auto field = [](const std::string& raw) {
        return enc::decode_text_field(reinterpret_cast<const unsigned char*>(raw.data()), raw.size());
    };
    EXPECT_EQ(field(std::string("NY\0X\0", 5)), "NY");
    EXPECT_EQ(field(std::string("\0ABC", 4)), "");
    EXPECT_EQ(field("Vandenberghe-Roe"), "Vandenberghe-Roe");
    EXPECT_EQ(field(std::string("\x01\x1F\xC9lan\0", 7)), "\x01\x1F\u00C9lan");
}

}  // namespace
