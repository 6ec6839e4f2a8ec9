// The looks the sheets share: fill colours, border lines and named cell
// styles, each spelled once.
#pragma once

#include "workbook/workbook.h"

#include <cstdint>

namespace tb::sheets {

// Fills (RGB): a hitting block's titles, a pitching block's, and the header
// rows of the team totals sheets.
inline constexpr int32_t kHittingFill = 0xFFFFCC;
inline constexpr int32_t kPitchingFill = 0xCCFFFF;
inline constexpr int32_t kTeamTotalsHeaderFill = 0xFFFF99;
inline constexpr int32_t kRed = 0xFF0000;

inline const wb::Line kMedium{wb::LineWeight::Medium, std::nullopt};
inline const wb::Line kMediumRed{wb::LineWeight::Medium, kRed};

inline constexpr uint8_t kSides = wb::kLeftEdge | wb::kRightEdge;
inline constexpr uint8_t kSidesAndBottom = wb::kLeftEdge | wb::kRightEdge | wb::kBottomEdge;
inline constexpr uint8_t kTopAndSides = wb::kTopEdge | wb::kLeftEdge | wb::kRightEdge;

inline const wb::CellStyle kColumnTitle{.align_right = true};
inline const wb::CellStyle kBold{.bold = true};
inline const wb::CellStyle kRateFormat{.number_format = "#.000"};

inline wb::CellStyle fill_of(int32_t rgb) { return wb::CellStyle{.fill = rgb}; }
inline wb::CellStyle number_format(std::string_view format) { return wb::CellStyle{.number_format = std::string(format)}; }

}  // namespace tb::sheets
