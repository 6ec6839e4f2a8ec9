// Column AutoFit: the pixel width of text in Calibri, and the width of a
// column from the widest displayed text of its cells.
//
// A column's width is min((px + 5) / 7, 255) characters for the widest px
// among its non-empty cells outside merged areas, the default when there is
// none. The first fit of a column reads every cell of it and remembers, per
// cell, the width counted and, per column, how many cells have each width.
// From then on every change that can alter a cell's width takes the cell's
// count back and queues it; the next fit measures only the queued cells and
// reads the widest width counted.
//
// Memory: the cached width sits in the cell's padding; a column never fitted
// costs nothing; a fitted one 4 bytes per pixel up to its widest cell, and 4
// bytes per cell changed since its last fit.
#include "workbook/workbook.h"
#include "workbook/workbook_internal.h"

#include "text/utf8.h"

#include <array>
#include <cmath>

namespace tb::wb {

#include "workbook/font_widths.inc"

namespace {

// Any wider text gives the widest column, 255 characters: (1780 + 5) / 7.
constexpr int kWidestPx = 1780;

double width_of(int px) { return std::min((px + 5) / 7.0, kMaxColumnWidth); }

// Most cells hold whole numbers in General, which shows them as their
// digits: measured so without formatting them (text_pixels adds whole-pixel
// advances, so n digits are n times one digit).
int number_pixels(double v, const Style& st) {
    if (st.number_format.empty() && v == std::floor(v) && std::fabs(v) < 1e11) {
        int digits = 1;
        for (auto n = static_cast<uint64_t>(std::fabs(v)); n >= 10; n /= 10) ++digits;
        const int sign = v < 0 ? text_pixels("-", st.bold, st.font_size) : 0;
        return digits * text_pixels("0", st.bold, st.font_size) + sign;
    }
    return text_pixels(format_number(v, st.number_format), st.bold, st.font_size);
}

uint16_t fit_px(const Workbook::Impl& impl, const Cell& c) {
    if (c.kind == CellKind::Empty || (c.flags & kInMerge)) return kNoFit;
    const Style& st = impl.styles[c.style];
    const int px = c.kind == CellKind::Text ? text_pixels(impl.texts[c.text_id()], st.bold, st.font_size)
                                            : number_pixels(c.number(), st);
    return static_cast<uint16_t>(std::min(px, kWidestPx));
}

void measure(const Workbook::Impl& impl, ColumnFit& fit, Cell& cell) {
    cell.flags &= static_cast<uint8_t>(~kFitPending);
    cell.fit_px = fit_px(impl, cell);
    if (cell.fit_px == kNoFit) return;
    if (fit.per_px.size() <= cell.fit_px) fit.per_px.resize(cell.fit_px + 1u, 0);
    ++fit.per_px[cell.fit_px];
}

}  // namespace

int text_pixels(std::string_view text, bool bold, int size) {
    const auto& table = bold ? kCalibriBoldAdvance : kCalibriRegularAdvance;
    const double scale = size * 96.0 / 72.0 / kFontUnitsPerEm;
    const int zero = table['0' - kFontFirstCodePoint];
    long px = 0;
    for (size_t i = 0; i < text.size();) {
        const char32_t cp = text::next_code_point(text, i);
        // Characters beyond the table take the width of a digit.
        const bool in_table = cp >= static_cast<char32_t>(kFontFirstCodePoint) &&
                              cp <= static_cast<char32_t>(kFontLastCodePoint);
        const int adv = in_table ? table[cp - kFontFirstCodePoint] : zero;
        // Glyphs sit at whole-pixel advances on a 96 dpi screen.
        px += std::lround(adv * scale);
    }
    return static_cast<int>(std::min<long>(px, 1 << 30));
}

double autofit_width(std::string_view text, bool bold, int size) {
    if (text.empty()) return Workbook::kDefaultColumnWidth;
    // Measured as a cell would hold it.
    return width_of(text_pixels(text::mend_utf8(text), bold, size));
}

void Sheet::queue_fit(ColumnFit& fit, int32_t row, Cell& cell) {
    if (cell.fit_px != kNoFit) {
        --fit.per_px[cell.fit_px];
        cell.fit_px = kNoFit;
    }
    // A cell that cannot count needs no measuring until it changes again.
    if ((cell.flags & (kFitPending | kInMerge)) || cell.kind == CellKind::Empty) return;
    cell.flags |= kFitPending;
    fit.pending.push_back(row);
}

void Workbook::Impl::autofit(Sheet& sh, int c1, int c2) {
    if (sh.fits.size() <= static_cast<size_t>(c2)) sh.fits.resize(static_cast<size_t>(c2) + 1);
    if (sh.widths.size() <= static_cast<size_t>(c2)) sh.widths.resize(static_cast<size_t>(c2) + 1, -1.0);

    // Columns fitted for the first time are read together, row by row.
    std::vector<int> first;
    for (int c = c1; c <= c2; ++c)
        if (!sh.fits[static_cast<size_t>(c)]) {
            sh.fits[static_cast<size_t>(c)] = std::make_unique<ColumnFit>();
            first.push_back(c);
        }
    if (!first.empty())
        for (auto& cells : sh.rows)
            for (int c : first) {
                if (static_cast<size_t>(c) >= cells.size()) break;
                measure(*this, *sh.fits[static_cast<size_t>(c)], cells[static_cast<size_t>(c)]);
            }

    for (int c = c1; c <= c2; ++c) {
        ColumnFit& fit = *sh.fits[static_cast<size_t>(c)];
        for (int32_t row : fit.pending)
            measure(*this, fit, sh.rows[static_cast<size_t>(row) - 1][static_cast<size_t>(c)]);
        fit.pending.clear();
        // A large batch of changes leaves no large buffer behind.
        if (fit.pending.capacity() > 4096) fit.pending.shrink_to_fit();
        while (!fit.per_px.empty() && fit.per_px.back() == 0) fit.per_px.pop_back();
        sh.widths[static_cast<size_t>(c)] =
            fit.per_px.empty() ? -1.0 : width_of(static_cast<int>(fit.per_px.size()) - 1);
    }
}

}  // namespace tb::wb
