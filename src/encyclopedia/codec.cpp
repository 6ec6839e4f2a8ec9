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
    v(at + 0, t.left_on_base);
    v(at + 2, t.double_plays);
    v(at + 6, t.runs_scored);
    v(at + 8, t.runs_allowed);
    v(at + 10, t.won);
    v(at + 11, t.lost);
    v(at + 14, t.shutouts);
}

template <class V, class R>
void team_fields(V& v, R& r) {
    v(0, r.status);
    v(2, r.team_id);
    v.text(4, 4, r.abbreviation);
    v(50, r.use_mark_50);
    v(52, r.use_mark_52);
}

template <class V, class R>
void player_fields(V& v, R& r) {
    v(0, r.status);
    v(4, r.player_id);
    v(40, r.birth_year);
    v(42, r.birth_month);
    v(43, r.birth_day);
    v(48, r.use_mark_48);
    v(50, r.use_mark_50);
}

template <class V, class R>
void stats_fields(V& v, R& r) {
    v(0, r.status);
    v(4, r.player_id);
    v(8, r.phase_code);
    v(10, r.year);
    v(12, r.team_id);
    v.text(16, 16, r.first_name);
    v.text(32, 16, r.last_name);
    v(48, r.kind);

    v(58, r.hitting.at_bats);
    v(60, r.hitting.runs);
    v(62, r.hitting.runs_batted_in);
    v(64, r.hitting.hits);
    v(66, r.hitting.doubles);
    v(67, r.hitting.triples);
    v(68, r.hitting.home_runs);
    v(69, r.hitting.hit_by_pitch);
    v(70, r.hitting.strikeouts);
    v(72, r.hitting.walks);
    v(74, r.hitting.intentional_walks);
    v(75, r.hitting.stolen_bases);
    v(76, r.hitting.caught_stealing);
    v(78, r.hitting.sacrifice_hits);
    v(79, r.hitting.sacrifice_flies);
    v(80, r.hitting.double_plays);

    v(122, r.pitching.batters_faced);
    v(124, r.pitching.outs);
    v(126, r.pitching.at_bats);
    v(128, r.pitching.hits);
    v(130, r.pitching.strikeouts);
    v(132, r.pitching.walks);
    v(134, r.pitching.intentional_walks);
    v(136, r.pitching.runs);
    v(138, r.pitching.earned_runs);
    v(142, r.pitching.home_runs);
    v(143, r.pitching.wild_pitches);
    v(144, r.pitching.balks);
    v(148, r.pitching.double_plays);
    v(149, r.pitching.wins);
    v(150, r.pitching.losses);
    v(151, r.pitching.saves);
    v(153, r.pitching.blown_saves);
    v(154, r.pitching.holds);
    v(162, r.pitching.shutouts);
    v(163, r.pitching.complete_games);
    v(164, r.pitching.games);
    v(166, r.pitching.games_started);
}

template <class V, class R>
void team_season_fields(V& v, R& r) {
    v(0, r.status);
    v(4, r.team_id);
    v(6, r.year);
    v.text(8, 20, r.city);
    v.text(28, 20, r.nickname);
    v.text(118, 4, r.season_abbreviation);
    v(122, r.league_id);
    phase_totals_fields(v, 466, r.regular);
    phase_totals_fields(v, 482, r.wild_card);
    phase_totals_fields(v, 498, r.division_series);
    phase_totals_fields(v, 514, r.championship_series);
    phase_totals_fields(v, 530, r.world_series);
}

template <class V, class R>
void league_season_fields(V& v, R& r) {
    v(0, r.status);
    v(4, r.league_id);
    v(6, r.year);
    v.text(12, 40, r.name);
    for (std::size_t k = 0; k < 4; ++k) {
        v.text(52 + 20 * k, 20, r.division_names[k]);
        v.in_use(52 + 20 * k, r.division_in_use[k]);
    }
    for (std::size_t i = 0; i < r.division_teams.size(); ++i) v(132 + 2 * i, r.division_teams[i]);
}

template <class V, class R>
void league_fields(V& v, R& r) {
    v(0, r.status);
    v(2, r.league_id);
    v.text(4, 40, r.title);
    v.in_use(4, r.title_in_use);
    v(44, r.use_mark_44);
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

TB_CODEC(TeamEntry, decode_team, team_fields)
TB_CODEC(PlayerEntry, decode_player, player_fields)
TB_CODEC(StatsLine, decode_stats, stats_fields)
TB_CODEC(TeamSeason, decode_team_season, team_season_fields)
TB_CODEC(LeagueSeason, decode_league_season, league_season_fields)
TB_CODEC(LeagueEntry, decode_league, league_fields)

}  // namespace tb::enc
