// A workbook as text, one line a cell, for golden files a person can read:
// every sheet in order with its view and print setup, column widths and
// merged areas, then every cell that holds a value or a style.
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

inline std::string edge_text(const char* name, const wb::BorderEdge& e) {
    if (!e.present()) return {};
    std::string out = std::string(" ") + name + "=" + (e.weight == wb::xlMedium ? "medium" : e.weight == 0 ? "line" : "thin");
    if (e.color >= 0) out += "/" + rgb_text(e.color);
    return out;
}

inline std::string style_text(const wb::Style& s) {
    std::string out;
    if (s.bold) out += " bold";
    if (s.font_size != 11) out += " size=" + std::to_string(s.font_size);
    if (s.fill >= 0) out += " fill=" + rgb_text(s.fill);
    if (!s.number_format.empty()) out += " format=" + s.number_format;
    if (s.align_right) out += " right";
    out += edge_text("top", s.top) + edge_text("bottom", s.bottom) + edge_text("left", s.left) +
           edge_text("right", s.right);
    return out;
}

inline std::string dump_workbook(const wb::Workbook& book, int columns = 40) {
    std::ostringstream out;
    out << "active " << book.ActiveSheetName() << "\n";
    for (const std::string& sheet : book.SheetNames()) {
        out << "\n== " << sheet << "\n";
        const wb::SheetSetup su = book.sheet_setup(sheet);
        if (su.freeze_rows || su.freeze_cols) out << "freeze " << su.freeze_rows << " rows " << su.freeze_cols << " columns\n";
        if (su.filter)
            out << "filter " << wb::column_letter(su.filter_area.c1) << su.filter_area.r1 << ":"
                << wb::column_letter(su.filter_area.c2) << su.filter_area.r2 << "\n";
        out << "print" << (su.landscape ? " landscape" : "") << (su.fit_to_page_width ? " one-page-wide" : "")
            << (su.repeat_rows ? " repeat-rows=" + std::to_string(su.repeat_rows) : "") << " footer=" << su.footer
            << "\n";
        out << "widths";
        for (int c = 0; c < columns; ++c) {
            const double w = book.column_width(sheet, c);
            if (w != wb::Workbook::kDefaultColumnWidth) {
                char buf[32];
                std::snprintf(buf, sizeof buf, " %s=%.2f", wb::column_letter(c).c_str(), w);
                out << buf;
            }
        }
        out << "\nmerges";
        for (const wb::MergeArea& m : book.merges(sheet))
            out << " " << wb::column_letter(m.c1) << m.r1 << ":" << wb::column_letter(m.c2) << m.r2;
        out << "\n";
        for (int32_t r = 1; r <= book.last_row(sheet); ++r)
            for (int c = 0; c < columns; ++c) {
                const wb::CellValue v = book.value(sheet, c, r);
                const wb::Style st = book.style(sheet, c, r);
                if (v.kind == wb::CellValue::Kind::Empty && st == wb::Style{}) continue;
                out << wb::column_letter(c) << r;
                if (v.kind == wb::CellValue::Kind::Text) out << " '" << v.text << "'";
                if (v.kind == wb::CellValue::Kind::Number) {
                    char buf[40];
                    std::snprintf(buf, sizeof buf, " %.15g", v.number);
                    out << buf << " shows '" << book.displayed_text(sheet, c, r) << "'";
                }
                out << style_text(st) << "\n";
            }
    }
    return out.str();
}

}  // namespace tb::test
