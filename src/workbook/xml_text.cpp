#include "workbook/xml_text.h"

#include <charconv>

namespace tb::wb::xml {

namespace {

bool is_hex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool escape_at(std::string_view text, std::size_t i) {
    return i + 7 <= text.size() && text[i] == '_' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
           is_hex(text[i + 2]) && is_hex(text[i + 3]) && is_hex(text[i + 4]) && is_hex(text[i + 5]) &&
           text[i + 6] == '_';
}

// Characters XML 1.0 cannot hold: the controls but tab and line feed.
bool is_control(unsigned char c) { return c < 0x20 && c != '\t' && c != '\n'; }

// U+FFFE and U+FFFF, which are not XML characters either.
bool non_character_at(std::string_view text, std::size_t i) {
    return i + 3 <= text.size() && static_cast<unsigned char>(text[i]) == 0xEF &&
           static_cast<unsigned char>(text[i + 1]) == 0xBF &&
           (static_cast<unsigned char>(text[i + 2]) & 0xFE) == 0xBE;
}

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n'; }

void append_escape(ByteBuffer& out, unsigned code) {
    static const char hex[] = "0123456789ABCDEF";
    char e[7] = {'_', 'x', hex[(code >> 12) & 15], hex[(code >> 8) & 15], hex[(code >> 4) & 15], hex[code & 15], '_'};
    out.append(e, 7);
}

}  // namespace

void append_data(ByteBuffer& out, std::string_view text) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '&' && c != '<' && c != '>') continue;
        out.append(text.data() + from, i - from);
        out.append(c == '&' ? std::string_view("&amp;") : c == '<' ? std::string_view("&lt;") : std::string_view("&gt;"));
        from = i + 1;
    }
    out.append(text.data() + from, text.size() - from);
}

void append_attribute(ByteBuffer& out, std::string_view text) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::string_view entity;
        switch (text[i]) {
            case '&': entity = "&amp;"; break;
            case '<': entity = "&lt;"; break;
            case '>': entity = "&gt;"; break;
            case '"': entity = "&quot;"; break;
            case '\n': entity = "&#xA;"; break;
            default: continue;
        }
        out.append(text.data() + from, i - from);
        out.append(entity);
        from = i + 1;
    }
    out.append(text.data() + from, text.size() - from);
}

void append_attr(ByteBuffer& out, std::string_view name, std::string_view value) {
    out.push_back(' ');
    out.append(name);
    out.append("=\"");
    append_attribute(out, value);
    out.push_back('"');
}

void append_attr(ByteBuffer& out, std::string_view name, int64_t value) {
    out.push_back(' ');
    out.append(name);
    out.append("=\"");
    append_int(out, value);
    out.push_back('"');
}

std::size_t number_text(double value, char* out) {
    // to_chars with a precision is specified as printf's "%.*g" in the C
    // locale; "%G" differs only in the case of its letters.
    const auto r = std::to_chars(out, out + kNumberChars, value, std::chars_format::general, 16);
    for (char* p = out; p != r.ptr; ++p)
        if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
    return static_cast<std::size_t>(r.ptr - out);
}

void append_number(ByteBuffer& out, double value) {
    char* p = out.room(kNumberChars);
    out.commit(number_text(value, p));
}

void append_int(ByteBuffer& out, int64_t value) {
    char* p = out.room(24);
    out.commit_to(std::to_chars(p, p + 24, value).ptr);
}

void append_column(ByteBuffer& out, int col) {
    char letters[4];
    int n = 0;
    for (int c = col + 1; c > 0; c = (c - 1) / 26) letters[n++] = static_cast<char>('A' + (c - 1) % 26);
    while (n > 0) out.push_back(letters[--n]);
}

void append_cell(ByteBuffer& out, int col, int32_t row) {
    append_column(out, col);
    append_int(out, row);
}

void append_range(ByteBuffer& out, int c1, int32_t r1, int c2, int32_t r2, bool absolute) {
    auto corner = [&](int c, int32_t r) {
        if (absolute) out.push_back('$');
        append_column(out, c);
        if (absolute) out.push_back('$');
        append_int(out, r);
    };
    corner(c1, r1);
    if (c1 == c2 && r1 == r2) return;
    out.push_back(':');
    corner(c2, r2);
}

uint8_t text_flags(std::string_view text) {
    uint8_t flags = kTextKnown;
    if (!text.empty() && (is_space(text.front()) || is_space(text.back()))) flags |= kTextPreserve;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (is_control(c) || c == '&' || c == '<' || c == '>' || non_character_at(text, i)) flags |= kTextEscape;
        else if (c == '_' && escape_at(text, i)) flags |= kTextLooksEscaped;
    }
    return flags;
}

void append_cell_text(ByteBuffer& out, std::string_view text) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool control = is_control(c);
        const bool entity = c == '&' || c == '<' || c == '>';
        const bool non_character = c == 0xEF && non_character_at(text, i);
        if (!control && !entity && !non_character) continue;
        out.append(text.data() + from, i - from);
        if (control) {
            append_escape(out, c);
        } else if (entity) {
            out.append(c == '&' ? std::string_view("&amp;") : c == '<' ? std::string_view("&lt;") : std::string_view("&gt;"));
        } else {
            append_escape(out, 0xFFFE | (static_cast<unsigned char>(text[i + 2]) & 1));
            i += 2;
        }
        from = i + 1;
    }
    out.append(text.data() + from, text.size() - from);
}

std::string escape_underscores(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 14);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (escape_at(text, i)) out += "_x005F";
        out += text[i];
    }
    return out;
}

}  // namespace tb::wb::xml
