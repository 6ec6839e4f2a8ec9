// An in-memory workbook that carries out the spreadsheet operations the
// passes use (add and name sheets, activate, delete, put values and
// formats on ranges, borders, merges, column autofit) and saves the result
// as an .xlsx file.
//
// Ranges are addressed as a spreadsheet user writes them: "A12", "A12:E12",
// or a whole column "A:A". Every range operation applies to the active
// sheet. Rows are 1-based, columns 0-based internally (A = 0).
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

// Constants of the spreadsheet object model that the passes put.
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

// "A".."Z", "AA".."AE": column letters and letter-sheet names.
extern const std::array<std::string, 31> Letters;

// Column letter(s) <-> 0-based index ("A" = 0, "AB" = 27). Throws
// WorkbookError on a malformed letter.
int column_index(std::string_view letters);
std::string column_letter(int index);

class WorkbookError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A rate turned into text with the format "#.000" and read back as a number,
// as the spreadsheet reads typed input: the quotient taken as a decimal of
// 15 significant digits, rounded half away from zero to three decimals.
// (59 earned runs in 240 outs: ERA 6.6375 -> 6.638.)
double format_000_value(double quotient);
// The text "#.000" shows for a value: ".300", "1.000", "-.250", ".000".
std::string format_000_text(double value);

// Style of one cell. Colours are RGB (0xRRGGBB); -1 means none / automatic.
struct BorderEdge {
    int line_style = 0;   // 0 none, else xlContinuous
    int weight = 0;       // 0 none set, xlThin or xlMedium
    int32_t color = -1;   // RGB, -1 automatic
    bool present() const { return line_style != 0 || weight != 0 || color != -1; }
    bool operator==(const BorderEdge&) const = default;
};

struct Style {
    BorderEdge top, bottom, left, right;
    int32_t fill = -1;             // RGB fill colour, -1 none
    bool bold = false;
    int font_size = 11;
    std::string number_format;     // "" = General
    bool align_right = false;
    bool operator==(const Style&) const = default;
};

// Default 56-colour palette entry of an Interior.ColorIndex (1..56) as RGB.
int32_t palette_rgb(int color_index);

// What a cell holds.
struct CellValue {
    enum class Kind : uint8_t { Empty, Number, Text } kind = Kind::Empty;
    double number = 0;
    std::string text;
};

class Workbook;

// One edge of a range's borders: each put changes only its own property.
class Border {
public:
    void LineStyle(int style);   // xlContinuous
    void Weight(int weight);     // xlMedium (or xlThin)
    void Color(int bgr);         // xlRed
private:
    friend class Range;
    Border(Workbook& wb, int c1, int32_t r1, int c2, int32_t r2, int edge)
        : wb_(wb), c1_(c1), r1_(r1), c2_(c2), r2_(r2), edge_(edge) {}
    Workbook& wb_;
    int c1_; int32_t r1_; int c2_; int32_t r2_; int edge_;
};

// A block of cells on the active sheet.
class Range {
public:
    // Value puts. Text stays text (even "123"); an empty text empties the cell.
    void Value(std::string_view text);
    void Value(const char* text) { Value(std::string_view(text)); }
    void Value(double number);
    void Value(int64_t number) { Value(static_cast<double>(number)); }
    void Value(int32_t number) { Value(static_cast<double>(number)); }

    Border Borders(int edge);
    void InteriorColorIndex(int index);     // 19, 20, 36, 37, 38, 39, ...
    void FontBold(bool bold);
    void FontSize(int size);
    void NumberFormat(std::string_view format);
    void HorizontalAlignment(int alignment);  // xlRight
    void Merge();
    void Select() {}                          // no meaning without a window
    // Columns(address).AutoFit: every column of the range, at this moment.
    void ColumnsAutoFit();

private:
    friend class Workbook;
    Range(Workbook& wb, int c1, int32_t r1, int c2, int32_t r2)
        : wb_(wb), c1_(c1), r1_(r1), c2_(c2), r2_(r2) {}
    Workbook& wb_;
    int c1_; int32_t r1_; int c2_; int32_t r2_;  // r = 0 on both: whole columns
};

struct MergeArea {
    int c1; int32_t r1; int c2; int32_t r2;
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
    std::chrono::system_clock::time_point created{};   // the epoch: the moment of saving
};

