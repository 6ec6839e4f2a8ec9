// Any bytes as ENCTEAM.DAT: the records, their used rule, and the team table
// (abbreviation by team number) the run looks teams up in.
#include "fuzz_check.h"

#include "encyclopedia/encyclopedia.h"

using namespace tb;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    enc::FileFacts facts;
    const auto records = fuzz::read_checked(data, size, enc::kTeamFile, &enc::Encyclopedia::read_teams, facts);

    std::size_t used = 0;
    const enc::TeamEntry* last_used = nullptr;
    for (const auto& r : records) {
        if (!enc::is_used(r)) continue;
        ++used;
        last_used = &r;
        TB_FUZZ_CHECK(r.abbreviation.size() <= 4 * 3);   // 4 characters, at most 3 UTF-8 bytes each
    }
    fuzz::check_problems(facts, used);

    const enc::TeamTable table = enc::build_team_table(records);
    TB_FUZZ_CHECK(table.size() <= used);
    // A later record of a team number wins.
    if (last_used) TB_FUZZ_CHECK(table.at(last_used->team_id) == last_used->abbreviation);
    return 0;
}
