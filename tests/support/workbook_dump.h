// A workbook as text, one line a cell, for golden files a person can read:
// every sheet in order with its view and print setup, column widths and
// merged areas, then every cell that holds a value or a style.
// tests/workbook/xlsx_check.py prints a saved file in the same words.
#pragma once

#include "workbook/workbook.h"

#include <cstdio>
#include <sstream>
#include <string>

namespace tb::test {

inline std::string rgb_text(int32_t c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06X", static_cast<unsigned>(c));
    return buf;
}

// With `as_saved`, as a reader of the saved file sees it: numbers without
// their displayed text.
inline const char* weight_name(wb::LineWeight w) {
    switch (w) {
        case wb::LineWeight::Medium: return "medium";
        case wb::LineWeight::Thick: return "thick";
        case wb::LineWeight::Hair: return "hair";
        default: return "thin";
    }
}

inline std::string dump_workbook(const wb::Workbook& book, bool as_saved = false) {
    auto edge = [&](const char* name, const wb::BorderEdge& e) -> std::string {
        if (!e.present()) return {};
        const char* weight = weight_name(e.weight);
        return std::string(" ") + name + "=" + weight + (e.color >= 0 ? "/" + rgb_text(e.color) : "");
    };
    std::ostringstream out;
    out << "active " << book.shown_sheet_name() << "\n";
    for (const std::string& sheet : book.sheet_names()) {
        out << "\n== " << sheet << "\n";
        const wb::SheetSetup su = book.setup(*book.find_sheet(sheet));
        if (su.freeze_rows || su.freeze_cols)
            out << "freeze " << su.freeze_rows << " rows " << su.freeze_cols << " columns\n";
        if (su.filter)
            out << "filter " << wb::column_letter(su.filter_area.first_col) << su.filter_area.first_row << ":"
                << wb::column_letter(su.filter_area.last_col) << su.filter_area.last_row << "\n";
        out << "print" << (su.landscape ? " landscape" : "") << (su.fit_to_page_width ? " one-page-wide" : "")
            << (su.repeat_rows ? " repeat-rows=" + std::to_string(su.repeat_rows) : "") << " footer=" << su.footer
            << "\nwidths";
        char buf[48];
        for (int c = 0; c < 40; ++c) {
            const double w = book.column_width(sheet, c);
            if (w == wb::Workbook::kDefaultColumnWidth) continue;
            std::snprintf(buf, sizeof buf, " %s=%.2f", wb::column_letter(c).c_str(), w);
            out << buf;
        }
        out << "\nmerges";
        for (const wb::Area& m : book.merges(sheet))
            out << " " << wb::column_letter(m.first_col) << m.first_row << ":" << wb::column_letter(m.last_col) << m.last_row;
        out << "\n";
        for (int32_t r = 1; r <= book.last_row(sheet); ++r)
            for (int c = 0; c < 40; ++c) {
                const wb::CellValue v = book.value(sheet, c, r);
                const wb::Style s = book.style(sheet, c, r);
                if (v.kind == wb::CellValue::Kind::Empty && s == wb::Style{}) continue;
                out << wb::column_letter(c) << r;
                if (v.kind == wb::CellValue::Kind::Text) out << " '" << v.text << "'";
                if (v.kind == wb::CellValue::Kind::Number) {
                    std::snprintf(buf, sizeof buf, " %.15g", v.number);
                    out << buf;
                    if (!as_saved) out << " shows '" << book.displayed_text(sheet, c, r) << "'";
                }
                out << (s.bold ? " bold" : "") << (s.font_size != 11 ? " size=" + std::to_string(s.font_size) : "")
                    << (s.fill >= 0 ? " fill=" + rgb_text(s.fill) : "")
                    << (s.number_format.empty() ? "" : " format=" + s.number_format) << (s.align_right ? " right" : "")
                    << edge("top", s.top) << edge("bottom", s.bottom) << edge("left", s.left)
                    << edge("right", s.right) << "\n";
            }
    }
    return out.str();
}

}  // namespace tb::test
