#include "sheets/player_totals_sheets.h"

#include "sheets/cell_styles.h"

#include <string>

namespace tb::sheets {

namespace {

constexpr int A = 0, B = 1, C = 2;
constexpr std::array<std::string_view, 5> kPhaseNames = {"Reg", "WCS", "DCS", "LCS", "WS"};
constexpr int kZ = 25, kAD = 29;

std::string sheet_name(Side side, std::size_t phase) {
    return std::string(side == Side::Hitting ? "Hit" : "Pitch") + std::string(kPhaseNames[phase]) + "Totals";
}

int last_column(Side side) { return C + static_cast<int>(figure_columns(side).size()) - 1; }

// Fitted through Z, the regular-season pitching sheet through AD.
int last_fitted(Side side, std::size_t phase) { return side == Side::Pitching && phase == 0 ? kAD : kZ; }

void header_row(wb::Workbook& book, wb::SheetId sheet, Side side) {
    int col = A;
    for (std::string_view title : {"Player", "Last Yr"}) book.put(sheet, col++, 1, title);
    for (const rates::FigureColumn& f : figure_columns(side)) book.put(sheet, col++, 1, f.totals_title);
    book.apply(sheet, wb::Area::row_span(1, A, last_column(side)), kColumnTitle);
}

}  // namespace

PlayerTotalsSheets::PlayerTotalsSheets(wb::Workbook& book) : book_(book) {
    for (Side side : {Side::Pitching, Side::Hitting})
        for (std::size_t p = 0; p < kPhaseNames.size(); ++p)
            (side == Side::Hitting ? hitting_ : pitching_)[p].id = book_.add_sheet(sheet_name(side, p));
}

PlayerTotalsSheets::Sheet& PlayerTotalsSheets::sheet_of(Side side, enc::SeasonPhase phase) {
    return (side == Side::Hitting ? hitting_ : pitching_)[static_cast<std::size_t>(phase)];
}

const PlayerTotalsSheets::Sheet& PlayerTotalsSheets::sheet_of(Side side, enc::SeasonPhase phase) const {
    return (side == Side::Hitting ? hitting_ : pitching_)[static_cast<std::size_t>(phase)];
}

void PlayerTotalsSheets::add_row(Side side, enc::SeasonPhase phase, std::string_view name, int32_t last_year,
                                 std::span<const double> figures) {
    Sheet& sheet = sheet_of(side, phase);
    if (sheet.last_row == 0) {
        header_row(book_, sheet.id, side);
        sheet.last_row = 1;
    }
    const int32_t r = ++sheet.last_row;
    book_.put(sheet.id, A, r, name);
    book_.put(sheet.id, B, r, last_year);
    const auto columns = figure_columns(side);
    for (std::size_t i = 0; i < columns.size() && i < figures.size(); ++i) {
        const int col = C + static_cast<int>(i);
        book_.put(sheet.id, col, r, figures[i]);
        if (!columns[i].totals_format.empty())
            book_.apply(sheet.id, wb::Area::cell(col, r), number_format(columns[i].totals_format));
    }
    book_.box(sheet.id, wb::Area::row_span(r, A, last_column(side)), kMedium);
}

void PlayerTotalsSheets::finish() {
    for (Side side : {Side::Pitching, Side::Hitting}) {
        for (std::size_t p = 0; p < kPhaseNames.size(); ++p) {
            const Sheet& sheet = (side == Side::Hitting ? hitting_ : pitching_)[p];
            if (sheet.last_row == 0) {
                book_.remove_sheet(sheet.id);
                continue;
            }
            book_.autofit(sheet.id, A, last_fitted(side, p));
            wb::SheetSetup setup = book_.setup(sheet.id);
            setup.freeze_rows = 1;
            setup.freeze_cols = A + 1;
            setup.filter = true;
            setup.filter_area = {A, 1, last_column(side), sheet.last_row};
            setup.repeat_rows = 1;
            book_.set_setup(sheet.id, setup);
        }
    }
}

std::optional<wb::SheetId> PlayerTotalsSheets::sheet_with_rows(Side side, enc::SeasonPhase phase) const {
    const Sheet& sheet = sheet_of(side, phase);
    if (sheet.last_row == 0) return std::nullopt;
    return sheet.id;
}

}  // namespace tb::sheets
