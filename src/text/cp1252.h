// Windows-1252, the code page of the encyclopedia's text fields, to UTF-8
// and back.
#pragma once

#include <string>
#include <string_view>

namespace tb::text {

// The character of a Windows-1252 byte. Every byte decodes: the five codes
// the code page leaves unassigned map to the C1 control of the same value.
char32_t cp1252_code_point(unsigned char byte);

std::string cp1252_to_utf8(std::string_view bytes);
// Characters with no Windows-1252 byte become '?'.
std::string utf8_to_cp1252(std::string_view utf8);

}  // namespace tb::text
