// ENCTEAM.DAT and ENCPLYR.DAT: layout, "used" rules and the tables built
// from them.
#include "encyclopedia/encyclopedia.h"
#include "raw_bytes.h"
#include "support/encyclopedia_builder.h"

#include <gtest/gtest.h>

namespace enc = tb::enc;
using tb::test::RawRecord;
using tb::test::TempDir;

namespace {

RawRecord raw_team() {
    RawRecord r(56);
    r.i16(0, 0).i16(2, 4321).text(4, "Q\xC9" "B").i16(50, 7).i16(52, 9);
    r.text(8, "XX").fill(10, 20, 'c').fill(30, 20, 'n').i16(54, -5);  // fields that are not read
    return r;
}

RawRecord raw_player() {
    RawRecord r(52);
    r.i16(0, 0).i16(2, 77).i32(4, 64999).i16(40, 1962).u8(42, 7).u8(43, 4).i16(48, 11).i16(50, 12);
    r.fill(8, 16, 'f').fill(24, 16, 'l').i32(44, -1);  // fields that are not read
    return r;
}

TEST(TeamFile, FieldsAreReadAtTheirOffsets) {
    TempDir dir;
    const RawRecord first = raw_team();
    RawRecord second(56);
    second.i16(0, -2).i16(2, -1).text(4, "TORO").i16(50, -32768).i16(52, 32767);
    tb::test::write_raw(dir / "ENCTEAM.DAT", first.bytes + second.bytes);

    const auto teams = enc::Encyclopedia(dir.path()).read_teams();
    ASSERT_EQ(teams.size(), 2u);
    EXPECT_EQ(teams[0].Status, 0);
    EXPECT_EQ(teams[0].TeamId, 4321);
    EXPECT_EQ(teams[0].TeamAbbrev, "QÉB");
    EXPECT_EQ(teams[0].Field50, 7);
    EXPECT_EQ(teams[0].Field52, 9);
    EXPECT_EQ(teams[1].Status, -2);
    EXPECT_EQ(teams[1].TeamId, -1);
    EXPECT_EQ(teams[1].TeamAbbrev, "TORO");
    EXPECT_EQ(teams[1].Field50, -32768);
    EXPECT_EQ(teams[1].Field52, 32767);
}

TEST(TeamFile, EncoderPlacesFieldsAtTheirOffsets) {
    const auto decoded = enc::decode_team(reinterpret_cast<const unsigned char*>(raw_team().bytes.data()));
    RawRecord expected(56);
    expected.i16(2, 4321).text(4, "Q\xC9" "B").i16(50, 7).i16(52, 9);  // unread fields come back as zeros
    EXPECT_EQ(enc::encode(decoded), expected.bytes);
}

TEST(TeamFile, UsedOnlyWithStatusZeroAndBothTestedFieldsAboveZero) {
    auto t = tb::test::team(1, "NY");
    EXPECT_TRUE(enc::is_used(t));
    auto status = t;
    status.Status = 1;
    EXPECT_FALSE(enc::is_used(status));
    auto f50 = t;
    f50.Field50 = 0;
    EXPECT_FALSE(enc::is_used(f50));
    auto f52 = t;
    f52.Field52 = -3;
    EXPECT_FALSE(enc::is_used(f52));
}

TEST(TeamFile, TableTakesUsedRecordsAndTheLaterAbbreviationWins) {
    auto skipped = tb::test::team(3, "ZZZ");
    skipped.Field52 = 0;
    const auto table = enc::build_team_table(
        {tb::test::team(1, "NY"), tb::test::team(2, "BOS"), tb::test::team(1, "NYK"), skipped});
    EXPECT_EQ(table.size(), 2u);
    EXPECT_EQ(table.at(1), "NYK");
    EXPECT_EQ(table.at(2), "BOS");
    EXPECT_FALSE(table.count(3));
}

TEST(PlayerFile, FieldsAreReadAtTheirOffsets) {
    TempDir dir;
    RawRecord big(52);
    big.i16(0, 3).i32(4, -7).i16(40, -1).u8(42, 255).u8(43, 200).i16(48, -2).i16(50, 0);
    RawRecord huge(52);
    huge.i32(4, 0x7FFFFFFF);
    tb::test::write_raw(dir / "ENCPLYR.DAT", raw_player().bytes + big.bytes + huge.bytes);

    const auto players = enc::Encyclopedia(dir.path()).read_players();
    ASSERT_EQ(players.size(), 3u);
    EXPECT_EQ(players[0].Status, 0);
    EXPECT_EQ(players[0].PlayerId, 64999);
    EXPECT_EQ(players[0].BirthYear, 1962);
    EXPECT_EQ(players[0].BirthMonth, 7);
    EXPECT_EQ(players[0].BirthDay, 4);
    EXPECT_EQ(players[0].Field48, 11);
    EXPECT_EQ(players[0].Field50, 12);
    EXPECT_EQ(players[1].Status, 3);
    EXPECT_EQ(players[1].PlayerId, -7);
    EXPECT_EQ(players[1].BirthYear, -1);
    EXPECT_EQ(players[1].BirthMonth, 255);
    EXPECT_EQ(players[1].BirthDay, 200);
    EXPECT_EQ(players[1].Field48, -2);
    EXPECT_EQ(players[2].PlayerId, 2147483647);
}

TEST(PlayerFile, EncoderPlacesFieldsAtTheirOffsets) {
    const auto decoded = enc::decode_player(reinterpret_cast<const unsigned char*>(raw_player().bytes.data()));
    RawRecord expected(52);
    expected.i32(4, 64999).i16(40, 1962).u8(42, 7).u8(43, 4).i16(48, 11).i16(50, 12);
    EXPECT_EQ(enc::encode(decoded), expected.bytes);
}

TEST(PlayerFile, BirthYearMustBeAboveZeroAndBeforeTheCurrentYear) {
    EXPECT_TRUE(enc::is_used(tb::test::player(1, 1990), 2025));
    EXPECT_TRUE(enc::is_used(tb::test::player(1, 2024), 2025));
    EXPECT_TRUE(enc::is_used(tb::test::player(1, 1), 2025));
    EXPECT_FALSE(enc::is_used(tb::test::player(1, 2025), 2025));
    EXPECT_FALSE(enc::is_used(tb::test::player(1, 2030), 2025));
    EXPECT_FALSE(enc::is_used(tb::test::player(1, 0), 2025));
    EXPECT_FALSE(enc::is_used(tb::test::player(1, -1990), 2025));
}

TEST(PlayerFile, UsedOnlyWithStatusZeroAndBothTestedFieldsAboveZero) {
    auto p = tb::test::player(5, 1980);
    auto status = p;
    status.Status = -1;
    auto f48 = p;
    f48.Field48 = 0;
    auto f50 = p;
    f50.Field50 = -1;
    EXPECT_TRUE(enc::is_used(p, 2025));
    EXPECT_FALSE(enc::is_used(status, 2025));
    EXPECT_FALSE(enc::is_used(f48, 2025));
    EXPECT_FALSE(enc::is_used(f50, 2025));
}

TEST(PlayerFile, BirthYearsTakeUsedRecordsAndTheLaterRecordWins) {
    auto deleted = tb::test::player(3, 1950);
    deleted.Status = 1;
    const auto years = enc::build_birth_years(
        {tb::test::player(1, 1980), tb::test::player(2, 2025), tb::test::player(1, 1985), deleted}, 2025);
    EXPECT_EQ(years.size(), 1u);
    EXPECT_EQ(years.at(1), 1985);
}

}  // namespace
