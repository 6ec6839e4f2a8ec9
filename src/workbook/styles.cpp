// Cell styles: each distinct style is kept once and cells hold its id, so a
// style edit on a block is an id lookup per cell.
#include "workbook/workbook.h"
#include "workbook/workbook_internal.h"

#include <functional>

namespace tb::wb {

namespace {

void hash_mix(size_t& h, size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); }

// The edits that can change the width of a cell's displayed text.
bool changes_text_width(StyleOp op) { return op == OpBold || op == OpSize || op == OpNumberFormat; }

}  // namespace

size_t StyleHash::operator()(const Style& s) const {
    size_t h = std::hash<std::string>{}(s.number_format);
    for (const BorderEdge* e : {&s.top, &s.bottom, &s.left, &s.right}) {
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
    if (op < OpFill) {
        BorderEdge& e = edge(op / 2);
        if (op % 2 == OpEdgeWeight) e.weight = static_cast<LineWeight>(value);
        else e.color = value;
    } else {
        switch (op) {
            case OpFill: s.fill = value; break;
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
