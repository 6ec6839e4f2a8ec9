// Windows-1252 text fields.
#include "encyclopedia/encyclopedia.h"

#include <gtest/gtest.h>

namespace enc = tb::enc;

namespace {

std::string field(const std::string& raw) {
    return enc::decode_text_field(reinterpret_cast<const unsigned char*>(raw.data()), raw.size());
}

TEST(Windows1252, DecodesTheHighBlockAndLatin1) {
    EXPECT_EQ(enc::cp1252_to_utf8("\x80"), "\u20AC");
    EXPECT_EQ(enc::cp1252_to_utf8("\x8A"), "\u0160");
    EXPECT_EQ(enc::cp1252_to_utf8("\x9F"), "\u0178");
    EXPECT_EQ(enc::cp1252_to_utf8("\xE9"), "\u00E9");
    EXPECT_EQ(enc::cp1252_to_utf8("\xA0\xFF"), "\u00A0\u00FF");
    EXPECT_EQ(enc::cp1252_to_utf8("Mu\xF1oz"), "Muñoz");
}

TEST(Windows1252, UnassignedCodesBecomeTheControlOfTheSameValue) {
    EXPECT_EQ(enc::cp1252_to_utf8("\x81"), "\u0081");
    EXPECT_EQ(enc::cp1252_to_utf8("\x8D\x8F\x90\x9D"), "\u008D\u008F\u0090\u009D");
}

TEST(Windows1252, EveryByteSurvivesARoundTrip) {
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(enc::utf8_to_cp1252(enc::cp1252_to_utf8(one)), one) << "byte " << b;
    }
}

TEST(Windows1252, CharactersWithoutACodeBecomeQuestionMarks) {
    EXPECT_EQ(enc::utf8_to_cp1252("Łódź"), "?\xF3" "d?");
    EXPECT_EQ(enc::utf8_to_cp1252("\xFF\xC3"), "??");  // not UTF-8
    EXPECT_EQ(enc::utf8_to_cp1252("\u4E2D"), "?");
}

TEST(TextField, CutAtTheFirstNul) {
    EXPECT_EQ(field(std::string("NY\0X\0", 5)), "NY");
    EXPECT_EQ(field(std::string("\0ABC", 4)), "");
}

TEST(TextField, WithoutNulIsTakenWhole) {
    EXPECT_EQ(field("TORO"), "TORO");
    EXPECT_EQ(field("Vandenberghe-Roe"), "Vandenberghe-Roe");
}

TEST(TextField, ControlAndHighBytesAreKeptAsData) {
    EXPECT_EQ(field(std::string("\x01\x1F\xC9lan\0", 7)), "\x01\x1F\u00C9lan");
}

}  // namespace
