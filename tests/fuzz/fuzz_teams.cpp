// Any bytes as ENCTEAM.DAT: the records, their used rule, and the team table
// (abbreviation by team number) the run looks teams up in.
#include "fuzz_check.h"

using namespace tb;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [records, used] = fuzz::read_checked(data, size, enc::kTeamFile, &enc::Encyclopedia::read_teams);
    for (const enc::TeamEntry* r : used) TB_FUZZ_CHECK(r->abbreviation.size() <= 4 * 3);   // 4 characters of UTF-8

    const enc::TeamTable table = enc::build_team_table(records);
    TB_FUZZ_CHECK(table.size() <= used.size());
    // A later record of a team number wins.
    if (!used.empty()) TB_FUZZ_CHECK(table.at(used.back()->team_id) == used.back()->abbreviation);
    return 0;
}
