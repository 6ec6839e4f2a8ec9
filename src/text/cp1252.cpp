// A 32-entry table is all the code page needs beyond Latin-1; it also keeps
// the five unassigned codes decodable (the platform's iconv rejects them,
// and a name holding one must still show rather than stop the run).
#include "text/cp1252.h"

#include "text/utf8.h"

#include <array>

namespace tb::text {
namespace {

// Code points of bytes 0x80..0x9F. Unassigned codes map to the C1 control of
// the same value.
constexpr std::array<char32_t, 32> kHighBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The byte of a code point, or '?' when the code page has none.
char byte_of(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHighBlock.size(); ++i)
        if (kHighBlock[i] == cp) return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

char32_t cp1252_code_point(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighBlock[byte - 0x80];
    return byte;
}

std::string cp1252_to_utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) append_utf8(out, cp1252_code_point(static_cast<unsigned char>(c)));
    return out;
}

std::string utf8_to_cp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) out.push_back(byte_of(next_code_point(utf8, i)));
    return out;
}

}  // namespace tb::text
