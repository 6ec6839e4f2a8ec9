// An in-memory workbook with the spreadsheet operations of a macro-driven
// spreadsheet (add and name sheets, activate, delete, put values and styles
// on ranges, borders, merges, column AutoFit), saved as an .xlsx file.
//
//     tb::wb::Workbook book;
//     book.SheetsAdd();                       // "Sheet1", active
//     book.NameActiveSheet("Summary");
//     book.range("A1").Value("Name");
//     book.range("B1").Value(0.3);
//     book.range("B1").NumberFormat("#.000"); // shows ".300"
//     book.range("A1:B1").FontBold(true);
//     book.range("A1:B1").Borders(tb::wb::xlEdgeBottom).Weight(tb::wb::xlMedium);
//     book.range("A:B").ColumnsAutoFit();
//     if (book.save("out.xlsx", &monitor) == tb::wb::SaveOutcome::Cancelled) { ... }
//
// Ranges are addressed as a spreadsheet user writes them: "A12", "A12:E12",
// or whole columns "A:A". Rows are 1-based, columns 0-based (A = 0) wherever
// they are numbers. Sheet names are matched without regard to ASCII case.
//
// Errors: every misuse (a bad address, a missing sheet, a value a cell
// cannot hold, ...) throws WorkbookError, whose what() is one line in plain
// words naming the offending input; the workbook is left as it was before
// the call. A failed or cancelled save is told apart by its own contract
// (see Workbook::save). Functions marked "Throws: nothing" report no error.
// Memory exhaustion surfaces as std::bad_alloc.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tb::wb {

// Constants of the spreadsheet object model, as its macros give them.
inline constexpr int xlEdgeTop = -4160;
inline constexpr int xlEdgeBottom = -4107;
inline constexpr int xlEdgeLeft = -4131;
inline constexpr int xlEdgeRight = -4152;
inline constexpr int xlEdgeTopOfRange = 8;   // top edge of the range's top row only
inline constexpr int xlContinuous = 1;       // LineStyle
inline constexpr int xlMedium = -4138;       // Weight
inline constexpr int xlThin = 2;             // Weight
inline constexpr int xlRed = 255;            // Color (BGR 0x0000FF = pure red)
inline constexpr int xlRight = -4152;        // HorizontalAlignment

inline constexpr int32_t kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;

// The column letters "A".."Z", "AA".."AE" (the first 31 columns).
extern const std::array<std::string, 31> Letters;

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

// Style of one cell. Colours are RGB (0xRRGGBB); -1 means none / automatic.
struct BorderEdge {
    int line_style = 0;   // 0 none, else xlContinuous
    int weight = 0;       // 0 none set, xlThin or xlMedium (1 hairline, 4 thick)
    int32_t color = -1;   // RGB, -1 automatic
    // Whether the edge is drawn: any property set draws a line (thin unless
    // a weight says otherwise).
    bool present() const { return line_style != 0 || weight != 0 || color != -1; }
    bool operator==(const BorderEdge&) const = default;
};

struct Style {
    BorderEdge top, bottom, left, right;
    int32_t fill = -1;             // RGB solid fill, -1 none
    bool bold = false;
    int font_size = 11;            // points, Calibri
    std::string number_format;     // "" = General
    bool align_right = false;
    bool operator==(const Style&) const = default;
};

// RGB of entry `color_index` (1..56) of the default colour palette, as
// Interior.ColorIndex takes it: 19 -> 0xFFFFCC.
// Throws: "colour index <n> is not in the palette (1..56)".
int32_t palette_rgb(int color_index);

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
    std::optional<std::string> number_format{};   // "#.000", ...; "" General
    std::optional<bool> align_right{};
};

// The edges of a cell that a line goes along.
enum Edges : uint8_t { kTopEdge = 1, kBottomEdge = 2, kLeftEdge = 4, kRightEdge = 8, kAllEdges = 15 };

// A border line: its weight and, when given, its colour (RGB); without a
// colour an edge keeps the colour it has (automatic at first).
enum class LineWeight : uint8_t { Hair, Thin, Medium, Thick };
struct Line {
    LineWeight weight = LineWeight::Medium;
    std::optional<int32_t> color{};
};

// What a cell holds.
struct CellValue {
    enum class Kind : uint8_t { Empty, Number, Text } kind = Kind::Empty;
    double number = 0;   // when Number
    std::string text;    // when Text: UTF-8
};

class Workbook;

