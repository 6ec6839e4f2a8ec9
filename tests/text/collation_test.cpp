// The order of work-list texts: names as people read them, ties by code
// point, any bytes accepted. Where ICU is installed, the same order is checked
// against ICU's en_US collation itself, and the committed table against what
// its generator writes now.
#include "text/collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#ifdef TALLYBOOK_HAVE_ICU
#include <unicode/ucol.h>
#include <unicode/uset.h>
#include <unicode/utf16.h>

#include <fstream>
#include <iterator>
#include <sstream>
#endif

namespace {

using tb::text::collates_before;
using tb::text::collation_key;

std::string utf8(char32_t cp) {
    std::string out;
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
    return out;
}

// The character of an archive byte, decoded as the archive reader decodes
// Windows-1252 (the five unassigned codes become C1 controls).
char32_t archive_code_point(int byte) {
    static constexpr std::array<char32_t, 32> kHighBlock = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    if (byte >= 0x80 && byte <= 0x9F) return kHighBlock[static_cast<std::size_t>(byte - 0x80)];
    return static_cast<char32_t>(byte);
}

std::vector<std::string> archive_characters() {
    std::vector<std::string> out;
    for (int b = 0; b < 256; ++b) out.push_back(utf8(archive_code_point(b)));
    return out;
}

// Letters that differ only in case, accent or ligature, with the separators
// and digits of list texts: random texts over these tie often at the first
// level, and often at the second.
const std::vector<std::string> kLookalikes = {
    "a", "A", "á", "Á", "à", "ä", "æ", "Æ", "e", "E", "é", "É", "s", "S", "ß", "š", "Š", "l", "L", "·", "o",
    "O", "ø", "Ø", "œ", "Œ", "z", "ž", " ", "\u00A0", ",", "\\", "'", "-", ".", "0", "1", "9", "¹", "\x01", "\t"};

// Random texts of 0..12 characters drawn from `alphabet`.
std::string random_text(std::mt19937& rng, const std::vector<std::string>& alphabet) {
    std::uniform_int_distribution<int> length(0, 12);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string text;
    for (int n = length(rng); n > 0; --n) text += alphabet[pick(rng)];
    return text;
}

// Chains of texts in the order people expect to find them.
const std::vector<std::vector<std::string>> kExpectedOrders = {
    {"Alvarez,Aaron", "Álvarez,Raúl", "Azocar"},
    {"Martínez,Pedro", "Martinez,Zack", "Martz"},
    {"Simek,Al", "Šimek,Bobby"},
    {"Oakes", "Ødegaard"},
    {"Ébert", "eckstein"},
    {"d'Arnaud", "Darnell", "deGrom"},
    {"smith,john \\ 1000", "Smith,John \\ 1234", "Smith,John \\ 999"},
};

TEST(CollationOrder, NamesComeInTheOrderPeopleExpect) {
    for (const auto& chain : kExpectedOrders) {
        for (std::size_t i = 0; i < chain.size(); ++i) {
            for (std::size_t j = i + 1; j < chain.size(); ++j) {
                EXPECT_TRUE(collates_before(chain[i], chain[j])) << chain[i] << " < " << chain[j];
                EXPECT_FALSE(collates_before(chain[j], chain[i])) << chain[i] << " < " << chain[j];
                EXPECT_LT(collation_key(chain[i]), collation_key(chain[j])) << chain[i] << " < " << chain[j];
            }
        }
        std::vector<std::string> sorted(chain.rbegin(), chain.rend());
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const std::string& a, const std::string& b) { return collation_key(a) < collation_key(b); });
        EXPECT_EQ(sorted, chain);
    }
}

struct Before {
    std::string first;
    std::string second;
    const char* why;
};

void expect_in_order(const std::vector<Before>& cases) {
    for (const auto& c : cases) {
        EXPECT_TRUE(collates_before(c.first, c.second)) << c.first << " < " << c.second << ": " << c.why;
        EXPECT_FALSE(collates_before(c.second, c.first)) << c.first << " < " << c.second << ": " << c.why;
    }
}

