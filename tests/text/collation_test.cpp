// The order of work-list texts: names as people read them, ties by code
// point, any bytes accepted. Where ICU is installed, the same order is checked
// against ICU's en_US collation itself, and the committed table against what
// its generator writes now.
#include "text/collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <tuple>
#include <vector>

#ifdef TALLYBOOK_HAVE_ICU
#include "text/cp1252.h"
#include "text/utf8.h"

#include <unicode/ucol.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#endif

namespace {

using tb::text::collates_before;
using tb::text::collation_key;

// Each first text collates before its second, and not the other way round.
void expect_in_order(const std::vector<std::tuple<std::string, std::string, const char*>>& cases) {
    for (const auto& [first, second, why] : cases) {
        EXPECT_TRUE(collates_before(first, second) && !collates_before(second, first)) << first << " < " << second
                                                                                        << ": " << why;
    }
}

// Letters, then accents, then code points; punctuation before digits before
// letters, digits one by one (where ICU is at hand, the tests below check
// every such rule against it). A middle dot right after an l belongs to the
// l, as in Catalan "l·l": it adds an accent weight, not a punctuation mark.
TEST(CollationOrder, LettersAccentsPunctuationDigitsAndCodePoints) {
    expect_in_order({
        {"adams", "Baker", "case is ignored"},
        {"Pena", "Peña", "accents count after the letters"},
        {"Peña", "Penz", "letters count before accents"},
        {"Peña", "peña", "same letters and accents: by code point"},
        {"peña", "Penas", "a shorter run of letters first"},
        {"Strass", "Straß", "ß weighs as ss, then by its accent weight"},
        {"Aesop", "Æsop", "æ weighs as ae, then by its accent weight"},
        {"x2", "x²", "a superscript weighs as its digit"},
        {"A B", "A\u00A0B", "a no-break space weighs as a space"},
        {"de Aza", "de-Aza", "space before hyphen"},
        {"de-Aza", "deAza", "punctuation before letters"},
        {"#1", "1", "symbols before digits"},
        {"Team 9", "Team A", "digits before letters"},
        {"10", "9", "digits compared one by one"},
        {"Smith,John \\ 1234", "Smith,John 1234", "a backslash counts"},
        {"AB", "A\x01Z", "a control character is ignored"},
        {"A\tZ", "AB", "a tab counts, as a space does"},
        {"Smith", "Smith\x01", "a control character is ignored until the code points"},
        {"", "\x01", "the empty text first"},
        {"Coll", "Col·l", "l· weighs as l, then by its accent weight"},
        {"Col·l", "Colm", "l· weighs as l"},
        {"Col··a", "Cola", "only the first dot belongs to the l"},
        {"X·a", "Xa", "after another letter the dot is punctuation"},
    });
}

// Texts of any length, including those whose keys outgrow a short text's
// (a stray byte or a fraction needs several key bytes per text byte).
TEST(CollationOrder, LongTextsSortLikeShortOnes) {
    const std::pair<std::string, std::string> chain[] = {   // each repeated, then a tail
        {"\u00BC", ""}, {"\u00BC", "a"},       {"e", ""}, {"\u00E9", ""}, {"e", "f"}, {"Smith,John \\ ", "a"},
        {"smith,john \\ ", "B"}, {"\xFF", ""}, {"\xFF", "\xFF"}};
    for (const int times : {40, 41, 42, 60, 100, 300}) {
        std::vector<std::string> texts;
        for (const auto& [piece, tail] : chain) {
            texts.push_back(tail);
            for (int n = 0; n < times; ++n) texts.back().insert(0, piece);
        }
        for (std::size_t i = 0; i + 1 < texts.size(); ++i) expect_in_order({{texts[i], texts[i + 1], "long texts"}});
    }
}

#ifdef TALLYBOOK_HAVE_ICU

// Letters that differ only in case, accent or ligature, with the separators
// and digits of list texts: random texts over these tie often at the first
// level, and often at the second (ICU then tells whether the keys do).
const std::vector<std::string> kLookalikes = {
    "a", "A", "á", "Á", "à", "ä", "æ", "Æ", "e", "E", "é", "É", "s", "S", "ß", "š", "Š", "l", "L", "·", "o",
    "O", "ø", "Ø", "œ", "Œ", "z", "ž", " ", "\u00A0", ",", "\\", "'", "-", ".", "0", "1", "9", "¹", "\x01", "\t"};

// Random texts of 0..12 characters drawn from `alphabet`, character by character.
std::vector<std::string> random_chars(std::mt19937& rng, const std::vector<std::string>& alphabet) {
    std::vector<std::string> chars(std::uniform_int_distribution<std::size_t>(0, 12)(rng));
    for (auto& c : chars) c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
    return chars;
}
std::string joined(const std::vector<std::string>& chars) {
    std::string text;
    for (const auto& c : chars) text += c;
    return text;
}

// The 256 characters of the archive's bytes, as its reader decodes them.
std::vector<std::string> archive_characters() {
    std::vector<std::string> out(256);
    for (int b = 0; b < 256; ++b) tb::text::append_utf8(out[b], tb::text::cp1252_code_point(static_cast<unsigned char>(b)));
    return out;
}

// ICU's own order: en_US at secondary strength, ties broken by code point
// (UTF-8 bytes compare as code points do).
struct IcuOrder {
    UCollator* collator = nullptr;
    IcuOrder() {
        UErrorCode status = U_ZERO_ERROR;
        collator = ucol_open("en_US", &status);
        if (U_FAILURE(status)) ADD_FAILURE() << "ucol_open: " << u_errorName(status);
        ucol_setStrength(collator, UCOL_SECONDARY);
    }
    ~IcuOrder() { ucol_close(collator); }
    IcuOrder(const IcuOrder&) = delete;
    IcuOrder& operator=(const IcuOrder&) = delete;