// One edge of a range's borders, from Range::Borders. Each put changes only
// its own property of that edge, on the sheet active at the time of the put.
class Border {
public:
    // xlContinuous draws the edge; -4142 (none) clears every property of it.
    // Throws: "border line style <n> is not supported" for any other value;
    // "the workbook has no active sheet".
    void LineStyle(int style);
    // xlThin, xlMedium, 1 (hairline) or 4 (thick).
    // Throws: "border weight <n> is not supported"; "the workbook has no
    // active sheet".
    void Weight(int weight);
    // A colour as BGR (0x00BBGGRR), e.g. xlRed; kept as RGB.
    // Throws: "border colour <n> is not a BGR value" outside 0..0xFFFFFF;
    // "the workbook has no active sheet".
    void Color(int bgr);
private:
    friend class Range;
    Border(Workbook& wb, int c1, int32_t r1, int c2, int32_t r2, int edge)
        : wb_(wb), c1_(c1), r1_(r1), c2_(c2), r2_(r2), edge_(edge) {}
    Workbook& wb_;
    int c1_; int32_t r1_; int c2_; int32_t r2_; int edge_;
};

// A block of cells, from Workbook::range, cell or block. It names cells, not
// a sheet: each operation applies to the sheet active at that moment.
// Every operation but ColumnsAutoFit and Select needs a block of cells and
// throws "<operation> on whole columns is not supported" on a range such as
// "A:C"; every one but Select throws "the workbook has no active sheet" when
// there is none. Cells come into being as they are first touched.
class Range {
public:
    // Puts text in every cell. Text stays text, even "123". Bytes that are
    // not well-formed UTF-8 are taken as Latin-1 characters. An empty text
    // empties the cells (their style stays).
    // Throws: "a text of <n> characters is longer than a cell holds (32767)".
    void Value(std::string_view text);
    void Value(const char* text) { Value(std::string_view(text)); }
    // Puts a number in every cell (-0 is kept as 0).
    // Throws: "a cell cannot hold a number that is not finite".
    void Value(double number);
    void Value(int64_t number) { Value(static_cast<double>(number)); }
    void Value(int32_t number) { Value(static_cast<double>(number)); }

    // One edge of the range's cells: xlEdgeTop, xlEdgeBottom, xlEdgeLeft,
    // xlEdgeRight apply to that side of every cell of the range;
    // xlEdgeTopOfRange to the top of the range's first row only.
    // Throws: "border edge <n> is not supported" for any other value.
    Border Borders(int edge);
    // Solid fill from the default palette (1..56, see palette_rgb); -4142
    // (none) removes the fill.
    // Throws: "colour index <n> is not in the palette (1..56)".
    void InteriorColorIndex(int index);
    void FontBold(bool bold);
    // Throws: "font size <n> is not 1 to 409".
    void FontSize(int size);
    // A number format such as "#.000"; "General" or "" for General. Numbers
    // display through it (see format_number); texts are not affected.
    // Throws: "number format longer than 255 characters".
    void NumberFormat(std::string_view format);
    // xlRight, or 1 (general) / -4131 (left), which both undo xlRight.
    // Throws: "horizontal alignment <n> is not supported".
    void HorizontalAlignment(int alignment);
    // Merges the range into one area. Only the first cell's value is kept;
    // every cell keeps its style. Merged areas it overlaps are taken into
    // it whole (the result is their bounding block, grown until it overlaps
    // no other area). A single cell that overlaps no area is left alone.
    void Merge();
    // Selection has no meaning without a window. Throws: nothing.
    void Select() {}
    // Columns(address).AutoFit: sets the width of every column of the range
    // (all its rows, whatever rows the range names) from the cells as they
    // are at this moment: the widest displayed text among the column's
    // non-empty cells outside merged areas, measured in its cell's font
    // (see autofit_width); the default width when there is no such cell.
    // A later change does not refit the column. Repeated fits cost only the
    // cells changed since the previous fit of the same column.
    // Throws: "the workbook has no active sheet".
    void ColumnsAutoFit();

private:
    friend class Workbook;
    Range(Workbook& wb, int c1, int32_t r1, int c2, int32_t r2)
        : wb_(wb), c1_(c1), r1_(r1), c2_(c2), r2_(r2) {}
    Workbook& wb_;
    int c1_; int32_t r1_; int c2_; int32_t r2_;  // r = 0 on both: whole columns
};

// A block of a sheet: columns c1..c2 (0-based), rows r1..r2 (1-based).
struct MergeArea {
    int c1; int32_t r1; int c2; int32_t r2;
    bool operator==(const MergeArea&) const = default;
};

