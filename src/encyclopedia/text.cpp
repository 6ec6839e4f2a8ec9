// The text fields of the encyclopedia files: Windows-1252, cut at the
// first NUL.
#include "encyclopedia/encyclopedia.h"

#include <cstring>

namespace tb::enc {
std::string decode_text_field(const unsigned char* field, std::size_t width) {
    const void* nul = std::memchr(field, 0, width);
    const std::size_t len = nul ? static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - field) : width;
    const std::string_view bytes(reinterpret_cast<const char*>(field), len);
    // Most names are plain ASCII, which needs no conversion.
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return cp1252_to_utf8(bytes);
    return std::string(bytes);
}

}  // namespace tb::enc
