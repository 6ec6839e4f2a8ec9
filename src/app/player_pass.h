// The player pass: every player's lines sorted into the season phases and
// written on his letter sheet and on the totals sheets.
#pragma once

#include "app/run_state.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tb::app {

// The five season phases that get sheets, in the order they are written.
enum class Phase { Reg = 0, WCS = 1, LDS = 2, LCS = 3, WS = 4 };
inline constexpr std::array<Phase, 5> kPhases = {Phase::Reg, Phase::WCS, Phase::LDS, Phase::LCS, Phase::WS};
inline constexpr std::array<Phase, 4> kPostSeasonPhases = {Phase::WCS, Phase::LDS, Phase::LCS, Phase::WS};

// The phase of a phase_code; nullopt for 1 (ignored) and unknown codes.
std::optional<Phase> phase_of_code(int code);

// Lists the players of the statistics lines read into the run state by
// display name and writes them one by one. Returns false when cancelled.
bool Player_Pass(RunState& s);

// The letter sheet of a display name: its first letter, upper-cased, with
// accents folded to the base letter ("de Aza" -> "D", "Élan" -> "E"); "#"
// for a name that does not start with a letter A-Z after folding.
std::string letter_sheet_of(std::string_view display_name);

}  // namespace tb::app
