// An in-memory workbook: sheets handed out by id, cells written one call at
// a time naming their sheet, named cell styles, border lines, merged areas
// and column AutoFit, and the whole saved as an .xlsx file.
//
//     tb::wb::Workbook book;
//     const tb::wb::SheetId sheet = book.add_sheet("Summary");
//     book.put(sheet, 0, 1, "Name");                           // A1
//     book.put(sheet, 1, 1, 0.3);                              // B1
//     book.apply(sheet, tb::wb::Area::cell(1, 1), {.number_format = "#.000"});   // shows ".300"
//     book.draw(sheet, tb::wb::Area::row_span(1, 0, 1), tb::wb::kBottomEdge, {tb::wb::LineWeight::Medium});
//     book.autofit(sheet, 0, 1);
//     if (book.save("out.xlsx", &monitor) == tb::wb::SaveOutcome::Cancelled) { ... }
//
// Rows are 1-based, columns 0-based (A = 0). Sheet names are matched without
// regard to ASCII case. The engine knows spreadsheets, nothing else.
//
// Errors: every misuse (a missing sheet, a cell beyond a sheet, a value a
// cell cannot hold, ...) throws WorkbookError, whose what() is one line in
// plain words naming the offending input; the workbook is left as it was
// before the call. A failed or cancelled save is told apart by its own
// contract (see Workbook::save). Functions marked "Throws: nothing" report
// no error. Memory exhaustion surfaces as std::bad_alloc.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_ops.h"

#include <functional>