    // -1, 0 or 1 as `a` sorts before, with or after `b`.
    int compare(const std::string& a, const std::string& b) const {
        UErrorCode status = U_ZERO_ERROR;
        const UCollationResult r = ucol_strcollUTF8(collator, a.data(), static_cast<int32_t>(a.size()), b.data(),
                                                    static_cast<int32_t>(b.size()), &status);
        if (U_FAILURE(status)) ADD_FAILURE() << "ucol_strcollUTF8: " << u_errorName(status);
        if (r != UCOL_EQUAL) return r == UCOL_LESS ? -1 : 1;
        return a < b ? -1 : (b < a ? 1 : 0);
    }
};

// Every text of up to two archive characters (ICU's contractions among
// them, an l or L and a middle dot, are two characters long, so these meet
// every one of them) and random list-like texts, every other one the one
// before with a character changed. Sorted by key, each neighbour must come
// after the one before in ICU's order, or be the same text: both orders being
// total, they then agree on the whole set, and only identical texts share a
// key.
TEST(CollationAgainstIcu, TextsSortAsIcuSortsThem) {
    const IcuOrder icu;
    std::vector<std::string> everything = archive_characters();
    std::vector<std::string> texts = {""};
    for (const std::string& a : everything) {
        texts.push_back(a);
        for (const std::string& b : everything) texts.push_back(a + b);
    }
    for (int copies = 0; copies < 8; ++copies)
        for (const char* c : {" ", "\\", ",", "'", "-", ".", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9"})
            everything.push_back(c);
    std::mt19937 rng(20240611);
    std::vector<std::string> chars;
    for (int n = 0; n < 200000; ++n) {
        const auto& alphabet = n % 4 < 2 ? everything : kLookalikes;
        if (n % 2 == 0 || chars.empty()) chars = random_chars(rng, alphabet);
        else chars[rng() % chars.size()] = alphabet[rng() % alphabet.size()];   // the last text, one character changed
        texts.push_back(joined(chars));
    }
    std::vector<std::pair<std::string, std::string>> keyed;   // key, text
    for (const std::string& t : texts) keyed.emplace_back(collation_key(t), t);
    std::sort(keyed.begin(), keyed.end());
    int mismatches = 0;
    for (std::size_t i = 0; i + 1 < keyed.size(); ++i) {
        const auto& [key, text] = keyed[i];
        const auto& [next_key, next] = keyed[i + 1];
        const int icu_says = icu.compare(text, next), keys_say = key == next_key ? 0 : -1;
        if (icu_says != keys_say && ++mismatches <= 10)
            ADD_FAILURE() << "\"" << text << "\" vs \"" << next << "\": ICU says " << icu_says << ", keys say " << keys_say;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(CollationTable, IsWhatTheGeneratorWritesNow) {
    std::FILE* pipe = popen(TALLYBOOK_COLLATION_GENERATOR, "r");
    ASSERT_NE(pipe, nullptr);
    std::string generated;
    std::array<char, 4096> buf{};
    for (std::size_t n; (n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0;) generated.append(buf.data(), n);
    ASSERT_EQ(pclose(pipe), 0) << TALLYBOOK_COLLATION_GENERATOR;
    std::ifstream file(TALLYBOOK_TEST_DIR "/../src/text/collation_table.inc", std::ios::binary);
    ASSERT_TRUE(file) << "src/text/collation_table.inc";
    const std::string committed((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(generated == committed)
        << "src/text/collation_table.inc is out of date; regenerate it as its first lines say";
}

#endif  // TALLYBOOK_HAVE_ICU

}  // namespace