// How a sheet is shown and printed; none of it changes a cell.
struct SheetSetup {
    // Rows above and columns left of the split stay in view when scrolling.
    int32_t freeze_rows = 0;
    int freeze_cols = 0;
    // Filter buttons over the top row of this block (a reader can sort and
    // filter by any column); none when `filter` is false.
    bool filter = false;
    MergeArea filter_area{0, 0, 0, 0};
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
    // Asked every 2048 rows and once more right before the new file
    // replaces the old one: true stops the save, the old file stays.
    virtual bool cancelled() const { return false; }
    // Rows written so far of all rows. When all are written the file is
    // packed, which reports nothing until the save ends.
    virtual void progress(int64_t rows_done, int64_t rows_total) { (void)rows_done; (void)rows_total; }
};

enum class SaveOutcome { Saved, Cancelled };

// The file a save to `path` writes: `path` itself, or, when `path` is a
// symbolic link, the file the chain of links ends at (the link stays a link).
// A link that cannot be read, or a chain of more than 40, ends the search
// where it is. Throws: nothing.
std::filesystem::path save_target(const std::filesystem::path& path);

// A system error number in plain words ("permission denied", "the disk is
// full", "the name is too long", ...; the system's text for others).
// Throws: nothing.
std::string error_reason(int err);

class Workbook {
public:
    // An empty workbook: no sheets, none active. Throws: nothing.
    Workbook();
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    // --- sheets by id -------------------------------------------------------
    // Adds an empty sheet at the right end, or right after `after`.
    // Throws: the name errors of NameActiveSheet; "no such sheet" for an
    // `after` that is gone.
    SheetId add_sheet(std::string_view name);
    SheetId add_sheet_after(SheetId after, std::string_view name);
    // Removes a sheet with its cells. Throws: "no such sheet".
    void remove_sheet(SheetId sheet);
    // The sheet of a name, in any ASCII letter case. Throws: nothing.
    std::optional<SheetId> find_sheet(std::string_view name) const;
    // Throws: "no such sheet".
    const std::string& sheet_name(SheetId sheet) const;
    // The sheets left to right. Throws: nothing.
    std::vector<SheetId> sheets() const;
    // The tab shown when the file is opened (the first sheet until this is
    // called). Throws: "no such sheet".
    void show_on_opening(SheetId sheet);
    // Throws: "no such sheet", and the setup errors of SetSheetSetup.
    void set_setup(SheetId sheet, const SheetSetup& setup);
    const SheetSetup& setup(SheetId sheet) const;

    // --- cells by sheet id ---------------------------------------------------
    // Every call names its sheet. Cells come into being as they are first
    // touched. Throws: "no such sheet"; the row and column errors of cell();
    // a text longer than a cell holds; a number that is not finite.
    void put(SheetId sheet, int col, int32_t row, std::string_view text);
    void put(SheetId sheet, int col, int32_t row, const char* text) { put(sheet, col, row, std::string_view(text)); }
    void put(SheetId sheet, int col, int32_t row, double number);
    void put(SheetId sheet, int col, int32_t row, int64_t number) { put(sheet, col, row, static_cast<double>(number)); }
    void put(SheetId sheet, int col, int32_t row, int32_t number) { put(sheet, col, row, static_cast<double>(number)); }
    // Gives every cell of the area the properties `style` sets.
    // Throws: "font size <n> is not 1 to 409"; "number format longer than
    // 255 characters".
    void apply(SheetId sheet, const Area& area, const CellStyle& style);
    // Draws `line` along the chosen edges of every cell of the area (so a
    // left edge on a row of cells draws a line left of each of them).
    void draw(SheetId sheet, const Area& area, uint8_t edges, const Line& line);
    // All four edges of every cell of the area.
    void box(SheetId sheet, const Area& area, const Line& line) { draw(sheet, area, kAllEdges, line); }
    // Merges the area (see Range::Merge).
    void merge(SheetId sheet, const Area& area);
    // Fits the width of columns first..last to their cells as they are now
    // (see Range::ColumnsAutoFit).
    void autofit(SheetId sheet, int first_col, int last_col);
    // Reading back by id (see the name-based readers below).
    CellValue value(SheetId sheet, int col, int32_t row) const;
    int32_t last_row(SheetId sheet) const;