namespace tb::wb {

inline constexpr int32_t kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;

// The one exception type of the engine.
class WorkbookError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// 0-based index of column letters, in either case: "A" -> 0, "ab" -> 27,
// "XFD" -> 16383.
// Throws: "bad column letters \"<letters>\"" when empty, longer than three or
// not all letters; "column \"<letters>\" is beyond the last column".
int column_index(std::string_view letters);

// Upper-case letters of a 0-based column index: 27 -> "AB".
// Throws: "column <index> does not exist" outside 0..kMaxColumns-1.
std::string column_letter(int index);

// A sheet of a workbook, as Workbook hands it out. An id stays with its
// sheet whatever is added or removed around it, and is never reused.
struct SheetId {
    uint32_t value = UINT32_MAX;
    bool operator==(const SheetId&) const = default;
};

// A block of cells: columns first_col..last_col (0-based), rows
// first_row..last_row (1-based).
struct Area {
    int first_col = 0;
    int32_t first_row = 1;
    int last_col = 0;
    int32_t last_row = 1;
    // One cell, and a stretch of one row.
    static Area cell(int col, int32_t row) { return {col, row, col, row}; }
    static Area row_span(int32_t row, int first_col, int last_col) { return {first_col, row, last_col, row}; }
    bool operator==(const Area&) const = default;
};

// How a cell looks, as far as a named style sets it: every property left
// unset keeps what the cell has. Applying two styles one after the other
// gives the cell the properties of both, the later one winning.
struct CellStyle {
    std::optional<bool> bold{};
    std::optional<int> font_size{};               // points, 1..409
    std::optional<int32_t> fill{};                // RGB solid fill
    std::optional<std::string> number_format{};   // "#.000", ...; "" or "General" for General
    std::optional<bool> align_right{};
};

// The edges of a cell that a line goes along.
enum Edges : uint8_t { kTopEdge = 1, kBottomEdge = 2, kLeftEdge = 4, kRightEdge = 8, kAllEdges = 15 };

// A border line: its weight and, when given, its colour (RGB); without a
// colour an edge keeps the colour it has (automatic at first).
enum class LineWeight : uint8_t { None, Hair, Thin, Medium, Thick };
struct Line {
    LineWeight weight = LineWeight::Medium;
    std::optional<int32_t> color{};
};

// One edge of a cell as it stands.
struct BorderEdge {
    LineWeight weight = LineWeight::None;
    int32_t color = -1;   // RGB, -1 automatic
    bool present() const { return weight != LineWeight::None; }
    bool operator==(const BorderEdge&) const = default;
};

// Everything a cell's look holds.
struct Style {
    BorderEdge top, bottom, left, right;
    int32_t fill = -1;             // RGB solid fill, -1 none
    bool bold = false;
    int font_size = 11;            // points, Calibri
    std::string number_format;     // "" = General
    bool align_right = false;
    bool operator==(const Style&) const = default;
};

// What a cell holds.
struct CellValue {
    enum class Kind : uint8_t { Empty, Number, Text } kind = Kind::Empty;
    double number = 0;   // when Number
    std::string text;    // when Text: UTF-8
};

// How a sheet is shown and printed; none of it changes a cell.
struct SheetSetup {
    // Rows above and columns left of the split stay in view when scrolling.
    int32_t freeze_rows = 0;
    int freeze_cols = 0;
    // Filter buttons over the top row of this block (a reader can sort and
    // filter by any column); none when `filter` is false.
    bool filter = false;
    Area filter_area{0, 0, 0, 0};
    bool landscape = false;
    bool fit_to_page_width = false;   // one page wide, as many pages tall as needed
    int32_t repeat_rows = 0;          // rows 1..n printed at the top of every page
    std::string footer;               // with the codes &A (sheet name), &P (page), &N (pages)
    bool operator==(const SheetSetup&) const = default;
};

// Properties of the workbook file (shown by the spreadsheet application).
struct DocumentProperties {
    std::string title;
    std::string subject;
    std::string comments;   // docProps/core.xml's description
    std::chrono::system_clock::time_point created{};   // the epoch: the moment of saving
};

// Watches a save: asked whether to stop, told how far it has come. Both are
// called on the thread that saves.
class SaveMonitor {
public:
    virtual ~SaveMonitor() = default;
    // Asked at least every 50 ms while the save runs, and once more right
    // before the new file replaces the old one: true stops the save within
    // a fraction of a second, and the old file stays.
    virtual bool cancelled() const { return false; }
    // Bytes of the package's XML made and compressed so far, of all of
    // them (estimated once the save has looked at every sheet, and fixed
    // from then on). `done` never goes back, and equals `total` only once
    // the new file is in place.
    virtual void progress(int64_t done, int64_t total) { (void)done; (void)total; }
};

// How a save is carried out. The defaults suit every caller; tests and the
// benchmark choose.
struct SaveOptions {
    // The file operations the save goes through (platform/file_ops.h);
    // nullptr: the system's.
    platform::FileOps* files = nullptr;
    // Threads that make and compress the parts; 0: $TALLYBOOK_SAVE_THREADS
    // when it is set, else the machine's cores.
    int threads = 0;
    // Bytes the parts in flight may hold at once; 0: as much as keeps the
    // process within the peak memory it has already reached (at least 32
    // MiB). Fewer parts run side by side, or a large one is made in pieces,
    // to stay within it.
    std::size_t memory_budget = 0;
    // Zip64 records even where the file does not need them (tests).
    bool force_zip64 = false;
    // Called right before the last look at the target and the rename
    // (tests: a moment to change the folder under the save).
    std::function<void()> before_replace = {};
};

// Where a save goes when its caller has found and checked the place
// beforehand: the target's folder, opened then, the file's name in it, and
// what that name was at the time (nothing, or a regular file). Right before
// the new file takes the name, the save looks again: when the name stands
// for anything else by then, the save fails and writes nothing.
struct SaveDestination {
    platform::Folder* folder = nullptr;
    std::filesystem::path name;
    std::optional<platform::EntryFacts> expected;
    std::filesystem::path shown;   // the path errors name
};

enum class SaveOutcome { Saved, Cancelled };

// The file a save to `path` writes: `path` itself, or, when `path` is a
// symbolic link, the file the chain of links ends at (the link stays a
// link); nullopt when the chain is longer than the system follows (40
// links; a loop never ends). A link that cannot be read ends the chain
// where it is. Throws: nothing.
std::optional<std::filesystem::path> save_target(const std::filesystem::path& path);

// Whether the file of `size` bytes that `read(offset, count)` reads is a
// workbook: a zip archive whose directory lists "xl/workbook.xml" (zip64
// too). `read` returns fewer bytes at the file's end, and may throw; this
// reads only the end of the file and its directory. Throws what `read`
// throws.
bool looks_like_workbook(const std::function<std::string(uint64_t offset, std::size_t count)>& read, uint64_t size);

// A system error number in plain words ("permission denied", "the disk is
// full", "the name is too long", ...; the system's text for others).
// Throws: nothing.
std::string error_reason(int err);

class Workbook {
public:
    // An empty workbook: no sheets. Throws: nothing.
    Workbook();
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    // --- sheets ---------------------------------------------------------------
    // Adds an empty sheet at the right end, or right after `after`.
    // Throws: "sheet name \"<name>\" must have 1 to 31 characters"; "sheet
    // name \"<name>\" holds a character a sheet name cannot have" (one of
    // : \ / ? * [ ], or ' first or last); "a sheet named \"<name>\" already
    // exists" (in any case); "no such sheet" for an `after` that is gone.
    SheetId add_sheet(std::string_view name);
    SheetId add_sheet_after(SheetId after, std::string_view name);
    // Removes a sheet with its cells. Throws: "no such sheet".
    void remove_sheet(SheetId sheet);
    // The sheet of a name, in any ASCII letter case. Throws: nothing.
    std::optional<SheetId> find_sheet(std::string_view name) const;
    // Throws: "no such sheet".
    const std::string& sheet_name(SheetId sheet) const;
    // The sheets left to right, and their names. Throws: nothing.
    std::vector<SheetId> sheets() const;
    std::vector<std::string> sheet_names() const;
    // The tab shown when the file is opened (the first sheet until this is
    // called), and its name ("" without sheets). Throws: "no such sheet".
    void show_on_opening(SheetId sheet);
    std::string shown_sheet_name() const;
    // How a sheet is shown and printed.
    // Throws: "no such sheet"; "a sheet setup of \"<name>\" is beyond the
    // sheet" (a negative or too large freeze or repeat count); for a filter,
    // the row and column errors of put() and "an area must run from top
    // left to bottom right"; "a footer holds at most 255 characters".
    void set_setup(SheetId sheet, const SheetSetup& setup);
    const SheetSetup& setup(SheetId sheet) const;
    // Throws: nothing.
    void set_properties(const DocumentProperties& properties);
    const DocumentProperties& properties() const;

