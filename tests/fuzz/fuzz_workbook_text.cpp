// The input as text where the program takes text apart: column letters, a
// Windows-1252 name (decoded and encoded again, and as a fixed-length field),
// and a cell value of any bytes with the text and the column width it
// displays.
#include "fuzz_check.h"

#include "encyclopedia/encyclopedia.h"
#include "workbook/workbook.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

using namespace tb;

namespace {

// Well-formed UTF-8 as the standard's table of byte sequences has it: no
// overlong forms, no surrogates, nothing beyond U+10FFFF.
bool utf8_shaped(std::string_view s) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const auto in = [](unsigned char b, unsigned lo, unsigned hi) { return b >= lo && b <= hi; };
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char b = at(i);
        std::size_t n = 0;
        unsigned lo = 0x80, hi = 0xBF;   // range of the second byte
        if (b < 0x80) n = 1;
        else if (in(b, 0xC2, 0xDF)) n = 2;
        else if (b == 0xE0) n = 3, lo = 0xA0;
        else if (b == 0xED) n = 3, hi = 0x9F;
        else if (in(b, 0xE1, 0xEF)) n = 3;
        else if (b == 0xF0) n = 4, lo = 0x90;
        else if (b == 0xF4) n = 4, hi = 0x8F;
        else if (in(b, 0xF1, 0xF3)) n = 4;
        if (n == 0 || i + n > s.size()) return false;
        if (n > 1 && !in(at(i + 1), lo, hi)) return false;
        for (std::size_t k = 2; k < n; ++k)
            if (!in(at(i + k), 0x80, 0xBF)) return false;
        i += n;
    }
    return true;
}

void column_letters(std::string_view text) {
    try {
        const int index = wb::column_index(text);
        TB_FUZZ_CHECK(index >= 0 && index < wb::kMaxColumns);
        // Letters name one column whatever their case.
        std::string upper(text);
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        TB_FUZZ_CHECK(wb::column_letter(index) == upper);
    } catch (const wb::WorkbookError&) {
    }
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
    const std::string sheet = "S";
    try {
        book.put(id, 1, 2, bytes);
    } catch (const wb::WorkbookError&) {
        return;   // longer than a cell holds
    }
    const std::string shown = book.displayed_text(sheet, 1, 2);
    TB_FUZZ_CHECK(utf8_shaped(shown));
    if (utf8_shaped(bytes)) TB_FUZZ_CHECK(shown == bytes);
    TB_FUZZ_CHECK(shown.empty() == bytes.empty());
    for (const bool bold : {false, true}) {
        const double width = wb::autofit_width(shown, bold, bold ? 14 : 11);
        TB_FUZZ_CHECK(std::isfinite(width) && width > 0 && width <= 255);
    }
    book.autofit(id, 1, 1);
    const double fitted = book.column_width(sheet, 1);
    TB_FUZZ_CHECK(std::isfinite(fitted) && fitted > 0 && fitted <= 255);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzz::as_string(data, size);
    column_letters(text);
    names(text);
    cell_text(text);
    return 0;
}