TEST(CollationOrder, LettersThenAccentsThenCodePoints) {
    const std::vector<Before> cases = {
        {"adams", "Baker", "case is ignored"},
        {"Pena", "Peña", "accents count after the letters"},
        {"Peña", "Penz", "letters count before accents"},
        {"Ebert", "Ébert", "the unaccented letter first"},
        {"Ebert", "ebert", "same letters and accents: by code point"},
        {"Ébert", "ébert", "same letters and accents: by code point"},
        {"ébert", "Eberts", "a shorter run of letters first"},
        {"Strass", "Straß", "ß weighs as ss, then by its accent weight"},
        {"Straß", "Strasse", "ß weighs as ss"},
        {"Aesop", "Æsop", "æ weighs as ae, then by its accent weight"},
        {"Æsop", "Aeth", "æ weighs as ae"},
        {"Oeuvre", "Œuvre", "œ weighs as oe, then by its accent weight"},
        {"Oakes", "Œuvre", "œ weighs as oe"},
        {"x2", "x²", "a superscript weighs as its digit"},
        {"A B", "A\u00A0B", "a no-break space weighs as a space"},
    };
    expect_in_order(cases);
}

TEST(CollationOrder, PunctuationBeforeDigitsBeforeLettersAndNoNumbers) {
    const std::vector<Before> cases = {
        {"de Aza", "de-Aza", "space before hyphen"},
        {"de-Aza", "deAza", "punctuation before letters"},
        {"O'Neil", "Oakes", "an apostrophe counts"},
        {"#1", "1", "symbols before digits"},
        {"Team 9", "Team A", "digits before letters"},
        {"10", "9", "digits compared one by one"},
        {"Player 10", "Player 9", "digits compared one by one"},
        {"Smith,John \\ 1234", "Smith,John 1234", "a backslash counts"},
        {"AB", "A\x01Z", "a control character is ignored"},
        {"A\tZ", "AB", "a tab counts, as a space does"},
        {"Smith", "Smith\x01", "a control character is ignored until the code points"},
        {"", "\x01", "the empty text first"},
        {"", " ", "the empty text first"},
    };
    expect_in_order(cases);
}

// A middle dot right after an l belongs to the l, as in Catalan "l·l":
// it adds an accent weight rather than a punctuation mark.
TEST(CollationOrder, MiddleDotAfterLIsPartOfTheLetter) {
    const std::vector<Before> cases = {
        {"Coll", "Col·l", "l· weighs as l, then by its accent weight"},
        {"Col·l", "Colm", "l· weighs as l"},
        {"Cola", "Col·a", "l· weighs as l"},
        {"COLA", "COL·A", "L· weighs as L"},
        {"Col··a", "Cola", "only the first dot belongs to the l"},
        {"X·a", "Xa", "after another letter the dot is punctuation"},
    };
    expect_in_order(cases);
}

TEST(CollationOrder, CharactersTheArchiveCannotHoldSortAfterItByCodePoint) {
    // U+0080 is outside too: the archive's byte 0x80 is the euro sign.
    const std::vector<std::string> outside = {"\u0080", "\u0100", "\u4E2D", "\uFFFD", "\U0001F600"};
    for (const std::string& c : archive_characters()) {
        for (const std::string& o : outside) EXPECT_TRUE(collates_before(c, o)) << c << " < " << o;
        EXPECT_TRUE(collates_before("z" + c, "z\u0100")) << c;
    }
    for (std::size_t i = 0; i + 1 < outside.size(); ++i)
        EXPECT_TRUE(collates_before(outside[i], outside[i + 1])) << outside[i] << " < " << outside[i + 1];
    EXPECT_TRUE(collates_before("\u0100b", "\u0101a")) << "by code point before the next letters";
    EXPECT_TRUE(collates_before("\u0100a", "\u0100b"));
}

