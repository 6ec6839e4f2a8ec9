// The six record layouts: every field at its offset, the encoder writing the
// same bytes back, the "used" rules, and a file of many records.
#include "encyclopedia/encyclopedia.h"
#include "support/encyclopedia_builder.h"

#include <gtest/gtest.h>

#include <functional>

namespace enc = tb::enc;
using namespace tb::test;

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
    std::string raw(R::kSize, '\xEE');
    for (const auto& f : fields) {
        if (f.width == 0) raw.replace(f.at, f.raw.size(), f.raw);
        for (int k = 0; k < f.width; ++k) raw[f.at + k] = static_cast<char>((f.number >> (8 * k)) & 0xFF);
    }
    TempDir dir;
    write_bytes(dir / std::string(file), raw);
    const auto records = (enc::Encyclopedia(dir.path()).*read)(nullptr);
    if (records.size() != 1) {
        ADD_FAILURE() << file << " gave " << records.size() << " records";
        return R{};
    }
    for (const auto& f : fields) {
        if (f.width) EXPECT_EQ(f.get_number(records[0]), f.number) << f.name;
        else EXPECT_EQ(f.get_text(records[0]), f.text) << f.name;
    }
    std::replace(raw.begin(), raw.end(), '\xEE', '\0');
    EXPECT_EQ(enc::encode(records[0]), raw) << file;
    return records[0];
}

template <class R, class F>
R with(R r, F change) {
    change(r);
    return r;
}

TEST(Layout, Team) {
    check_layout<enc::TeamEntry>(enc::kTeamFile, &enc::Encyclopedia::read_teams,
                                  {NUM(0, 2, -2, status), NUM(2, 2, 0x1234, team_id), TEXT(4, "Q\xC9" "BC", "QÉBC", abbreviation),
                                   NUM(50, 2, -32768, use_mark_50), NUM(52, 2, 32767, use_mark_52)});
}

TEST(Layout, Player) {
    check_layout<enc::PlayerEntry>(enc::kPlayerFile, &enc::Encyclopedia::read_players,
                                    {NUM(0, 2, 3, status), NUM(4, 4, 0x12345678, player_id), NUM(40, 2, 1962, birth_year),
                                     NUM(42, 1, 250, birth_month), NUM(43, 1, 14, birth_day), NUM(48, 2, -11, use_mark_48),
                                     NUM(50, 2, 12, use_mark_50)});
}

TEST(Layout, Stats) {
    check_layout<enc::StatsLine>(
        enc::kStatsFile, &enc::Encyclopedia::read_stats,
        {NUM(0, 2, 5, status), NUM(4, 4, 123456, player_id), NUM(8, 1, 200, phase_code), NUM(10, 2, 1998, year),
         NUM(12, 2, -9876, team_id), TEXT(16, std::string("\xC9lan\0", 5), "Élan", first_name),
         TEXT(32, "Vandenberghe-Roe", "Vandenberghe-Roe", last_name),  // 16 characters, no NUL
         NUM(48, 1, 3, kind), NUM(58, 2, 601, hitting.at_bats), NUM(60, 2, -102, hitting.runs), NUM(62, 2, 103, hitting.runs_batted_in),
         NUM(64, 2, 204, hitting.hits), NUM(66, 1, 41, hitting.doubles), NUM(67, 1, 12, hitting.triples), NUM(68, 1, 53, hitting.home_runs),
         NUM(69, 1, 14, hitting.hit_by_pitch), NUM(70, 2, 1505, hitting.strikeouts), NUM(72, 2, 1606, hitting.walks),
         NUM(74, 1, 17, hitting.intentional_walks), NUM(75, 1, 18, hitting.stolen_bases), NUM(76, 1, 19, hitting.caught_stealing), NUM(78, 1, 21, hitting.sacrifice_hits),
         NUM(79, 1, 22, hitting.sacrifice_flies), NUM(80, 1, 23, hitting.double_plays), NUM(122, 2, 2801, pitching.batters_faced),
         NUM(124, 2, 32767, pitching.outs), NUM(126, 2, 2803, pitching.at_bats), NUM(128, 2, 2804, pitching.hits),
         NUM(130, 2, 2805, pitching.strikeouts), NUM(132, 2, 2806, pitching.walks), NUM(134, 1, 31, pitching.intentional_walks),
         NUM(136, 2, 2807, pitching.runs), NUM(138, 2, 2808, pitching.earned_runs), NUM(142, 1, 32, pitching.home_runs),
         NUM(143, 1, 33, pitching.wild_pitches), NUM(144, 1, 34, pitching.balks), NUM(148, 1, 35, pitching.double_plays),
         NUM(149, 1, 36, pitching.wins), NUM(150, 1, 37, pitching.losses), NUM(151, 1, 38, pitching.saves),
         NUM(153, 1, 39, pitching.blown_saves), NUM(154, 1, 40, pitching.holds), NUM(162, 1, 42, pitching.shutouts),
         NUM(163, 1, 43, pitching.complete_games), NUM(164, 1, 254, pitching.games), NUM(166, 1, 255, pitching.games_started)});
}

