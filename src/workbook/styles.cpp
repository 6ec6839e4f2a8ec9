// The colour palette, and cell styles: each distinct style is kept once and
// cells hold its id, so a style edit on a block is an id lookup per cell.
#include "workbook/workbook.h"
#include "workbook/workbook_internal.h"

#include <functional>

namespace tb::wb {

namespace {

constexpr std::array<int32_t, 56> kDefaultPalette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};

void hash_mix(size_t& h, size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); }

// The edits that can change the width of a cell's displayed text.
bool changes_text_width(StyleOp op) { return op == OpBold || op == OpSize || op == OpNumberFormat; }

}  // namespace

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

void Workbook::Impl::apply_style(Sheet& sh, int c1, int32_t r1, int c2, int32_t r2, StyleOp op, int32_t value) {
    const bool resizes = changes_text_width(op);
    uint32_t last_from = UINT32_MAX, last_to = 0;
    for (int32_t r = r1; r <= r2; ++r) {
        Cell* cells = sh.row_span(r, c1, c2);
        for (int c = 0; c <= c2 - c1; ++c) {
            Cell& cell = cells[c];
            if (cell.style != last_from) {
                last_from = cell.style;
                last_to = transition(cell.style, op, value);
            }
            if (resizes && cell.style != last_to) {
                cell.style = last_to;
                sh.fit_changed(c1 + c, r, cell);
            }
            cell.style = last_to;
        }
    }
}

}  // namespace tb::wb
