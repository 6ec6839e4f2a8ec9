// Windows-1252 and UTF-8 text.
#include "text/cp1252.h"
#include "text/utf8.h"

#include <gtest/gtest.h>

namespace enc = tb::text;

namespace {

TEST(Windows1252, DecodesTheHighBlockLatin1AndUnassignedCodes) {
    const std::pair<std::string, std::string> cases[] = {
        {"\x80", "\u20AC"}, {"\x8A", "\u0160"}, {"\x9F", "\u0178"}, {"\xE9", "\u00E9"}, {"\xA0\xFF", "\u00A0\u00FF"},
        {"Mu\xF1oz", "Muñoz"},
        // Unassigned codes become the control character of the same value.
        {"\x81", "\u0081"}, {"\x8D\x8F\x90\x9D", "\u008D\u008F\u0090\u009D"}};
    for (const auto& [raw, utf8] : cases) EXPECT_EQ(enc::cp1252_to_utf8(raw), utf8) << utf8;
}

TEST(Windows1252, EveryByteSurvivesARoundTripAndOthersBecomeQuestionMarks) {
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(enc::utf8_to_cp1252(enc::cp1252_to_utf8(one)), one) << "byte " << b;
    }
    EXPECT_EQ(enc::utf8_to_cp1252("Łódź"), "?\xF3" "d?");
    EXPECT_EQ(enc::utf8_to_cp1252("\xFF\xC3"), "??");  // not UTF-8
    EXPECT_EQ(enc::utf8_to_cp1252("\u4E2D"), "?");
}

// UTF-8 read one character at a time: malformed bytes count one each.
TEST(Utf8, StrictDecodingCountingAndMending) {
    const std::pair<std::string, std::u32string> cases[] = {
        {"a\u00E9\u20AC\U0001F600", U"a\u00E9\u20AC\U0001F600"},
        {"\xC0\xAF", U"\uFFFD\uFFFD"},          // overlong "/"
        {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},  // a surrogate
        {"\xE2\x82", U"\uFFFD\uFFFD"},          // cut short
        {"\x80x", U"\uFFFDx"}};
    for (const auto& [bytes, chars] : cases) {
        std::u32string got;
        for (std::size_t i = 0; i < bytes.size();) got += tb::text::next_code_point(bytes, i);
        EXPECT_EQ(got, chars);
        EXPECT_EQ(tb::text::code_point_count(bytes), chars.size());
    }
    EXPECT_EQ(tb::text::mend_utf8("Mu\xF1oz"), "Mu\u00F1oz");     // a Latin-1 byte
    EXPECT_EQ(tb::text::mend_utf8("Mu\u00F1oz \uFFFD"), "Mu\u00F1oz \uFFFD");
    EXPECT_EQ(tb::text::first_code_point("\u0160imek"), U'\u0160');
    EXPECT_EQ(tb::text::first_code_point(""), 0u);
}

}  // namespace
