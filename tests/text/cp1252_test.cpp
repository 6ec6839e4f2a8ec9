// Windows-1252 text, as the encyclopedia holds it.
#include "text/cp1252.h"

#include <gtest/gtest.h>

namespace enc = tb::text;

namespace {

// The high block, Latin-1, and unassigned codes as the control character of
// the same value; every byte back as it was, other characters as "?".
TEST(Windows1252, DecodesEveryByteAndEncodesBack) {
    const std::pair<std::string, std::string> cases[] = {
        {"\x80", "\u20AC"}, {"\x8A", "\u0160"}, {"\x9F", "\u0178"}, {"\xE9", "\u00E9"}, {"\xA0\xFF", "\u00A0\u00FF"},
        {"Mu\xF1oz", "Muñoz"}, {"\x81", "\u0081"}, {"\x8D\x8F\x90\x9D", "\u008D\u008F\u0090\u009D"}};
    for (const auto& [raw, utf8] : cases) EXPECT_EQ(enc::cp1252_to_utf8(raw), utf8) << utf8;
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(enc::utf8_to_cp1252(enc::cp1252_to_utf8(one)), one) << "byte " << b;
    }
    EXPECT_EQ(enc::utf8_to_cp1252("Łódź"), "?\xF3" "d?");
    EXPECT_EQ(enc::utf8_to_cp1252("\xFF\xC3"), "??");  // not UTF-8
    EXPECT_EQ(enc::utf8_to_cp1252("\u4E2D"), "?");
}

}  // namespace
