// Operations on a range of the active sheet: values, style puts, borders,
// merges and column AutoFit.
#include "workbook/workbook.h"
#include "workbook/workbook_internal.h"

#include "text/utf8.h"

#include <cmath>

namespace tb::wb {

namespace {

constexpr int kXlNone = -4142;   // ColorIndex / LineStyle "none"
constexpr int kXlHairline = 1;
constexpr int kXlThick = 4;
constexpr int kXlGeneralAlign = 1;
constexpr int kXlLeftAlign = -4131;

void no_whole_columns(int32_t r1, const char* what) {
    if (r1 == 0) throw WorkbookError(std::string(what) + " on whole columns is not supported");
}

int edge_slot(int edge) {
    switch (edge) {
        case xlEdgeTop: case xlEdgeTopOfRange: return 0;
        case xlEdgeBottom: return 1;
        case xlEdgeLeft: return 2;
        default: return 3;
    }
}

bool overlaps(const MergeArea& a, int c1, int32_t r1, int c2, int32_t r2) {
    return a.c1 <= c2 && c1 <= a.c2 && a.r1 <= r2 && r1 <= a.r2;
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
                    Cell* old_anchor = sh.row_span(it->r1, it->c1, it->c1);
                    old_anchor->flags &= static_cast<uint8_t>(~kMergeAnchor);
                    if (it->c1 < c1 || it->c2 > c2 || it->r1 < r1 || it->r2 > r2) grown = true;
                    c1 = std::min(c1, it->c1); c2 = std::max(c2, it->c2);
                    r1 = std::min(r1, it->r1); r2 = std::max(r2, it->r2);
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
    sh.merges.push_back(MergeArea{c1, r1, c2, r2});
}

// --- Range ------------------------------------------------------------------

void Range::Value(std::string_view text) {
    no_whole_columns(r1_, "a value put");
    wb_.impl_->put_text(wb_.impl_->active_sheet(), c1_, r1_, c2_, r2_, text);
}

void Range::Value(double number) {
    no_whole_columns(r1_, "a value put");
    wb_.impl_->put_number(wb_.impl_->active_sheet(), c1_, r1_, c2_, r2_, number);
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

Border Range::Borders(int edge) {
    no_whole_columns(r1_, "Borders");
    switch (edge) {
        case xlEdgeTop: case xlEdgeBottom: case xlEdgeLeft: case xlEdgeRight: case xlEdgeTopOfRange:
            return Border(wb_, c1_, r1_, c2_, r2_, edge);
        default:
            throw WorkbookError("border edge " + std::to_string(edge) + " is not supported");
    }
}

void Range::InteriorColorIndex(int index) {
    no_whole_columns(r1_, "Interior.ColorIndex");
    if (index == kXlNone) wb_.impl_->apply_style(wb_.impl_->active_sheet(), c1_, r1_, c2_, r2_, OpFillNone, 0);
    else wb_.impl_->apply_style(wb_.impl_->active_sheet(), c1_, r1_, c2_, r2_, OpFill, palette_rgb(index));
}

void Range::FontBold(bool bold) {
    no_whole_columns(r1_, "Font.Bold");
    wb_.impl_->apply_style(wb_.impl_->active_sheet(), c1_, r1_, c2_, r2_, OpBold, bold ? 1 : 0);
}

void Range::FontSize(int size) {
    no_whole_columns(r1_, "Font.Size");
    if (size < 1 || size > 409) throw WorkbookError("font size " + std::to_string(size) + " is not 1 to 409");
    wb_.impl_->apply_style(wb_.impl_->active_sheet(), c1_, r1_, c2_, r2_, OpSize, size);
}

void Range::NumberFormat(std::string_view format) {
    no_whole_columns(r1_, "NumberFormat");
    if (format.size() > 255) throw WorkbookError("number format longer than 255 characters");
    const std::string f = (format == "General") ? std::string() : text::mend_utf8(format);
    const uint32_t id = wb_.impl_->intern_format(f);
    wb_.impl_->apply_style(wb_.impl_->active_sheet(), c1_, r1_, c2_, r2_, OpNumberFormat, static_cast<int32_t>(id));
}

void Range::HorizontalAlignment(int alignment) {
    no_whole_columns(r1_, "HorizontalAlignment");
    if (alignment != xlRight && alignment != kXlGeneralAlign && alignment != kXlLeftAlign)
        throw WorkbookError("horizontal alignment " + std::to_string(alignment) + " is not supported");
    wb_.impl_->apply_style(wb_.impl_->active_sheet(), c1_, r1_, c2_, r2_, OpAlignRight, alignment == xlRight ? 1 : 0);
}

void Range::Merge() {
    no_whole_columns(r1_, "Merge");
    wb_.impl_->merge(wb_.impl_->active_sheet(), c1_, r1_, c2_, r2_);
}

void Range::ColumnsAutoFit() { wb_.impl_->autofit(wb_.impl_->active_sheet(), c1_, c2_); }

// --- Border -------------------------------------------------------------------

void Border::LineStyle(int style) {
    const int32_t r2 = edge_ == xlEdgeTopOfRange ? r1_ : r2_;
    const int slot = edge_slot(edge_);
    if (style == kXlNone) {
        wb_.impl_->apply_style(wb_.impl_->active_sheet(), c1_, r1_, c2_, r2, static_cast<StyleOp>(OpEdgeClear + slot), 0);
        return;
    }
    if (style != xlContinuous) throw WorkbookError("border line style " + std::to_string(style) + " is not supported");
    wb_.impl_->apply_style(wb_.impl_->active_sheet(), c1_, r1_, c2_, r2, static_cast<StyleOp>(slot * 3 + OpEdgeLineStyle), style);
}

void Border::Weight(int weight) {
    if (weight != xlThin && weight != xlMedium && weight != kXlHairline && weight != kXlThick)
        throw WorkbookError("border weight " + std::to_string(weight) + " is not supported");
    const int32_t r2 = edge_ == xlEdgeTopOfRange ? r1_ : r2_;
    wb_.impl_->apply_style(wb_.impl_->active_sheet(), c1_, r1_, c2_, r2, static_cast<StyleOp>(edge_slot(edge_) * 3 + OpEdgeWeight), weight);
}

void Border::Color(int bgr) {
    if (bgr < 0 || bgr > 0xFFFFFF) throw WorkbookError("border colour " + std::to_string(bgr) + " is not a BGR value");
    const int32_t rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    const int32_t r2 = edge_ == xlEdgeTopOfRange ? r1_ : r2_;
    wb_.impl_->apply_style(wb_.impl_->active_sheet(), c1_, r1_, c2_, r2, static_cast<StyleOp>(edge_slot(edge_) * 3 + OpEdgeColor), rgb);
}

}  // namespace tb::wb
