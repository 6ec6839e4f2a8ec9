// xl/worksheets/sheetN.xml, straight from the sheet's cells: its view and
// columns, the rows, then the filter, merged areas and print setup. A sheet
// whose texts go to the shared-string table is written as the reference
// writes such a sheet (its "normal" mode: rows carry their block's column
// span, texts their table index); every other sheet as its constant-memory
// mode does (texts inline).
#include "workbook/package.h"
#include "workbook/xml_text.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace tb::wb::package {

namespace {

constexpr double kDefaultWidth = 8.43;   // the width a column has when none is set

// Column letters of every column, made once.
struct ColumnNames {
    std::array<std::array<char, 4>, kMaxColumns> letters{};   // [3] holds the length
    ColumnNames() {
        for (int col = 0; col < kMaxColumns; ++col) {
            char buf[4];
            int n = 0;
            for (int c = col + 1; c > 0; c = (c - 1) / 26) buf[n++] = static_cast<char>('A' + (c - 1) % 26);
            for (int i = 0; i < n; ++i) letters[static_cast<std::size_t>(col)][static_cast<std::size_t>(i)] = buf[n - 1 - i];
            letters[static_cast<std::size_t>(col)][3] = static_cast<char>(n);
        }
    }
};

const ColumnNames& column_names() {
    static const ColumnNames names;
    return names;
}

// The width written for a column: the width in characters rounded to whole
// pixels of Calibri 11 (7 per digit, 5 of padding) and to 1/256 of a digit,
// in exactly the reference's arithmetic.
double stored_width(double width) {
    if (width <= 0) return 0;
    if (width < 1) return static_cast<uint16_t>(static_cast<uint16_t>(width * 12.0 + 0.5) / 7.0 * 256.0) / 256.0;
    return static_cast<uint16_t>((static_cast<uint16_t>(width * 7.0 + 0.5) + 5.0) / 7.0 * 256.0) / 256.0;
}

bool covered(const Cell& c) { return (c.flags & kInMerge) && !(c.flags & kMergeAnchor); }

// Whether the cell is written, and how.
enum class Written { No, Number, Text, Blank };
Written written(const Cell& c) {
    if (c.kind == CellKind::Number && !covered(c)) return Written::Number;
    if (c.kind == CellKind::Text && !covered(c)) return Written::Text;
    return c.style != 0 ? Written::Blank : Written::No;
}

void write_pane(ByteBuffer& out, const SheetSetup& s) {
    const int32_t rows = s.freeze_rows;
    const int cols = s.freeze_cols;
    const char* active = rows && cols ? "bottomRight" : cols ? "topRight" : "bottomLeft";
    out.append("<pane");
    if (cols) xml::append_attr(out, "xSplit", cols);
    if (rows) xml::append_attr(out, "ySplit", rows);
    out.append(" topLeftCell=\"");
    xml::append_cell(out, cols, rows + 1);
    out.append("\" activePane=\"");
    out.append(active);
    out.append("\" state=\"frozen\"/>");
    if (rows && cols) {
        out.append("<selection pane=\"topRight\" activeCell=\"");
        xml::append_cell(out, cols, 1);
        out.append("\" sqref=\"");
        xml::append_cell(out, cols, 1);
        out.append("\"/><selection pane=\"bottomLeft\" activeCell=\"");
        xml::append_cell(out, 0, rows + 1);
        out.append("\" sqref=\"");
        xml::append_cell(out, 0, rows + 1);
        out.append("\"/>");
    }
    out.append("<selection pane=\"");
    out.append(active);
    out.append("\"/>");
}

}  // namespace

SheetWriter::SheetWriter(const Plan& plan, std::size_t sheet)
    : plan_(plan), sheet_(*plan.book.sheets[sheet]), facts_(plan.sheets[sheet]), index_(sheet) {}

