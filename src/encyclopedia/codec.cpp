// Field-by-field decoding and encoding of the six record layouts.
//
// Records are never overlaid on packed structs: each field is read from its
// documented offset in little-endian order, so the layout does not depend on
// the compiler's padding or the host's byte order.
#include "encyclopedia/encyclopedia.h"

#include <algorithm>
#include <cstring>

namespace tb::enc {
namespace {

uint8_t read_u8(const unsigned char* p) { return p[0]; }

// A text field is "in use" when its uncut bytes compare greater than " ":
// since every field is longer than one character, that is a first byte of
// 0x20 or more.
bool field_in_use(const unsigned char* field) { return field[0] >= 0x20; }

// Writes fields into a zero-filled record buffer.
class RecordWriter {
public:
    explicit RecordWriter(std::size_t size) : bytes_(size, '\0') {}

    void i16(std::size_t offset, int16_t v) {
        const auto u = static_cast<uint16_t>(v);
        bytes_[offset] = static_cast<char>(u & 0xFF);
        bytes_[offset + 1] = static_cast<char>(u >> 8);
    }
    void i32(std::size_t offset, int32_t v) {
        const auto u = static_cast<uint32_t>(v);
        for (int k = 0; k < 4; ++k) bytes_[offset + k] = static_cast<char>((u >> (8 * k)) & 0xFF);
    }
    void u8(std::size_t offset, uint8_t v) { bytes_[offset] = static_cast<char>(v); }
    // Windows-1252 bytes, cut to the field; shorter texts are NUL-padded.
    void text(std::size_t offset, std::size_t width, const std::string& utf8) {
        const std::string bytes = utf8_to_cp1252(utf8);
        std::memcpy(bytes_.data() + offset, bytes.data(), std::min(width, bytes.size()));
    }
    void phase_totals(std::size_t offset, const TeamPhaseTotals& t) {
        i16(offset + 0, t.LOB);
        i16(offset + 2, t.GDP);
        i16(offset + 6, t.Scored);
        i16(offset + 8, t.Allowed);
        u8(offset + 10, t.Won);
        u8(offset + 11, t.Lost);
        u8(offset + 14, t.SHO);
    }

