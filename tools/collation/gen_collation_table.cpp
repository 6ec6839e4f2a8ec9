// Writes src/text/collation_table.inc: the primary and secondary collation
// weights, under ICU's en_US collation, of the 256 characters a Windows-1252
// archive can hold. The table is kept as source so that the program itself
// never needs ICU; run this only to regenerate it:
//
//   cmake --build <build> --target tallybook-gen-collation
//   <build>/tools/collation/tallybook-gen-collation > src/text/collation_table.inc
//
// ICU's weights are replaced by their rank among the weights the table uses,
// so that each fits in one byte and compares as the ICU weight does. The run-
// time key builder concatenates the weights of a text's characters; that is
// exact only while ICU has no contraction among these characters other than
// two-character ones. The generator stops (status 1, reason on stderr) when the
// data has a feature the key builder cannot reproduce, rather than write a
// table that would sort wrongly.
#include "text/cp1252.h"

#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/ucoleitr.h>
#include <unicode/uset.h>
#include <unicode/utf16.h>
#include <unicode/uversion.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// Code points of the bytes as the archive reader decodes them (the five
// codes Windows-1252 leaves unassigned become the C1 control of the same value).
char32_t code_point_of(int byte) { return tb::text::cp1252_code_point(static_cast<unsigned char>(byte)); }

// The first rank; 0 and 1 are left to the key's own separators.
constexpr int kFirstRank = 0x02;
// The last rank; 0xFF marks a character outside the table.
constexpr int kLastRank = 0xFE;
constexpr std::size_t kMaxElements = 3;

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "tallybook-gen-collation: %s\n", why.c_str());
    std::exit(1);
}

void check(UErrorCode status, const char* what) {
    if (U_FAILURE(status)) fail(std::string(what) + ": " + u_errorName(status));
}

// One collation element with the weights that count at secondary strength.
struct Element {
    uint32_t primary = 0;
    uint16_t secondary = 0;
};

struct CollatorCloser {
    void operator()(UCollator* c) const { ucol_close(c); }
};
struct ElementsCloser {
    void operator()(UCollationElements* e) const { ucol_closeElements(e); }
};

std::u16string utf16(const std::vector<char32_t>& cps) {
    std::u16string s;
    for (const char32_t cp : cps) {
        if (cp >= 0x10000) {
            s.push_back(static_cast<char16_t>(U16_LEAD(cp)));
            s.push_back(static_cast<char16_t>(U16_TRAIL(cp)));
        } else {
            s.push_back(static_cast<char16_t>(cp));
        }
    }
    return s;
}

// The elements ICU gives a text, with those that weigh nothing at primary and
// secondary strength dropped. The iterator hands out 32-bit halves of ICU's
// 64-bit elements: the first carries the high 16 bits of the primary and the
// high byte of the secondary, a continuation (low bits 0xC0) the rest.
std::vector<Element> elements_of(UCollator* coll, const std::vector<char32_t>& text) {
    const std::u16string s = utf16(text);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCollationElements, ElementsCloser> it(
        ucol_openElements(coll, reinterpret_cast<const UChar*>(s.data()), static_cast<int32_t>(s.size()), &status));
    check(status, "ucol_openElements");
    std::vector<Element> all;
    for (;;) {
        const int32_t ce = ucol_next(it.get(), &status);
        check(status, "ucol_next");
        if (ce == UCOL_NULLORDER) break;
        const auto u = static_cast<uint32_t>(ce);
        if ((u & 0xC0) == 0xC0) {
            if (all.empty()) fail("continuation element without a first half");
            all.back().primary |= u >> 16;
            all.back().secondary = static_cast<uint16_t>(all.back().secondary | ((u >> 8) & 0xFF));
        } else {
            all.push_back({u & 0xFFFF0000u, static_cast<uint16_t>(((u >> 8) & 0xFF) << 8)});
        }
    }
    std::vector<Element> kept;
    for (const Element& e : all)
        if (e.primary != 0 || e.secondary != 0) kept.push_back(e);
    return kept;
}

std::string hex(uint32_t v, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*X", digits, v);
    return buf;
}

std::string char_name(char32_t cp) {
    char buf[128];
    UErrorCode status = U_ZERO_ERROR;
    u_charName(static_cast<UChar32>(cp), U_EXTENDED_CHAR_NAME, buf, sizeof buf, &status);
    check(status, "u_charName");
    return buf;
}

