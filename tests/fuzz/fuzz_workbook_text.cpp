// The input as text where the program takes text apart: a Windows-1252
// name (decoded and encoded again, and as a fixed-length field), and a cell
// value of any bytes with the text and the column width it displays.
#include "fuzz_check.h"

#include "encyclopedia/encyclopedia.h"
#include "workbook/workbook.h"

#include <algorithm>
#include <cmath>
#include <iconv.h>
#include <string>
#include <string_view>

using namespace tb;

namespace {

// Well-formed UTF-8 as the C library's converter judges it (no overlong
// forms, no surrogates, nothing beyond U+10FFFF): a judge that is not ours.
bool utf8_shaped(std::string_view s) {
    static const iconv_t to_utf32 = iconv_open("UTF-32LE", "UTF-8");
    std::string in(s), out(4 * s.size() + 4, '\0');
    char* from = in.data();
    char* to = out.data();
    std::size_t left = in.size(), room = out.size();
    iconv(to_utf32, nullptr, nullptr, nullptr, nullptr);   // a fresh state for each text
    return iconv(to_utf32, &from, &left, &to, &room) != static_cast<std::size_t>(-1) && left == 0;
}

void names(std::string_view bytes) {
    const std::string utf8 = enc::cp1252_to_utf8(bytes);
    TB_FUZZ_CHECK(utf8_shaped(utf8));
    if (bytes.find('\0') == std::string_view::npos) TB_FUZZ_CHECK(enc::utf8_to_cp1252(utf8) == bytes);
    // Any text encodes to at most one byte per byte.
    TB_FUZZ_CHECK(enc::utf8_to_cp1252(bytes).size() <= bytes.size());

    const auto* field = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::string decoded = enc::decode_text_field(field, bytes.size());
    const std::size_t cut = std::min(bytes.find('\0'), bytes.size());
    TB_FUZZ_CHECK(decoded == enc::cp1252_to_utf8(bytes.substr(0, cut)));
}

void cell_text(std::string_view bytes) {
    wb::Workbook book;
    const wb::SheetId id = book.add_sheet("S");
    try {
        book.put(id, 1, 2, bytes);
    } catch (const wb::WorkbookError&) {
        return;   // longer than a cell holds
    }
    const std::string shown = book.displayed_text("S", 1, 2);
    TB_FUZZ_CHECK(utf8_shaped(shown));
    if (utf8_shaped(bytes)) TB_FUZZ_CHECK(shown == bytes);
    TB_FUZZ_CHECK(shown.empty() == bytes.empty());
    for (const bool bold : {false, true}) {
        const double width = wb::autofit_width(shown, bold, bold ? 14 : 11);
        TB_FUZZ_CHECK(std::isfinite(width) && width > 0 && width <= 255);
    }
    book.autofit(id, 1, 1);
    const double fitted = book.column_width("S", 1);
    TB_FUZZ_CHECK(std::isfinite(fitted) && fitted > 0 && fitted <= 255);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzz::as_string(data, size);
    names(text);
    cell_text(text);
    return 0;
}
