// The "used" rule of each record layout.
#include "encyclopedia/records.h"

namespace tb::enc {

bool is_used(const TeamEntry& r) {
    return r.status == 0 && r.use_mark_50 > 0 && r.use_mark_52 > 0;
}

bool is_used(const PlayerEntry& r, int current_year) {
    return r.status == 0 && r.use_mark_48 > 0 && r.use_mark_50 > 0 && r.birth_year > 0 &&
           r.birth_year < current_year;
}

bool is_used(const StatsLine& r) {
    return r.status == 0 && r.player_id > 0;
}

bool is_used(const TeamSeason& r) {
    return r.status == 0 && r.year > 0;
}

bool is_used(const LeagueSeason& r) {
    return r.status == 0 && r.year >= 1;
}

bool is_used(const LeagueEntry& r) {
    return r.status == 0 && r.use_mark_44 >= 1 && r.title_in_use;
}

}  // namespace tb::enc

namespace tb::enc {

std::optional<SeasonPhase> season_phase_of(uint8_t phase_code) {
    switch (phase_code) {
        case 2: return SeasonPhase::Regular;
        case 5: return SeasonPhase::WildCard;
        case 6: return SeasonPhase::DivisionSeries;
        case 7: return SeasonPhase::ChampionshipSeries;
        case 8: return SeasonPhase::WorldSeries;
        default: return std::nullopt;
    }
}

std::optional<LineKind> line_kind_of(uint8_t kind_code) {
    if (kind_code >= 1 && kind_code <= 3) return static_cast<LineKind>(kind_code);
    return std::nullopt;
}

}  // namespace tb::enc