bool SheetWriter::write(ByteBuffer& out, std::size_t until) {
    if (stage_ == Stage::Head) {
        write_head(out);
        stage_ = Stage::Rows;
    }
    if (stage_ == Stage::Rows) {
        const auto last = static_cast<int32_t>(sheet_.rows.size());
        while (next_row_ <= last && out.size() < until) write_row(out, next_row_++);
        if (next_row_ > last) stage_ = Stage::Tail;
    }
    if (stage_ == Stage::Tail) {
        write_tail(out);
        stage_ = Stage::Done;
    }
    return stage_ == Stage::Done;
}

// Whether <sheetData> has rows: in constant-memory mode when anything set
// the sheet's extent, in normal mode when a cell is written.
static bool has_sheet_data(const SheetFacts& f) { return f.shared_strings ? f.cell_count > 0 : f.extent.any; }

void SheetWriter::write_head(ByteBuffer& out) {
    const SheetSetup& s = sheet_.setup;
    out.append(xml::kDeclaration);
    out.append("<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
               "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">");
    if (s.fit_to_page_width) out.append("<sheetPr><pageSetUpPr fitToPage=\"1\"/></sheetPr>");
    out.append("<dimension ref=\"");
    const Extent& e = facts_.extent;
    if (e.any) xml::append_range(out, e.c1, e.r1, e.c2, e.r2);
    else out.append("A1");
    out.append("\"/><sheetViews><sheetView");
    const int shown = plan_.book.active < 0 ? 0 : plan_.book.active;
    if (static_cast<int>(index_) == shown) out.append(" tabSelected=\"1\"");
    out.append(" workbookViewId=\"0\"");
    if (s.freeze_rows > 0 || s.freeze_cols > 0) {
        out.push_back('>');
        write_pane(out, s);
        out.append("</sheetView>");
    } else {
        out.append("/>");
    }
    out.append("</sheetViews><sheetFormatPr defaultRowHeight=\"15\"/>");
    if (std::any_of(sheet_.widths.begin(), sheet_.widths.end(), [](double w) { return w >= 0; })) {
        out.append("<cols>");
        for (std::size_t c = 0; c < sheet_.widths.size(); ++c) {
            const double w = sheet_.widths[c];
            if (w < 0) continue;
            out.append("<col");
            xml::append_attr(out, "min", static_cast<int64_t>(c + 1));
            xml::append_attr(out, "max", static_cast<int64_t>(c + 1));
            out.append(" width=\"");
            xml::append_number(out, stored_width(w));
            out.append(w == kDefaultWidth ? std::string_view("\"/>") : std::string_view("\" customWidth=\"1\"/>"));
        }
        out.append("</cols>");
    }
    out.append(has_sheet_data(facts_) ? std::string_view("<sheetData>") : std::string_view("<sheetData/>"));
}

// The used columns of the 16-row block holding `row`, "3:24", as the
// shared-string sheets' rows carry them.
void SheetWriter::row_spans(int32_t row) {
    const int32_t block = (row - 1) / 16;
    if (block == spans_block_) return;
    spans_block_ = block;
    int lo = kMaxColumns, hi = -1;
    const auto end = std::min<int32_t>((block + 1) * 16, static_cast<int32_t>(sheet_.rows.size()));
    for (int32_t r = row; r <= end; ++r) {
        const auto& cells = sheet_.rows[static_cast<std::size_t>(r) - 1];
        for (std::size_t c = 0; c < cells.size(); ++c)
            if (written(cells[c]) != Written::No) {
                lo = std::min(lo, static_cast<int>(c));
                hi = std::max(hi, static_cast<int>(c));
            }
    }
    spans_ = " spans=\"" + std::to_string(lo + 1) + ":" + std::to_string(hi + 1) + "\"";
}

void SheetWriter::write_row(ByteBuffer& out, int32_t row) {
    const auto& cells = sheet_.rows[static_cast<std::size_t>(row) - 1];
    const bool shared = facts_.shared_strings;
    const ColumnNames& names = column_names();
    char row_text[12];
    const auto row_len = static_cast<std::size_t>(std::to_chars(row_text, row_text + sizeof row_text, row).ptr - row_text);
    bool open = false;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        const Cell& cell = cells[c];
        if (!cell.has_content()) continue;
        const Written kind = written(cell);
        if (kind == Written::No) continue;
        if (!open) {
            open = true;
            // The block's span is worked out from its first row with cells.
            if (shared) row_spans(row);
            out.append("<row r=\"");
            out.append(row_text, row_len);
            out.push_back('"');
            if (shared) out.append(spans_);
            out.push_back('>');
        }
        const auto& col = names.letters[c];
        const std::string& style = plan_.style_attrs[cell.style];
        char* p = out.room(48 + style.size());
        std::memcpy(p, "<c r=\"", 6);
        p += 6;
        std::memcpy(p, col.data(), static_cast<std::size_t>(col[3]));
        p += col[3];
        std::memcpy(p, row_text, row_len);
        p += row_len;
        *p++ = '"';
        std::memcpy(p, style.data(), style.size());
        p += style.size();
        out.commit_to(p);
        if (kind == Written::Number) {
            out.append("><v>");
            xml::append_number(out, cell.number());
            out.append("</v></c>");
        } else if (kind == Written::Blank) {
            out.append("/>");
        } else if (shared) {
            out.append(" t=\"s\"><v>");
            xml::append_int(out, plan_.shared_index[cell.text_id()]);
            out.append("</v></c>");
        } else {
            const uint32_t id = cell.text_id();
            const uint8_t flags = plan_.flags_of(id);
            out.append(flags & xml::kTextPreserve ? std::string_view(" t=\"inlineStr\"><is><t xml:space=\"preserve\">")
                                                  : std::string_view(" t=\"inlineStr\"><is><t>"));
            if (flags & xml::kTextEscape) xml::append_cell_text(out, plan_.book.texts[id]);
            else out.append(plan_.book.texts[id]);
            out.append("</t></is></c>");
        }
    }
    if (open) out.append("</row>");
}