struct Mapping {
    std::vector<char32_t> text;
    std::vector<Element> elements;
};

}  // namespace

int main() {
    UErrorCode status = U_ZERO_ERROR;
    // en_US has no tailoring of its own; ICU answers with the root collation
    // and a warning, which is what is wanted.
    std::unique_ptr<UCollator, CollatorCloser> coll(ucol_open("en_US", &status));
    check(status, "ucol_open(en_US)");
    ucol_setStrength(coll.get(), UCOL_SECONDARY);

    std::set<char32_t> in_table;
    std::array<Mapping, 256> chars;
    for (int b = 0; b < 256; ++b) {
        const char32_t cp = code_point_of(b);
        in_table.insert(cp);
        chars[static_cast<std::size_t>(b)].text = {cp};
        chars[static_cast<std::size_t>(b)].elements = elements_of(coll.get(), {cp});
    }

    // Contractions and context-dependent mappings made only of table
    // characters. Two-character ones are reproduced by the key builder; any
    // longer, or chained, would need more than it does.
    std::unique_ptr<USet, decltype(&uset_close)> contractions(uset_openEmpty(), &uset_close);
    ucol_getContractionsAndExpansions(coll.get(), contractions.get(), nullptr, true, &status);
    check(status, "ucol_getContractionsAndExpansions");
    std::vector<Mapping> pairs;
    for (int32_t i = 0; i < uset_getItemCount(contractions.get()); ++i) {
        UChar32 start = 0;
        UChar32 end = 0;
        std::array<UChar, 64> str{};
        const int32_t len =
            uset_getItem(contractions.get(), i, &start, &end, str.data(), static_cast<int32_t>(str.size()), &status);
        check(status, "uset_getItem");
        if (len == 0) continue;  // a range of single code points, not a contraction
        std::vector<char32_t> cps;
        for (int32_t k = 0; k < len;) {
            UChar32 c = 0;
            U16_NEXT(str.data(), k, len, c);
            cps.push_back(static_cast<char32_t>(c));
        }
        if (!std::all_of(cps.begin(), cps.end(), [&](char32_t c) { return in_table.count(c) != 0; })) continue;
        if (cps.size() != 2) fail("a contraction of " + std::to_string(cps.size()) + " table characters");
        pairs.push_back({cps, elements_of(coll.get(), cps)});
    }
    std::sort(pairs.begin(), pairs.end(), [](const Mapping& a, const Mapping& b) { return a.text < b.text; });
    for (const Mapping& p : pairs)
        for (const Mapping& q : pairs)
            if (p.text[1] == q.text[0]) fail("contractions that overlap: U+" + hex(p.text[1], 4));

    // Ranks of the weights in use.
    std::set<uint32_t> primaries;
    std::set<uint16_t> secondaries;
    auto collect = [&](const Mapping& m) {
        if (m.elements.size() > kMaxElements) fail("more than " + std::to_string(kMaxElements) + " elements");
        for (const Element& e : m.elements) {
            if (e.primary != 0) primaries.insert(e.primary);
            if (e.secondary != 0) secondaries.insert(e.secondary);
            else if (e.primary != 0) fail("a primary weight without a secondary one");
        }
    };
    for (const Mapping& m : chars) collect(m);
    for (const Mapping& m : pairs) collect(m);
    if (primaries.size() > kLastRank - kFirstRank + 1 || secondaries.size() > kLastRank - kFirstRank + 1)
        fail("more distinct weights than one byte can rank");
    std::map<uint32_t, int> primary_rank;
    std::map<uint16_t, int> secondary_rank;
    for (const uint32_t p : primaries) primary_rank.emplace(p, kFirstRank + static_cast<int>(primary_rank.size()));
    for (const uint16_t s : secondaries)
        secondary_rank.emplace(s, kFirstRank + static_cast<int>(secondary_rank.size()));

    auto weights = [&](const Mapping& m) {
        std::string p;
        std::string s;
        int np = 0;
        int ns = 0;
        for (const Element& e : m.elements) {
            if (e.primary != 0) {
                p += (np++ ? ", 0x" : "0x") + hex(static_cast<uint32_t>(primary_rank.at(e.primary)), 2);
            }
            if (e.secondary != 0) {
                s += (ns++ ? ", 0x" : "0x") + hex(static_cast<uint32_t>(secondary_rank.at(e.secondary)), 2);
            }
        }
        return "{" + std::to_string(np) + ", " + std::to_string(ns) + ", {" + p + "}, {" + s + "}}";
    };
    auto icu_weights = [](const Mapping& m) {
        if (m.elements.empty()) return std::string("ignorable");
        std::string out;
        for (const Element& e : m.elements)
            out += (out.empty() ? "" : " ") + hex(e.primary, 8) + "." + hex(e.secondary, 4);
        return out;
    };
    auto starts_pair = [&](char32_t cp) {
        return std::any_of(pairs.begin(), pairs.end(), [&](const Mapping& m) { return m.text[0] == cp; });
    };

    UVersionInfo icu_version;
    u_getVersion(icu_version);
    char icu_text[U_MAX_VERSION_STRING_LENGTH];
    u_versionToString(icu_version, icu_text);
    UVersionInfo uca_version;
    ucol_getUCAVersion(coll.get(), uca_version);
    char uca_text[U_MAX_VERSION_STRING_LENGTH];
    u_versionToString(uca_version, uca_text);

    std::string out;
    out += "// Generated by tools/collation/gen_collation_table.cpp from the en_US\n";
    out += "// collation of ICU " + std::string(icu_text) + " (UCA " + uca_text + "); do not edit by hand. Regenerate with\n";
    out += "//\n";
    out += "//   cmake --build <build> --target tallybook-gen-collation\n";
    out += "//   <build>/tools/collation/tallybook-gen-collation > src/text/collation_table.inc\n";
    out += "//\n";
    out += "// Primary and secondary weights of the characters a Windows-1252 archive\n";
    out += "// can hold, each weight replaced by its rank (from 0x" + hex(kFirstRank, 2) + ") among the\n";
    out += "// weights in use. Characters without weights are ignored when comparing.\n";
    out += "// The comment of each row gives ICU's own elements as primary.secondary.\n";
    out += "\n";
    out += "inline constexpr std::size_t kCollationMaxElements = " + std::to_string(kMaxElements) + ";\n";
    out += "\n";
    out += "struct CollationWeights {\n";
    out += "    uint8_t primary_count;\n";
    out += "    uint8_t secondary_count;\n";
    out += "    std::array<uint8_t, kCollationMaxElements> primaries;\n";
    out += "    std::array<uint8_t, kCollationMaxElements> secondaries;\n";
    out += "};\n";
    out += "\n";
    out += "struct CollationChar {\n";
    out += "    char32_t code_point;\n";
    out += "    // Followed by the second character of a pair below, it weighs as the pair.\n";
    out += "    bool starts_pair;\n";
    out += "    CollationWeights weights;\n";
    out += "};\n";
    out += "\n";
    out += "struct CollationPair {\n";
    out += "    char32_t first;\n";
    out += "    char32_t second;\n";
    out += "    CollationWeights weights;\n";
    out += "};\n";
    out += "\n";
    out += "// Row b: the character of archive byte b.\n";
    out += "inline constexpr std::array<CollationChar, 256> kCollationChars = {{\n";
    for (int b = 0; b < 256; ++b) {
        const Mapping& m = chars[static_cast<std::size_t>(b)];
        const char32_t cp = m.text[0];
        out += "    {0x" + hex(cp, 4) + ", " + (starts_pair(cp) ? "true" : "false") + ", " + weights(m) + "},  // " +
               hex(static_cast<uint32_t>(b), 2) + " " + char_name(cp) + ": " + icu_weights(m) + "\n";
    }
    out += "}};\n";
    out += "\n";
    out += "// Two characters that weigh together, not as the sum of their rows.\n";
    out += "inline constexpr std::array<CollationPair, " + std::to_string(pairs.size()) + "> kCollationPairs = {{\n";
    for (const Mapping& m : pairs) {
        out += "    {0x" + hex(m.text[0], 4) + ", 0x" + hex(m.text[1], 4) + ", " + weights(m) + "},  // " +
               char_name(m.text[0]) + " + " + char_name(m.text[1]) + ": " + icu_weights(m) + "\n";
    }
    out += "}};\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
