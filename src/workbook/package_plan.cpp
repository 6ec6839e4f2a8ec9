// The plan of the package: what the parts need to know of the whole
// workbook before any of them can be written. A cell's format index counts
// formats in the order cells first use them across all sheets, and the
// shared-string table counts texts the same way, so both are settled here,
// after one pass over every sheet.
#include "workbook/package.h"

#include "workbook/xml_text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>

namespace tb::wb::package {

namespace {

int digits(uint64_t v) {
    int n = 1;
    while (v >= 10) v /= 10, ++n;
    return n;
}

int column_letters(std::size_t col) { return col < 26 ? 1 : col < 702 ? 2 : 3; }

// About as many characters as the number's text: exact for whole numbers,
// a typical 17 for the rest.
int number_chars(double v) {
    const double a = std::fabs(v);
    if (a < 1e15 && v == std::floor(v)) return digits(static_cast<uint64_t>(a)) + (v < 0 ? 1 : 0);
    return 17;
}

uint8_t line_code(const BorderEdge& e) {
    if (!e.present()) return 0;
    switch (e.weight) {
        case LineWeight::Medium: return 2;
        case LineWeight::Thick: return 5;
        case LineWeight::Hair: return 7;
        default: return 1;   // thin
    }
}

XfFormat::Edge edge(const BorderEdge& e) {
    XfFormat::Edge out;
    out.line = line_code(e);
    if (out.line != 0) out.color = e.color;
    return out;
}

struct XfHash {
    size_t operator()(const XfFormat& f) const {
        size_t h = std::hash<std::string>{}(f.number_format);
        auto mix = [&h](uint64_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
        mix(f.bold);
        mix(static_cast<uint64_t>(f.font_size));
        mix(f.align_right);
        mix(static_cast<uint32_t>(f.fill));
        for (const XfFormat::Edge* e : {&f.left, &f.right, &f.top, &f.bottom})
            mix((uint64_t{e->line} << 32) | static_cast<uint32_t>(e->color));
        return h;
    }
};

bool needs_quotes(std::string_view name) {
    for (char c : name) {
        const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alnum && c != '_' && c != '.') return true;
    }
    return false;
}

// A sheet name as formulas write it: in single quotes, doubled inside, when
// it holds anything but ASCII letters, digits, '_' and '.'.
std::string quoted_name(const std::string& name) {
    if (!needs_quotes(name)) return name;
    std::string q = "'";
    for (char c : name) {
        q += c;
        if (c == '\'') q += '\'';
    }
    return q + "'";
}

std::string ascii_lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string absolute_block(int c1, int32_t r1, int c2, int32_t r2) {
    ByteBuffer b;
    xml::append_range(b, c1, r1, c2, r2, true);
    return std::string(b.view());
}

// Filter blocks and print titles, ordered as the reference orders its
// defined names: by the name without its "_xlnm." prefix, then by the
// lower-case "Sheet!Name" app.xml lists.
std::vector<DefinedName> defined_names(const Workbook::Impl& book, const std::vector<std::string>& quoted) {
    std::vector<DefinedName> names;
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        const SheetSetup& s = book.sheets[i]->setup;
        const std::string& q = quoted[i];
        const int index = static_cast<int>(i);
        if (s.filter) {
            const Area& a = s.filter_area;
            names.push_back({"_xlnm._FilterDatabase", index, true, q + "!" + absolute_block(a.first_col, a.first_row, a.last_col, a.last_row),
                             q + "!_FilterDatabase"});
        }
        if (s.repeat_rows > 0)
            names.push_back({"_xlnm.Print_Titles", index, false, q + "!$1:$" + std::to_string(s.repeat_rows),
                             q + "!Print_Titles"});
    }
    auto key = [](const DefinedName& n) { return std::pair(ascii_lower(n.name.substr(6)), ascii_lower(n.app_name)); };
    std::stable_sort(names.begin(), names.end(), [&](const DefinedName& a, const DefinedName& b) {
        const auto ka = key(a), kb = key(b);
        const int by_name = std::strcmp(ka.first.c_str(), kb.first.c_str());
        if (by_name != 0) return by_name < 0;
        return std::strcmp(ka.second.c_str(), kb.second.c_str()) < 0;
    });
    return names;
}

}  // namespace

XfFormat xf_format(const Style& s) {
    XfFormat f;
    f.bold = s.bold;
    f.font_size = s.font_size;
    f.number_format = s.number_format;
    f.align_right = s.align_right;
    f.fill = s.fill;
    f.left = edge(s.left);
    f.right = edge(s.right);
    f.top = edge(s.top);
    f.bottom = edge(s.bottom);
    return f;
}

void Extent::add(int c, int32_t r) {
    if (!any) {
        any = true;
        c1 = c2 = c;
        r1 = r2 = r;
        return;
    }
    c1 = std::min(c1, c);
    c2 = std::max(c2, c);
    r1 = std::min(r1, r);
    r2 = std::max(r2, r);
}

