#include "sheets/letter_sheets.h"

#include "hitting/hitting.h"
#include "pitching/pitching.h"
#include "sheets/cell_styles.h"
#include "text/utf8.h"

#include <array>

namespace tb::sheets {

namespace {

constexpr int A = 0, B = 1, C = 2, D = 3, E = 4, R = 17, Y = 24;
// Columns A..AE: one letter sheet a column letter.
constexpr int kLetterSheets = 31;
constexpr int kFitWhenLeft = 29;     // AD
constexpr int kFitAtEnd = 25;        // Z
constexpr std::string_view kOtherNames = "#";

// The section titles of the post-season phases, by side; the wild-card
// series carries the division series' title, and the world series titles
// differ in their spacing.
std::string_view section_title(Side side, enc::SeasonPhase phase) {
    switch (phase) {
        case enc::SeasonPhase::WildCard:
        case enc::SeasonPhase::DivisionSeries: return "- - L D S - -";
        case enc::SeasonPhase::ChampionshipSeries: return "- - L C S - -";
        case enc::SeasonPhase::WorldSeries: return side == Side::Hitting ? "- - W  S - -" : "- -  W  S  - -";
        default: return "";
    }
}

int32_t fill_of_side(Side side) { return side == Side::Hitting ? kHittingFill : kPitchingFill; }

int last_column(Side side) { return D + static_cast<int>(figure_columns(side).size()) - 1; }

char base_letter(char32_t cp) {
    if (cp >= 'A' && cp <= 'Z') return static_cast<char>(cp);
    if (cp >= 'a' && cp <= 'z') return static_cast<char>(cp - 'a' + 'A');
    if (cp == 0xFF || cp == 0x178) return 'Y';               // ÿ, Ÿ
    if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) cp -= 0x20;  // lower to upper
    if (cp >= 0xC0 && cp <= 0xC5) return 'A';
    if (cp == 0xC7) return 'C';
    if (cp >= 0xC8 && cp <= 0xCB) return 'E';
    if (cp >= 0xCC && cp <= 0xCF) return 'I';
    if (cp == 0xD1) return 'N';
    if (cp >= 0xD2 && cp <= 0xD6) return 'O';
    if (cp >= 0xD9 && cp <= 0xDC) return 'U';
    if (cp == 0xDD) return 'Y';
    if (cp == 0x160 || cp == 0x161) return 'S';
    if (cp == 0x17D || cp == 0x17E) return 'Z';
    return 0;
}

// The name over A..E and the player number over R..Y, bold, 12 points, in
// two medium boxes on a medium line along the row; pitching blocks keep the
// hitting block's width here.
void name_row(wb::Workbook& book, wb::SheetId sheet, int32_t r, const Block& block) {
    book.merge(sheet, wb::Area::row_span(r, A, E));
    book.put(sheet, A, r, block.name);
    book.merge(sheet, wb::Area::row_span(r, R, Y));
    book.put(sheet, R, r, block.player_id);
    book.apply(sheet, wb::Area::row_span(r, A, Y), {.bold = true, .font_size = 12});
    book.draw(sheet, wb::Area::row_span(r, A, E), kTopAndSides, kMedium);
    book.draw(sheet, wb::Area::row_span(r, R, Y), kTopAndSides, kMedium);
    book.draw(sheet, wb::Area::row_span(r, A, Y), wb::kBottomEdge, kMedium);
}

// The column titles, boxed and filled with the side's colour, which the two
// boxes of the name row above take too.
void column_titles(wb::Workbook& book, wb::SheetId sheet, int32_t r, Side side) {
    const int last = last_column(side);
    int col = A;
    for (std::string_view title : {"Year", "Team", "Age"}) book.put(sheet, col++, r, title);
    for (const rates::FigureColumn& f : figure_columns(side)) book.put(sheet, col++, r, f.block_title);
    book.apply(sheet, wb::Area::row_span(r, A, last), kColumnTitle);
    book.box(sheet, wb::Area::row_span(r, A, last), kMedium);
    const wb::CellStyle fill = fill_of(fill_of_side(side));
    book.apply(sheet, wb::Area::row_span(r, A, last), fill);
    book.apply(sheet, wb::Area::row_span(r - 1, A, E), fill);
    book.apply(sheet, wb::Area::row_span(r - 1, R, Y), fill);
}

void put_figures(wb::Workbook& book, wb::SheetId sheet, int32_t r, Side side, std::span<const double> values) {
    const auto columns = figure_columns(side);
    for (std::size_t i = 0; i < columns.size() && i < values.size(); ++i) {
        const int col = D + static_cast<int>(i);
        book.put(sheet, col, r, values[i]);
        if (!columns[i].block_format.empty())
            book.apply(sheet, wb::Area::cell(col, r), number_format(columns[i].block_format));
    }
}

// Medium sides, which stack into one frame down the block.
void season_line(wb::Workbook& book, wb::SheetId sheet, int32_t r, Side side, const BlockLine& line) {
    book.put(sheet, A, r, line.year);
    book.put(sheet, B, r, line.team);
    if (line.age) book.put(sheet, C, r, *line.age);
    put_figures(book, sheet, r, side, line.figures);
    book.draw(sheet, wb::Area::row_span(r, A, last_column(side)), kSides, kMedium);
}

// A medium line over A.., a medium red frame around B..
void totals_row(wb::Workbook& book, wb::SheetId sheet, int32_t r, Side side, std::span<const double> totals) {
    const int last = last_column(side);
    book.put(sheet, A, r, " ");
    book.put(sheet, B, r, "Totals");
    put_figures(book, sheet, r, side, totals);
    book.draw(sheet, wb::Area::row_span(r, A, last), wb::kTopEdge, kMedium);
    book.draw(sheet, wb::Area::row_span(r, B, last), kSidesAndBottom, kMediumRed);
}

// The title merged over A..C, bold and filled, in a medium box on a medium
// line along A..Y.
void section_title_row(wb::Workbook& book, wb::SheetId sheet, int32_t r, Side side, enc::SeasonPhase phase) {
    book.merge(sheet, wb::Area::row_span(r, A, C));
    book.put(sheet, A, r, section_title(side, phase));
    book.apply(sheet, wb::Area::cell(A, r), {.bold = true, .fill = fill_of_side(side)});
    book.draw(sheet, wb::Area::row_span(r, A, C), kTopAndSides, kMedium);
    book.draw(sheet, wb::Area::row_span(r, A, Y), wb::kBottomEdge, kMedium);
}

}  // namespace

