// Writing the workbook as .xlsx through libxlsxwriter, in constant-memory
// mode (rows strictly in order), into a TempFile that replaces the target
// only when complete and not cancelled.
#include "workbook/workbook.h"
#include "workbook/workbook_internal.h"
#include "text/utf8.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <system_error>
#include <unistd.h>

namespace tb::wb {

namespace {

namespace fs = std::filesystem;

// libxlsxwriter prints its own error lines to stderr; the caller gets one
// clear error instead, so they are kept off the terminal while it works.
// Other threads' writes to stderr in that time are lost too, so the quiet
// spell is kept to the library calls.
class QuietStderr {
public:
    QuietStderr() : lock_(mutex()) {
        std::fflush(stderr);
        saved_ = ::dup(2);
#ifdef _WIN32
        const int null = ::open("NUL", O_WRONLY);
#else
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
#endif
        if (saved_ >= 0 && null >= 0) ::dup2(null, 2);
        if (null >= 0) ::close(null);
    }
    ~QuietStderr() {
        std::fflush(stderr);
        if (saved_ >= 0) {
            ::dup2(saved_, 2);
            ::close(saved_);
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    static std::mutex& mutex() {
        static std::mutex m;
        return m;
    }
    std::lock_guard<std::mutex> lock_;
    int saved_ = -1;
};

lxw_color_t lxw_rgb(int32_t rgb) {
    // libxlsxwriter takes 0 as "no colour"; black has its own code.
    return rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK) : static_cast<lxw_color_t>(rgb);
}

uint8_t lxw_border(const BorderEdge& e) {
    if (!e.present()) return LXW_BORDER_NONE;
    switch (e.weight) {
        case xlMedium: return LXW_BORDER_MEDIUM;
        case 4: return LXW_BORDER_THICK;
        case 1: return LXW_BORDER_HAIR;
        default: return LXW_BORDER_THIN;   // line style alone, or colour alone
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

void check(lxw_error err, const fs::path& path, const std::string& where) {
    if (err != LXW_NO_ERROR) save_failed(path, where + ": " + lxw_strerror(err));
}

// Counts rows for the monitor and asks it, every so many rows, whether to stop.
class RowProgress {
public:
    RowProgress(SaveMonitor* monitor, int64_t total) : monitor_(monitor), total_(total) {}
    // False when the save is to stop.
    bool step() {
        ++done_;
        if (!monitor_ || done_ % 2048 != 0) return true;
        monitor_->progress(done_, total_);
        return !monitor_->cancelled();
    }
    void finish() {
        if (monitor_) monitor_->progress(total_, total_);
    }

private:
    SaveMonitor* monitor_;
    int64_t total_;
    int64_t done_ = 0;
};

struct Cancelled {};

// Excel reads "_x0041_" in a cell's text as the escape of "A". A text that
// holds such a sequence keeps its meaning when the underscore that starts it
// is itself escaped ("_x005F_x0041_"); only texts in the shared-string table
// have that escape undone by every reader, and constant-memory mode writes
// texts inline, so a sheet holding such a text is written in libxlsxwriter's
// normal mode (its cells held in memory until the file is packed).
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

void write_setup(lxw_worksheet* ws, const SheetSetup& s, const fs::path& path, const std::string& name) {
    if (s.freeze_rows > 0 || s.freeze_cols > 0)
        worksheet_freeze_panes(ws, static_cast<lxw_row_t>(s.freeze_rows), static_cast<lxw_col_t>(s.freeze_cols));
    if (s.filter) {
        const MergeArea& a = s.filter_area;
        check(worksheet_autofilter(ws, static_cast<lxw_row_t>(a.r1 - 1), static_cast<lxw_col_t>(a.c1),
                                   static_cast<lxw_row_t>(a.r2 - 1), static_cast<lxw_col_t>(a.c2)),
              path, "filter of sheet \"" + name + "\"");
    }
    if (s.landscape) worksheet_set_landscape(ws);
    if (s.fit_to_page_width) worksheet_fit_to_pages(ws, 1, 0);
    if (s.repeat_rows > 0)
        check(worksheet_repeat_rows(ws, 0, static_cast<lxw_row_t>(s.repeat_rows - 1)), path,
              "print titles of sheet \"" + name + "\"");
    if (!s.footer.empty())
        check(worksheet_set_footer(ws, s.footer.c_str()), path, "footer of sheet \"" + name + "\"");
}

lxw_worksheet* write_sheet(lxw_workbook* wb, const Sheet& sh, const Workbook::Impl& impl, FormatTable& formats,
                           const fs::path& path, RowProgress& rows, const std::vector<bool>& need_escape) {
    lxw_worksheet* ws = workbook_add_worksheet(wb, sh.name.c_str());
    if (!ws) save_failed(path, "cannot add sheet \"" + sh.name + "\" (temporary storage unavailable?)");
    const bool escaping = sheet_needs_escape(sh, need_escape);
    if (escaping) use_normal_mode(ws);
    for (size_t c = 0; c < sh.widths.size(); ++c)
        if (sh.widths[c] >= 0)
            check(worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), sh.widths[c], nullptr),
                  path, "column width of sheet \"" + sh.name + "\"");

    std::vector<MergeArea> merges = sh.merges;
    std::sort(merges.begin(), merges.end(), [](const MergeArea& a, const MergeArea& b) { return a.r1 < b.r1; });
    size_t next_merge = 0;

    for (size_t ri = 0; ri < sh.rows.size(); ++ri) {
        if (!rows.step()) throw Cancelled{};
        const auto row = static_cast<int32_t>(ri + 1);
        const auto xrow = static_cast<lxw_row_t>(ri);
        // Record the merged areas that start on this row before the row is
        // written: with an empty text and no format the call only records
        // the area, so every cell keeps the format written below.
        for (; next_merge < merges.size() && merges[next_merge].r1 == row; ++next_merge) {
            const MergeArea& m = merges[next_merge];
            check(worksheet_merge_range(ws, xrow, static_cast<lxw_col_t>(m.c1), static_cast<lxw_row_t>(m.r2 - 1),
                                        static_cast<lxw_col_t>(m.c2), "", nullptr),
                  path, "merged cells on sheet \"" + sh.name + "\"");
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
                save_failed(path, "cell " + column_letter(static_cast<int>(c)) + std::to_string(row) +
                                      " of sheet \"" + sh.name + "\": " + lxw_strerror(err));
        }
    }
    for (; next_merge < merges.size(); ++next_merge) {   // areas on rows with no cells (cannot happen)
        const MergeArea& m = merges[next_merge];
        check(worksheet_merge_range(ws, static_cast<lxw_row_t>(m.r1 - 1), static_cast<lxw_col_t>(m.c1),
                                    static_cast<lxw_row_t>(m.r2 - 1), static_cast<lxw_col_t>(m.c2), "", nullptr),
              path, "merged cells on sheet \"" + sh.name + "\"");
    }
    write_setup(ws, sh.setup, path, sh.name);
    return ws;
}

// Constant-memory mode writes each sheet's rows to a temporary file as they
// come, and libxlsxwriter does not check those writes; a full disk would
// leave a sheet cut short inside a workbook that otherwise looks complete.
void check_sheet_files(const std::vector<lxw_worksheet*>& sheets, const fs::path& path) {
    for (lxw_worksheet* ws : sheets) {
        std::FILE* f = ws->optimize_tmpfile;
        if (!f) continue;
        errno = 0;
        if (std::fflush(f) != 0 || std::ferror(f)) save_failed_errno(path, errno ? errno : EIO);
    }
}

void set_properties(lxw_workbook* wb, const DocumentProperties& p, const fs::path& path) {
    std::string title = p.title, subject = p.subject, comments = p.comments;
    lxw_doc_properties props{};
    if (!title.empty()) props.title = title.data();
    if (!subject.empty()) props.subject = subject.data();
    if (!comments.empty()) props.comments = comments.data();
    props.created = std::chrono::system_clock::to_time_t(p.created);
    check(workbook_set_properties(wb, &props), path, "document properties");
}

struct LxwWorkbook {
    lxw_workbook* wb = nullptr;
    ~LxwWorkbook() {
        if (wb) lxw_workbook_free(wb);
    }
};

}  // namespace

SaveOutcome Workbook::save(const std::filesystem::path& path, SaveMonitor* monitor) const {
    if (impl_->sheets.empty()) save_failed(path, "the workbook has no sheets");
    if (path.filename().empty() || path.filename() == "." || path.filename() == "..") save_failed(path, "no file name");
    const fs::path target = save_target(path);
    std::error_code ec;
    const fs::file_status st = fs::status(target, ec);
    if (fs::is_directory(st)) save_failed(path, "it is a folder");
    if (fs::exists(st) && !fs::is_regular_file(st)) save_failed(path, "it is not a regular file");

    TempFile tmp(target, path);
    const fs::path dir = tmp.path().parent_path();
    std::string tmpdir = text::path_utf8(dir);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tmpdir.data();

    int64_t total_rows = 0;
    for (const auto& sheet : impl_->sheets) total_rows += static_cast<int64_t>(sheet->rows.size());
    RowProgress rows(monitor, total_rows);
    try {
        LxwWorkbook lxw;
        std::vector<lxw_worksheet*> written;
        {
            QuietStderr quiet;
            lxw.wb = workbook_new_opt(text::path_utf8(tmp.path()).c_str(), &options);
            if (!lxw.wb) save_failed(path, "cannot start the workbook writer");
            set_properties(lxw.wb, impl_->properties, path);
            FormatTable formats(lxw.wb, impl_->styles);
            const std::vector<bool> need_escape = texts_needing_escape(impl_->texts);
            for (size_t i = 0; i < impl_->sheets.size(); ++i) {
                written.push_back(
                    write_sheet(lxw.wb, *impl_->sheets[i], *impl_, formats, path, rows, need_escape));
                if (static_cast<int>(i) == impl_->active) worksheet_activate(written.back());
            }
        }
        check_sheet_files(written, path);
        rows.finish();
        lxw_error err;
        int saved_errno;
        {
            QuietStderr quiet;
            errno = 0;
            err = workbook_close(lxw.wb);   // frees the workbook
            saved_errno = errno;
        }
        lxw.wb = nullptr;
        if (err != LXW_NO_ERROR) {
            if (saved_errno) save_failed_errno(path, saved_errno);
            save_failed(path, lxw_strerror(err));
        }
    } catch (const Cancelled&) {
        return SaveOutcome::Cancelled;
    }
    tmp.finish(target, path);
    // The last moment a cancel can still keep the old workbook.
    if (monitor && monitor->cancelled()) return SaveOutcome::Cancelled;
    tmp.commit(target, path);
    return SaveOutcome::Saved;
}

}  // namespace tb::wb
