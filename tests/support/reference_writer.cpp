// The reference writer, as the save was before it had its own package
// writer: the same calls in the same order, so that the workbooks it writes
// are the ones users got then.
#include "support/reference_writer.h"

#include "workbook/workbook_internal.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace tb::test {

namespace {

using namespace tb::wb;
namespace fs = std::filesystem;

void check(lxw_error err, const std::string& where) {
    if (err != LXW_NO_ERROR) throw std::runtime_error(where + ": " + lxw_strerror(err));
}

lxw_color_t lxw_rgb(int32_t rgb) {
    // libxlsxwriter takes 0 as "no colour"; black has its own code.
    return rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK) : static_cast<lxw_color_t>(rgb);
}

uint8_t lxw_border(const BorderEdge& e) {
    if (!e.present()) return LXW_BORDER_NONE;
    switch (e.weight) {
        case LineWeight::Medium: return LXW_BORDER_MEDIUM;
        case LineWeight::Thick: return LXW_BORDER_THICK;
        case LineWeight::Hair: return LXW_BORDER_HAIR;
        default: return LXW_BORDER_THIN;
    }
}

// One libxlsxwriter format per style that is used, made on first use.
class FormatTable {
public:
    FormatTable(lxw_workbook* wb, const std::vector<Style>& styles)
        : wb_(wb), styles_(styles), formats_(styles.size(), nullptr) {}

    lxw_format* get(uint32_t id) {
        if (id == 0) return nullptr;
        lxw_format*& f = formats_[id];
        if (!f) {
            f = make(styles_[id]);
            // libxlsxwriter keeps the index of a format only when it is the
            // first of its kind; for one that renders like an earlier format
            // it hashes all its properties again on every cell. Settle the
            // index once.
            f->xf_index = lxw_format_get_xf_index(f);
        }
        return f;
    }

private:
    lxw_format* make(const Style& s) {
        lxw_format* f = workbook_add_format(wb_);
        if (!f) throw std::bad_alloc();
        if (s.bold) format_set_bold(f);
        if (s.font_size != 11) format_set_font_size(f, s.font_size);
        if (!s.number_format.empty()) format_set_num_format(f, s.number_format.c_str());
        if (s.align_right) format_set_align(f, LXW_ALIGN_RIGHT);
        if (s.fill >= 0) format_set_bg_color(f, lxw_rgb(s.fill));   // solid pattern
        auto edge = [&](const BorderEdge& e, void (*set)(lxw_format*, uint8_t),
                        void (*set_color)(lxw_format*, lxw_color_t)) {
            if (!e.present()) return;
            set(f, lxw_border(e));
            if (e.color >= 0) set_color(f, lxw_rgb(e.color));
        };
        edge(s.top, format_set_top, format_set_top_color);
        edge(s.bottom, format_set_bottom, format_set_bottom_color);
        edge(s.left, format_set_left, format_set_left_color);
        edge(s.right, format_set_right, format_set_right_color);
        return f;
    }

    lxw_workbook* wb_;
    const std::vector<Style>& styles_;
    std::vector<lxw_format*> formats_;
};

// Excel reads "_x0041_" in a cell's text as the escape of "A". A text that
// holds such a sequence keeps its meaning when the underscore that starts it
// is itself escaped ("_x005F_x0041_"); only texts in the shared-string table
// have that escape undone by every reader, and constant-memory mode writes
// texts inline, so a sheet holding such a text is written in libxlsxwriter's
// normal mode (its cells held in memory until the file is packed).
// Written out here again, not taken from the package writer, so that a fault
// in the writer's escape cannot reach the reference it is compared with.
bool is_hex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool escape_at(std::string_view text, std::size_t i) {
    return i + 7 <= text.size() && text[i] == '_' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
           is_hex(text[i + 2]) && is_hex(text[i + 3]) && is_hex(text[i + 4]) && is_hex(text[i + 5]) &&
           text[i + 6] == '_';
}

bool looks_escaped(std::string_view text) {
    for (std::size_t i = text.find('_'); i != std::string_view::npos; i = text.find('_', i + 1))
        if (escape_at(text, i)) return true;
    return false;
}

