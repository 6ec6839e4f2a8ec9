// Any bytes as ENCPLYR.DAT: the records, their used rule (which depends on
// the year of the run) and the birth years ages are worked out from.
#include "fuzz_check.h"

using namespace tb;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr int kYear = 2026;   // fixed, so that a crash reproduces on any date
    const auto [records, used] = fuzz::read_checked(data, size, enc::kPlayerFile, &enc::Encyclopedia::read_players,
                                                    [](const auto& r) { return enc::is_used(r, kYear); });

    const enc::BirthYears years = enc::build_birth_years(records, kYear);
    TB_FUZZ_CHECK(years.size() <= used.size());
    for (const auto& [id, year] : years) TB_FUZZ_CHECK(year > 0 && year < kYear);
    if (!used.empty()) TB_FUZZ_CHECK(years.at(used.back()->player_id) == used.back()->birth_year);
    return 0;
}
