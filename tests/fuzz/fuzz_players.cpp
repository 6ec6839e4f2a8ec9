// Any bytes as ENCPLYR.DAT: the records, their used rule (which depends on
// the year of the run) and the birth years ages are worked out from.
#include "fuzz_check.h"

#include "encyclopedia/encyclopedia.h"

using namespace tb;

namespace {
constexpr int kYear = 2026;   // fixed, so that a crash reproduces on any date
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    enc::FileFacts facts;
    const auto records =
        fuzz::read_checked(data, size, enc::kPlayerFile, &enc::Encyclopedia::read_players, facts);

    std::size_t used = 0;
    const enc::PlayerEntry* last_used = nullptr;
    for (const auto& r : records) {
        if (!enc::is_used(r, kYear)) continue;
        ++used;
        last_used = &r;
    }
    fuzz::check_problems(facts, used);

    const enc::BirthYears years = enc::build_birth_years(records, kYear);
    TB_FUZZ_CHECK(years.size() <= used);
    for (const auto& [id, year] : years) TB_FUZZ_CHECK(year > 0 && year < kYear);
    if (last_used) TB_FUZZ_CHECK(years.at(last_used->player_id) == last_used->birth_year);
    return 0;
}