// Watches a save: asked whether to stop, told how far it has come.
class SaveMonitor {
public:
    virtual ~SaveMonitor() = default;
    // Asked every few thousand rows and once more right before the new file
    // replaces the old one: true stops the save, the old file stays.
    virtual bool cancelled() const { return false; }
    // Rows written so far of all rows. When all are written the file is
    // packed, which reports nothing until the save ends.
    virtual void progress(int64_t rows_done, int64_t rows_total) { (void)rows_done; (void)rows_total; }
};

enum class SaveOutcome { Saved, Cancelled };

// The file a save to `path` writes: `path` itself, or, when `path` is a
// symbolic link, the file the chain of links ends at (the link stays a link).
std::filesystem::path save_target(const std::filesystem::path& path);

// A system error number in plain words ("permission denied", "the disk is
// full", "the name is too long", ...).
std::string error_reason(int err);

class Workbook {
public:
    Workbook();
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    // --- sheets -----------------------------------------------------------
    // Sheets.Add: a new sheet goes before the active sheet (first when there
    // is none) and becomes active. Its name is "Sheet<n>" until renamed.
    void SheetsAdd();
    // Sheets.Add with After:=Sheets(name): the new sheet goes right after
    // `name` and becomes active. Throws when `name` is missing.
    void SheetsAddAfter(std::string_view name);
    // Sheets(index).Name put on the active sheet. Throws on a duplicate name
    // (case-insensitive) or an empty one.
    void NameActiveSheet(std::string_view name);
    // Worksheets(name).Activate, case-insensitive. Throws when missing.
    void Activate(std::string_view name);
    // Sheets(name).Select + SelectedSheets.Delete. Throws when missing. As
    // in the spreadsheet application, the sheet to its right (or, for the
    // last one, to its left) becomes active.
    void Delete(std::string_view name);
    bool HasSheet(std::string_view name) const;
    // How sheet `name` is shown and printed. Throws when it is missing.
    void SetSheetSetup(std::string_view name, const SheetSetup& setup);
    SheetSetup sheet_setup(std::string_view name) const;   // default when missing
    void SetProperties(const DocumentProperties& properties);
    const DocumentProperties& properties() const;
    std::vector<std::string> SheetNames() const;   // left to right
    std::string ActiveSheetName() const;           // "" when there is none
    std::size_t SheetCount() const;

    // --- ranges on the active sheet --------------------------------------
    // "A5", "a5", "A5:C5", "A:A", "A:AE". Throws WorkbookError on a bad
    // address, when there is no active sheet, or a row beyond kMaxRows.
    Range range(std::string_view address);
    Range cell(int col, int32_t row);                         // 0-based column
    Range block(int c1, int32_t r1, int c2, int32_t r2);

    // --- reading back (tests, the live view) -----------------------------
    // nullopt-like empty CellValue when the sheet or cell does not exist.
    CellValue value(std::string_view sheet, int col, int32_t row) const;
    Style style(std::string_view sheet, int col, int32_t row) const;
    // The text the cell displays through its number format.
    std::string displayed_text(std::string_view sheet, int col, int32_t row) const;
    // Column width in characters (default width when never fitted).
    double column_width(std::string_view sheet, int col) const;
    std::vector<MergeArea> merges(std::string_view sheet) const;
    // Highest row that holds a value or a style (0 when empty).
    int32_t last_row(std::string_view sheet) const;
    // Highest row whose cells hold a value (0 when none).
    int32_t last_value_row(std::string_view sheet) const;
    std::size_t cell_count() const;        // cells with a value or style

    // --- output -------------------------------------------------------------
    // Writes the workbook as .xlsx: to a temporary file in the target's
    // folder (see save_target), then renamed over the target, which keeps its
    // permission bits. An existing target that is not a regular file is
    // refused. On failure or cancel nothing is left behind and an existing
    // target is untouched; a failure throws WorkbookError naming `path` and
    // the reason in one line, a cancel returns SaveOutcome::Cancelled.
    SaveOutcome save(const std::filesystem::path& path, SaveMonitor* monitor = nullptr) const;

    static constexpr double kDefaultColumnWidth = 8.43;

    struct Impl;
private:
    friend class Range;
    friend class Border;
    std::unique_ptr<Impl> impl_;
};

// Displayed text of a number under one of the formats the passes use
// ("" General, "#.000", "##0.00", "0.0", "#0.0"), as the spreadsheet shows it.
std::string format_number(double value, std::string_view number_format);

// Width in characters that AutoFit gives a column whose widest displayed
// text is `text` in Calibri of `size` points, regular or bold.
double autofit_width(std::string_view text, bool bold, int size);

}  // namespace tb::wb
