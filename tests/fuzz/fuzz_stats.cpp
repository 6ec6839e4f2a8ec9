// Any bytes as ENCPLSTATS.DAT: the records, their used rule, and what the
// player pass takes from them: each player's display name (Windows-1252
// names decoded to UTF-8), his letter sheet and his place in the list of
// players ("name \ number" in collation order).
#include "fuzz_check.h"

#include "app/reporter.h"
#include "sheets/letter_sheets.h"
#include "text/collation.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

using namespace tb;

namespace {
// A name field as the file holds it: raw bytes up to the first NUL.
std::string raw_name(const std::uint8_t* record, std::size_t offset) {
    const auto* at = reinterpret_cast<const char*>(record + offset);
    return std::string(at, std::find(at, at + 16, '\0'));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [records, used] = fuzz::read_checked(data, size, enc::kStatsFile, &enc::Encyclopedia::read_stats);
    std::unordered_map<int32_t, std::string> names;   // the last used line's name wins
    for (const enc::StatsLine* r : used) {
        const std::string name = app::display_name(*r);
        names[r->player_id] = name;
        // The UTF-8 name goes back to exactly the bytes of the file.
        const std::uint8_t* raw = data + static_cast<std::size_t>(r - records.data()) * enc::StatsLine::kSize;
        TB_FUZZ_CHECK(enc::utf8_to_cp1252(name) == raw_name(raw, 32) + "," + raw_name(raw, 16));
    }

    std::vector<std::pair<std::string, std::string>> listed;   // collation key, text
    for (const auto& [id, name] : names) {
        const std::string sheet = sheets::letter_sheet_of(name);
        TB_FUZZ_CHECK(sheet == "#" || (sheet.size() == 1 && sheet[0] >= 'A' && sheet[0] <= 'Z'));
        std::string entry = name + " \\ " + std::to_string(id);
        listed.emplace_back(text::collation_key(entry), std::move(entry));
    }
    // The numbers make every text different, and only identical texts have
    // equal keys; the comparison of two texts agrees with their keys.
    std::sort(listed.begin(), listed.end());
    for (std::size_t i = 1; i < listed.size(); ++i) {
        const auto& [key_a, a] = listed[i - 1];
        const auto& [key_b, b] = listed[i];
        TB_FUZZ_CHECK(key_a != key_b && text::collates_before(a, b) && !text::collates_before(b, a));
    }
    return 0;
}