    // --- sheets -----------------------------------------------------------
    // Sheets.Add: a new, empty sheet goes before the active sheet (first when
    // there is none) and becomes active. Its name is "Sheet<n>", n counting
    // up over the workbook's life and skipping names in use. Throws: nothing.
    void SheetsAdd();
    // Sheets.Add with After:=Sheets(name): the new sheet goes right after
    // `name` and becomes active.
    // Throws: "no sheet named \"<name>\"".
    void SheetsAddAfter(std::string_view name);
    // Sheets(index).Name put on the active sheet.
    // Throws: "the workbook has no active sheet"; "sheet name \"<name>\"
    // must have 1 to 31 characters"; "sheet name \"<name>\" holds a character
    // a sheet name cannot have" (one of : \ / ? * [ ], or ' first or last);
    // "a sheet named \"<name>\" already exists" (another sheet, any case).
    void NameActiveSheet(std::string_view name);
    // Worksheets(name).Activate.
    // Throws: "no sheet named \"<name>\"".
    void Activate(std::string_view name);
    // Sheets(name).Select + SelectedSheets.Delete. As in the spreadsheet
    // application, the sheet to its right (or, for the last one, to its
    // left) becomes active; deleting the last sheet leaves none active.
    // Throws: "no sheet named \"<name>\"".
    void Delete(std::string_view name);
    // Throws: nothing.
    bool HasSheet(std::string_view name) const;
    // How sheet `name` is shown and printed.
    // Throws: "no sheet named \"<name>\""; "a sheet setup of \"<name>\" is
    // beyond the sheet" (a negative or too large freeze or repeat count);
    // for a filter, the row and column errors of block() and "a filter block
    // must run from top left to bottom right"; "a footer holds at most 255
    // characters".
    void SetSheetSetup(std::string_view name, const SheetSetup& setup);
    // The setup of sheet `name`, the default when it is missing. Throws: nothing.
    SheetSetup sheet_setup(std::string_view name) const;
    // Throws: nothing.
    void SetProperties(const DocumentProperties& properties);
    const DocumentProperties& properties() const;
    // Throws: nothing.
    std::vector<std::string> SheetNames() const;   // left to right
    std::string ActiveSheetName() const;           // "" when there is none
    std::size_t SheetCount() const;

    // --- ranges on the active sheet --------------------------------------
    // A range from its address: "A5", "a5", "A5:C5", "C5:A5" (corners in any
    // order), whole columns "A:A", "A:AE".
    // Throws: "bad range address \"<address>\""; "row <n> is beyond the last
    // row of a sheet (1048576)"; "the workbook has no active sheet".
    Range range(std::string_view address);
    // The cell at 0-based `col`, 1-based `row`.
    // Throws: "column <n> does not exist"; "row <n> does not exist" (below
    // 1); "row <n> is beyond the last row of a sheet (1048576)"; "the
    // workbook has no active sheet".
    Range cell(int col, int32_t row);
    // The block with corners (c1, r1) and (c2, r2), in any order. Throws as
    // cell() does.
    Range block(int c1, int32_t r1, int c2, int32_t r2);

    // --- reading back (tests, the live view) -----------------------------
    // None of these throws; a missing sheet or cell reads as an empty one.
    // The value of a cell; an empty CellValue when there is none.
    CellValue value(std::string_view sheet, int col, int32_t row) const;
    // The style of a cell; the default Style when there is none.
    Style style(std::string_view sheet, int col, int32_t row) const;
    // The text the cell displays: a text as it is, a number through its
    // cell's number format (see format_number); "" when empty.
    std::string displayed_text(std::string_view sheet, int col, int32_t row) const;
    // Column width in characters as the last ColumnsAutoFit set it;
    // kDefaultColumnWidth when never fitted or fitted with nothing to show.
    double column_width(std::string_view sheet, int col) const;
    // The merged areas of a sheet, oldest first.
    std::vector<MergeArea> merges(std::string_view sheet) const;
    // Highest row that holds a value or a style (0 when empty).
    int32_t last_row(std::string_view sheet) const;
    // Highest row whose cells hold a value (0 when none).
    int32_t last_value_row(std::string_view sheet) const;
    // Cells with a value or a style, over all sheets.
    std::size_t cell_count() const;

    // --- output -------------------------------------------------------------
    // Writes the workbook as .xlsx: to a temporary file in the target's
    // folder (see save_target), then renamed over the target, which keeps its
    // permission bits. The active sheet is the one shown on opening. A
    // monitor, when given, is told the progress and may cancel.
    // Returns SaveOutcome::Saved, or SaveOutcome::Cancelled when the monitor
    // cancelled: the target is then untouched and no file is left behind.
    // Throws: WorkbookError "cannot save the workbook to <path>: <reason>",
    // with the target untouched and no file left behind. Reasons include
    // "the workbook has no sheets", "no file name", "it is a folder", "it is
    // not a regular file", an error_reason() text (a missing folder, no
    // permission, a full disk, ...) and libxlsxwriter's own error texts.
    SaveOutcome save(const std::filesystem::path& path, SaveMonitor* monitor = nullptr) const;

    static constexpr double kDefaultColumnWidth = 8.43;

    struct Impl;
private:
    friend class Range;
    friend class Border;
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
