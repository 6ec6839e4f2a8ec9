// Field-by-field decoding of the six record layouts (the walks over their
// fields are in record_fields.h, which the record writer of the tests and the
// sample generator walks too).
//
// Records are never overlaid on packed structs: each field is read from its
// documented offset in little-endian order, so the layout does not depend on
// the compiler's padding or the host's byte order.
#include "encyclopedia/encyclopedia.h"
#include "encyclopedia/record_fields.h"

#include <algorithm>
#include <cstring>

namespace tb::enc {
namespace {

using namespace fields;

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

template <class Record, class Fields>
Record decode_with(const unsigned char* bytes, Fields fields) {
    Record r;
    FieldReader reader(bytes);
    fields(reader, r);
    return r;
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

TeamEntry decode_team(const unsigned char* bytes) {
    return decode_with<TeamEntry>(bytes, [](auto& v, auto& r) { team_fields(v, r); });
}
PlayerEntry decode_player(const unsigned char* bytes) {
    return decode_with<PlayerEntry>(bytes, [](auto& v, auto& r) { player_fields(v, r); });
}
StatsLine decode_stats(const unsigned char* bytes) {
    return decode_with<StatsLine>(bytes, [](auto& v, auto& r) { stats_fields(v, r); });
}
TeamSeason decode_team_season(const unsigned char* bytes) {
    return decode_with<TeamSeason>(bytes, [](auto& v, auto& r) { team_season_fields(v, r); });
}
LeagueSeason decode_league_season(const unsigned char* bytes) {
    return decode_with<LeagueSeason>(bytes, [](auto& v, auto& r) { league_season_fields(v, r); });
}
LeagueEntry decode_league(const unsigned char* bytes) {
    return decode_with<LeagueEntry>(bytes, [](auto& v, auto& r) { league_fields(v, r); });
}

}  // namespace tb::enc
