// The two kinds of player rows: hitting and pitching.
#pragma once

#include "rates/figure_column.h"

#include <span>

namespace tb::sheets {

enum class Side { Hitting, Pitching };

// The figure columns of a side's rows (see hitting::kColumns and
// pitching::kColumns).
std::span<const rates::FigureColumn> figure_columns(Side side);

}  // namespace tb::sheets
