// The .xlsx package as the save writes it: a plan worked out from the
// workbook's storage (which cell formats there are and their indices, which
// sheets need the shared-string table, each sheet's used block and size),
// and one writer per part, each giving the part's XML byte for byte as the
// reference writer (libxlsxwriter 1.1.4, constant-memory mode) does for the
// same workbook. Not for use outside src/workbook.
#pragma once

#include "workbook/byte_buffer.h"
#include "workbook/workbook_internal.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tb::wb::package {

// One record of the cell formats (an "xf"): a Style as the file can tell
// styles apart. Styles that render alike (a line set by its style alone or
// by its weight "thin") share one.
struct XfFormat {
    struct Edge {
        uint8_t line = 0;     // 0 none, 1 thin, 2 medium, 5 thick, 7 hair (the file's codes)
        int32_t color = -1;   // RGB; -1 automatic
        bool operator==(const Edge&) const = default;
    };
    bool bold = false;
    int font_size = 11;
    std::string number_format;   // "" General
    bool align_right = false;
    int32_t fill = -1;           // RGB solid fill; -1 none
    Edge left, right, top, bottom;
    bool operator==(const XfFormat&) const = default;
};
XfFormat xf_format(const Style& style);

// The block a sheet's <dimension> names, 1-based rows and 0-based columns.
struct Extent {
    bool any = false;
    int32_t r1 = 0, r2 = 0;
    int c1 = 0, c2 = 0;
    void add(int c, int32_t r);
};

// What one pass over a sheet's cells finds.
struct SheetFacts {
    std::vector<uint32_t> first_styles;   // style ids in the order of their first use
    bool shared_strings = false;          // holds a text that reads as an escape
    // What <dimension> names: the cells written, and the last corner of
    // each merged area and of the filter block.
    Extent extent;
    uint64_t cell_count = 0;              // cells written
    uint64_t estimated_bytes = 0;         // of the sheet's XML
};

// A defined name of workbook.xml: a sheet's filter block or print titles.
struct DefinedName {
    std::string name;       // "_xlnm._FilterDatabase", "_xlnm.Print_Titles"
    int sheet = 0;          // 0-based index of its sheet
    bool hidden = false;
    std::string formula;    // "'Sales 2024'!$A$1:$X$130", "Summary!$1:$1"
    std::string app_name;   // "'Sales 2024'!Print_Titles", as app.xml lists it
};

inline constexpr uint32_t kNotShared = UINT32_MAX;

struct Plan {
    explicit Plan(const Workbook::Impl& impl);

    const Workbook::Impl& book;
    // By text id: the xml::TextFlag bits, filled in as cells meet the text
    // (0 until then). Atomic because sheets are scanned side by side.
    std::unique_ptr<std::atomic<uint8_t>[]> text_flags;
    std::vector<SheetFacts> sheets;
    // By style id: the index of its xf record (0 for the default style and
    // styles no cell writes). xfs[0] is the default format.
    std::vector<uint32_t> xf_of_style;
    std::vector<XfFormat> xfs;
    std::vector<std::string> style_attrs;   // by style id: ` s="7"`, or "" for xf 0
    // The shared-string table of the sheets that need one: by text id its
    // index (kNotShared when not in the table), the text ids in table order,
    // and the number of cells that refer to it.
    std::vector<uint32_t> shared_index;
    std::vector<uint32_t> shared_texts;
    uint64_t shared_count = 0;
    std::vector<std::string> quoted_names;   // sheet names as formulas quote them
    std::vector<DefinedName> names;          // in the order workbook.xml lists them
    std::chrono::system_clock::time_point created;   // core.xml's time

    bool has_shared_strings() const { return shared_count > 0; }
    uint8_t flags_of(uint32_t text_id) const { return text_flags[text_id].load(std::memory_order_relaxed); }
};

// --- the plan, in three steps (package_plan.cpp) ---------------------------------
// 1. One pass over a sheet's cells; sheets can be scanned side by side.
//    `stop` is polled between rows; returns false when it was set.
bool scan_sheet(const Plan& plan, std::size_t sheet, SheetFacts& facts, const std::atomic<bool>& stop);
// 2. Once every sheet is scanned: the xf records, sheet names and defined names.
void settle_formats_and_names(Plan& plan);
// 3. When some sheet needs it: the shared-string table, in the order in which
//    texts are first met across those sheets. Returns false when stopped.
bool build_shared_strings(Plan& plan, const std::atomic<bool>& stop);

// --- the parts ---------------------------------------------------------------------
// The small parts, written whole.
void write_content_types(const Plan& plan, ByteBuffer& out);   // part_content_types.cpp
void write_root_rels(const Plan& plan, ByteBuffer& out);        // part_relationships.cpp
void write_workbook_rels(const Plan& plan, ByteBuffer& out);    // part_relationships.cpp
void write_workbook(const Plan& plan, ByteBuffer& out);         // part_workbook.cpp
void write_shared_strings(const Plan& plan, ByteBuffer& out);   // part_shared_strings.cpp
void write_theme(const Plan& plan, ByteBuffer& out);            // part_theme.cpp
void write_styles(const Plan& plan, ByteBuffer& out);           // part_styles.cpp
void write_core(const Plan& plan, ByteBuffer& out);             // part_core.cpp
void write_app(const Plan& plan, ByteBuffer& out);              // part_app.cpp

// A worksheet's XML, generated a piece at a time so that a large sheet can
// be compressed as it is written, or stopped between rows
// (part_worksheet.cpp).
class SheetWriter {
public:
    SheetWriter(const Plan& plan, std::size_t sheet);
    // Appends the next rows to `out` until it holds at least `until` bytes
    // or the sheet is complete. Returns true once the sheet is complete.
    bool write(ByteBuffer& out, std::size_t until);

private:
    void write_head(ByteBuffer& out);
    void write_row(ByteBuffer& out, int32_t row);
    void write_tail(ByteBuffer& out);
    void row_spans(int32_t row);

    const Plan& plan_;
    const Sheet& sheet_;
    const SheetFacts& facts_;
    std::size_t index_;
    enum class Stage { Head, Rows, Tail, Done } stage_ = Stage::Head;
    int32_t next_row_ = 1;
    // Shared-string sheets name each block of 16 rows' used columns ("1:24").
    int32_t spans_block_ = -1;
    std::string spans_;
};

}  // namespace tb::wb::package
