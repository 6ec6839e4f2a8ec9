// The workbook's sheets, cells and styles, and the range operations on them.
#include "workbook/workbook.h"
#include "workbook/workbook_internal.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>

namespace tb::wb {

const std::array<std::string, 31> Letters = {
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O", "P",
    "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z", "AA", "AB", "AC", "AD", "AE"};

namespace {

constexpr std::array<int32_t, 56> kDefaultPalette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};

constexpr int kXlNone = -4142;        // ColorIndex / LineStyle "none"
constexpr int kXlHairline = 1;
constexpr int kXlThick = 4;
constexpr int kXlGeneralAlign = 1;
constexpr int kXlLeftAlign = -4131;

bool iequal(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

void hash_mix(size_t& h, size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); }

// Text as UTF-8: bytes that do not form valid UTF-8 are taken as Latin-1.
std::string as_utf8(std::string_view s) {
    auto valid = [&](size_t i, size_t& len) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) { len = 1; return true; }
        size_t n = b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        len = n;
        return true;
    };
    size_t len = 0;
    bool all_valid = true;
    for (size_t i = 0; i < s.size(); i += len)
        if (!valid(i, len)) { all_valid = false; break; }
    if (all_valid) return std::string(s);
    std::string out;
    for (size_t i = 0; i < s.size();) {
        if (valid(i, len)) {
            out.append(s.substr(i, len));
            i += len;
        } else {
            const auto b = static_cast<unsigned char>(s[i++]);
            out.push_back(static_cast<char>(0xC0 | (b >> 6)));
            out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return out;
}

size_t code_points(std::string_view s) {
    return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

void check_sheet_name(std::string_view name) {
    if (name.empty() || code_points(name) > 31)
        throw WorkbookError("sheet name \"" + std::string(name) + "\" must have 1 to 31 characters");
    if (name.find_first_of(":\\/?*[]") != std::string_view::npos || name.front() == '\'' ||
        name.back() == '\'')
        throw WorkbookError("sheet name \"" + std::string(name) + "\" holds a character a sheet name cannot have");
}

// One "A12" cell reference; row 0 when `allow_column` and only letters.
bool parse_ref(std::string_view s, int& col, int32_t& row) {
    size_t i = 0;
    while (i < s.size() && std::isalpha(static_cast<unsigned char>(s[i]))) ++i;
    if (i == 0 || i > 3) return false;
    try {
        col = column_index(s.substr(0, i));
    } catch (const WorkbookError&) {
        return false;
    }
    row = 0;
    if (i == s.size()) return true;
    int64_t r = 0;
    for (size_t k = i; k < s.size(); ++k) {
        if (!std::isdigit(static_cast<unsigned char>(s[k]))) return false;
        r = r * 10 + (s[k] - '0');
        if (r > int64_t{kMaxRows} + 1) r = int64_t{kMaxRows} + 1;   // reported below
    }
    if (r < 1) return false;
    row = static_cast<int32_t>(std::min<int64_t>(r, INT32_MAX));
    return true;
}

void check_row(int32_t row) {
    if (row > kMaxRows)
        throw WorkbookError("row " + std::to_string(row) + " is beyond the last row of a sheet (" +
                            std::to_string(kMaxRows) + ")");
    if (row < 1) throw WorkbookError("row " + std::to_string(row) + " does not exist");
}

void check_col(int col) {
    if (col < 0 || col >= kMaxColumns)
        throw WorkbookError("column " + std::to_string(col) + " does not exist");
}

}  // namespace

int column_index(std::string_view letters) {
    if (letters.empty() || letters.size() > 3)
        throw WorkbookError("bad column letters \"" + std::string(letters) + "\"");
    int v = 0;
    for (char ch : letters) {
        const int c = std::toupper(static_cast<unsigned char>(ch));
        if (c < 'A' || c > 'Z') throw WorkbookError("bad column letters \"" + std::string(letters) + "\"");
        v = v * 26 + (c - 'A' + 1);
    }
    if (v > kMaxColumns) throw WorkbookError("column \"" + std::string(letters) + "\" is beyond the last column");
    return v - 1;
}

std::string column_letter(int index) {
    check_col(index);
    std::string s;
    for (int v = index + 1; v > 0; v = (v - 1) / 26) s.insert(s.begin(), static_cast<char>('A' + (v - 1) % 26));
    return s;
}

int32_t palette_rgb(int color_index) {
    if (color_index < 1 || color_index > 56)
        throw WorkbookError("colour index " + std::to_string(color_index) + " is not in the palette (1..56)");
    return kDefaultPalette[static_cast<size_t>(color_index) - 1];
}

size_t StyleHash::operator()(const Style& s) const {
    size_t h = std::hash<std::string>{}(s.number_format);
    for (const BorderEdge* e : {&s.top, &s.bottom, &s.left, &s.right}) {
        hash_mix(h, static_cast<size_t>(e->line_style));
        hash_mix(h, static_cast<size_t>(e->weight));
        hash_mix(h, static_cast<size_t>(e->color));
    }
    hash_mix(h, static_cast<size_t>(s.fill));
    hash_mix(h, static_cast<size_t>(s.bold));
    hash_mix(h, static_cast<size_t>(s.font_size));
    hash_mix(h, static_cast<size_t>(s.align_right));
    return h;
}

// --- Impl -----------------------------------------------------------------

Workbook::Impl::Impl() {
    intern_style(Style{});    // id 0: the default style
    intern_format("");        // id 0: General
}

Sheet& Workbook::Impl::active_sheet() {
    if (active < 0) throw WorkbookError("the workbook has no active sheet");
    return *sheets[static_cast<size_t>(active)];
}

int Workbook::Impl::sheet_index(std::string_view name) const {
    for (size_t i = 0; i < sheets.size(); ++i)
        if (iequal(sheets[i]->name, name)) return static_cast<int>(i);
    return -1;
}

const Sheet* Workbook::Impl::find_sheet(std::string_view name) const {
    const int i = sheet_index(name);
    return i < 0 ? nullptr : sheets[static_cast<size_t>(i)].get();
}

uint32_t Workbook::Impl::intern_text(std::string_view text) {
    auto it = text_ids.find(std::string(text));
    if (it != text_ids.end()) return it->second;
    const auto id = static_cast<uint32_t>(texts.size());
    texts.emplace_back(text);
    text_ids.emplace(texts.back(), id);
    return id;
}

uint32_t Workbook::Impl::intern_style(const Style& s) {
    auto it = style_ids.find(s);
    if (it != style_ids.end()) return it->second;
    const auto id = static_cast<uint32_t>(styles.size());
    styles.push_back(s);
    style_ids.emplace(s, id);
    return id;
}

uint32_t Workbook::Impl::intern_format(std::string_view f) {
    auto it = format_ids.find(std::string(f));
    if (it != format_ids.end()) return it->second;
    const auto id = static_cast<uint32_t>(formats.size());
    formats.emplace_back(f);
    format_ids.emplace(formats.back(), id);
    return id;
}

uint32_t Workbook::Impl::transition(uint32_t from, StyleOp op, int32_t value) {
    const uint64_t key = (uint64_t{from} << 32) | (uint64_t{op} << 24) | (static_cast<uint32_t>(value) & 0xFFFFFFu);
    auto it = transitions.find(key);
    if (it != transitions.end()) return it->second;
    Style s = styles[from];
    auto edge = [&](int e) -> BorderEdge& {
        switch (e) {
            case 0: return s.top;
            case 1: return s.bottom;
            case 2: return s.left;
            default: return s.right;
        }
    };
    if (op < OpEdgeClear) {
        BorderEdge& e = edge(op / 3);
        switch (op % 3) {
            case OpEdgeLineStyle: e.line_style = value; break;
            case OpEdgeWeight: e.weight = value; break;
            default: e.color = value; break;
        }
    } else if (op < OpFill) {
        edge(op - OpEdgeClear) = BorderEdge{};
    } else {
        switch (op) {
            case OpFill: s.fill = value; break;
            case OpFillNone: s.fill = -1; break;
            case OpBold: s.bold = value != 0; break;
            case OpSize: s.font_size = value; break;
            case OpNumberFormat: s.number_format = formats[static_cast<size_t>(value)]; break;
            case OpAlignRight: s.align_right = value != 0; break;
            default: break;
        }
    }
    const uint32_t to = intern_style(s);
    transitions.emplace(key, to);
    return to;
}

void Workbook::Impl::apply_style(int c1, int32_t r1, int c2, int32_t r2, StyleOp op, int32_t value) {
    Sheet& sh = active_sheet();
    uint32_t last_from = UINT32_MAX, last_to = 0;
    for (int32_t r = r1; r <= r2; ++r) {
        Cell* cells = sh.row_span(r, c1, c2);
        for (int c = 0; c <= c2 - c1; ++c) {
            Cell& cell = cells[c];
            if (cell.style != last_from) {
                last_from = cell.style;
                last_to = transition(cell.style, op, value);
            }
            cell.style = last_to;
        }
    }
}

std::string Workbook::Impl::displayed(const Sheet&, const Cell& c) const {
    switch (c.kind) {
        case CellKind::Number: return format_number(c.number(), styles[c.style].number_format);
        case CellKind::Text: return texts[c.text_id()];
        default: return {};
    }
}

void Workbook::Impl::autofit(int col) {
    Sheet& sh = active_sheet();
    int best = -1;
    for (const auto& cells : sh.rows) {
        if (static_cast<size_t>(col) >= cells.size()) continue;
        const Cell& c = cells[static_cast<size_t>(col)];
        if (c.kind == CellKind::Empty || (c.flags & kInMerge)) continue;
        const std::string text = displayed(sh, c);
        if (text.empty()) continue;
        const Style& st = styles[c.style];
        best = std::max(best, text_pixels(text, st.bold, st.font_size));
    }
    if (sh.widths.size() <= static_cast<size_t>(col)) sh.widths.resize(static_cast<size_t>(col) + 1, -1.0);
    sh.widths[static_cast<size_t>(col)] = best < 0 ? -1.0 : std::min((best + 5) / 7.0, kMaxColumnWidth);
}

void Workbook::Impl::merge(int c1, int32_t r1, int c2, int32_t r2) {
    Sheet& sh = active_sheet();
    // A merge that overlaps merged areas takes them in whole.
    for (bool grown = true; grown;) {
        grown = false;
        for (auto it = sh.merges.begin(); it != sh.merges.end();) {
            if (it->c1 <= c2 && c1 <= it->c2 && it->r1 <= r2 && r1 <= it->r2) {
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
    if (c1 == c2 && r1 == r2) return;   // one cell: nothing to merge
    for (int32_t r = r1; r <= r2; ++r) {
        Cell* cells = sh.row_span(r, c1, c2);
        for (int c = 0; c <= c2 - c1; ++c) {
            Cell& cell = cells[c];
            cell.flags |= kInMerge;
            // Only the first cell's value survives a merge.
            if (r != r1 || c != 0) cell.clear_value();
        }
    }
    sh.row_span(r1, c1, c1)->flags |= kMergeAnchor;
    sh.merges.push_back(MergeArea{c1, r1, c2, r2});
}

// --- Workbook -------------------------------------------------------------

Workbook::Workbook() : impl_(std::make_unique<Impl>()) {}
Workbook::~Workbook() = default;

void Workbook::SheetsAdd() {
    auto sheet = std::make_unique<Sheet>();
    do {
        sheet->name = "Sheet" + std::to_string(impl_->next_default_name++);
    } while (impl_->sheet_index(sheet->name) >= 0);
    const int at = impl_->active < 0 ? 0 : impl_->active;
    impl_->sheets.insert(impl_->sheets.begin() + at, std::move(sheet));
    impl_->active = at;
}

void Workbook::NameActiveSheet(std::string_view name) {
    Sheet& sh = impl_->active_sheet();
    check_sheet_name(name);
    const int other = impl_->sheet_index(name);
    if (other >= 0 && other != impl_->active)
        throw WorkbookError("a sheet named \"" + std::string(name) + "\" already exists");
    sh.name = std::string(name);
}

void Workbook::Activate(std::string_view name) {
    const int i = impl_->sheet_index(name);
    if (i < 0) throw WorkbookError("no sheet named \"" + std::string(name) + "\"");
    impl_->active = i;
}

void Workbook::Delete(std::string_view name) {
    const int i = impl_->sheet_index(name);
    if (i < 0) throw WorkbookError("no sheet named \"" + std::string(name) + "\"");
    impl_->sheets.erase(impl_->sheets.begin() + i);
    // As in the spreadsheet application: the sheet to the right of the
    // deleted one becomes active, or the one to its left at the end.
    const int n = static_cast<int>(impl_->sheets.size());
    impl_->active = n == 0 ? -1 : std::min(i, n - 1);
}

bool Workbook::HasSheet(std::string_view name) const { return impl_->sheet_index(name) >= 0; }

void Workbook::SetSheetSetup(std::string_view name, const SheetSetup& setup) {
    const int i = impl_->sheet_index(name);
    if (i < 0) throw WorkbookError("no sheet named \"" + std::string(name) + "\"");
    if (setup.freeze_rows < 0 || setup.freeze_rows >= kMaxRows || setup.freeze_cols < 0 ||
        setup.freeze_cols >= kMaxColumns || setup.repeat_rows < 0 || setup.repeat_rows > kMaxRows)
        throw WorkbookError("a sheet setup of \"" + std::string(name) + "\" is beyond the sheet");
    if (setup.filter) {
        const MergeArea& a = setup.filter_area;
        check_col(a.c1);
        check_col(a.c2);
        check_row(a.r1);
        check_row(a.r2);
        if (a.c1 > a.c2 || a.r1 > a.r2) throw WorkbookError("a filter block must run from top left to bottom right");
    }
    if (setup.footer.size() > 255) throw WorkbookError("a footer holds at most 255 characters");
    impl_->sheets[static_cast<size_t>(i)]->setup = setup;
}

SheetSetup Workbook::sheet_setup(std::string_view name) const {
    const Sheet* sh = impl_->find_sheet(name);
    return sh ? sh->setup : SheetSetup{};
}

void Workbook::SetProperties(const DocumentProperties& properties) { impl_->properties = properties; }

const DocumentProperties& Workbook::properties() const { return impl_->properties; }

std::vector<std::string> Workbook::SheetNames() const {
    std::vector<std::string> names;
    for (const auto& s : impl_->sheets) names.push_back(s->name);
    return names;
}

std::string Workbook::ActiveSheetName() const {
    return impl_->active < 0 ? std::string() : impl_->sheets[static_cast<size_t>(impl_->active)]->name;
}

std::size_t Workbook::SheetCount() const { return impl_->sheets.size(); }

Range Workbook::range(std::string_view address) {
    const auto colon = address.find(':');
    int c1 = 0, c2 = 0;
    int32_t r1 = 0, r2 = 0;
    const bool ok = colon == std::string_view::npos
                        ? parse_ref(address, c1, r1) && r1 != 0 && (c2 = c1, r2 = r1, true)
                        : parse_ref(address.substr(0, colon), c1, r1) &&
                              parse_ref(address.substr(colon + 1), c2, r2) && ((r1 == 0) == (r2 == 0));
    if (!ok) throw WorkbookError("bad range address \"" + std::string(address) + "\"");
    if (r1 == 0) {   // whole columns
        impl_->active_sheet();
        return Range(*this, std::min(c1, c2), 0, std::max(c1, c2), 0);
    }
    return block(std::min(c1, c2), std::min(r1, r2), std::max(c1, c2), std::max(r1, r2));
}

Range Workbook::cell(int col, int32_t row) { return block(col, row, col, row); }

Range Workbook::block(int c1, int32_t r1, int c2, int32_t r2) {
    check_col(c1);
    check_col(c2);
    check_row(r1);
    check_row(r2);
    impl_->active_sheet();
    if (c1 > c2) std::swap(c1, c2);
    if (r1 > r2) std::swap(r1, r2);
    return Range(*this, c1, r1, c2, r2);
}

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
    return c ? impl_->displayed(*sh, *c) : std::string();
}

double Workbook::column_width(std::string_view sheet, int col) const {
    const Sheet* sh = impl_->find_sheet(sheet);
    if (!sh || col < 0 || static_cast<size_t>(col) >= sh->widths.size() || sh->widths[static_cast<size_t>(col)] < 0)
        return kDefaultColumnWidth;
    return sh->widths[static_cast<size_t>(col)];
}

std::vector<MergeArea> Workbook::merges(std::string_view sheet) const {
    const Sheet* sh = impl_->find_sheet(sheet);
    return sh ? sh->merges : std::vector<MergeArea>{};
}

int32_t Workbook::last_row(std::string_view sheet) const {
    const Sheet* sh = impl_->find_sheet(sheet);
    if (!sh) return 0;
    for (size_t r = sh->rows.size(); r > 0; --r)
        for (const Cell& c : sh->rows[r - 1])
            if (c.has_content()) return static_cast<int32_t>(r);
    return 0;
}

int32_t Workbook::last_value_row(std::string_view sheet) const {
    const Sheet* sh = impl_->find_sheet(sheet);
    if (!sh) return 0;
    for (size_t r = sh->rows.size(); r > 0; --r)
        for (const Cell& c : sh->rows[r - 1])
            if (c.kind != CellKind::Empty) return static_cast<int32_t>(r);
    return 0;
}

std::size_t Workbook::cell_count() const {
    std::size_t n = 0;
    for (const auto& sh : impl_->sheets)
        for (const auto& row : sh->rows)
            for (const Cell& c : row) n += c.has_content() ? 1 : 0;
    return n;
}

// --- Range and Border -----------------------------------------------------

namespace {
void no_whole_columns(int32_t r1, const char* what) {
    if (r1 == 0) throw WorkbookError(std::string(what) + " on whole columns is not supported");
}
}  // namespace

void Range::Value(std::string_view text) {
    no_whole_columns(r1_, "a value put");
    auto& impl = *wb_.impl_;
    Sheet& sh = impl.active_sheet();
    if (code_points(text) > kMaxTextLength)
        throw WorkbookError("a text of " + std::to_string(code_points(text)) +
                            " characters is longer than a cell holds (32767)");
    const bool empty = text.empty();
    const uint32_t id = empty ? 0 : impl.intern_text(as_utf8(text));
    for (int32_t r = r1_; r <= r2_; ++r) {
        Cell* cells = sh.row_span(r, c1_, c2_);
        for (int c = 0; c <= c2_ - c1_; ++c) {
            if (empty) cells[c].clear_value();
            else cells[c].set_text(id);
        }
    }
}

void Range::Value(double number) {
    no_whole_columns(r1_, "a value put");
    if (!std::isfinite(number)) throw WorkbookError("a cell cannot hold a number that is not finite");
    Sheet& sh = wb_.impl_->active_sheet();
    if (number == 0) number = 0;   // no negative zero
    for (int32_t r = r1_; r <= r2_; ++r) {
        Cell* cells = sh.row_span(r, c1_, c2_);
        for (int c = 0; c <= c2_ - c1_; ++c) cells[c].set_number(number);
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
    if (index == kXlNone) wb_.impl_->apply_style(c1_, r1_, c2_, r2_, OpFillNone, 0);
    else wb_.impl_->apply_style(c1_, r1_, c2_, r2_, OpFill, palette_rgb(index));
}

void Range::FontBold(bool bold) {
    no_whole_columns(r1_, "Font.Bold");
    wb_.impl_->apply_style(c1_, r1_, c2_, r2_, OpBold, bold ? 1 : 0);
}

void Range::FontSize(int size) {
    no_whole_columns(r1_, "Font.Size");
    if (size < 1 || size > 409) throw WorkbookError("font size " + std::to_string(size) + " is not 1 to 409");
    wb_.impl_->apply_style(c1_, r1_, c2_, r2_, OpSize, size);
}

void Range::NumberFormat(std::string_view format) {
    no_whole_columns(r1_, "NumberFormat");
    if (format.size() > 255) throw WorkbookError("number format longer than 255 characters");
    const std::string f = (format == "General") ? std::string() : as_utf8(format);
    const uint32_t id = wb_.impl_->intern_format(f);
    wb_.impl_->apply_style(c1_, r1_, c2_, r2_, OpNumberFormat, static_cast<int32_t>(id));
}

void Range::HorizontalAlignment(int alignment) {
    no_whole_columns(r1_, "HorizontalAlignment");
    if (alignment != xlRight && alignment != kXlGeneralAlign && alignment != kXlLeftAlign)
        throw WorkbookError("horizontal alignment " + std::to_string(alignment) + " is not supported");
    wb_.impl_->apply_style(c1_, r1_, c2_, r2_, OpAlignRight, alignment == xlRight ? 1 : 0);
}

void Range::Merge() {
    no_whole_columns(r1_, "Merge");
    wb_.impl_->merge(c1_, r1_, c2_, r2_);
}

void Range::ColumnsAutoFit() {
    wb_.impl_->active_sheet();
    for (int c = c1_; c <= c2_; ++c) wb_.impl_->autofit(c);
}

namespace {
int edge_slot(int edge) {
    switch (edge) {
        case xlEdgeTop: case xlEdgeTopOfRange: return 0;
        case xlEdgeBottom: return 1;
        case xlEdgeLeft: return 2;
        default: return 3;
    }
}
}  // namespace

void Border::LineStyle(int style) {
    const int32_t r2 = edge_ == xlEdgeTopOfRange ? r1_ : r2_;
    const int slot = edge_slot(edge_);
    if (style == kXlNone) {
        wb_.impl_->apply_style(c1_, r1_, c2_, r2, static_cast<StyleOp>(OpEdgeClear + slot), 0);
        return;
    }
    if (style != xlContinuous) throw WorkbookError("border line style " + std::to_string(style) + " is not supported");
    wb_.impl_->apply_style(c1_, r1_, c2_, r2, static_cast<StyleOp>(slot * 3 + OpEdgeLineStyle), style);
}

void Border::Weight(int weight) {
    if (weight != xlThin && weight != xlMedium && weight != kXlHairline && weight != kXlThick)
        throw WorkbookError("border weight " + std::to_string(weight) + " is not supported");
    const int32_t r2 = edge_ == xlEdgeTopOfRange ? r1_ : r2_;
    wb_.impl_->apply_style(c1_, r1_, c2_, r2, static_cast<StyleOp>(edge_slot(edge_) * 3 + OpEdgeWeight), weight);
}

void Border::Color(int bgr) {
    if (bgr < 0 || bgr > 0xFFFFFF) throw WorkbookError("border colour " + std::to_string(bgr) + " is not a BGR value");
    const int32_t rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    const int32_t r2 = edge_ == xlEdgeTopOfRange ? r1_ : r2_;
    wb_.impl_->apply_style(c1_, r1_, c2_, r2, static_cast<StyleOp>(edge_slot(edge_) * 3 + OpEdgeColor), rgb);
}

}  // namespace tb::wb
