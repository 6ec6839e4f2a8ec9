// enctmyr.dat, enclgyr.dat and encleag.dat.
#include "encyclopedia/encyclopedia.h"
#include "raw_bytes.h"
#include "support/encyclopedia_builder.h"

#include <gtest/gtest.h>

namespace enc = tb::enc;
using tb::test::RawRecord;
using tb::test::TempDir;

namespace {

// One phase block with every field distinct: base + 1 .. base + 7.
void raw_block(RawRecord& r, std::size_t at, int base) {
    r.i16(at + 0, base + 1).i16(at + 2, base + 2).i16(at + 6, base + 3).i16(at + 8, base + 4);
    r.u8(at + 10, (base + 5) % 256).u8(at + 11, (base + 6) % 256).u8(at + 14, (base + 7) % 256);
}

void expect_block(const enc::TeamPhaseTotals& t, int base) {
    EXPECT_EQ(t.LOB, base + 1);
    EXPECT_EQ(t.GDP, base + 2);
    EXPECT_EQ(t.Scored, base + 3);
    EXPECT_EQ(t.Allowed, base + 4);
    EXPECT_EQ(t.Won, (base + 5) % 256);
    EXPECT_EQ(t.Lost, (base + 6) % 256);
    EXPECT_EQ(t.SHO, (base + 7) % 256);
}

RawRecord raw_team_season() {
    RawRecord r(548);
    r.fill(0, 548, '\xEE');
    r.i16(0, 0).i16(4, 31).i16(6, 1987).text(8, std::string("Montr\xE9" "al\0", 9));
    r.text(28, "Voyageurs-Express-XX").text(118, std::string("MT\0", 3)).i16(122, 2);
    raw_block(r, 466, 100);
    raw_block(r, 482, 200);
    raw_block(r, 498, 300);
    raw_block(r, 514, 400);
    raw_block(r, 530, 500);
    // Unread bytes inside the blocks stay 0xEE; zero them for the encoder check.
    return r;
}

TEST(TeamSeasonFile, FieldsAndBlocksAreReadAtTheirOffsets) {
    TempDir dir;
    tb::test::write_raw(dir / "enctmyr.dat", raw_team_season().bytes);
    const auto seasons = enc::Encyclopedia(dir.path()).read_team_seasons();
    ASSERT_EQ(seasons.size(), 1u);
    const auto& t = seasons[0];
    EXPECT_EQ(t.Status, 0);
    EXPECT_EQ(t.TeamId, 31);
    EXPECT_EQ(t.SeasonYear, 1987);
    EXPECT_EQ(t.TeamCity, "Montréal");
    EXPECT_EQ(t.TeamNickname, "Voyageurs-Express-XX");
    EXPECT_EQ(t.SeasonAbbrev, "MT");
    EXPECT_EQ(t.LeagueId, 2);
    expect_block(t.RegTotals, 100);
    expect_block(t.WildTotals, 200);
    expect_block(t.DivTotals, 300);
    expect_block(t.LcsTotals, 400);
    expect_block(t.WsTotals, 500);
}

TEST(TeamSeasonFile, EncoderWritesTheFieldsAndZeroesTheRest) {
    const auto decoded = enc::decode_team_season(reinterpret_cast<const unsigned char*>(raw_team_season().bytes.data()));
    RawRecord expected(548);
    expected.i16(4, 31).i16(6, 1987).text(8, "Montr\xE9" "al").text(28, "Voyageurs-Express-XX").text(118, "MT").i16(122, 2);
    raw_block(expected, 466, 100);
    raw_block(expected, 482, 200);
    raw_block(expected, 498, 300);
    raw_block(expected, 514, 400);
    raw_block(expected, 530, 500);
    EXPECT_EQ(enc::encode(decoded), expected.bytes);
}

TEST(TeamSeasonFile, UsedOnlyWithStatusZeroAndAPositiveYear) {
    auto t = tb::test::team_season(1, 2000, 1, "A", "B", 90, 72);
    EXPECT_TRUE(enc::is_used(t));
    t.SeasonYear = 0;
    EXPECT_FALSE(enc::is_used(t));
    t.SeasonYear = 1;
    EXPECT_TRUE(enc::is_used(t));
    t.Status = 1;
    EXPECT_FALSE(enc::is_used(t));
}

TEST(TeamSeasonFile, APhaseWasPlayedWhenWonOrLostIsSet) {
    enc::TeamPhaseTotals t;
    EXPECT_FALSE(t.played());
    t.Scored = 5;
    EXPECT_FALSE(t.played());
    t.Lost = 3;
    EXPECT_TRUE(t.played());
}

RawRecord raw_league_season() {
    RawRecord r(1000);
    r.fill(0, 1000, '\xEE');
    r.i16(0, 0).i16(4, 9999).i16(6, 2011).text(12, std::string("Atlantic League\0", 16));
    r.text(52, std::string("East\0", 5)).text(72, "Central-Division-XYZ");
    r.text(92, std::string("\0West", 5)).text(112, std::string(" \0", 2));
    for (int i = 0; i < 60; ++i) r.i16(132 + 2 * i, i % 7 == 0 ? -1 : 1000 + i);
    return r;
}

TEST(LeagueSeasonFile, FieldsAreReadAtTheirOffsets) {
    TempDir dir;
    RawRecord second(1000);
    second.i16(0, 5).i16(6, -3);
    // 1000-byte slots; a trailing 864-byte record proper with no slot filler is partial.
    tb::test::write_raw(dir / "enclgyr.dat", raw_league_season().bytes + second.bytes + std::string(864, 'x'));
    const auto seasons = enc::Encyclopedia(dir.path()).read_league_seasons();
    ASSERT_EQ(seasons.size(), 2u);
    const auto& l = seasons[0];
    EXPECT_EQ(l.Status, 0);
    EXPECT_EQ(l.LeagueId, 9999);
    EXPECT_EQ(l.SeasonYear, 2011);
    EXPECT_EQ(l.LeagueName, "Atlantic League");
    EXPECT_EQ(l.DivisionNames[0], "East");
    EXPECT_EQ(l.DivisionNames[1], "Central-Division-XYZ");
    EXPECT_EQ(l.DivisionNames[2], "");
    EXPECT_EQ(l.DivisionNames[3], " ");
    for (int i = 0; i < 60; ++i) EXPECT_EQ(l.DivisionTeams[i], i % 7 == 0 ? -1 : 1000 + i) << "slot " << i;
    EXPECT_EQ(seasons[1].Status, 5);
    EXPECT_EQ(seasons[1].SeasonYear, -3);
}

TEST(LeagueSeasonFile, DivisionInUseWhenTheUncutFieldStartsAtOrAboveSpace) {
    const auto l = enc::decode_league_season(reinterpret_cast<const unsigned char*>(raw_league_season().bytes.data()));
    EXPECT_TRUE(l.DivisionInUse[0]);
    EXPECT_TRUE(l.DivisionInUse[1]);
    EXPECT_FALSE(l.DivisionInUse[2]);  // empty: starts with NUL
    EXPECT_TRUE(l.DivisionInUse[3]);   // a single space followed by NUL is greater than " "

    RawRecord low = raw_league_season();
    low.u8(52, 0x1F).u8(72, 0xE9);
    const auto m = enc::decode_league_season(reinterpret_cast<const unsigned char*>(low.bytes.data()));
    EXPECT_FALSE(m.DivisionInUse[0]);
    EXPECT_TRUE(m.DivisionInUse[1]);
}

TEST(LeagueSeasonFile, EncoderWritesTheFieldsInA1000ByteSlot) {
    auto l = tb::test::league_season(7, 1999, "Frontier League");
    l.DivisionNames = {"North", "South", "", ""};
    l.DivisionTeams[0] = 12;
    l.DivisionTeams[59] = 345;
    RawRecord expected(1000);
    expected.i16(4, 7).i16(6, 1999).text(12, "Frontier League").text(52, "North").text(72, "South");
    for (int i = 0; i < 60; ++i) expected.i16(132 + 2 * i, -1);
    expected.i16(132, 12).i16(250, 345);
    EXPECT_EQ(enc::encode(l), expected.bytes);
}

TEST(LeagueSeasonFile, UsedOnlyWithStatusZeroAndYearAtLeastOne) {
    auto l = tb::test::league_season(1, 1, "L");
    EXPECT_TRUE(enc::is_used(l));
    l.SeasonYear = 0;
    EXPECT_FALSE(enc::is_used(l));
    l.SeasonYear = 2000;
    l.Status = -1;
    EXPECT_FALSE(enc::is_used(l));
}

TEST(LeagueFile, FieldsAreReadAtTheirOffsets) {
    TempDir dir;
    RawRecord a(50);
    a.fill(0, 50, '\xEE').i16(0, 0).i16(2, 4711).text(4, std::string("Continental League\0", 19)).i16(44, 3);
    RawRecord b(50);
    b.i16(0, 1).i16(2, 2).fill(4, 40, 'T').i16(44, -9);
    tb::test::write_raw(dir / "encleag.dat", a.bytes + b.bytes + "partial");
    const auto leagues = enc::Encyclopedia(dir.path()).read_leagues();
    ASSERT_EQ(leagues.size(), 2u);
    EXPECT_EQ(leagues[0].Status, 0);
    EXPECT_EQ(leagues[0].LeagueId, 4711);
    EXPECT_EQ(leagues[0].LeagueTitle, "Continental League");
    EXPECT_TRUE(leagues[0].TitleInUse);
    EXPECT_EQ(leagues[0].LeagueField44, 3);
    EXPECT_EQ(leagues[1].Status, 1);
    EXPECT_EQ(leagues[1].LeagueTitle, std::string(40, 'T'));
    EXPECT_EQ(leagues[1].LeagueField44, -9);

    RawRecord expected(50);
    expected.i16(2, 4711).text(4, "Continental League").i16(44, 3);
    EXPECT_EQ(enc::encode(leagues[0]), expected.bytes);
}

TEST(LeagueFile, UsedOnlyWithStatusZeroFieldAtLeastOneAndTitleInUse) {
    auto l = tb::test::league(1, "A");
    EXPECT_TRUE(enc::is_used(l));
    auto status = l;
    status.Status = 1;
    EXPECT_FALSE(enc::is_used(status));
    auto field = l;
    field.LeagueField44 = 0;
    EXPECT_FALSE(enc::is_used(field));

    // The title's use follows from the bytes written, not from the flag.
    auto blank = l;
    blank.LeagueTitle = "";
    const auto back = enc::decode_league(reinterpret_cast<const unsigned char*>(enc::encode(blank).data()));
    EXPECT_FALSE(back.TitleInUse);
    EXPECT_FALSE(enc::is_used(back));
}

}  // namespace
