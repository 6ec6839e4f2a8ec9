// A stand-in run that reports as fast as it can (a status, the bar and a
// notice each time) until it is cancelled: for the tests of how a window
// keeps up.
#pragma once

#include "app/run.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace tb::test {

// `reports` counts what has been reported so far.
inline auto flood_run(std::atomic<int64_t>& reports) {
    return [&reports](const app::RunOptions&, app::RunObserver& obs, const std::atomic<bool>* cancel) {
        obs.stage(app::Stage::Players);
        for (int64_t i = 1; !cancel->load(); ++i) {
            obs.status("player " + std::to_string(i));
            obs.progress(app::Stage::Players, i, 1'000'000'000);
            obs.notice({"this case is 3", "ENCPLSTATS.DAT", i, {}, {}, {}});
            reports = i;
        }
        return app::RunResult{app::RunOutcome::Cancelled, {}, {}};
    };
}

}  // namespace tb::test
