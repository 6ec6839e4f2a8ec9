#include "sheets/team_totals_sheets.h"

#include "rates/rates.h"
#include "sheets/cell_styles.h"

namespace tb::sheets {

namespace {

constexpr int A = 0, C = 2, D = 3, L = 11, AE = 30;

// Where each sheet has its name column and figures (Won, Lost, Pct, Scored,
// Allowed, SHO, GDP, LOB), and what it calls the percentage.
struct Layout {
    int name_col;
    std::string_view pct_title;
    int first() const { return name_col + 1; }
    int last() const { return name_col + 8; }
};
constexpr Layout kRegular{C, "Pct"};
constexpr Layout kPhase{D, "PCT"};

void put_figures(wb::Workbook& book, wb::SheetId sheet, int32_t r, const Layout& at, const teams::RecordFigures& f) {
    const double values[] = {double(f.won), double(f.lost), rates::won_lost_pct(f.won, f.lost),
                             double(f.runs_scored), double(f.runs_allowed), double(f.shutouts),
                             double(f.double_plays), double(f.left_on_base)};
    for (int i = 0; i < 8; ++i) book.put(sheet, at.first() + i, r, values[i]);
    book.apply(sheet, wb::Area::cell(at.first() + 2, r), kRateFormat);
}

void put_titles(wb::Workbook& book, wb::SheetId sheet, const Layout& at) {
    const std::string_view titles[] = {"Team", "Won", "Lost", at.pct_title, "Scored", "Allowed", "SHO", "GDP", "LOB"};
    for (int i = 0; i < 9; ++i) book.put(sheet, at.name_col + i, 1, titles[i]);
}

void fill(wb::Workbook& book, wb::SheetId sheet, const wb::Area& area, std::optional<int32_t> rgb) {
    if (rgb) book.apply(sheet, area, fill_of(*rgb));
}

// Header and name column in view, filter buttons over the figures, header
// printed on every page.
void totals_view(wb::Workbook& book, wb::SheetId sheet, const Layout& at, int32_t last_row) {
    wb::SheetSetup setup = book.setup(sheet);
    setup.freeze_rows = 1;
    setup.freeze_cols = at.name_col + 1;
    setup.filter = true;
    setup.filter_area = {at.name_col, 1, at.last(), last_row};
    setup.repeat_rows = 1;
    book.set_setup(sheet, setup);
}

}  // namespace

TeamTotalsSheets::TeamTotalsSheets(wb::Workbook& book) : book_(book) {
    regular_.id = book_.add_sheet("TeamRegTotals");
    const std::string_view names[] = {"TeamDCSTotals", "TeamLCSTotals", "TeamWSTotals"};
    for (std::size_t p = 0; p < phases_.size(); ++p) phases_[p].id = book_.add_sheet(names[p]);
}

void TeamTotalsSheets::add_team(const teams::TeamSection& section) {
    for (const teams::PostSeasonBlock& block : section.post_seasons) {
        Sheet& sheet = phases_[static_cast<std::size_t>(block.phase)];
        const wb::SheetId id = sheet.id;
        if (sheet.last_row == 0) {
            put_titles(book_, id, kPhase);
            book_.draw(id, wb::Area::row_span(1, D, L), kSidesAndBottom, kMedium);
            book_.apply(id, wb::Area::row_span(1, D, L), fill_of(kTeamTotalsHeaderFill));
            sheet.last_row = 1;
        }
        const int32_t r = ++sheet.last_row;
        book_.put(id, D, r, section.title);
        put_figures(book_, id, r, kPhase, block.totals);
        book_.draw(id, wb::Area::row_span(r, D, L), kSidesAndBottom, kMedium);
        fill(book_, id, wb::Area::row_span(r, D, L), block.sheet_fill);
    }
    const wb::SheetId id = regular_.id;
    if (regular_.last_row == 0) {
        put_titles(book_, id, kRegular);
        book_.apply(id, wb::Area::row_span(1, kRegular.name_col, kRegular.last()), fill_of(kTeamTotalsHeaderFill));
        regular_.last_row = 1;
    }
    const int32_t r = ++regular_.last_row;
    put_figures(book_, id, r, kRegular, section.totals);
    book_.put(id, C, r, section.title);
    fill(book_, id, wb::Area::row_span(r, kRegular.name_col, kRegular.last()), section.totals_fill);
}

void TeamTotalsSheets::finish() {
    if (regular_.last_row > 0) {
        book_.box(regular_.id, {kRegular.name_col, 1, kRegular.last(), regular_.last_row}, kMedium);
        totals_view(book_, regular_.id, kRegular, regular_.last_row);
        book_.autofit(regular_.id, A, AE);
    }
    for (const Sheet& sheet : phases_) {
        if (sheet.last_row == 0) {
            book_.remove_sheet(sheet.id);
            continue;
        }
        book_.autofit(sheet.id, D, L);
        totals_view(book_, sheet.id, kPhase, sheet.last_row);
    }
}

}  // namespace tb::sheets