std::string escape_underscores(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 14);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (escape_at(text, i)) out += "_x005F";
        out += text[i];
    }
    return out;
}

// Which interned texts need the shared-string table, worked out once.
std::vector<bool> texts_needing_escape(const std::vector<std::string>& texts) {
    std::vector<bool> need(texts.size(), false);
    for (std::size_t i = 0; i < texts.size(); ++i) need[i] = looks_escaped(texts[i]);
    return need;
}

bool sheet_needs_escape(const Sheet& sh, const std::vector<bool>& need) {
    for (const auto& cells : sh.rows)
        for (const Cell& c : cells)
            if (c.kind == CellKind::Text && need[c.text_id()]) return true;
    return false;
}

// Turns a sheet just added in constant-memory mode into a normal one.
void use_normal_mode(lxw_worksheet* ws) {
    ws->optimize = LXW_FALSE;
    if (ws->optimize_tmpfile) std::fclose(ws->optimize_tmpfile);
    ws->optimize_tmpfile = nullptr;
    ws->file = nullptr;   // the packer gives the sheet its file
}

void write_setup(lxw_worksheet* ws, const SheetSetup& s, const std::string& name) {
    if (s.freeze_rows > 0 || s.freeze_cols > 0)
        worksheet_freeze_panes(ws, static_cast<lxw_row_t>(s.freeze_rows), static_cast<lxw_col_t>(s.freeze_cols));
    if (s.filter) {
        const Area& a = s.filter_area;
        check(worksheet_autofilter(ws, static_cast<lxw_row_t>(a.first_row - 1), static_cast<lxw_col_t>(a.first_col),
                                   static_cast<lxw_row_t>(a.last_row - 1), static_cast<lxw_col_t>(a.last_col)),
              "filter of sheet \"" + name + "\"");
    }
    if (s.landscape) worksheet_set_landscape(ws);
    if (s.fit_to_page_width) worksheet_fit_to_pages(ws, 1, 0);
    if (s.repeat_rows > 0)
        check(worksheet_repeat_rows(ws, 0, static_cast<lxw_row_t>(s.repeat_rows - 1)),
              "print titles of sheet \"" + name + "\"");
    if (!s.footer.empty())
        check(worksheet_set_footer(ws, s.footer.c_str()), "footer of sheet \"" + name + "\"");
}

lxw_worksheet* write_sheet(lxw_workbook* wb, const Sheet& sh, const Workbook::Impl& impl, FormatTable& formats,
                           const std::vector<bool>& need_escape) {
    lxw_worksheet* ws = workbook_add_worksheet(wb, sh.name.c_str());
    if (!ws) throw std::runtime_error("cannot add sheet \"" + sh.name + "\"");
    const bool escaping = sheet_needs_escape(sh, need_escape);
    if (escaping) use_normal_mode(ws);
    for (size_t c = 0; c < sh.widths.size(); ++c)
        if (sh.widths[c] >= 0)
            check(worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), sh.widths[c], nullptr),
                  "column width of sheet \"" + sh.name + "\"");

    std::vector<Area> merges = sh.merges;
    std::sort(merges.begin(), merges.end(), [](const Area& a, const Area& b) { return a.first_row < b.first_row; });
    size_t next_merge = 0;

    for (size_t ri = 0; ri < sh.rows.size(); ++ri) {
        const auto row = static_cast<int32_t>(ri + 1);
        const auto xrow = static_cast<lxw_row_t>(ri);
        // Record the merged areas that start on this row before the row is
        // written: with an empty text and no format the call only records
        // the area, so every cell keeps the format written below.
        for (; next_merge < merges.size() && merges[next_merge].first_row == row; ++next_merge) {
            const Area& m = merges[next_merge];
            check(worksheet_merge_range(ws, xrow, static_cast<lxw_col_t>(m.first_col), static_cast<lxw_row_t>(m.last_row - 1),
                                        static_cast<lxw_col_t>(m.last_col), "", nullptr),
                  "merged cells on sheet \"" + sh.name + "\"");
        }
        const auto& cells = sh.rows[ri];
        for (size_t c = 0; c < cells.size(); ++c) {
            const Cell& cell = cells[c];
            if (!cell.has_content()) continue;
            lxw_format* f = formats.get(cell.style);
            const auto col = static_cast<lxw_col_t>(c);
            const bool hidden = (cell.flags & kInMerge) && !(cell.flags & kMergeAnchor);
            lxw_error err = LXW_NO_ERROR;
            if (cell.kind == CellKind::Number && !hidden) {
                err = worksheet_write_number(ws, xrow, col, cell.number(), f);
            } else if (cell.kind == CellKind::Text && !hidden) {
                const std::string& text = impl.texts[cell.text_id()];
                err = escaping && need_escape[cell.text_id()]
                          ? worksheet_write_string(ws, xrow, col, escape_underscores(text).c_str(), f)
                          : worksheet_write_string(ws, xrow, col, text.c_str(), f);
            } else if (f) {
                err = worksheet_write_blank(ws, xrow, col, f);
            }
            if (err != LXW_NO_ERROR)
                throw std::runtime_error("cell " + column_letter(static_cast<int>(c)) + std::to_string(row) +
                                      " of sheet \"" + sh.name + "\": " + lxw_strerror(err));
        }
    }
    write_setup(ws, sh.setup, sh.name);
    return ws;
}