    // --- cells ------------------------------------------------------------------
    // Every call names its sheet; cells come into being as they are first
    // touched. Every call throws "no such sheet", "column <n> does not
    // exist", "row <n> does not exist" (below 1) and "row <n> is beyond the
    // last row of a sheet (1048576)"; an area also "an area must run from
    // top left to bottom right".
    //
    // A text stays text, even "123"; bytes that are not well-formed UTF-8
    // are taken as Latin-1 characters; an empty text empties the cell (its
    // style stays). Throws also: "a text of <n> characters is longer than a
    // cell holds (32767)".
    void put(SheetId sheet, int col, int32_t row, std::string_view text);
    void put(SheetId sheet, int col, int32_t row, const char* text) { put(sheet, col, row, std::string_view(text)); }
    // A number (-0 is kept as 0). Throws also: "a cell cannot hold a number
    // that is not finite".
    void put(SheetId sheet, int col, int32_t row, double number);
    void put(SheetId sheet, int col, int32_t row, int64_t number) { put(sheet, col, row, static_cast<double>(number)); }
    void put(SheetId sheet, int col, int32_t row, int32_t number) { put(sheet, col, row, static_cast<double>(number)); }
    // Gives every cell of the area the properties `style` sets.
    // Throws also: "font size <n> is not 1 to 409"; "number format longer
    // than 255 characters".
    void apply(SheetId sheet, const Area& area, const CellStyle& style);
    // Draws `line` along the chosen edges of every cell of the area (so a
    // left edge on a row of cells draws a line left of each of them).
    // Throws also: "border colour <n> is not an RGB value".
    void draw(SheetId sheet, const Area& area, uint8_t edges, const Line& line);
    // All four edges of every cell of the area.
    void box(SheetId sheet, const Area& area, const Line& line) { draw(sheet, area, kAllEdges, line); }
    // Merges the area into one: only the first cell's value is kept; every
    // cell keeps its style. Merged areas it overlaps are taken into it whole
    // (the result is their bounding block, grown until it overlaps no other
    // area). A single cell that overlaps no area is left alone.
    void merge(SheetId sheet, const Area& area);
    // Sets the width of columns first..last from their cells as they are
    // now: the widest displayed text among a column's non-empty cells
    // outside merged areas, measured in its cell's font (see autofit_width);
    // the default width when there is none. A later change does not refit
    // the column. Repeated fits cost only the cells changed since the
    // previous fit of the same column.
    void autofit(SheetId sheet, int first_col, int last_col);