std::span<const rates::FigureColumn> figure_columns(Side side) {
    if (side == Side::Hitting) return hitting::kColumns;
    return pitching::kColumns;
}

std::string letter_sheet_of(std::string_view display_name) {
    const char letter = base_letter(text::first_code_point(display_name));
    return letter ? std::string(1, letter) : std::string(kOtherNames);
}

LetterSheets::LetterSheets(wb::Workbook& book) : book_(book) {
    for (int c = 0; c < kLetterSheets; ++c) {
        const wb::SheetId id = book_.add_sheet(wb::column_letter(c));
        if (c == 0) first_ = id;
        last_letter_ = id;
    }
}

LetterSheets::Place LetterSheets::place_for(std::string_view display_name) {
    const std::string name = letter_sheet_of(display_name);
    std::optional<wb::SheetId> sheet = book_.find_sheet(name);
    if (!sheet) sheet = book_.add_sheet_after(last_letter_, name);
    if (current_ && !(*current_ == *sheet)) book_.autofit(*current_, A, kFitWhenLeft);
    current_ = *sheet;
    return {*sheet, next_row_.try_emplace(sheet->value, 1).first->second};
}

void LetterSheets::blocks_ended(wb::SheetId sheet, int32_t row_below) { next_row_[sheet.value] = row_below + 1; }

void LetterSheets::finish() {
    if (current_) book_.autofit(*current_, A, kFitAtEnd);
}

int32_t write_block(wb::Workbook& book, wb::SheetId sheet, int32_t row, const Block& block) {
    name_row(book, sheet, row++, block);
    column_titles(book, sheet, row++, block.side);
    for (const BlockSection& section : block.sections) {
        if (section.phase != enc::SeasonPhase::Regular)
            section_title_row(book, sheet, row++, block.side, section.phase);
        for (const BlockLine& line : section.lines) season_line(book, sheet, row++, block.side, line);
        totals_row(book, sheet, row++, block.side, section.totals);
    }
    return row;
}

}  // namespace tb::sheets
