// Whole conversion of a generated encyclopedia: the time of each stage, the
// time of saving the same workbook again on its own, their ratio, and the
// peak memory.
// Usage: bench_convert [PLAYERS] [SEASONS]
#include "app/run_state.h"
#include "encyclopedia/sample.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

static double seconds_since(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

// Notes when each stage begins.
struct Stopwatch : tb::app::RunObserver {
    std::map<int, Clock::time_point> begun;
    void stage(tb::app::Stage s) override { begun[static_cast<int>(s)] = Clock::now(); }
};

int main(int argc, char** argv) {
    const int players = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int seasons = argc > 2 ? std::atoi(argv[2]) : 20;
    const fs::path dir = fs::temp_directory_path() / ("tallybook-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);

    auto t0 = Clock::now();
    tb::enc::SampleOptions so;
    so.players = players;
    so.seasons = seasons;
    const auto sample = tb::enc::make_sample(so);
    tb::enc::write_encyclopedia(dir / "enc", sample.contents);
    const auto lines = sample.contents.stats ? sample.contents.stats->size() : 0;
    std::printf("sample: %d players, %zu statistics lines, %.2f s\n", sample.players, lines, seconds_since(t0));

    tb::app::RunOptions options;
    options.folder = dir / "enc";
    options.output = dir / "out.xlsx";
    options.viewing = tb::app::Viewing::AfterCompleted;
    Stopwatch watch;
    tb::app::RunState state(options, watch, nullptr);
    t0 = Clock::now();
    const auto result = tb::app::run_with_state(state);
    const auto end = Clock::now();
    if (result.outcome != tb::app::RunOutcome::Completed) {
        std::fprintf(stderr, "run failed: %s\n", result.error.c_str());
        return 1;
    }
    auto at = [&](tb::app::Stage s) { return watch.begun.at(static_cast<int>(s)); };
    auto span = [](Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); };
    const double total = span(t0, end);
    std::printf("reading %.2f s, players %.2f s, teams %.2f s, saving %.2f s, whole run %.2f s\n",
                span(t0, at(tb::app::Stage::Players)), span(at(tb::app::Stage::Players), at(tb::app::Stage::Teams)),
                span(at(tb::app::Stage::Teams), at(tb::app::Stage::Saving)), span(at(tb::app::Stage::Saving), end),
                total);

    // The same workbook saved once more, alone: what the run cannot go below.
    t0 = Clock::now();
    state.workbook.save(dir / "again.xlsx");
    const double save_alone = seconds_since(t0);
    std::printf("saving the workbook alone: %.2f s; whole run / saving alone = %.2f\n", save_alone,
                total / save_alone);

    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    std::printf("conversion: %lld players, %lld lines, %.0f lines/s, workbook %.1f MB, peak RSS %.0f MB\n",
                static_cast<long long>(result.summary.players), static_cast<long long>(result.summary.lines),
                result.summary.lines / total, fs::file_size(options.output) / 1e6, ru.ru_maxrss / 1024.0);
    fs::remove_all(dir);
    return 0;
}