Plan::Plan(const Workbook::Impl& impl)
    : book(impl),
      text_flags(std::make_unique<std::atomic<uint8_t>[]>(impl.texts.size())),
      sheets(impl.sheets.size()),
      created(impl.properties.created) {
    if (created == std::chrono::system_clock::time_point{}) created = std::chrono::system_clock::now();
}

bool scan_sheet(const Plan& plan, std::size_t index, SheetFacts& f, const std::atomic<bool>& stop) {
    const Sheet& sh = *plan.book.sheets[index];
    std::vector<uint8_t> seen(plan.book.styles.size(), 0);
    uint64_t bytes = 0;
    for (std::size_t ri = 0; ri < sh.rows.size(); ++ri) {
        if ((ri & 255) == 0 && stop.load(std::memory_order_relaxed)) return false;
        const auto& cells = sh.rows[ri];
        const auto row = static_cast<int32_t>(ri + 1);
        const int row_digits = digits(static_cast<uint64_t>(row));
        uint64_t written = 0;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const Cell& cell = cells[c];
            if (!cell.has_content()) continue;
            // Covered cells of a merged area show no value; a style they keep.
            const bool covered = (cell.flags & kInMerge) && !(cell.flags & kMergeAnchor);
            uint64_t b = 7 + static_cast<uint64_t>(column_letters(c) + row_digits);
            if (cell.kind == CellKind::Number && !covered) {
                b += 12 + static_cast<uint64_t>(number_chars(cell.number()));
            } else if (cell.kind == CellKind::Text && !covered) {
                const uint32_t id = cell.text_id();
                uint8_t flags = plan.text_flags[id].load(std::memory_order_relaxed);
                if (flags == 0) {
                    flags = xml::text_flags(plan.book.texts[id]);
                    plan.text_flags[id].store(flags, std::memory_order_relaxed);
                }
                if (flags & xml::kTextLooksEscaped) f.shared_strings = true;
                b += 34 + plan.book.texts[id].size();
            } else if (cell.style != 0) {
                b += 2;
            } else {
                continue;
            }
            if (cell.style != 0) {
                b += 8;
                if (!seen[cell.style]) {
                    seen[cell.style] = 1;
                    f.first_styles.push_back(cell.style);
                }
            }
            bytes += b;
            ++written;
            f.extent.add(static_cast<int>(c), row);
        }
        if (written) bytes += 16 + static_cast<uint64_t>(row_digits);
        f.cell_count += written;
    }
    for (const Area& m : sh.merges) f.extent.add(m.last_col, m.last_row);
    if (sh.setup.filter) f.extent.add(sh.setup.filter_area.last_col, sh.setup.filter_area.last_row);
    f.estimated_bytes = bytes + 700 + 50 * sh.widths.size() + 30 * sh.merges.size() + sh.setup.footer.size();
    return true;
}

void settle_formats_and_names(Plan& plan) {
    const Workbook::Impl& book = plan.book;
    plan.xf_of_style.assign(book.styles.size(), 0);
    plan.xfs.assign(1, XfFormat{});
    std::unordered_map<XfFormat, uint32_t, XfHash> index{{XfFormat{}, 0}};
    std::vector<uint8_t> done(book.styles.size(), 0);
    for (const SheetFacts& f : plan.sheets)
        for (uint32_t id : f.first_styles) {
            if (done[id]) continue;
            done[id] = 1;
            XfFormat xf = xf_format(book.styles[id]);
            auto [it, added] = index.emplace(xf, static_cast<uint32_t>(plan.xfs.size()));
            if (added) plan.xfs.push_back(std::move(xf));
            plan.xf_of_style[id] = it->second;
        }
    plan.style_attrs.assign(book.styles.size(), std::string());
    for (std::size_t id = 0; id < book.styles.size(); ++id)
        if (plan.xf_of_style[id] != 0) plan.style_attrs[id] = " s=\"" + std::to_string(plan.xf_of_style[id]) + "\"";
    plan.quoted_names.clear();
    for (const auto& sheet : book.sheets) plan.quoted_names.push_back(quoted_name(sheet->name));
    plan.names = defined_names(book, plan.quoted_names);
}

bool build_shared_strings(Plan& plan, const std::atomic<bool>& stop) {
    plan.shared_index.assign(plan.book.texts.size(), kNotShared);
    for (std::size_t i = 0; i < plan.sheets.size(); ++i) {
        if (!plan.sheets[i].shared_strings) continue;
        const Sheet& sh = *plan.book.sheets[i];
        for (std::size_t ri = 0; ri < sh.rows.size(); ++ri) {
            if ((ri & 255) == 0 && stop.load(std::memory_order_relaxed)) return false;
            for (const Cell& cell : sh.rows[ri]) {
                if (cell.kind != CellKind::Text || ((cell.flags & kInMerge) && !(cell.flags & kMergeAnchor))) continue;
                uint32_t& at = plan.shared_index[cell.text_id()];
                if (at == kNotShared) {
                    at = static_cast<uint32_t>(plan.shared_texts.size());
                    plan.shared_texts.push_back(cell.text_id());
                }
                ++plan.shared_count;
            }
        }
    }
    return true;
}

}  // namespace tb::wb::package
