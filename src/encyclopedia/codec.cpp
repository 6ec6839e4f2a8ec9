// Field-by-field decoding and encoding of the six record layouts.
//
// Records are never overlaid on packed structs: each field is read from its
// documented offset in little-endian order, so the layout does not depend on
// the compiler's padding or the host's byte order. Each layout is listed
// once, as a walk over its fields; a reader and a writer walk the same list,
// so decoding and encoding cannot drift apart.
#include "encyclopedia/encyclopedia.h"

#include <algorithm>
#include <cstring>

namespace tb::enc {
namespace {

// Fills a record from its bytes.
class FieldReader {
public:
    explicit FieldReader(const unsigned char* bytes) : b_(bytes) {}
    void operator()(std::size_t offset, int16_t& v) const { v = read_i16(b_ + offset); }
    void operator()(std::size_t offset, int32_t& v) const { v = read_i32(b_ + offset); }
    void operator()(std::size_t offset, uint8_t& v) const { v = b_[offset]; }
    void text(std::size_t offset, std::size_t width, std::string& v) const {
        v = decode_text_field(b_ + offset, width);
    }
    // A text field is "in use" when its uncut bytes compare greater than " ":
    // since every field is longer than one character, that is a first byte
    // of 0x20 or more.
    void in_use(std::size_t offset, bool& v) const { v = b_[offset] >= 0x20; }

private:
    const unsigned char* b_;
};

// Writes a record into zero-filled bytes.
class FieldWriter {
public:
    explicit FieldWriter(std::size_t size) : bytes_(size, '\0') {}
    void operator()(std::size_t offset, int16_t v) { put(offset, static_cast<uint16_t>(v), 2); }
    void operator()(std::size_t offset, int32_t v) { put(offset, static_cast<uint32_t>(v), 4); }
    void operator()(std::size_t offset, uint8_t v) { put(offset, v, 1); }
    // Windows-1252 bytes, cut to the field; shorter texts are NUL-padded.
    void text(std::size_t offset, std::size_t width, const std::string& utf8) {
        const std::string bytes = utf8_to_cp1252(utf8);
        std::memcpy(bytes_.data() + offset, bytes.data(), std::min(width, bytes.size()));
    }
    void in_use(std::size_t, bool) {}  // follows from the text written
    std::string take() { return std::move(bytes_); }

private:
    void put(std::size_t offset, uint32_t u, int width) {
        for (int k = 0; k < width; ++k) bytes_[offset + k] = static_cast<char>((u >> (8 * k)) & 0xFF);
    }
    std::string bytes_;
};

// The layouts. `R` is the record, const when writing.
template <class V, class R>
void phase_totals_fields(V& v, std::size_t at, R& t) {
    v(at + 0, t.LOB);
    v(at + 2, t.GDP);
    v(at + 6, t.Scored);
    v(at + 8, t.Allowed);
    v(at + 10, t.Won);
    v(at + 11, t.Lost);
    v(at + 14, t.SHO);
}

template <class V, class R>
void team_fields(V& v, R& r) {
    v(0, r.Status);
    v(2, r.TeamId);
    v.text(4, 4, r.TeamAbbrev);
    v(50, r.Field50);
    v(52, r.Field52);
}

template <class V, class R>
void player_fields(V& v, R& r) {
    v(0, r.Status);
    v(4, r.PlayerId);
    v(40, r.BirthYear);
    v(42, r.BirthMonth);
    v(43, r.BirthDay);
    v(48, r.Field48);
    v(50, r.Field50);
}

template <class V, class R>
void stats_fields(V& v, R& r) {
    v(0, r.Status);
    v(4, r.PlayerId);
    v(8, r.PhaseCode);
    v(10, r.SeasonYear);
    v(12, r.TeamId);
    v.text(16, 16, r.FirstName);
    v.text(32, 16, r.LastName);
    v(48, r.StatKind);

    v(58, r.HitAB);
    v(60, r.HitRuns);
    v(62, r.HitRBI);
    v(64, r.HitHits);
    v(66, r.HitDoubles);
    v(67, r.HitTriples);
    v(68, r.HitHR);
    v(69, r.HitHBP);
    v(70, r.HitStrikeouts);
    v(72, r.HitWalks);
    v(74, r.HitIntWalks);
    v(75, r.HitSB);
    v(76, r.HitCS);
    v(78, r.HitSH);
    v(79, r.HitSF);
    v(80, r.HitGIDP);

    v(122, r.PitBattersFaced);
    v(124, r.PitOuts);
    v(126, r.PitAtBats);
    v(128, r.PitHits);
    v(130, r.PitStrikeouts);
    v(132, r.PitWalks);
    v(134, r.PitIntWalks);
    v(136, r.PitRuns);
    v(138, r.PitEarnedRuns);
    v(142, r.PitHR);
    v(143, r.PitWildPitches);
    v(144, r.PitBalks);
    v(148, r.PitDoublePlays);
    v(149, r.PitWins);
    v(150, r.PitLosses);
    v(151, r.PitSaves);
    v(153, r.PitBlownSaves);
    v(154, r.PitHolds);
    v(162, r.PitShutouts);
    v(163, r.PitCompleteGames);
    v(164, r.PitGames);
    v(166, r.PitGamesStarted);
}

template <class V, class R>
void team_season_fields(V& v, R& r) {
    v(0, r.Status);
    v(4, r.TeamId);
    v(6, r.SeasonYear);
    v.text(8, 20, r.TeamCity);
    v.text(28, 20, r.TeamNickname);
    v.text(118, 4, r.SeasonAbbrev);
    v(122, r.LeagueId);
    phase_totals_fields(v, 466, r.RegTotals);
    phase_totals_fields(v, 482, r.WildTotals);
    phase_totals_fields(v, 498, r.DivTotals);
    phase_totals_fields(v, 514, r.LcsTotals);
    phase_totals_fields(v, 530, r.WsTotals);
}

template <class V, class R>
void league_season_fields(V& v, R& r) {
    v(0, r.Status);
    v(4, r.LeagueId);
    v(6, r.SeasonYear);
    v.text(12, 40, r.LeagueName);
    for (std::size_t k = 0; k < 4; ++k) {
        v.text(52 + 20 * k, 20, r.DivisionNames[k]);
        v.in_use(52 + 20 * k, r.DivisionInUse[k]);
    }
    for (std::size_t i = 0; i < r.DivisionTeams.size(); ++i) v(132 + 2 * i, r.DivisionTeams[i]);
}

template <class V, class R>
void league_fields(V& v, R& r) {
    v(0, r.Status);
    v(2, r.LeagueId);
    v.text(4, 40, r.LeagueTitle);
    v.in_use(4, r.TitleInUse);
    v(44, r.LeagueField44);
}

#define TB_CODEC(Record, decoder, fields)                      \
    Record decoder(const unsigned char* bytes) {               \
        Record r;                                              \
        FieldReader reader(bytes);                             \
        fields(reader, r);                                     \
        return r;                                              \
    }                                                          \
    std::string encode(const Record& r) {                      \
        FieldWriter writer(Record::kSize);                     \
        fields(writer, r);                                     \
        return writer.take();                                  \
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

TB_CODEC(TeamRecord, decode_team, team_fields)
TB_CODEC(PlayerRecord, decode_player, player_fields)
TB_CODEC(PlayerSeasonStats, decode_stats, stats_fields)
TB_CODEC(TeamSeasonRecord, decode_team_season, team_season_fields)
TB_CODEC(LeagueSeasonRecord, decode_league_season, league_season_fields)
TB_CODEC(LeagueRecord, decode_league, league_fields)

}  // namespace tb::enc
