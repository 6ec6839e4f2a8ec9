// Cells of a sheet named by its id: values, named styles, border lines,
// merged areas and column widths, and the shared texts they hold.
#include "workbook/workbook.h"
#include "workbook/workbook_internal.h"

#include "text/utf8.h"

#include <algorithm>
#include <cmath>

namespace tb::wb {

namespace {

bool overlaps(const Area& a, int c1, int32_t r1, int c2, int32_t r2) {
    return a.first_col <= c2 && c1 <= a.last_col && a.first_row <= r2 && r1 <= a.last_row;
}

bool any_merged(const Sheet& sh, int c1, int32_t r1, int c2, int32_t r2) {
    for (int32_t r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c) {
            const Cell* cell = sh.find(c, r);
            if (!cell) break;   // the rest of the row does not exist either
            if (cell->flags & kInMerge) return true;
        }
    return false;
}

// The error names the sheet: a run that outgrows one says which.
void check_area(const Sheet& sh, const Area& a) {
    try {
        wb::check_area(a);   // the bounds; the sheet is named here
    } catch (const WorkbookError& e) {
        throw WorkbookError("sheet \"" + sh.name + "\": " + e.what());
    }
}

}  // namespace

uint32_t Workbook::Impl::intern_text(std::string_view text) {
    auto it = text_ids.find(std::string(text));
    if (it != text_ids.end()) return it->second;
    const auto id = static_cast<uint32_t>(texts.size());
    texts.emplace_back(text);
    text_ids.emplace(texts.back(), id);
    return id;
}

void Workbook::Impl::merge(Sheet& sh, int c1, int32_t r1, int c2, int32_t r2) {
    // A merge that overlaps merged areas takes them in whole. Every cell of
    // an area carries kInMerge, so the list is searched only when the new
    // area touches one: a sheet can hold thousands of areas.
    if (any_merged(sh, c1, r1, c2, r2)) {
        for (bool grown = true; grown;) {
            grown = false;
            for (auto it = sh.merges.begin(); it != sh.merges.end();) {
                if (overlaps(*it, c1, r1, c2, r2)) {
                    Cell* old_anchor = sh.row_span(it->first_row, it->first_col, it->first_col);
                    old_anchor->flags &= static_cast<uint8_t>(~kMergeAnchor);
                    if (it->first_col < c1 || it->last_col > c2 || it->first_row < r1 || it->last_row > r2) grown = true;
                    c1 = std::min(c1, it->first_col); c2 = std::max(c2, it->last_col);
                    r1 = std::min(r1, it->first_row); r2 = std::max(r2, it->last_row);
                    it = sh.merges.erase(it);
                } else {
                    ++it;
                }
            }
        }
    }
    if (c1 == c2 && r1 == r2) return;   // one cell: nothing to merge
    for (int32_t r = r1; r <= r2; ++r) {
        Cell* cells = sh.row_span(r, c1, c2);
        for (int c = 0; c <= c2 - c1; ++c) {
            Cell& cell = cells[c];
            cell.flags |= kInMerge;
            // Only the first cell's value survives a merge.
            if (r != r1 || c != 0) cell.clear_value();
            sh.fit_changed(c1 + c, r, cell);
        }
    }
    sh.row_span(r1, c1, c1)->flags |= kMergeAnchor;
    sh.merges.push_back(Area{c1, r1, c2, r2});
}

void Workbook::Impl::put_text(Sheet& sh, int c1, int32_t r1, int c2, int32_t r2, std::string_view text) {
    // Counted as stored: each byte that is not UTF-8 becomes one character.
    const std::size_t length = text::code_point_count(text);
    if (length > kMaxTextLength)
        throw WorkbookError("a text of " + std::to_string(length) + " characters is longer than a cell holds (32767)");
    const bool empty = text.empty();
    const uint32_t id = empty ? 0 : intern_text(text::mend_utf8(text));
    for (int32_t r = r1; r <= r2; ++r) {
        Cell* cells = sh.row_span(r, c1, c2);
        for (int c = 0; c <= c2 - c1; ++c) {
            if (empty) cells[c].clear_value();
            else cells[c].set_text(id);
            sh.fit_changed(c1 + c, r, cells[c]);
        }
    }
}

void Workbook::Impl::put_number(Sheet& sh, int c1, int32_t r1, int c2, int32_t r2, double number) {
    if (!std::isfinite(number)) throw WorkbookError("a cell cannot hold a number that is not finite");
    if (number == 0) number = 0;   // no negative zero
    for (int32_t r = r1; r <= r2; ++r) {
        Cell* cells = sh.row_span(r, c1, c2);
        for (int c = 0; c <= c2 - c1; ++c) {
            cells[c].set_number(number);
            sh.fit_changed(c1 + c, r, cells[c]);
        }
    }
}

void Workbook::put(SheetId sheet, int col, int32_t row, std::string_view text) {
    Sheet& sh = impl_->sheet_of(sheet);
    check_area(sh, Area::cell(col, row));
    impl_->put_text(sh, col, row, col, row, text);
}

void Workbook::put(SheetId sheet, int col, int32_t row, double number) {
    Sheet& sh = impl_->sheet_of(sheet);
    check_area(sh, Area::cell(col, row));
    impl_->put_number(sh, col, row, col, row, number);
}

void Workbook::apply(SheetId sheet, const Area& a, const CellStyle& style) {
    Sheet& sh = impl_->sheet_of(sheet);
    check_area(sh, a);
    if (style.font_size && (*style.font_size < 1 || *style.font_size > 409))
        throw WorkbookError("font size " + std::to_string(*style.font_size) + " is not 1 to 409");
    if (style.number_format && style.number_format->size() > 255)
        throw WorkbookError("number format longer than 255 characters");
    auto edit = [&](StyleOp op, int32_t value) {
        impl_->apply_style(sh, a.first_col, a.first_row, a.last_col, a.last_row, op, value);
    };
    if (style.fill) edit(OpFill, *style.fill);
    if (style.bold) edit(OpBold, *style.bold ? 1 : 0);
    if (style.font_size) edit(OpSize, *style.font_size);
    if (style.number_format) {
        const std::string f = *style.number_format == "General" ? std::string() : text::mend_utf8(*style.number_format);
        edit(OpNumberFormat, static_cast<int32_t>(impl_->intern_format(f)));
    }
    if (style.align_right) edit(OpAlignRight, *style.align_right ? 1 : 0);
}

void Workbook::draw(SheetId sheet, const Area& a, uint8_t edges, const Line& line) {
    check_area(impl_->sheet_of(sheet), a);
    if (line.color && (*line.color < 0 || *line.color > 0xFFFFFF))
        throw WorkbookError("border colour " + std::to_string(*line.color) + " is not an RGB value");
    Sheet& sh = impl_->sheet_of(sheet);
    // Slots of the style edits: top, bottom, left, right.
    const uint8_t bits[] = {kTopEdge, kBottomEdge, kLeftEdge, kRightEdge};
    for (int slot = 0; slot < 4; ++slot) {
        if (!(edges & bits[slot])) continue;
        impl_->apply_style(sh, a.first_col, a.first_row, a.last_col, a.last_row,
                           static_cast<StyleOp>(slot * 2 + OpEdgeWeight), static_cast<int32_t>(line.weight));
        if (line.color)
            impl_->apply_style(sh, a.first_col, a.first_row, a.last_col, a.last_row,
                               static_cast<StyleOp>(slot * 2 + OpEdgeColor), *line.color);
    }
}

void Workbook::merge(SheetId sheet, const Area& a) {
    Sheet& sh = impl_->sheet_of(sheet);
    check_area(sh, a);
    impl_->merge(sh, a.first_col, a.first_row, a.last_col, a.last_row);
}

void Workbook::autofit(SheetId sheet, int first_col, int last_col) {
    check_col(first_col);
    check_col(last_col);
    impl_->autofit(impl_->sheet_of(sheet), std::min(first_col, last_col), std::max(first_col, last_col));
}


}  // namespace tb::wb