void SheetWriter::write_tail(ByteBuffer& out) {
    const SheetSetup& s = sheet_.setup;
    if (has_sheet_data(facts_)) out.append("</sheetData>");
    if (s.filter) {
        out.append("<autoFilter ref=\"");
        xml::append_range(out, s.filter_area.first_col, s.filter_area.first_row, s.filter_area.last_col, s.filter_area.last_row);
        out.append("\"/>");
    }
    if (!sheet_.merges.empty()) {
        // The reference is handed the areas in this order (sorted by their
        // first row, with std::sort's order among areas of one row).
        std::vector<Area> merges = sheet_.merges;
        std::sort(merges.begin(), merges.end(), [](const Area& a, const Area& b) { return a.first_row < b.first_row; });
        out.append("<mergeCells");
        xml::append_attr(out, "count", static_cast<int64_t>(merges.size()));
        out.push_back('>');
        for (const Area& m : merges) {
            out.append("<mergeCell ref=\"");
            xml::append_range(out, m.first_col, m.first_row, m.last_col, m.last_row);
            out.append("\"/>");
        }
        out.append("</mergeCells>");
    }
    out.append("<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/>");
    if (s.landscape || s.fit_to_page_width) {
        out.append("<pageSetup");
        if (s.fit_to_page_width) out.append(" fitToHeight=\"0\"");
        out.append(s.landscape ? std::string_view(" orientation=\"landscape\"/>")
                               : std::string_view(" orientation=\"portrait\"/>"));
    }
    if (!s.footer.empty()) {
        out.append("<headerFooter><oddFooter>");
        xml::append_data(out, s.footer);
        out.append("</oddFooter></headerFooter>");
    }
    out.append("</worksheet>");
}

}  // namespace tb::wb::package
