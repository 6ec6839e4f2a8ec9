// Storage of the in-memory workbook, shared by the operations and the
// writer. Not for use outside src/workbook.
#pragma once

#include "platform/file_ops.h"
#include "workbook/workbook.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tb::wb {

inline constexpr double kMaxColumnWidth = 255.0;
inline constexpr std::size_t kMaxTextLength = 32767;

// --- addresses (addresses.cpp) ---------------------------------------------
// Throw WorkbookError when a row or column is outside a sheet.
void check_row(int32_t row);
void check_col(int col);
// Throws WorkbookError when an area leaves the sheet or runs backwards.
void check_area(const Area& area);

// --- text widths (autofit.cpp) ----------------------------------------------
// Pixel width of UTF-8 text in Calibri (Carlito metrics) at `size` points,
// 96 dpi.
int text_pixels(std::string_view text, bool bold, int size);

// --- cells and sheets -------------------------------------------------------
enum class CellKind : uint8_t { Empty, Number, Text };
enum CellFlag : uint8_t {
    kInMerge = 1,
    kMergeAnchor = 2,
    kFitPending = 4,   // queued in its column's ColumnFit::pending
};

inline constexpr uint16_t kNoFit = 0xFFFF;

// 16 bytes: a number or a text-pool index, a style id, kind and flags, and
// the pixel width the cell gives its column's AutoFit (in what would
// otherwise be padding).
struct Cell {
    uint64_t payload = 0;
    uint32_t style = 0;
    CellKind kind = CellKind::Empty;
    uint8_t flags = 0;
    // Meaningful only in a column that has been fitted: the width counted
    // for this cell in the column's histogram, kNoFit when none is.
    uint16_t fit_px = kNoFit;

    double number() const { return std::bit_cast<double>(payload); }
    uint32_t text_id() const { return static_cast<uint32_t>(payload); }
    void set_number(double v) { payload = std::bit_cast<uint64_t>(v); kind = CellKind::Number; }
    void set_text(uint32_t id) { payload = id; kind = CellKind::Text; }
    void clear_value() { payload = 0; kind = CellKind::Empty; }
    bool has_content() const { return kind != CellKind::Empty || style != 0; }
};
static_assert(sizeof(Cell) == 16);

// A column that has been fitted once keeps what it takes to fit it again at
// the cost of the cells changed since: the same columns are fitted after
// every few rows written, and a rescan of every cell each time made large
// workbooks quadratic.
struct ColumnFit {
    // per_px[px]: cells of the column whose displayed text is px pixels
    // wide. Trimmed to its last non-zero entry at each fit.
    std::vector<uint32_t> per_px;
    // Rows whose cell changed since the last fit, each once (kFitPending).
    std::vector<int32_t> pending;
};

struct Sheet {
    SheetId id;
    std::string name;
    std::vector<std::vector<Cell>> rows;   // rows[r - 1]; each as wide as its last touched column
    std::vector<Area> merges;
    std::vector<double> widths;            // < 0: default width
    std::vector<std::unique_ptr<ColumnFit>> fits;   // by column; null until first fitted
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
    // To be called after anything that can change the width a cell gives
    // its column (value, bold, size, number format, merging). Costs nothing
    // in a column that has never been fitted.
    void fit_changed(int col, int32_t row, Cell& cell) {
        if (static_cast<size_t>(col) < fits.size() && fits[static_cast<size_t>(col)])
            queue_fit(*fits[static_cast<size_t>(col)], row, cell);
    }
    static void queue_fit(ColumnFit& fit, int32_t row, Cell& cell);
};

// --- styles (styles.cpp) ----------------------------------------------------
struct StyleHash {
    size_t operator()(const Style& s) const;
};

// Style edits as small codes, so that "style id + edit" -> "style id" can be
// cached: most puts repeat the same edit on the same styles.
enum StyleOp : uint8_t {
    OpEdgeWeight = 0,      // + edge * 2 (edges: top, bottom, left, right)
    OpEdgeColor = 1,
    OpFill = 8,
    OpBold = 9,
    OpSize = 10,
    OpNumberFormat = 11,
    OpAlignRight = 12,
};

// --- the workbook -------------------------------------------------------------
struct Workbook::Impl {
    std::vector<std::unique_ptr<Sheet>> sheets;   // left to right
    std::vector<Sheet*> by_id;                     // SheetId.value -> sheet; null once removed
    int active = -1;                               // index of the sheet shown on opening
    DocumentProperties properties;

    std::vector<std::string> texts;
    std::unordered_map<std::string, uint32_t> text_ids;
    std::vector<Style> styles;
    std::unordered_map<Style, uint32_t, StyleHash> style_ids;
    std::unordered_map<uint64_t, uint32_t> transitions;
    std::vector<std::string> formats;
    std::unordered_map<std::string, uint32_t> format_ids;

    Impl();
    // sheets.cpp
    const Sheet* find_sheet(std::string_view name) const;
    int sheet_index(std::string_view name) const;
    // styles.cpp
    uint32_t intern_style(const Style& s);
    uint32_t intern_format(std::string_view f);
    uint32_t transition(uint32_t from, StyleOp op, int32_t value);
    void apply_style(Sheet& sh, int c1, int32_t r1, int c2, int32_t r2, StyleOp op, int32_t value);
    // cells.cpp
    uint32_t intern_text(std::string_view text);
    void merge(Sheet& sh, int c1, int32_t r1, int c2, int32_t r2);
    void put_text(Sheet& sh, int c1, int32_t r1, int c2, int32_t r2, std::string_view text);
    void put_number(Sheet& sh, int c1, int32_t r1, int c2, int32_t r2, double number);
    // autofit.cpp: columns [c1, c2] of a sheet.
    void autofit(Sheet& sh, int c1, int c2);
    // sheets.cpp: the sheet of an id; throws when it is gone.
    Sheet& sheet_of(SheetId id);
    const Sheet& sheet_of(SheetId id) const;
};

// --- saving (save_file.cpp) ---------------------------------------------------
// Throw WorkbookError "cannot save the workbook to <path>: <reason>".
[[noreturn]] void save_failed(const std::filesystem::path& path, const std::string& reason);

// The new file of a save: made beside the target under a fresh name, so
// that the rename stays on one file system, with the permission bits it
// will keep from the start, and either put in the target's place or removed
// again. Every step throws as save_failed does, naming destination.shown.
class SaveFile {
public:
    explicit SaveFile(const SaveDestination& destination);
    // Removes the new file unless it replaced the target.
    ~SaveFile();
    SaveFile(const SaveFile&) = delete;
    SaveFile& operator=(const SaveFile&) = delete;

    void write(const void* data, std::size_t size);
    // Once all is written: the target's permissions (when it exists), the
    // file flushed to the disk and closed.
    void finish();
    // Renames the file over the target (and asks for the folder's record of
    // that to reach the disk), once the target's name still stands for what
    // it did when the destination was checked.
    void commit();

private:
    [[noreturn]] void failed(const std::exception& e) const;

    const SaveDestination& to_;
    std::filesystem::path name_;
    std::unique_ptr<platform::NewFile> file_;
    bool committed_ = false;
};

}  // namespace tb::wb