    std::string take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

TeamPhaseTotals decode_phase_totals(const unsigned char* p) {
    TeamPhaseTotals t;
    t.LOB = read_i16(p + 0);
    t.GDP = read_i16(p + 2);
    t.Scored = read_i16(p + 6);
    t.Allowed = read_i16(p + 8);
    t.Won = read_u8(p + 10);
    t.Lost = read_u8(p + 11);
    t.SHO = read_u8(p + 14);
    return t;
}

}  // namespace

int16_t read_i16(const unsigned char* p) {
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}

int32_t read_i32(const unsigned char* p) {
    const uint32_t u = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                       (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    return static_cast<int32_t>(u);
}

// ---- ENCTEAM.DAT ----

TeamRecord decode_team(const unsigned char* b) {
    TeamRecord r;
    r.Status = read_i16(b + 0);
    r.TeamId = read_i16(b + 2);
    r.TeamAbbrev = decode_text_field(b + 4, 4);
    r.Field50 = read_i16(b + 50);
    r.Field52 = read_i16(b + 52);
    return r;
}

std::string encode(const TeamRecord& r) {
    RecordWriter w(TeamRecord::kSize);
    w.i16(0, r.Status);
    w.i16(2, r.TeamId);
    w.text(4, 4, r.TeamAbbrev);
    w.i16(50, r.Field50);
    w.i16(52, r.Field52);
    return w.take();
}

// ---- ENCPLYR.DAT ----

PlayerRecord decode_player(const unsigned char* b) {
    PlayerRecord r;
    r.Status = read_i16(b + 0);
    r.PlayerId = read_i32(b + 4);
    r.BirthYear = read_i16(b + 40);
    r.BirthMonth = read_u8(b + 42);
    r.BirthDay = read_u8(b + 43);
    r.Field48 = read_i16(b + 48);
    r.Field50 = read_i16(b + 50);
    return r;
}

std::string encode(const PlayerRecord& r) {
    RecordWriter w(PlayerRecord::kSize);
    w.i16(0, r.Status);
    w.i32(4, r.PlayerId);
    w.i16(40, r.BirthYear);
    w.u8(42, r.BirthMonth);
    w.u8(43, r.BirthDay);
    w.i16(48, r.Field48);
    w.i16(50, r.Field50);
    return w.take();
}

// ---- ENCPLSTATS.DAT ----

PlayerSeasonStats decode_stats(const unsigned char* b) {
    PlayerSeasonStats r;
    r.Status = read_i16(b + 0);
    r.PlayerId = read_i32(b + 4);
    r.PhaseCode = read_u8(b + 8);
    r.SeasonYear = read_i16(b + 10);
    r.TeamId = read_i16(b + 12);
    r.FirstName = decode_text_field(b + 16, 16);
    r.LastName = decode_text_field(b + 32, 16);
    r.StatKind = read_u8(b + 48);

    r.HitAB = read_i16(b + 58);
    r.HitRuns = read_i16(b + 60);
    r.HitRBI = read_i16(b + 62);
    r.HitHits = read_i16(b + 64);
    r.HitDoubles = read_u8(b + 66);
    r.HitTriples = read_u8(b + 67);
    r.HitHR = read_u8(b + 68);
    r.HitHBP = read_u8(b + 69);
    r.HitStrikeouts = read_i16(b + 70);
    r.HitWalks = read_i16(b + 72);
    r.HitIntWalks = read_u8(b + 74);
    r.HitSB = read_u8(b + 75);
    r.HitCS = read_u8(b + 76);
    r.HitSH = read_u8(b + 78);
    r.HitSF = read_u8(b + 79);
    r.HitGIDP = read_u8(b + 80);

    r.PitBattersFaced = read_i16(b + 122);
    r.PitOuts = read_i16(b + 124);
    r.PitAtBats = read_i16(b + 126);
    r.PitHits = read_i16(b + 128);
    r.PitStrikeouts = read_i16(b + 130);
    r.PitWalks = read_i16(b + 132);
    r.PitIntWalks = read_u8(b + 134);
    r.PitRuns = read_i16(b + 136);
    r.PitEarnedRuns = read_i16(b + 138);
    r.PitHR = read_u8(b + 142);
    r.PitWildPitches = read_u8(b + 143);
    r.PitBalks = read_u8(b + 144);
    r.PitDoublePlays = read_u8(b + 148);
    r.PitWins = read_u8(b + 149);
    r.PitLosses = read_u8(b + 150);
    r.PitSaves = read_u8(b + 151);
    r.PitBlownSaves = read_u8(b + 153);
    r.PitHolds = read_u8(b + 154);
    r.PitShutouts = read_u8(b + 162);
    r.PitCompleteGames = read_u8(b + 163);
    r.PitGames = read_u8(b + 164);
    r.PitGamesStarted = read_u8(b + 166);
    return r;
}

std::string encode(const PlayerSeasonStats& r) {
    RecordWriter w(PlayerSeasonStats::kSize);
    w.i16(0, r.Status);
    w.i32(4, r.PlayerId);
    w.u8(8, r.PhaseCode);
    w.i16(10, r.SeasonYear);
    w.i16(12, r.TeamId);
    w.text(16, 16, r.FirstName);
    w.text(32, 16, r.LastName);
    w.u8(48, r.StatKind);

    w.i16(58, r.HitAB);
    w.i16(60, r.HitRuns);
    w.i16(62, r.HitRBI);
    w.i16(64, r.HitHits);
    w.u8(66, r.HitDoubles);
    w.u8(67, r.HitTriples);
    w.u8(68, r.HitHR);
    w.u8(69, r.HitHBP);
    w.i16(70, r.HitStrikeouts);
    w.i16(72, r.HitWalks);
    w.u8(74, r.HitIntWalks);
    w.u8(75, r.HitSB);
    w.u8(76, r.HitCS);
    w.u8(78, r.HitSH);
    w.u8(79, r.HitSF);
    w.u8(80, r.HitGIDP);

    w.i16(122, r.PitBattersFaced);
    w.i16(124, r.PitOuts);
    w.i16(126, r.PitAtBats);
    w.i16(128, r.PitHits);
    w.i16(130, r.PitStrikeouts);
    w.i16(132, r.PitWalks);
    w.u8(134, r.PitIntWalks);
    w.i16(136, r.PitRuns);
    w.i16(138, r.PitEarnedRuns);
    w.u8(142, r.PitHR);
    w.u8(143, r.PitWildPitches);
    w.u8(144, r.PitBalks);
    w.u8(148, r.PitDoublePlays);
    w.u8(149, r.PitWins);
    w.u8(150, r.PitLosses);
    w.u8(151, r.PitSaves);
    w.u8(153, r.PitBlownSaves);
    w.u8(154, r.PitHolds);
    w.u8(162, r.PitShutouts);
    w.u8(163, r.PitCompleteGames);
    w.u8(164, r.PitGames);
    w.u8(166, r.PitGamesStarted);
    return w.take();
}

// ---- enctmyr.dat ----

TeamSeasonRecord decode_team_season(const unsigned char* b) {
    TeamSeasonRecord r;
    r.Status = read_i16(b + 0);
    r.TeamId = read_i16(b + 4);
    r.SeasonYear = read_i16(b + 6);
    r.TeamCity = decode_text_field(b + 8, 20);
    r.TeamNickname = decode_text_field(b + 28, 20);
    r.SeasonAbbrev = decode_text_field(b + 118, 4);
    r.LeagueId = read_i16(b + 122);
    r.RegTotals = decode_phase_totals(b + 466);
    r.WildTotals = decode_phase_totals(b + 482);
    r.DivTotals = decode_phase_totals(b + 498);
    r.LcsTotals = decode_phase_totals(b + 514);
    r.WsTotals = decode_phase_totals(b + 530);
    return r;
}

std::string encode(const TeamSeasonRecord& r) {
    RecordWriter w(TeamSeasonRecord::kSize);
    w.i16(0, r.Status);
    w.i16(4, r.TeamId);
    w.i16(6, r.SeasonYear);
    w.text(8, 20, r.TeamCity);
    w.text(28, 20, r.TeamNickname);
    w.text(118, 4, r.SeasonAbbrev);
    w.i16(122, r.LeagueId);
    w.phase_totals(466, r.RegTotals);
    w.phase_totals(482, r.WildTotals);
    w.phase_totals(498, r.DivTotals);
    w.phase_totals(514, r.LcsTotals);
    w.phase_totals(530, r.WsTotals);
    return w.take();
}

// ---- enclgyr.dat ----

LeagueSeasonRecord decode_league_season(const unsigned char* b) {
    LeagueSeasonRecord r;
    r.Status = read_i16(b + 0);
    r.LeagueId = read_i16(b + 4);
    r.SeasonYear = read_i16(b + 6);
    r.LeagueName = decode_text_field(b + 12, 40);
    for (std::size_t k = 0; k < 4; ++k) {
        r.DivisionNames[k] = decode_text_field(b + 52 + 20 * k, 20);
        r.DivisionInUse[k] = field_in_use(b + 52 + 20 * k);
    }
    for (std::size_t i = 0; i < r.DivisionTeams.size(); ++i)
        r.DivisionTeams[i] = read_i16(b + 132 + 2 * i);
    return r;
}

std::string encode(const LeagueSeasonRecord& r) {
    RecordWriter w(LeagueSeasonRecord::kSize);
    w.i16(0, r.Status);
    w.i16(4, r.LeagueId);
    w.i16(6, r.SeasonYear);
    w.text(12, 40, r.LeagueName);
    for (std::size_t k = 0; k < 4; ++k) w.text(52 + 20 * k, 20, r.DivisionNames[k]);
    for (std::size_t i = 0; i < r.DivisionTeams.size(); ++i)
        w.i16(132 + 2 * i, r.DivisionTeams[i]);
    return w.take();
}

// ---- encleag.dat ----

LeagueRecord decode_league(const unsigned char* b) {
    LeagueRecord r;
    r.Status = read_i16(b + 0);
    r.LeagueId = read_i16(b + 2);
    r.LeagueTitle = decode_text_field(b + 4, 40);
    r.TitleInUse = field_in_use(b + 4);
    r.LeagueField44 = read_i16(b + 44);
    return r;
}

std::string encode(const LeagueRecord& r) {
    RecordWriter w(LeagueRecord::kSize);
    w.i16(0, r.Status);
    w.i16(2, r.LeagueId);
    w.text(4, 40, r.LeagueTitle);
    w.i16(44, r.LeagueField44);
    return w.take();
}

}  // namespace tb::enc
