// Sheets as text compact enough to review by eye, for the golden files and
// for comparing two builds' workbooks (tallybook-dump):
// each row on two lines, its values and then its styles as runs of cells,
// every distinct style named once in a legend at the end.
//
//     == F
//     view landscape one-page-wide footer=&L&A&RPage &P of &N
//     widths A=4.71 B=5.86 ...
//     merges A1:E1 R1:Y1 A10:C10
//     1: A 'Fenn,Gus' | R 1
//        A:E s1 | F:Q s2 | R:Y s1
//     3: A 2000 | B 'BOS' | D 0.275='.275' ...
//     ...
//     s1 = bold size=12 fill=FFFFCC top=medium bottom=medium ...
#pragma once

#include "workbook/workbook.h"

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace tb::test {

inline std::string describe_style(const wb::Style& s) {
    char rgb[16];
    std::string out;
    auto add = [&](const std::string& part) { out += (out.empty() ? "" : " ") + part; };
    if (s.bold) add("bold");
    if (s.font_size != 11) add("size=" + std::to_string(s.font_size));
    if (s.fill >= 0) {
        std::snprintf(rgb, sizeof rgb, "%06X", static_cast<unsigned>(s.fill));
        add(std::string("fill=") + rgb);
    }
    if (!s.number_format.empty()) add("format=" + s.number_format);
    if (s.align_right) add("right");
    const std::pair<const char*, const wb::BorderEdge*> edges[] = {
        {"top", &s.top}, {"bottom", &s.bottom}, {"left", &s.left}, {"right", &s.right}};
    for (const auto& [name, e] : edges) {
        if (!e->present()) continue;
        const char* weights[] = {"none", "hair", "thin", "medium", "thick"};   // as LineWeight counts them
        std::string line = std::string(name) + "=" + weights[static_cast<int>(e->weight)];
        if (e->color >= 0) {
            std::snprintf(rgb, sizeof rgb, "%06X", static_cast<unsigned>(e->color));
            line += std::string("/") + rgb;
        }
        add(line);
    }
    return out;
}

inline std::string dump_sheets(const wb::Workbook& book, const std::vector<std::string>& sheets) {
    std::ostringstream out;
    std::map<std::string, int> legend;   // style description -> number
    std::vector<std::string> legend_order;
    auto style_id = [&](const wb::Style& s) {
        const std::string d = describe_style(s);
        auto [it, added] = legend.try_emplace(d, static_cast<int>(legend.size()) + 1);
        if (added) legend_order.push_back(d);
        return "s" + std::to_string(it->second);
    };
    char buf[64];
    for (const std::string& sheet : sheets) {
        const auto id = book.find_sheet(sheet);
        if (!id) continue;
        out << "== " << sheet << "\n";
        const wb::SheetSetup& su = book.setup(*id);
        out << "view";
        if (su.freeze_rows || su.freeze_cols) out << " freeze=" << su.freeze_rows << "," << su.freeze_cols;
        if (su.filter)
            out << " filter=" << wb::column_letter(su.filter_area.first_col) << su.filter_area.first_row << ":"
                << wb::column_letter(su.filter_area.last_col) << su.filter_area.last_row;
        out << (su.landscape ? " landscape" : "") << (su.fit_to_page_width ? " one-page-wide" : "")
            << (su.repeat_rows ? " repeat-rows=" + std::to_string(su.repeat_rows) : "") << " footer=" << su.footer
            << "\nwidths";
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
        for (int32_t r = 1; r <= book.last_row(sheet); ++r) {
            std::string values, styles;
            std::string run_style;
            int run_start = -1;
            auto end_run = [&](int last) {
                if (run_start < 0) return;
                styles += (styles.empty() ? "" : " | ") + wb::column_letter(run_start) +
                          (last > run_start ? ":" + wb::column_letter(last) : "") + " " + run_style;
                run_start = -1;
            };
            for (int c = 0; c < 40; ++c) {
                const wb::CellValue v = book.value(sheet, c, r);
                const wb::Style s = book.style(sheet, c, r);
                if (v.kind == wb::CellValue::Kind::Text) {
                    values += (values.empty() ? "" : " | ") + wb::column_letter(c) + " '" + v.text + "'";
                } else if (v.kind == wb::CellValue::Kind::Number) {
                    std::snprintf(buf, sizeof buf, "%.15g", v.number);
                    std::string shown = book.displayed_text(sheet, c, r);
                    values += (values.empty() ? "" : " | ") + wb::column_letter(c) + " " + buf +
                              (shown != buf ? "='" + shown + "'" : "");
                }
                const std::string sid = s == wb::Style{} ? "" : style_id(s);
                if (run_start >= 0 && sid != run_style) end_run(c - 1);
                if (!sid.empty() && run_start < 0) run_start = c, run_style = sid;
            }
            end_run(39);
            if (values.empty() && styles.empty()) continue;
            out << r << ": " << values << "\n";
            if (!styles.empty()) out << std::string(std::to_string(r).size() + 2, ' ') << styles << "\n";
        }
    }
    out << "\n";
    for (std::size_t i = 0; i < legend_order.size(); ++i) out << "s" << i + 1 << " = " << legend_order[i] << "\n";
    return out.str();
}

// Every sheet, after a line naming the tab shown on opening.
inline std::string dump_workbook(const wb::Workbook& book) {
    return "shown " + book.shown_sheet_name() + "\n" + dump_sheets(book, book.sheet_names());
}

}  // namespace tb::test
