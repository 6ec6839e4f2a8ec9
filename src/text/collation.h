// The order of work-list texts: player display names and standings texts.
//
// Names are ordered as people read them: letters compare without regard to
// case, and accents count only between texts whose letters are the same
// ("Martínez,Pedro" < "Martinez,Zack" < "Martz", "Simek,Al" < "Šimek,Bobby");
// ligatures weigh as their letters (æ as ae, ß as ss), then as accents.
// Spaces and punctuation count too; they sort before digits, and digits
// before letters ("d'Arnaud" < "Darnell" < "deGrom"). Digits are compared
// one by one, not as numbers: "Smith,John \ 1234" < "Smith,John \ 999".
// Control characters other than tabs and line breaks are ignored. Texts
// still equal after that, such as "Smith" and "smith", are ordered by their
// Unicode code points ("Smith" first). Only identical texts compare equal; a
// stable sort keeps those in the order it was given them.
//
// The letter, punctuation and accent weights are those of the Unicode
// Collation Algorithm as ICU's en_US collation assigns them at secondary
// strength. They are held in a table generated from ICU for the 256
// characters a Windows-1252 archive can hold (collation_table.inc); nothing
// here needs ICU. Any other character (U+FFFD, say, or one typed by hand)
// sorts after all of those, such characters among themselves by code point,
// and carries no accent weight. Each byte of a text that is not well-formed
// UTF-8 counts as U+FFFD; the order stays total all the same.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tb::text {

// The sort key of a UTF-8 text: comparing two keys byte by byte, as unsigned
// bytes (std::string's operator<, or memcmp and then length), orders their
// texts as described above, and two keys are equal only when their texts
// are. Accepts any bytes and never fails. A key holds about three bytes per
// character of plain text; its layout is for comparison only and changes
// when the table is regenerated, so keys are not to be stored.
std::string collation_key(std::string_view utf8_text);

// True when `a` sorts before `b` in the order above; false for identical
// texts. Builds both keys, so to sort many texts build each text's key once
// and compare the keys.
bool collates_before(std::string_view a, std::string_view b);

// Sorts `items` in the order above of their texts (`text_of(item)`), as the
// sorted work lists keep their items: each text's key is built once, and
// items with identical texts keep the order they had.
template <class Item, class TextOf>
void sort_by_collation(std::vector<Item>& items, TextOf text_of) {
    std::vector<std::pair<std::string, std::size_t>> keys;
    keys.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) keys.emplace_back(collation_key(text_of(items[i])), i);
    std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Item> sorted;
    sorted.reserve(items.size());
    for (const auto& k : keys) sorted.push_back(std::move(items[k.second]));
    items = std::move(sorted);
}

}  // namespace tb::text