void set_properties(lxw_workbook* wb, const DocumentProperties& p) {
    std::string title = p.title, subject = p.subject, comments = p.comments;
    lxw_doc_properties props{};
    if (!title.empty()) props.title = title.data();
    if (!subject.empty()) props.subject = subject.data();
    if (!comments.empty()) props.comments = comments.data();
    props.created = std::chrono::system_clock::to_time_t(p.created);
    check(workbook_set_properties(wb, &props), "document properties");
}

// libxlsxwriter 1.1.4 (Debian's, unpatched) leaves open the constant-memory
// file of a sheet without data, and those of a workbook freed without being
// closed: closed here, so that a test process runs out of nothing.
void close_empty_sheet_files(const std::vector<lxw_worksheet*>& sheets) {
    for (lxw_worksheet* ws : sheets)
        if (ws->optimize_tmpfile && ws->dim_rowmin == LXW_ROW_MAX) {
            std::fclose(ws->optimize_tmpfile);
            ws->optimize_tmpfile = nullptr;
        }
}

struct LxwWorkbook {
    lxw_workbook* wb = nullptr;
    std::vector<lxw_worksheet*> sheets;
    ~LxwWorkbook() {
        if (!wb) return;
        for (lxw_worksheet* ws : sheets)
            if (ws->optimize_tmpfile) std::fclose(ws->optimize_tmpfile);
        lxw_workbook_free(wb);
    }
};

}  // namespace

void write_reference(const Workbook& book, const fs::path& file) {
    const Workbook::Impl& impl = book.storage();
    if (impl.sheets.empty()) throw std::runtime_error("the workbook has no sheets");
    std::string tmpdir = file.parent_path().empty() ? std::string(".") : file.parent_path().string();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tmpdir.data();
    LxwWorkbook lxw;
    lxw.wb = workbook_new_opt(file.string().c_str(), &options);
    if (!lxw.wb) throw std::runtime_error("cannot start the workbook writer");
    set_properties(lxw.wb, impl.properties);
    FormatTable formats(lxw.wb, impl.styles);
    const std::vector<bool> need_escape = texts_needing_escape(impl.texts);
    for (size_t i = 0; i < impl.sheets.size(); ++i) {
        lxw.sheets.push_back(write_sheet(lxw.wb, *impl.sheets[i], impl, formats, need_escape));
        if (static_cast<int>(i) == impl.active) worksheet_activate(lxw.sheets.back());
    }
    close_empty_sheet_files(lxw.sheets);
    lxw_workbook* wb = lxw.wb;
    lxw.wb = nullptr;   // workbook_close frees it, whatever happens
    check(workbook_close(wb), "closing the workbook");
}

}  // namespace tb::test
