// Reading the workbook back: values, styles, displayed texts, widths, merged
// areas and extents of a sheet named by the caller.
#include "workbook/workbook.h"
#include "workbook/workbook_internal.h"

namespace tb::wb {

namespace {

std::string displayed(const Workbook::Impl& impl, const Cell& c) {
    switch (c.kind) {
        case CellKind::Number: return format_number(c.number(), impl.styles[c.style].number_format);
        case CellKind::Text: return impl.texts[c.text_id()];
        default: return {};
    }
}

}  // namespace

CellValue Workbook::value(std::string_view sheet, int col, int32_t row) const {
    CellValue v;
    const Sheet* sh = impl_->find_sheet(sheet);
    const Cell* c = sh ? sh->find(col, row) : nullptr;
    if (!c) return v;
    if (c->kind == CellKind::Number) {
        v.kind = CellValue::Kind::Number;
        v.number = c->number();
    } else if (c->kind == CellKind::Text) {
        v.kind = CellValue::Kind::Text;
        v.text = impl_->texts[c->text_id()];
    }
    return v;
}

Style Workbook::style(std::string_view sheet, int col, int32_t row) const {
    const Sheet* sh = impl_->find_sheet(sheet);
    const Cell* c = sh ? sh->find(col, row) : nullptr;
    return c ? impl_->styles[c->style] : Style{};
}

std::string Workbook::displayed_text(std::string_view sheet, int col, int32_t row) const {
    const Sheet* sh = impl_->find_sheet(sheet);
    const Cell* c = sh ? sh->find(col, row) : nullptr;
    return c ? displayed(*impl_, *c) : std::string();
}

double Workbook::column_width(std::string_view sheet, int col) const {
    const Sheet* sh = impl_->find_sheet(sheet);
    if (!sh || col < 0 || static_cast<size_t>(col) >= sh->widths.size() || sh->widths[static_cast<size_t>(col)] < 0)
        return kDefaultColumnWidth;
    return sh->widths[static_cast<size_t>(col)];
}

std::vector<Area> Workbook::merges(std::string_view sheet) const {
    const Sheet* sh = impl_->find_sheet(sheet);
    return sh ? sh->merges : std::vector<Area>{};
}

int32_t Workbook::last_row(std::string_view sheet) const {
    const Sheet* sh = impl_->find_sheet(sheet);
    if (!sh) return 0;
    for (size_t r = sh->rows.size(); r > 0; --r)
        for (const Cell& c : sh->rows[r - 1])
            if (c.has_content()) return static_cast<int32_t>(r);
    return 0;
}

int32_t Workbook::last_row(SheetId sheet) const {
    if (sheet.value >= impl_->by_id.size() || !impl_->by_id[sheet.value]) return 0;
    return last_row(impl_->by_id[sheet.value]->name);
}

CellValue Workbook::value(SheetId sheet, int col, int32_t row) const {
    if (sheet.value >= impl_->by_id.size() || !impl_->by_id[sheet.value]) return {};
    return value(impl_->by_id[sheet.value]->name, col, row);
}

std::size_t Workbook::cell_count() const {
    std::size_t n = 0;
    for (const auto& sh : impl_->sheets)
        for (const auto& row : sh->rows)
            for (const Cell& c : row) n += c.has_content() ? 1 : 0;
    return n;
}

}  // namespace tb::wb