TEST(Layout, TeamSeason) {
    using T = enc::TeamSeason;
    std::vector<Field<T>> fields = {NUM(0, 2, 6, status), NUM(4, 2, 31, team_id), NUM(6, 2, 1987, year),
                                    TEXT(8, std::string("Montr\xE9" "al\0", 9), "Montréal", city),
                                    TEXT(28, "Voyageurs-Express-XX", "Voyageurs-Express-XX", nickname),
                                    TEXT(118, std::string("MT\0", 3), "MT", season_abbreviation), NUM(122, 2, 2, league_id)};
    // The five phase blocks, each field its own value.
    int k = 0;
    for (auto block : {&T::regular, &T::wild_card, &T::division_series, &T::championship_series, &T::world_series}) {
        const std::size_t at = 466 + 16 * k++;
        auto num = [&](std::size_t offset, int width, int64_t value, auto member) {
            fields.push_back({at + offset, width, value, "", "",
                              [block, member](const T& r) -> int64_t { return (r.*block).*member; }, {},
                              "block " + std::to_string(k) + " +" + std::to_string(offset)});
        };
        using P = enc::PhaseRecord;
        num(0, 2, 100 * k + 1, &P::left_on_base);
        num(2, 2, 100 * k + 2, &P::double_plays);
        num(6, 2, 100 * k + 3, &P::runs_scored);
        num(8, 2, 100 * k + 4, &P::runs_allowed);
        num(10, 1, 10 * k + 5, &P::won);
        num(11, 1, 10 * k + 6, &P::lost);
        num(14, 1, 10 * k + 7, &P::shutouts);
    }
    check_layout<T>(enc::kTeamSeasonFile, &enc::Encyclopedia::read_team_seasons, fields);
}

TEST(Layout, LeagueSeasonAndDivisionsInUse) {
    using L = enc::LeagueSeason;
    std::vector<Field<L>> fields = {
        NUM(0, 2, 7, status), NUM(4, 2, 9999, league_id), NUM(6, 2, 2011, year),
        TEXT(12, std::string("Atlantic League\0", 16), "Atlantic League", name),
        TEXT(52, std::string("\x1F" "East\0", 6), "\x1F" "East", division_names[0]),
        TEXT(72, "Central-Division-XYZ", "Central-Division-XYZ", division_names[1]),
        TEXT(92, std::string(1, '\0'), "", division_names[2]), TEXT(112, std::string(" \0", 2), " ", division_names[3])};
    for (int i = 0; i < 60; ++i)
        fields.push_back({132 + 2u * i, 2, i % 7 == 0 ? -1 : 0x101 * i, "", "",
                          [i](const L& r) -> int64_t { return r.division_teams[i]; }, {}, "slot " + std::to_string(i)});
    const auto l = check_layout<L>(enc::kLeagueSeasonFile, &enc::Encyclopedia::read_league_seasons, fields);
    // In use when the uncut field starts at or above a space.
    EXPECT_EQ(l.division_in_use, (std::array<bool, 4>{false, true, false, true}));
}

TEST(Layout, LeagueAndTitleInUse) {
    const auto l = check_layout<enc::LeagueEntry>(
        enc::kLeagueFile, &enc::Encyclopedia::read_leagues,
        {NUM(0, 2, 8, status), NUM(2, 2, 4711, league_id),
         TEXT(4, std::string("\xC9lite League\0", 13), "Élite League", title), NUM(44, 2, -9, use_mark_44)});
    EXPECT_TRUE(l.title_in_use);  // a high byte is above a space
}

const unsigned char* bytes_of(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

bool used(const enc::PlayerEntry& r) { return enc::is_used(r, 2025); }   // birth years before 2025
template <class R>
bool used(const R& r) {
    return enc::is_used(r);
}

// Records that pass their tests, and each change that makes one unused.
template <class R, class... Changes>
void expect_rules(const R& r, Changes... changes) {
    EXPECT_TRUE(used(r));
    int n = 0;
    for (bool still_used : {used(with(r, changes))...}) EXPECT_FALSE(still_used) << "change " << n++;
}

TEST(UsedRules, EachTestedField) {
    expect_rules(team(1, "NY"), [](auto& r) { r.status = 1; }, [](auto& r) { r.use_mark_50 = 0; },
                 [](auto& r) { r.use_mark_52 = -3; });
    expect_rules(player(5, 1980), [](auto& r) { r.status = -1; }, [](auto& r) { r.use_mark_48 = 0; },
                 [](auto& r) { r.use_mark_50 = -1; }, [](auto& r) { r.birth_year = 0; },
                 [](auto& r) { r.birth_year = -1990; }, [](auto& r) { r.birth_year = 2025; });
    EXPECT_TRUE(used(player(1, 1)) && used(player(1, 2024)));
    expect_rules(hitter_line(1, 2000, 2, 1, "A", "B"), [](auto& r) { r.status = 2; }, [](auto& r) { r.player_id = 0; },
                 [](auto& r) { r.player_id = -4; });
    expect_rules(team_season(1, 1, 1, "A", "B", 90, 72), [](auto& r) { r.year = 0; },
                 [](auto& r) { r.status = 1; });
    expect_rules(league_season(1, 1, "L"), [](auto& r) { r.year = 0; }, [](auto& r) { r.status = -1; });
    expect_rules(league(1, "A"), [](auto& r) { r.status = 1; }, [](auto& r) { r.use_mark_44 = 0; });
    // A league's title is in use by the bytes written, not by the flag.
    EXPECT_FALSE(used(enc::decode_league(bytes_of(enc::encode(league(1, ""))))));
    // A phase was played when won or lost is set; runs alone do not count.
    EXPECT_FALSE(with(enc::PhaseRecord{}, [](auto& b) { b.runs_scored = 5; }).played());
    EXPECT_TRUE(with(enc::PhaseRecord{}, [](auto& b) { b.lost = 3; }).played());
}

}  // namespace