    // --- reading back (tests, the live view) -----------------------------
    // None of these throws; a missing sheet or cell reads as an empty one.
    CellValue value(std::string_view sheet, int col, int32_t row) const;
    CellValue value(SheetId sheet, int col, int32_t row) const;
    // The style of a cell; the default Style when there is none.
    Style style(std::string_view sheet, int col, int32_t row) const;
    // The text the cell displays: a text as it is, a number through its
    // cell's number format (see format_number); "" when empty.
    std::string displayed_text(std::string_view sheet, int col, int32_t row) const;
    // Column width in characters as the last autofit set it;
    // kDefaultColumnWidth when never fitted or fitted with nothing to show.
    double column_width(std::string_view sheet, int col) const;
    // The merged areas of a sheet, oldest first.
    std::vector<Area> merges(std::string_view sheet) const;
    // Highest row that holds a value or a style (0 when empty).
    int32_t last_row(std::string_view sheet) const;
    int32_t last_row(SheetId sheet) const;
    // Cells with a value or a style, over all sheets.
    std::size_t cell_count() const;

    // --- output -------------------------------------------------------------
    // Writes the workbook as .xlsx: to a temporary file in the target's
    // folder (see save_target), flushed to the disk, then renamed over the
    // target, which keeps its permission bits. The sheet set by
    // show_on_opening is the one shown on opening. A monitor, when given,
    // is told the progress and may cancel.
    // Returns SaveOutcome::Saved, or SaveOutcome::Cancelled when the monitor
    // cancelled: the target is then untouched and no file is left behind.
    // Throws: WorkbookError "cannot save the workbook to <path>: <reason>",
    // with the target untouched and no file left behind. Reasons include
    // "the workbook has no sheets", "no file name", "it is a folder", "it is
    // not a regular file" and the system's reason in plain words (a missing
    // folder, no permission, a full disk, ...; see error_reason).
    SaveOutcome save(const std::filesystem::path& path, SaveMonitor* monitor = nullptr) const;
    // The same, carried out as `options` says.
    SaveOutcome save(const std::filesystem::path& path, SaveMonitor* monitor, const SaveOptions& options) const;
    // The same into a destination found and checked beforehand; errors name
    // `destination.shown`, and also "it changed during the run" when the
    // name stands for another file (or for one where there was none) right
    // before the rename.
    SaveOutcome save(const SaveDestination& destination, SaveMonitor* monitor, const SaveOptions& options) const;

    static constexpr double kDefaultColumnWidth = 8.43;

    struct Impl;
    // The storage, for the engine's own writers and the tests' reference
    // writer (workbook_internal.h). Throws: nothing.
    const Impl& storage() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

// Displayed text of a number under a format: a fixed-point format of '#'
// and '0' digits, then optionally '.' and '0' decimals ("#.000", "##0.00",
// "0.0", "#0.0"), rounded half away from zero on 15 significant digits; "",
// "General" and any other format show General (integers as they are, other
// numbers in at most 11 characters, very large or small ones as "1E+12").
// Throws: nothing.
std::string format_number(double value, std::string_view number_format);

// Width in characters that AutoFit gives a column whose widest displayed
// text is `text` in Calibri of `size` points, regular or bold: the text's
// pixel width at 96 dpi, plus 5, over 7, at most 255; kDefaultColumnWidth for
// an empty text. Bytes that are not UTF-8 are measured as a cell would hold
// them (Latin-1); characters outside U+0020..U+00FF count as wide as a digit.
// Throws: nothing.
double autofit_width(std::string_view text, bool bold, int size);

}  // namespace tb::wb
