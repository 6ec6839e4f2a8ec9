// The names of the workbook's sheets, spelled once.
#pragma once

#include <array>
#include <string_view>

namespace tb::sheets {

inline constexpr std::string_view kTeamRecords = "Team Records";
inline constexpr std::string_view kTeamRegTotals = "TeamRegTotals";

// The totals sheets of the five season phases, in phase order: regular
// season, wild-card, division, league championship and world series.
inline constexpr std::array<std::string_view, 5> kHitTotals = {"HitRegTotals", "HitWCSTotals", "HitDCSTotals",
                                                               "HitLCSTotals", "HitWSTotals"};
inline constexpr std::array<std::string_view, 5> kPitchTotals = {
    "PitchRegTotals", "PitchWCSTotals", "PitchDCSTotals", "PitchLCSTotals", "PitchWSTotals"};
inline constexpr std::array<std::string_view, 5> kTeamTotals = {kTeamRegTotals, "TeamWCSTotals", "TeamDCSTotals",
                                                                "TeamLCSTotals", "TeamWSTotals"};

// The letter sheets are named by wb::Letters ("A" .. "AE"); names that start
// with no letter A-Z go to this one, made when first needed after "AE".
inline constexpr std::string_view kOtherNames = "#";

}  // namespace tb::sheets