TEST(CollationOrder, MalformedUtf8SortsAsReplacementCharactersDeterministically) {
    const std::vector<std::string> texts = {
        "", "a", "az", "a\xC3\xA9", "a\xE9", "\xFF", "\x80", "\xC3", "\xC3(", "\xC0\x80", "\xED\xA0\x80",
        "\xF4\x90\x80\x80", "\xF0\x9F", "\xE2\x82", "\xEF\xBF\xBD", std::string("a\0b", 3), "ab"};
    std::set<std::string> keys;
    for (const std::string& t : texts) {
        EXPECT_EQ(collation_key(t), collation_key(t));
        EXPECT_FALSE(collates_before(t, t));
        keys.insert(collation_key(t));
    }
    EXPECT_EQ(keys.size(), texts.size()) << "distinct texts, distinct keys";
    const std::vector<Before> cases = {
        {"az", "a\xE9", "a stray byte sorts after every letter"},
        {"a\xC3\xA9", "a\xE9", "a stray byte sorts after the character it was meant to be"},
        {"\xEF\xBF\xBD", "\xFF", "a stray byte weighs as U+FFFD, then by its bytes"},
        {"\xC3" "a", "\xC3" "B", "a truncated sequence leaves the next character alone"},
        {"\xEF\xBF\xBD", "\xE2\x82", "each byte of a truncated sequence counts"},
        {"b", "\xC1\x81", "an overlong form is no letter"},
        {"b", "\xE0\x81\x81", "an overlong form is no letter"},
        {"b", "\xF0\x80\x81\x81", "an overlong form is no letter"},
        {"\xEF\xBF\xBD", "\xED\xA0\x80", "a surrogate is three stray bytes"},
        {"\xF4\x90\x80\x80", "\U0010FFFF", "nothing beyond U+10FFFF"},
    };
    expect_in_order(cases);
}

std::string repeated(const std::string& piece, int times) {
    std::string out;
    for (int n = 0; n < times; ++n) out += piece;
    return out;
}

// Texts of any length, including those whose keys outgrow a short text's
// (a stray byte or a fraction needs several key bytes per text byte).
TEST(CollationOrder, LongTextsSortLikeShortOnes) {
    for (const int times : {40, 41, 42, 60, 100, 300}) {
        const std::vector<std::string> chain = {
            repeated("\u00BC", times),
            repeated("\u00BC", times) + "a",
            repeated("e", times),
            repeated("é", times),
            repeated("e", times) + "f",
            repeated("Smith,John \\ ", times) + "a",
            repeated("smith,john \\ ", times) + "B",
            repeated("\xFF", times),
            repeated("\xFF", times) + "\xFF",
        };
        for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
            EXPECT_TRUE(collates_before(chain[i], chain[i + 1])) << times << " times, " << i;
            EXPECT_FALSE(collates_before(chain[i + 1], chain[i])) << times << " times, " << i;
        }
    }
}

// The phase lists are sorted by plain bytes: their texts (year, "/",
// record number; "-" for a negative year) must collate as bytes compare.
TEST(CollationOrder, PhaseListTextsCollateAsTheirBytes) {
    std::mt19937 rng(7);
    std::vector<std::string> texts;
    for (int i = 0; i < 2000; ++i) {
        char buf[32];
        const int year = static_cast<int>(rng() % 34000) - 1200;
        std::snprintf(buf, sizeof buf, "%04d/%u", year, static_cast<unsigned>(rng() % 600000));
        texts.push_back(buf);
    }
    std::vector<std::string> by_bytes = texts, by_collation = texts;
    std::sort(by_bytes.begin(), by_bytes.end());
    std::sort(by_collation.begin(), by_collation.end(), tb::text::collates_before);
    EXPECT_EQ(by_bytes, by_collation);
}

TEST(CollationOrder, OnlyIdenticalTextsHaveEqualKeys) {
    std::mt19937 rng(7);
    std::vector<std::string> alphabet = kLookalikes;
    for (const char* c : {"\x02", "\x7F", "\u0081", "\u008D"}) alphabet.push_back(c);
    std::set<std::string> texts;
    std::set<std::string> keys;
    for (int n = 0; n < 20000; ++n) {
        const std::string text = random_text(rng, alphabet);
        if (texts.insert(text).second) keys.insert(collation_key(text));
    }
    EXPECT_EQ(keys.size(), texts.size());
}

