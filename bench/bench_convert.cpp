// Whole conversion of a generated encyclopedia: time and peak memory.
// Usage: bench_convert [PLAYERS] [SEASONS] [--keep DIR]
#include "app/run.h"
#include "encyclopedia/sample.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

static double seconds_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

int main(int argc, char** argv) {
    const int players = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int seasons = argc > 2 ? std::atoi(argv[2]) : 20;
    const fs::path dir = fs::temp_directory_path() / ("tallybook-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);

    auto t0 = std::chrono::steady_clock::now();
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
    options.viewing = tb::app::Viewing::AfterCompleted;  // shown right before saving
    struct Stopwatch : tb::app::RunObserver {
        std::chrono::steady_clock::time_point passes_done;
        void show_workbook() override { passes_done = std::chrono::steady_clock::now(); }
    } quiet;
    t0 = std::chrono::steady_clock::now();
    const auto result = tb::app::run_process(options, quiet);
    const double run_s = seconds_since(t0);
    if (result.outcome != tb::app::RunOutcome::Completed) {
        std::fprintf(stderr, "run failed: %s\n", result.error.c_str());
        return 1;
    }
    const double passes_s = std::chrono::duration<double>(quiet.passes_done - t0).count();
    std::printf("player and team passes: %.2f s, saving: %.2f s\n", passes_s, run_s - passes_s);
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    std::printf("conversion: %lld players, %lld lines, %.2f s, %.0f lines/s, workbook %.1f MB, peak RSS %.0f MB\n",
                static_cast<long long>(result.summary.players), static_cast<long long>(result.summary.lines), run_s,
                result.summary.lines / run_s, fs::file_size(options.output) / 1e6, ru.ru_maxrss / 1024.0);
    fs::remove_all(dir);
    return 0;
}
