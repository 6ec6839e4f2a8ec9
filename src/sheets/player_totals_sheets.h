// The hitting and pitching totals sheets of the five season phases
// ("HitRegTotals" .. "HitWSTotals", "PitchRegTotals" .. "PitchWSTotals"):
// a header row, then one row per player and phase in the order players are
// written: the player's name, the year of his last line, the phase's totals.
#pragma once

#include "encyclopedia/records.h"
#include "sheets/side.h"
#include "workbook/workbook.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tb::sheets {

class PlayerTotalsSheets {
public:
    // Adds "PitchRegTotals" .. "PitchWSTotals", "HitRegTotals" ..
    // "HitWSTotals" at the right end of the workbook.
    explicit PlayerTotalsSheets(wb::Workbook& book);

    // A player's row on the sheet of a side and phase (the header first when
    // the sheet has none); `figures` in figure_columns(side) order.
    void add_row(Side side, enc::SeasonPhase phase, std::string_view name, int32_t last_year,
                 std::span<const double> figures);
    // Removes the sheets without rows, fits the others' columns and sets them
    // up as totals sheets (header and names in view, filter buttons, header
    // printed on every page). Call once, at the end.
    void finish();
    // The sheet of a side and phase when it has rows.
    std::optional<wb::SheetId> sheet_with_rows(Side side, enc::SeasonPhase phase) const;

private:
    struct Sheet {
        wb::SheetId id;
        int32_t last_row = 0;   // 0: no header yet
    };
    Sheet& sheet_of(Side side, enc::SeasonPhase phase);
    const Sheet& sheet_of(Side side, enc::SeasonPhase phase) const;

    wb::Workbook& book_;
    std::array<Sheet, 5> hitting_{}, pitching_{};
};

}  // namespace tb::sheets