#ifdef TALLYBOOK_HAVE_ICU

// ICU's own order: en_US at secondary strength, ties broken by code point
// (UTF-8 bytes compare as code points do).
class IcuOrder {
public:
    IcuOrder() {
        UErrorCode status = U_ZERO_ERROR;
        collator_ = ucol_open("en_US", &status);
        if (U_FAILURE(status)) ADD_FAILURE() << "ucol_open: " << u_errorName(status);
        ucol_setStrength(collator_, UCOL_SECONDARY);
    }
    ~IcuOrder() { ucol_close(collator_); }
    IcuOrder(const IcuOrder&) = delete;
    IcuOrder& operator=(const IcuOrder&) = delete;

    // -1, 0 or 1 as `a` sorts before, with or after `b`.
    int compare(const std::string& a, const std::string& b) const {
        UErrorCode status = U_ZERO_ERROR;
        const UCollationResult r = ucol_strcollUTF8(collator_, a.data(), static_cast<int32_t>(a.size()), b.data(),
                                                    static_cast<int32_t>(b.size()), &status);
        if (U_FAILURE(status)) ADD_FAILURE() << "ucol_strcollUTF8: " << u_errorName(status);
        if (r != UCOL_EQUAL) return r == UCOL_LESS ? -1 : 1;
        return a < b ? -1 : (b < a ? 1 : 0);
    }

    UCollator* collator() const { return collator_; }

private:
    UCollator* collator_ = nullptr;
};

int compare_keys(const std::string& a, const std::string& b) {
    const std::string ka = collation_key(a);
    const std::string kb = collation_key(b);
    return ka < kb ? -1 : (kb < ka ? 1 : 0);
}

// Reports a mismatch, up to a few, and counts them all.
class Mismatches {
public:
    void check(int expected, int got, const std::string& a, const std::string& b) {
        if (expected == got) return;
        if (++count_ <= 10)
            ADD_FAILURE() << "\"" << a << "\" vs \"" << b << "\": ICU says " << expected << ", keys say " << got;
    }
    int count() const { return count_; }

private:
    int count_ = 0;
};

TEST(CollationAgainstIcu, EveryPairOfArchiveCharacters) {
    const IcuOrder icu;
    const std::vector<std::string> chars = archive_characters();
    Mismatches mismatches;
    for (const std::string& a : chars)
        for (const std::string& b : chars) mismatches.check(icu.compare(a, b), compare_keys(a, b), a, b);
    EXPECT_EQ(mismatches.count(), 0);
}

// Sorting by key and finding every neighbour in ICU's order shows that the
// two orders agree on the whole set, not only on the neighbours. With no
// contraction longer than two characters (next test), the set of all texts
// of up to two characters meets every contraction there is.
TEST(CollationAgainstIcu, AllTextsOfUpToTwoArchiveCharactersSortAsIcuSortsThem) {
    const IcuOrder icu;
    const std::vector<std::string> chars = archive_characters();
    std::vector<std::pair<std::string, std::string>> keyed;  // key, text
    keyed.emplace_back(collation_key(""), "");
    for (const std::string& a : chars) {
        keyed.emplace_back(collation_key(a), a);
        for (const std::string& b : chars) keyed.emplace_back(collation_key(a + b), a + b);
    }
    std::sort(keyed.begin(), keyed.end());
    ASSERT_EQ(keyed.size(), 1u + 256u + 256u * 256u);
    Mismatches mismatches;
    for (std::size_t i = 0; i + 1 < keyed.size(); ++i)
        mismatches.check(-1, icu.compare(keyed[i].second, keyed[i + 1].second), keyed[i].second, keyed[i + 1].second);
    EXPECT_EQ(mismatches.count(), 0);
}

