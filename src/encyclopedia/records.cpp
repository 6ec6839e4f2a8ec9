// The "used" rule of each record layout.
#include "encyclopedia/records.h"

namespace tb::enc {

bool is_used(const TeamRecord& r) {
    return r.Status == 0 && r.Field50 > 0 && r.Field52 > 0;
}

bool is_used(const PlayerRecord& r, int current_year) {
    return r.Status == 0 && r.Field48 > 0 && r.Field50 > 0 && r.BirthYear > 0 &&
           r.BirthYear < current_year;
}

bool is_used(const PlayerSeasonStats& r) {
    return r.Status == 0 && r.PlayerId > 0;
}

bool is_used(const TeamSeasonRecord& r) {
    return r.Status == 0 && r.SeasonYear > 0;
}

bool is_used(const LeagueSeasonRecord& r) {
    return r.Status == 0 && r.SeasonYear >= 1;
}

bool is_used(const LeagueRecord& r) {
    return r.Status == 0 && r.LeagueField44 >= 1 && r.TitleInUse;
}

}  // namespace tb::enc
