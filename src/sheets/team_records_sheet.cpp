#include "sheets/team_records_sheet.h"

#include "rates/rates.h"
#include "sheets/cell_styles.h"

#include <array>
#include <string_view>

namespace tb::sheets {

namespace {

constexpr int A = 0, B = 1, C = 2, D = 3, E = 4, G = 6, H = 7, I = 8, J = 9, N = 13, Z = 25;

// Won, Lost, Pct, then (after GB and Finish) Scored .. LOB.
constexpr std::array<int, 8> kFigureColumns = {E, 5, G, J, 10, 11, 12, N};
constexpr std::array<std::string_view, 8> kFigureTitles = {"Won", "Lost", "Pct", "Scored", "Allowed", "SHO", "GDP",
                                                           "LOB"};

std::string_view post_season_title(teams::PostSeasonPhase phase) {
    switch (phase) {
        case teams::PostSeasonPhase::DivisionSeries: return "Divisional Championship";
        case teams::PostSeasonPhase::ChampionshipSeries: return "League Championship";
        default: return "World Series";
    }
}

void fill(wb::Workbook& book, wb::SheetId sheet, const wb::Area& area, std::optional<int32_t> rgb) {
    if (rgb) book.apply(sheet, area, fill_of(*rgb));
}

void put_figures(wb::Workbook& book, wb::SheetId sheet, int32_t r, const teams::RecordFigures& f) {
    const double values[] = {double(f.won), double(f.lost), rates::won_lost_pct(f.won, f.lost),
                             double(f.runs_scored), double(f.runs_allowed), double(f.shutouts),
                             double(f.double_plays), double(f.left_on_base)};
    for (std::size_t i = 0; i < kFigureColumns.size(); ++i) book.put(sheet, kFigureColumns[i], r, values[i]);
    book.apply(sheet, wb::Area::cell(G, r), kRateFormat);
}

// The title row at `r` and the column headers below it, in the league's colour.
void headings(wb::Workbook& book, wb::SheetId sheet, int32_t r, const std::string& title,
              std::optional<int32_t> color) {
    book.merge(sheet, wb::Area::row_span(r, A, C));
    book.apply(sheet, wb::Area::cell(A, r), {.bold = true, .font_size = 12});
    fill(book, sheet, wb::Area::row_span(r, A, C), color);
    book.put(sheet, A, r, title);
    book.box(sheet, wb::Area::row_span(r, A, C), kMedium);

    const int32_t h = r + 1;
    fill(book, sheet, wb::Area::row_span(h, A, N), color);
    book.box(sheet, wb::Area::row_span(h, A, N), kMedium);
    book.apply(sheet, wb::Area::row_span(h, A, N), kBold);
    book.put(sheet, A, h, "League");
    book.put(sheet, B, h, "Division");
    book.put(sheet, D, h, "Year");
    book.put(sheet, H, h, "GB");
    book.put(sheet, I, h, "Finish");
    for (std::size_t i = 0; i < kFigureColumns.size(); ++i) book.put(sheet, kFigureColumns[i], h, kFigureTitles[i]);
}

void season_row(wb::Workbook& book, wb::SheetId sheet, int32_t r, const teams::SeasonRow& s) {
    book.put(sheet, A, r, s.league_name);
    book.put(sheet, B, r, s.division);
    book.put(sheet, C, r, s.team_name);
    book.put(sheet, D, r, s.year);
    book.put(sheet, H, r, s.games_behind);
    book.put(sheet, I, r, s.finish);
    put_figures(book, sheet, r, s.figures);
}

// The frame of the season rows first..last: a line over the first, sides
// on every cell, a line under the last.
void frame(wb::Workbook& book, wb::SheetId sheet, int32_t first, int32_t last) {
    book.draw(sheet, wb::Area::row_span(first, A, N), wb::kTopEdge, kMedium);
    book.draw(sheet, {A, first, N, last}, kSides, kMedium);
    book.draw(sheet, wb::Area::row_span(last, A, N), wb::kBottomEdge, kMedium);
}

void totals_row(wb::Workbook& book, wb::SheetId sheet, int32_t r, const teams::RecordFigures& totals) {
    for (const auto& [c1, c2] : {std::pair{E, G}, std::pair{J, N}}) {
        book.box(sheet, wb::Area::row_span(r, c1, c2), kMedium);
        book.draw(sheet, wb::Area::row_span(r, c1, c2), kSidesAndBottom, kMediumRed);
    }
    put_figures(book, sheet, r, totals);
}

// A phase's season rows from `r` and its totals row; returns the totals row.
int32_t post_season_rows(wb::Workbook& book, wb::SheetId sheet, int32_t r, const teams::PostSeasonBlock& block) {
    const bool division_series = block.phase == teams::PostSeasonPhase::DivisionSeries;
    for (const auto& season : block.seasons) {
        if (&season == &block.seasons.front()) {
            book.merge(sheet, wb::Area::row_span(r, A, C));
            fill(book, sheet, wb::Area::row_span(r, A, C), block.heading_fill);
            book.draw(sheet, wb::Area::row_span(r, A, D), wb::kTopEdge, kMedium);
            book.draw(sheet, wb::Area::row_span(r, A, C), kSidesAndBottom, kMedium);
            book.put(sheet, A, r, post_season_title(block.phase));
            book.apply(sheet, wb::Area::cell(A, r), {.bold = true, .font_size = 10});
        }
        book.put(sheet, D, r, season.year);
        put_figures(book, sheet, r, season.figures);
        if (division_series) book.draw(sheet, wb::Area::cell(D, r), wb::kTopEdge, kMedium);
        book.draw(sheet, wb::Area::row_span(r, D, G), kSidesAndBottom, kMedium);
        book.draw(sheet, wb::Area::row_span(r, J, N), kSidesAndBottom, kMedium);
        ++r;
    }
    put_figures(book, sheet, r, block.totals);
    for (const auto& [c1, c2] : {std::pair{E, G}, std::pair{J, N}})
        book.draw(sheet, wb::Area::row_span(r, c1, c2), kSidesAndBottom, kMediumRed);
    return r;
}

}  // namespace

TeamRecordsSheet::TeamRecordsSheet(wb::Workbook& book) : book_(book), sheet_(book.add_sheet("Team Records")) {}

void TeamRecordsSheet::add_section(const teams::TeamSection& s) {
    int32_t r = last_row_ == 0 ? 1 : last_row_ + 2;
    const int32_t first_data_row = r + 2;
    for (const teams::HeadedRow& headed : s.headed) {
        headings(book_, sheet_, r, s.title, headed.fill);
        season_row(book_, sheet_, r + 2, headed.row);
        r += 3;
    }
    int32_t last_data_row = first_data_row;
    for (const teams::SeasonRow& row : s.later) {
        season_row(book_, sheet_, r, row);
        last_data_row = r++;
    }
    frame(book_, sheet_, first_data_row, last_data_row);
    totals_row(book_, sheet_, r, s.totals);
    for (const teams::PostSeasonBlock& block : s.post_seasons) r = post_season_rows(book_, sheet_, r + 1, block);
    last_row_ = r;
}

void TeamRecordsSheet::finish() { book_.autofit(sheet_, A, Z); }

}  // namespace tb::sheets
