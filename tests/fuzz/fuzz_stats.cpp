// Any bytes as ENCPLSTATS.DAT: the records, their used rule, and what the
// player pass takes from them: each player's display name (Windows-1252
// names decoded to UTF-8) and his letter sheet.
#include "fuzz_check.h"

#include "app/reporter.h"
#include "sheets/letter_sheets.h"

#include <algorithm>
#include <string>

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
    for (const enc::StatsLine* r : used) {
        const std::string name = app::display_name(*r);
        // The UTF-8 name goes back to exactly the bytes of the file.
        const std::uint8_t* raw = data + static_cast<std::size_t>(r - records.data()) * enc::StatsLine::kSize;
        TB_FUZZ_CHECK(enc::utf8_to_cp1252(name) == raw_name(raw, 32) + "," + raw_name(raw, 16));
        const std::string sheet = sheets::letter_sheet_of(name);
        TB_FUZZ_CHECK(sheet == "#" || (sheet.size() == 1 && sheet[0] >= 'A' && sheet[0] <= 'Z'));
    }
    return 0;
}
