#include "text/utf8.h"

namespace tb::text {

char32_t next_code_point(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    std::size_t extra = 0;
    char32_t cp = 0;
    // The second byte's range also rules out overlong and surrogate forms.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        cp = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        cp = lead & 0x0Fu;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        cp = lead & 0x07u;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0xFFFD;
    }
    if (text.size() - i < extra) return 0xFFFD;
    for (std::size_t k = 0; k < extra; ++k) {
        const auto c = static_cast<unsigned char>(text[i + k]);
        if (c < low || c > high) return 0xFFFD;
        low = 0x80;
        high = 0xBF;
        cp = (cp << 6) | (c & 0x3Fu);
    }
    i += extra;
    return cp;
}

char32_t first_code_point(std::string_view text) {
    std::size_t i = 0;
    return text.empty() ? 0 : next_code_point(text, i);
}

void append_utf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::size_t code_point_count(std::string_view text) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++n) next_code_point(text, i);
    return n;
}

std::string mend_utf8(std::string_view text) {
    // Most texts are well-formed and are returned as they are.
    std::size_t i = 0;
    bool well_formed = true;
    while (i < text.size() && well_formed) {
        const std::size_t at = i;
        if (next_code_point(text, i) == 0xFFFD && text.substr(at, 3) != "\xEF\xBF\xBD") well_formed = false;
    }
    if (well_formed) return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    for (i = 0; i < text.size();) {
        const std::size_t at = i;
        const char32_t cp = next_code_point(text, i);
        if (cp == 0xFFFD && text.substr(at, 3) != "\xEF\xBF\xBD") append_utf8(out, static_cast<unsigned char>(text[at]));
        else out.append(text.substr(at, i - at));
    }
    return out;
}

std::string path_utf8(const std::filesystem::path& p) {
    const std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

std::filesystem::path utf8_path(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace tb::text
