// A whole run on a small encyclopedia cut from the input (see split.h):
// reading, the player pass, the team pass and the workbook built in memory,
// for the sheets one control byte chooses. Whatever the files hold, a run
// ends with an outcome and never crashes; Failed is a fine outcome. The
// plain-text account of the same files is made too.
#include "fuzz_check.h"
#include "split.h"

#include "app/run.h"
#include "encyclopedia/encyclopedia.h"
#include "encyclopedia/inspect.h"

#include <atomic>

using namespace tb;

namespace {

constexpr int kYear = 2026;   // fixed, so that a crash reproduces on any date

// Asks for snapshots and looks at every report, as a front end would.
class Observer final : public app::RunObserver {
public:
    void notice(const app::Notice& n) override {
        TB_FUZZ_CHECK(!n.text.empty());
        ++notices;
    }
    bool wants_snapshots() const override { return true; }
    void snapshot(app::SheetSnapshot s) override {
        TB_FUZZ_CHECK(!s.sheet.empty() && s.first_row >= 1);
        for (const auto& row : s.rows) TB_FUZZ_CHECK(row.size() <= 31);   // columns A..AE
    }
    int64_t notices = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::RunInput input = fuzz::split_run_input(data, size);
    const auto source = enc::memory_source(std::move(input.files));

    bool all_read = false;
    const std::string account = enc::inspect_report(enc::Encyclopedia(source), kYear, &all_read);
    TB_FUZZ_CHECK(all_read && !account.empty());   // memory never fails to read

    app::RunOptions options;
    options.source = source;
    options.save = false;
    options.current_year = kYear;
    options.desired = input.desired;
    Observer observer;
    const std::atomic<bool> cancel{false};
    const app::RunResult result = app::run_process(options, observer, &cancel);

    TB_FUZZ_CHECK(result.outcome != app::RunOutcome::Cancelled);
    if (result.outcome == app::RunOutcome::Failed) TB_FUZZ_CHECK(!result.error.empty());
    else TB_FUZZ_CHECK(result.summary.notices == observer.notices && !result.summary.sheets.empty());
    return 0;
}