TEST(CollationAgainstIcu, NoContractionSpansMoreThanTwoArchiveCharacters) {
    const IcuOrder icu;
    std::set<char32_t> archive;
    for (int b = 0; b < 256; ++b) archive.insert(archive_code_point(b));
    UErrorCode status = U_ZERO_ERROR;
    USet* contractions = uset_openEmpty();
    ucol_getContractionsAndExpansions(icu.collator(), contractions, nullptr, true, &status);
    ASSERT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    std::vector<std::u32string> within;
    for (int32_t i = 0; i < uset_getItemCount(contractions); ++i) {
        UChar32 start = 0;
        UChar32 end = 0;
        std::array<UChar, 64> str{};
        const int32_t len =
            uset_getItem(contractions, i, &start, &end, str.data(), static_cast<int32_t>(str.size()), &status);
        if (len == 0) continue;
        std::u32string cps;
        for (int32_t k = 0; k < len;) {
            UChar32 c = 0;
            U16_NEXT(str.data(), k, len, c);
            cps.push_back(static_cast<char32_t>(c));
        }
        if (std::all_of(cps.begin(), cps.end(), [&](char32_t c) { return archive.count(c) != 0; }))
            within.push_back(cps);
    }
    uset_close(contractions);
    ASSERT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    EXPECT_FALSE(within.empty()) << "l and L with a middle dot are expected";
    for (const std::u32string& c : within) EXPECT_EQ(c.size(), 2u);
}

// Random list-like texts, each compared with a variant of itself (one
// character changed, added or dropped, or none) and with the next text; then
// all of them sorted by key and every neighbour checked, as above.
TEST(CollationAgainstIcu, RandomTextsCompareAsIcuComparesThem) {
    const IcuOrder icu;
    std::vector<std::string> everything = archive_characters();
    for (int copies = 0; copies < 8; ++copies)
        for (const char* c : {" ", "\\", ",", "'", "-", ".", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9"})
            everything.push_back(c);
    std::mt19937 rng(20240611);
    std::vector<std::string> texts;
    Mismatches mismatches;
    constexpr int kBases = 100000;
    for (int n = 0; n < kBases; ++n) {
        const auto& alphabet = n % 2 == 0 ? everything : kLookalikes;
        const std::string base = random_text(rng, alphabet);
        // Variants work on whole characters so that texts stay UTF-8.
        std::vector<std::string> chars;
        for (std::size_t i = 0; i < base.size();) {
            std::size_t len = 1;
            while (i + len < base.size() && (static_cast<unsigned char>(base[i + len]) & 0xC0) == 0x80) ++len;
            chars.push_back(base.substr(i, len));
            i += len;
        }
        std::uniform_int_distribution<std::size_t> at(0, chars.size());
        std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
        const std::size_t pos = at(rng);
        switch (n % 4) {
            case 0: if (pos < chars.size()) chars[pos] = alphabet[pick(rng)]; break;
            case 1: chars.insert(chars.begin() + static_cast<std::ptrdiff_t>(pos), alphabet[pick(rng)]); break;
            case 2: if (pos < chars.size()) chars.erase(chars.begin() + static_cast<std::ptrdiff_t>(pos)); break;
            default: break;
        }
        std::string variant;
        for (const std::string& c : chars) variant += c;
        mismatches.check(icu.compare(base, variant), compare_keys(base, variant), base, variant);
        if (!texts.empty()) mismatches.check(icu.compare(texts.back(), base), compare_keys(texts.back(), base),
                                             texts.back(), base);
        texts.push_back(base);
        texts.push_back(variant);
    }
    std::vector<std::pair<std::string, std::string>> keyed;  // key, text
    keyed.reserve(texts.size());
    for (const std::string& t : texts) keyed.emplace_back(collation_key(t), t);
    std::sort(keyed.begin(), keyed.end());
    for (std::size_t i = 0; i + 1 < keyed.size(); ++i)
        mismatches.check(keyed[i].second == keyed[i + 1].second ? 0 : -1,
                         icu.compare(keyed[i].second, keyed[i + 1].second), keyed[i].second, keyed[i + 1].second);
    EXPECT_EQ(mismatches.count(), 0);
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
