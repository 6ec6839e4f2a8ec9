// Storage of the in-memory workbook, shared by the operations and the
// writer. Not for use outside src/workbook.
#pragma once

#include "workbook/workbook.h"

#include <bit>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tb::wb {

inline constexpr double kMaxColumnWidth = 255.0;
inline constexpr std::size_t kMaxTextLength = 32767;

// Pixel width of text in Calibri (Carlito metrics) at `size` points, 96 dpi.
int text_pixels(std::string_view text, bool bold, int size);

enum class CellKind : uint8_t { Empty, Number, Text };
enum CellFlag : uint8_t { kInMerge = 1, kMergeAnchor = 2 };

// 16 bytes: a number or a text-pool index, a style id, kind and merge flags.
struct Cell {
    uint64_t payload = 0;
    uint32_t style = 0;
    CellKind kind = CellKind::Empty;
    uint8_t flags = 0;

    double number() const { return std::bit_cast<double>(payload); }
    uint32_t text_id() const { return static_cast<uint32_t>(payload); }
    void set_number(double v) { payload = std::bit_cast<uint64_t>(v); kind = CellKind::Number; }
    void set_text(uint32_t id) { payload = id; kind = CellKind::Text; }
    void clear_value() { payload = 0; kind = CellKind::Empty; }
    bool has_content() const { return kind != CellKind::Empty || style != 0; }
};
static_assert(sizeof(Cell) == 16);

struct Sheet {
    std::string name;
    std::vector<std::vector<Cell>> rows;   // rows[r - 1]; each as wide as its last touched column
    std::vector<MergeArea> merges;
    std::vector<double> widths;            // < 0: default width
    SheetSetup setup;

    const Cell* find(int col, int32_t row) const {
        if (row < 1 || static_cast<size_t>(row) > rows.size()) return nullptr;
        const auto& cells = rows[static_cast<size_t>(row) - 1];
        if (col < 0 || static_cast<size_t>(col) >= cells.size()) return nullptr;
        return &cells[static_cast<size_t>(col)];
    }
    // Cells [c1, c2] of a row, created on demand.
    Cell* row_span(int32_t row, int c1, int c2) {
        if (rows.size() < static_cast<size_t>(row)) rows.resize(static_cast<size_t>(row));
        auto& cells = rows[static_cast<size_t>(row) - 1];
        const auto need = static_cast<size_t>(c2) + 1;
        if (cells.size() < need) {
            // Rows are written left to right a few cells at a time; reserve
            // a sheet's usual width at once instead of doubling.
            if (cells.capacity() < need) cells.reserve(std::max<size_t>(need, 32));
            cells.resize(need);
        }
        return cells.data() + c1;
    }
};

struct StyleHash {
    size_t operator()(const Style& s) const;
};

// Style edits as small codes, so that "style id + edit" -> "style id" can be
// cached: most puts repeat the same edit on the same styles.
enum StyleOp : uint8_t {
    OpEdgeLineStyle = 0,   // + edge * 3 (edges: top, bottom, left, right)
    OpEdgeWeight = 1,
    OpEdgeColor = 2,
    OpEdgeClear = 12,      // + edge
    OpFill = 16,
    OpFillNone = 17,
    OpBold = 18,
    OpSize = 19,
    OpNumberFormat = 20,
    OpAlignRight = 21,
};

struct Workbook::Impl {
    std::vector<std::unique_ptr<Sheet>> sheets;
    int active = -1;
    int next_default_name = 1;
    DocumentProperties properties;

    std::vector<std::string> texts;
    std::unordered_map<std::string, uint32_t> text_ids;
    std::vector<Style> styles;
    std::unordered_map<Style, uint32_t, StyleHash> style_ids;
    std::unordered_map<uint64_t, uint32_t> transitions;
    std::vector<std::string> formats;
    std::unordered_map<std::string, uint32_t> format_ids;

    Impl();
    Sheet& active_sheet();
    const Sheet* find_sheet(std::string_view name) const;
    int sheet_index(std::string_view name) const;
    uint32_t intern_text(std::string_view text);
    uint32_t intern_style(const Style& s);
    uint32_t intern_format(std::string_view f);
    uint32_t transition(uint32_t from, StyleOp op, int32_t value);
    void apply_style(int c1, int32_t r1, int c2, int32_t r2, StyleOp op, int32_t value);
    std::string displayed(const Sheet& sh, const Cell& c) const;
    void autofit(int col);
    void merge(int c1, int32_t r1, int c2, int32_t r2);
};

}  // namespace tb::wb
