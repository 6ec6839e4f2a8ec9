// Sort keys for the order of work-list texts.
//
// A key is the text's primary weights, 0x01, its secondary weights, 0x01, and
// then the text's own bytes. Each weight is a one-byte rank (0x02..0xFE) from
// the generated table, so a run of weights that ends (0x01) where another goes
// on sorts first, as in the collation algorithm. A character outside the table
// weighs 0xFF followed by its code point in three bytes: after every table
// weight, and in code point order among its kind. The text's bytes settle the
// remaining ties; UTF-8 compares byte by byte as its code points do, and any
// other bytes still compare the same way every time.
#include "text/collation.h"

#include "text/utf8.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tb::text {
namespace {

#include "text/collation_table.inc"

constexpr char kLevelEnd = 0x01;
constexpr char kOutsideTable = static_cast<char>(0xFF);

constexpr bool ranks_fit(const CollationWeights& w) {
    if (w.primary_count > kCollationMaxElements || w.secondary_count > kCollationMaxElements) return false;
    for (std::size_t k = 0; k < w.primary_count; ++k)
        if (w.primaries[k] < 0x02 || w.primaries[k] > 0xFE) return false;
    for (std::size_t k = 0; k < w.secondary_count; ++k)
        if (w.secondaries[k] < 0x02 || w.secondaries[k] > 0xFE) return false;
    return true;
}
// The separators and the outside mark must stay apart from every weight.
static_assert(std::all_of(kCollationChars.begin(), kCollationChars.end(),
                          [](const CollationChar& c) { return ranks_fit(c.weights); }));
static_assert(std::all_of(kCollationPairs.begin(), kCollationPairs.end(),
                          [](const CollationPair& p) { return ranks_fit(p.weights); }));

// Row of each code point below U+0100, or -1 when the archive cannot hold it
// (most of U+0080..U+009F, whose bytes decode to other characters).
constexpr std::array<int16_t, 256> kRowOfLow = [] {
    std::array<int16_t, 256> rows{};
    rows.fill(-1);
    for (std::size_t r = 0; r < kCollationChars.size(); ++r)
        if (kCollationChars[r].code_point < 0x100) rows[kCollationChars[r].code_point] = static_cast<int16_t>(r);
    return rows;
}();

constexpr std::size_t kHighCount = static_cast<std::size_t>(std::count_if(
    kCollationChars.begin(), kCollationChars.end(), [](const CollationChar& c) { return c.code_point >= 0x100; }));

// Rows of the code points from U+0100 on, by code point for binary search.
constexpr std::array<const CollationChar*, kHighCount> kHighRows = [] {
    std::array<const CollationChar*, kHighCount> rows{};
    std::size_t n = 0;
    for (const CollationChar& c : kCollationChars)
        if (c.code_point >= 0x100) rows[n++] = &c;
    std::sort(rows.begin(), rows.end(),
              [](const CollationChar* a, const CollationChar* b) { return a->code_point < b->code_point; });
    return rows;
}();

const CollationChar* row_of(char32_t cp) {
    if (cp < 0x100) {
        const int16_t r = kRowOfLow[cp];
        return r < 0 ? nullptr : &kCollationChars[static_cast<std::size_t>(r)];
    }
    const auto it = std::lower_bound(kHighRows.begin(), kHighRows.end(), cp,
                                     [](const CollationChar* c, char32_t v) { return c->code_point < v; });
    return it != kHighRows.end() && (*it)->code_point == cp ? *it : nullptr;
}

const CollationPair* pair_of(char32_t first, char32_t second) {
    for (const CollationPair& p : kCollationPairs)
        if (p.first == first && p.second == second) return &p;
    return nullptr;
}

// Calls on_weights(const CollationWeights&) for each table character or pair
// of the text, and on_outside(code point) for each other character, in text
// order.
template <class OnWeights, class OnOutside>
void for_each_unit(std::string_view text, OnWeights on_weights, OnOutside on_outside) {
    std::size_t i = 0;
    while (i < text.size()) {
        const char32_t cp = next_code_point(text, i);
        const CollationChar* c = row_of(cp);
        if (c == nullptr) {
            on_outside(cp);
            continue;
        }
        if (c->starts_pair && i < text.size()) {
            std::size_t after = i;
            const char32_t next = next_code_point(text, after);
            if (const CollationPair* p = pair_of(cp, next)) {
                on_weights(p->weights);
                i = after;
                continue;
            }
        }
        on_weights(c->weights);
    }
}

// The most key bytes one text byte can need: a stray byte weighs 0xFF and
// three code point bytes, and appears itself at the end. Characters of the
// table need less (checked below), other characters too (four weight bytes for
// two to four text bytes).
constexpr std::size_t kMostKeyBytesPerTextByte = 5;

constexpr std::size_t utf8_length(char32_t cp) {
    return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
}
constexpr bool fits_bound(const CollationWeights& w, std::size_t text_bytes) {
    return w.primary_count + w.secondary_count + text_bytes <= kMostKeyBytesPerTextByte * text_bytes;
}
static_assert(std::all_of(kCollationChars.begin(), kCollationChars.end(), [](const CollationChar& c) {
    return fits_bound(c.weights, utf8_length(c.code_point));
}));
static_assert(std::all_of(kCollationPairs.begin(), kCollationPairs.end(), [](const CollationPair& p) {
    return fits_bound(p.weights, utf8_length(p.first) + utf8_length(p.second));
}));

// Writes the key of `text` at `out` and returns its end. Needs room for
// kMostKeyBytesPerTextByte bytes a text byte, two separators and
// kCollationMaxElements bytes of slack: whole weight arrays are copied and
// only their used part kept, which is cheaper than copying byte by byte.
char* write_key(std::string_view text, char* out) {
    for_each_unit(
        text,
        [&](const CollationWeights& w) {
            std::memcpy(out, w.primaries.data(), kCollationMaxElements);
            out += w.primary_count;
        },
        [&](char32_t cp) {
            *out++ = kOutsideTable;
            *out++ = static_cast<char>(cp >> 16);
            *out++ = static_cast<char>((cp >> 8) & 0xFF);
            *out++ = static_cast<char>(cp & 0xFF);
        });
    *out++ = kLevelEnd;
    for_each_unit(
        text,
        [&](const CollationWeights& w) {
            std::memcpy(out, w.secondaries.data(), kCollationMaxElements);
            out += w.secondary_count;
        },
        [](char32_t) {});
    *out++ = kLevelEnd;
    if (!text.empty()) std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

}  // namespace

std::string collation_key(std::string_view utf8_text) {
    const std::size_t room = kMostKeyBytesPerTextByte * utf8_text.size() + 2 + kCollationMaxElements;
    // Work-list texts are short: build the key on the stack and allocate it
    // once at its size.
    constexpr std::size_t kStackRoom = 1024;
    if (room <= kStackRoom) {
        std::array<char, kStackRoom> buffer;
        char* end = write_key(utf8_text, buffer.data());
        return std::string(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    }
    std::string key(room, '\0');
    key.resize(static_cast<std::size_t>(write_key(utf8_text, key.data()) - key.data()));
    return key;
}

bool collates_before(std::string_view a, std::string_view b) {
    return collation_key(a) < collation_key(b);
}

}  // namespace tb::text
