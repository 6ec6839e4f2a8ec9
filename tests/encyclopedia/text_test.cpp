// Windows-1252 text and fixed-width text fields.
#include "encyclopedia/encyclopedia.h"

#include <gtest/gtest.h>

namespace enc = tb::enc;

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

TEST(TextField, CutAtTheFirstNulTakenWholeWithoutOneAndControlBytesKept) {
    auto field = [](const std::string& raw) {
        return enc::decode_text_field(reinterpret_cast<const unsigned char*>(raw.data()), raw.size());
    };
    EXPECT_EQ(field(std::string("NY\0X\0", 5)), "NY");
    EXPECT_EQ(field(std::string("\0ABC", 4)), "");
    EXPECT_EQ(field("Vandenberghe-Roe"), "Vandenberghe-Roe");
    EXPECT_EQ(field(std::string("\x01\x1F\xC9lan\0", 7)), "\x01\x1F\u00C9lan");
}

}  // namespace
