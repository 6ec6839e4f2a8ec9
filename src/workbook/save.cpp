// Writing the workbook as .xlsx through libxlsxwriter, in constant-memory
// mode (rows strictly in order), to a temporary file that is renamed over
// the target only when complete.
#include "workbook/workbook.h"
#include "workbook/workbook_internal.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <system_error>
#include <unistd.h>

namespace tb::wb {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(const fs::path& path, const std::string& reason) {
    throw WorkbookError("cannot save the workbook to " + path.string() + ": " + reason);
}

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
    if (err != LXW_NO_ERROR) fail(path, where + ": " + lxw_strerror(err));
}

void write_sheet(lxw_workbook* wb, const Sheet& sh, const Workbook::Impl& impl, FormatTable& formats,
                 const fs::path& path) {
    lxw_worksheet* ws = workbook_add_worksheet(wb, sh.name.c_str());
    if (!ws) fail(path, "cannot add sheet \"" + sh.name + "\" (temporary storage unavailable?)");
    for (size_t c = 0; c < sh.widths.size(); ++c)
        if (sh.widths[c] >= 0)
            check(worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), sh.widths[c], nullptr),
                  path, "column width of sheet \"" + sh.name + "\"");

    std::vector<MergeArea> merges = sh.merges;
    std::sort(merges.begin(), merges.end(), [](const MergeArea& a, const MergeArea& b) { return a.r1 < b.r1; });
    size_t next_merge = 0;

    for (size_t ri = 0; ri < sh.rows.size(); ++ri) {
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
                err = worksheet_write_string(ws, xrow, col, impl.texts[cell.text_id()].c_str(), f);
            } else if (f) {
                err = worksheet_write_blank(ws, xrow, col, f);
            }
            if (err != LXW_NO_ERROR)
                fail(path, "cell " + column_letter(static_cast<int>(c)) + std::to_string(row) + " of sheet \"" +
                               sh.name + "\": " + lxw_strerror(err));
        }
    }
    for (; next_merge < merges.size(); ++next_merge) {   // areas on rows with no cells (cannot happen)
        const MergeArea& m = merges[next_merge];
        check(worksheet_merge_range(ws, static_cast<lxw_row_t>(m.r1 - 1), static_cast<lxw_col_t>(m.c1),
                                    static_cast<lxw_row_t>(m.r2 - 1), static_cast<lxw_col_t>(m.c2), "", nullptr),
              path, "merged cells on sheet \"" + sh.name + "\"");
    }
}

// Reserves a fresh name beside the target, so that the rename stays on one
// file system.
fs::path reserve_temp(const fs::path& target) {
    const fs::path dir = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = ".";
        name += target.filename().string();
        name += '.';
        name += std::to_string(::getpid());
        name += '-';
        name += std::to_string(rd() % 1000000);
        name += ".tmp";
        const fs::path tmp = dir / name;
        const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return tmp;
        }
        if (errno != EEXIST) fail(target, std::strerror(errno));
    }
    fail(target, "no free temporary file name in " + dir.string());
}

struct TempFile {
    fs::path path;
    bool keep = false;
    ~TempFile() {
        if (!keep) {
            std::error_code ec;
            fs::remove(path, ec);
        }
    }
};

struct LxwWorkbook {
    lxw_workbook* wb = nullptr;
    ~LxwWorkbook() {
        if (wb) lxw_workbook_free(wb);
    }
};

}  // namespace

void Workbook::save(const std::filesystem::path& path) const {
    if (impl_->sheets.empty()) fail(path, "the workbook has no sheets");
    if (path.filename().empty()) fail(path, "no file name");
    std::error_code ec;
    if (fs::is_directory(path, ec)) fail(path, "it is a directory");

    TempFile tmp{reserve_temp(path)};
    const fs::path dir = tmp.path.parent_path();
    std::string tmpdir = dir.string();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tmpdir.data();

    LxwWorkbook lxw;
    lxw.wb = workbook_new_opt(tmp.path.c_str(), &options);
    if (!lxw.wb) fail(path, "cannot start the workbook writer");

    FormatTable formats(lxw.wb, impl_->styles);
    lxw_worksheet* active = nullptr;
    for (size_t i = 0; i < impl_->sheets.size(); ++i) {
        write_sheet(lxw.wb, *impl_->sheets[i], *impl_, formats, path);
        if (static_cast<int>(i) == impl_->active) active = workbook_get_worksheet_by_name(lxw.wb, impl_->sheets[i]->name.c_str());
    }
    if (active) worksheet_activate(active);

    const lxw_error err = workbook_close(lxw.wb);   // frees the workbook
    lxw.wb = nullptr;
    if (err != LXW_NO_ERROR) {
        const int saved = errno;
        fail(path, std::string(lxw_strerror(err)) + (saved ? std::string(" (") + std::strerror(saved) + ")" : ""));
    }
    fs::rename(tmp.path, path, ec);
    if (ec) fail(path, ec.message());
    tmp.keep = true;
}

}  // namespace tb::wb
