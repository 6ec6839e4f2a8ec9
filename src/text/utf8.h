// UTF-8, the text of the whole program: decoding one character at a time,
// encoding, counting, and mending text that is not well-formed.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tb::text {

// Decodes the well-formed UTF-8 sequence at text[i] and moves i past it. A
// byte that does not begin one (a stray continuation, a truncated, overlong
// or surrogate sequence, or one beyond U+10FFFF) yields U+FFFD and is passed
// on its own, so every byte of the text is read once. `i` must be below
// text.size().
char32_t next_code_point(std::string_view text, std::size_t& i);

// The first character of a text; 0 for an empty one.
char32_t first_code_point(std::string_view text);

// Appends the UTF-8 form of a code point (U+FFFD for one beyond U+10FFFF or
// a surrogate).
void append_utf8(std::string& out, char32_t cp);

// How many characters a text holds (each malformed byte counts as one).
std::size_t code_point_count(std::string_view text);

// The text itself when it is well-formed UTF-8; otherwise every byte that
// does not belong to a well-formed sequence is read as Latin-1.
std::string mend_utf8(std::string_view text);

// The text of a path in UTF-8, and the path of a UTF-8 text, whatever the
// system's own path encoding (UTF-16 on Windows).
std::string path_utf8(const std::filesystem::path& p);
std::filesystem::path utf8_path(std::string_view utf8);

}  // namespace tb::text
