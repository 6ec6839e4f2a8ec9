// Cells of a sheet named by its id: values, named styles, border lines,
// merged areas and column widths.
#include "workbook/workbook.h"
#include "workbook/workbook_internal.h"

#include "text/utf8.h"

namespace tb::wb {

namespace {

void check_area(const Area& a) {
    check_col(a.first_col);
    check_col(a.last_col);
    check_row(a.first_row);
    check_row(a.last_row);
    if (a.first_col > a.last_col || a.first_row > a.last_row)
        throw WorkbookError("an area must run from top left to bottom right");
}

// The weight codes a border edge keeps.
int weight_code(LineWeight w) {
    switch (w) {
        case LineWeight::Hair: return 1;
        case LineWeight::Thin: return xlThin;
        case LineWeight::Medium: return xlMedium;
        default: return 4;
    }
}

}  // namespace

void Workbook::put(SheetId sheet, int col, int32_t row, std::string_view text) {
    check_area(Area::cell(col, row));
    impl_->put_text(impl_->sheet_of(sheet), col, row, col, row, text);
}

void Workbook::put(SheetId sheet, int col, int32_t row, double number) {
    check_area(Area::cell(col, row));
    impl_->put_number(impl_->sheet_of(sheet), col, row, col, row, number);
}

void Workbook::apply(SheetId sheet, const Area& a, const CellStyle& style) {
    check_area(a);
    Sheet& sh = impl_->sheet_of(sheet);
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
    check_area(a);
    if (line.color && (*line.color < 0 || *line.color > 0xFFFFFF))
        throw WorkbookError("border colour " + std::to_string(*line.color) + " is not an RGB value");
    Sheet& sh = impl_->sheet_of(sheet);
    // Slots of the style edits: top, bottom, left, right.
    const uint8_t bits[] = {kTopEdge, kBottomEdge, kLeftEdge, kRightEdge};
    for (int slot = 0; slot < 4; ++slot) {
        if (!(edges & bits[slot])) continue;
        impl_->apply_style(sh, a.first_col, a.first_row, a.last_col, a.last_row,
                           static_cast<StyleOp>(slot * 3 + OpEdgeWeight), weight_code(line.weight));
        if (line.color)
            impl_->apply_style(sh, a.first_col, a.first_row, a.last_col, a.last_row,
                               static_cast<StyleOp>(slot * 3 + OpEdgeColor), *line.color);
    }
}

void Workbook::merge(SheetId sheet, const Area& a) {
    check_area(a);
    impl_->merge(impl_->sheet_of(sheet), a.first_col, a.first_row, a.last_col, a.last_row);
}

void Workbook::autofit(SheetId sheet, int first_col, int last_col) {
    check_col(first_col);
    check_col(last_col);
    impl_->autofit(impl_->sheet_of(sheet), std::min(first_col, last_col), std::max(first_col, last_col));
}

CellValue Workbook::value(SheetId sheet, int col, int32_t row) const { return value(sheet_name(sheet), col, row); }

int32_t Workbook::last_row(SheetId sheet) const { return last_row(sheet_name(sheet)); }

}  // namespace tb::wb
