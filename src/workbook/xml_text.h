// The small pieces of text every part of the package is made of: escaped
// element content and attributes, numbers, cell references and cell texts,
// each exactly as the reference writer (libxlsxwriter 1.1.4) spells them.
// Not for use outside src/workbook.
#pragma once

#include "workbook/byte_buffer.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tb::wb::xml {

inline constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

// Element content: & < > as entities, everything else as it is.
void append_data(ByteBuffer& out, std::string_view text);
// A double-quoted attribute's value: & < > " and line feeds as entities.
void append_attribute(ByteBuffer& out, std::string_view text);
// ` name="value"`, the value escaped as an attribute.
void append_attr(ByteBuffer& out, std::string_view name, std::string_view value);
void append_attr(ByteBuffer& out, std::string_view name, int64_t value);

// A number as printf's "%.16G" writes it in the C locale ("0.3", "150",
// "1.234567890123457E+17", "1E-300"), whatever the process's locale. At
// most kNumberChars characters.
inline constexpr std::size_t kNumberChars = 32;
std::size_t number_text(double value, char* out);
void append_number(ByteBuffer& out, double value);
void append_int(ByteBuffer& out, int64_t value);

// Column letters of a 0-based column ("A", "AB", "XFD").
void append_column(ByteBuffer& out, int col);
// "B7" for 0-based column 1 and 1-based row 7.
void append_cell(ByteBuffer& out, int col, int32_t row);
// "A1:C5", or "A1" when both corners are one cell; with `absolute`
// "$A$1:$C$5".
void append_range(ByteBuffer& out, int c1, int32_t r1, int c2, int32_t r2, bool absolute = false);

// What a cell text needs when written: nothing, escaping, or the
// xml:space="preserve" that keeps its leading or trailing white space.
enum TextFlag : uint8_t {
    kTextKnown = 1,        // the flags below have been worked out
    kTextEscape = 2,       // holds a character written as an escape or entity
    kTextPreserve = 4,     // begins or ends with a space, tab or line feed
    kTextLooksEscaped = 8, // holds "_xHHHH_", which readers take for an escape
};
uint8_t text_flags(std::string_view text);

// A cell text (inline or shared): characters XML cannot hold as _xHHHH_
// (the controls other than tab and line feed, NUL, U+FFFE and U+FFFF), then
// & < > as entities.
void append_cell_text(ByteBuffer& out, std::string_view text);
// A text holding "_xHHHH_" sequences with the underscore that starts each
// escaped itself ("_x0041_" -> "_x005F_x0041_"): a reader of the shared
// strings undoes that and gets the text back.
std::string escape_underscores(std::string_view text);

}  // namespace tb::wb::xml
