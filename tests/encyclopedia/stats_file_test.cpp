// ENCPLSTATS.DAT: the 344-byte statistics line.
#include "encyclopedia/encyclopedia.h"
#include "raw_bytes.h"
#include "support/encyclopedia_builder.h"

#include <gtest/gtest.h>

namespace enc = tb::enc;
using tb::test::RawRecord;
using tb::test::TempDir;

namespace {

// Every field its own value, and every unused byte 0xEE so that reading one
// at the wrong offset shows.
RawRecord raw_line() {
    RawRecord r(344);
    r.fill(0, 344, '\xEE');
    r.i16(0, 0).i32(4, 123456).u8(8, 7).i16(10, 1998).i16(12, 9876);
    r.text(16, std::string("\xC9lan\0", 5)).text(32, "Vandenberghe-Roe").u8(48, 3);
    r.i16(58, 601).i16(60, 102).i16(62, 103).i16(64, 204).u8(66, 41).u8(67, 12).u8(68, 53).u8(69, 14);
    r.i16(70, 1505).i16(72, 1606).u8(74, 17).u8(75, 18).u8(76, 19).u8(78, 21).u8(79, 22).u8(80, 23);
    r.i16(122, 2801).i16(124, 2802).i16(126, 2803).i16(128, 2804).i16(130, 2805).i16(132, 2806);
    r.u8(134, 31).i16(136, 2807).i16(138, 2808).u8(142, 32).u8(143, 33).u8(144, 34).u8(148, 35);
    r.u8(149, 36).u8(150, 37).u8(151, 38).u8(153, 39).u8(154, 40).u8(162, 42).u8(163, 43).u8(164, 254);
    r.u8(166, 255);
    return r;
}

void expect_raw_line(const enc::PlayerSeasonStats& s) {
    EXPECT_EQ(s.Status, 0);
    EXPECT_EQ(s.PlayerId, 123456);
    EXPECT_EQ(s.PhaseCode, 7);
    EXPECT_EQ(s.SeasonYear, 1998);
    EXPECT_EQ(s.TeamId, 9876);
    EXPECT_EQ(s.FirstName, "Élan");
    EXPECT_EQ(s.LastName, "Vandenberghe-Roe");
    EXPECT_EQ(s.StatKind, 3);
    EXPECT_EQ(s.HitAB, 601);
    EXPECT_EQ(s.HitRuns, 102);
    EXPECT_EQ(s.HitRBI, 103);
    EXPECT_EQ(s.HitHits, 204);
    EXPECT_EQ(s.HitDoubles, 41);
    EXPECT_EQ(s.HitTriples, 12);
    EXPECT_EQ(s.HitHR, 53);
    EXPECT_EQ(s.HitHBP, 14);
    EXPECT_EQ(s.HitStrikeouts, 1505);
    EXPECT_EQ(s.HitWalks, 1606);
    EXPECT_EQ(s.HitIntWalks, 17);
    EXPECT_EQ(s.HitSB, 18);
    EXPECT_EQ(s.HitCS, 19);
    EXPECT_EQ(s.HitSH, 21);
    EXPECT_EQ(s.HitSF, 22);
    EXPECT_EQ(s.HitGIDP, 23);
    EXPECT_EQ(s.PitBattersFaced, 2801);
    EXPECT_EQ(s.PitOuts, 2802);
    EXPECT_EQ(s.PitAtBats, 2803);
    EXPECT_EQ(s.PitHits, 2804);
    EXPECT_EQ(s.PitStrikeouts, 2805);
    EXPECT_EQ(s.PitWalks, 2806);
    EXPECT_EQ(s.PitIntWalks, 31);
    EXPECT_EQ(s.PitRuns, 2807);
    EXPECT_EQ(s.PitEarnedRuns, 2808);
    EXPECT_EQ(s.PitHR, 32);
    EXPECT_EQ(s.PitWildPitches, 33);
    EXPECT_EQ(s.PitBalks, 34);
    EXPECT_EQ(s.PitDoublePlays, 35);
    EXPECT_EQ(s.PitWins, 36);
    EXPECT_EQ(s.PitLosses, 37);
    EXPECT_EQ(s.PitSaves, 38);
    EXPECT_EQ(s.PitBlownSaves, 39);
    EXPECT_EQ(s.PitHolds, 40);
    EXPECT_EQ(s.PitShutouts, 42);
    EXPECT_EQ(s.PitCompleteGames, 43);
    EXPECT_EQ(s.PitGames, 254);
    EXPECT_EQ(s.PitGamesStarted, 255);
}

TEST(StatsFile, EveryFieldIsReadAtItsOffset) {
    TempDir dir;
    tb::test::write_raw(dir / "ENCPLSTATS.DAT", raw_line().bytes);
    const auto stats = enc::Encyclopedia(dir.path()).read_stats();
    ASSERT_EQ(stats.size(), 1u);
    expect_raw_line(stats[0]);
}

TEST(StatsFile, EncoderWritesEveryFieldAtItsOffsetAndZeroesTheRest) {
    const auto line = enc::decode_stats(reinterpret_cast<const unsigned char*>(raw_line().bytes.data()));
    const std::string bytes = enc::encode(line);
    ASSERT_EQ(bytes.size(), 344u);
    // Each used byte as placed by hand; every other byte zero (the first
    // name's filler after its NUL included).
    RawRecord expected = raw_line();
    for (std::size_t i = 0; i < 344; ++i)
        if (expected.bytes[i] == '\xEE') expected.bytes[i] = '\0';
    EXPECT_EQ(bytes, expected.bytes);
    expect_raw_line(enc::decode_stats(reinterpret_cast<const unsigned char*>(bytes.data())));
}

TEST(StatsFile, NegativeAndHugeNumbersAreData) {
    auto line = tb::test::hitter_line(-5, -2000, 200, -1, "X", "Y");
    line.HitAB = -32768;
    line.PitOuts = 32767;
    const auto back = enc::decode_stats(reinterpret_cast<const unsigned char*>(enc::encode(line).data()));
    EXPECT_EQ(back.PlayerId, -5);
    EXPECT_EQ(back.SeasonYear, -2000);
    EXPECT_EQ(back.PhaseCode, 200);
    EXPECT_EQ(back.TeamId, -1);
    EXPECT_EQ(back.HitAB, -32768);
    EXPECT_EQ(back.PitOuts, 32767);
}

TEST(StatsFile, RecordNIsTheNthWholeRecordAndAPartialTailIsIgnored) {
    TempDir dir;
    std::string bytes;
    for (int id = 1; id <= 3; ++id)
        bytes += enc::encode(tb::test::hitter_line(id, 2000 + id, 2, 1, "L" + std::to_string(id), "F"));
    bytes += std::string(343, '\x01');
    tb::test::write_raw(dir / "ENCPLSTATS.DAT", bytes);

    const auto stats = enc::Encyclopedia(dir.path()).read_stats();
    ASSERT_EQ(stats.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(stats[i].PlayerId, i + 1);
        EXPECT_EQ(stats[i].SeasonYear, 2001 + i);
        EXPECT_EQ(stats[i].LastName, "L" + std::to_string(i + 1));
    }
}

TEST(StatsFile, ManyRecordsReadInOrderAcrossReadingChunks) {
    TempDir dir;
    std::vector<enc::PlayerSeasonStats> lines;
    for (int id = 1; id <= 20000; ++id) lines.push_back(tb::test::pitcher_line(id, 1900 + id % 100, 2, id % 30, "P", "Q"));
    enc::EncyclopediaContents contents;
    contents.stats = lines;
    enc::write_encyclopedia(dir.path(), contents);
    const auto stats = enc::Encyclopedia(dir.path()).read_stats();
    ASSERT_EQ(stats.size(), lines.size());
    for (std::size_t i = 0; i < stats.size(); i += 997) {
        EXPECT_EQ(stats[i].PlayerId, lines[i].PlayerId);
        EXPECT_EQ(stats[i].TeamId, lines[i].TeamId);
    }
    EXPECT_EQ(stats.back().PlayerId, 20000);
}

TEST(StatsFile, UsedOnlyWithStatusZeroAndAPositivePlayerNumber) {
    auto line = tb::test::hitter_line(1, 2000, 2, 1, "A", "B");
    EXPECT_TRUE(enc::is_used(line));
    auto status = line;
    status.Status = 2;
    EXPECT_FALSE(enc::is_used(status));
    auto zero = line;
    zero.PlayerId = 0;
    EXPECT_FALSE(enc::is_used(zero));
    auto negative = line;
    negative.PlayerId = -4;
    EXPECT_FALSE(enc::is_used(negative));
}

TEST(StatsFile, NamesAreCutAtNulAndTooLongNamesAreCutOnWriting) {
    const auto line = tb::test::hitter_line(1, 2000, 2, 1, "Šimek-Brandenburger", "de Aza");
    const std::string bytes = enc::encode(line);
    EXPECT_EQ(bytes.substr(32, 16), "\x8Aimek-Brandenbur");
    EXPECT_EQ(bytes.substr(16, 7), std::string("de Aza\0", 7));
    const auto back = enc::decode_stats(reinterpret_cast<const unsigned char*>(bytes.data()));
    EXPECT_EQ(back.LastName, "Šimek-Brandenbur");
    EXPECT_EQ(back.FirstName, "de Aza");
}

}  // namespace
