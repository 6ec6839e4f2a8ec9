// Whole conversion of a generated encyclopedia: the time of each stage, the
// time of saving the same workbook again on its own, their ratio, and the
// peak memory. With REPEAT > 1 the run and the lone save are repeated and the
// best of each is kept, so that other work on the machine weighs less.
// Usage: bench_convert [PLAYERS] [SEASONS] [REPEAT]
#include "app/run.h"
#include "archive/sample.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double seconds_since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

// The process's CPU time: the conversion runs on this one thread.
double cpu_seconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Notes when each stage begins.
struct Stopwatch : tb::app::RunObserver {
    std::map<int, Clock::time_point> begun;
    void stage(tb::app::Stage s) override { begun[static_cast<int>(s)] = Clock::now(); }
};

struct Times {
    double reading = 0, players = 0, teams = 0, saving = 0, whole = 0, whole_cpu = 0, alone = 0, alone_cpu = 0;
};

void print(const char* label, const Times& t) {
    std::printf("%s: reading %.2f s, players %.2f s, teams %.2f s, saving %.2f s, whole run %.2f s (CPU %.2f s); "
                "saving alone %.2f s (CPU %.2f s)\n",
                label, t.reading, t.players, t.teams, t.saving, t.whole, t.whole_cpu, t.alone, t.alone_cpu);
}

}  // namespace

int main(int argc, char** argv) {
    const int players = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int seasons = argc > 2 ? std::atoi(argv[2]) : 20;
    const int repeat = argc > 3 ? std::max(1, std::atoi(argv[3])) : 1;
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

    Times best;
    tb::app::RunResult result;
    for (int i = 1; i <= repeat; ++i) {
        tb::app::RunOptions options;
        options.folder = dir / "enc";
        options.output = dir / "out.xlsx";
        options.viewing = tb::app::Viewing::AfterCompleted;
        fs::remove(options.output);
        Stopwatch watch;
        tb::wb::Workbook book;
        t0 = Clock::now();
        const double c0 = cpu_seconds();
        result = tb::app::convert(options, watch, nullptr, book);
        const auto end = Clock::now();
        Times t;
        t.whole_cpu = cpu_seconds() - c0;
        if (result.outcome != tb::app::RunOutcome::Completed) {
            std::fprintf(stderr, "run failed: %s\n", result.error.c_str());
            return 1;
        }
        auto at = [&](tb::app::Stage s) { return watch.begun.at(static_cast<int>(s)); };
        auto span = [](Clock::time_point a, Clock::time_point b) {
            return std::chrono::duration<double>(b - a).count();
        };
        t.reading = span(t0, at(tb::app::Stage::Players));
        t.players = span(at(tb::app::Stage::Players), at(tb::app::Stage::Teams));
        t.teams = span(at(tb::app::Stage::Teams), at(tb::app::Stage::Saving));
        t.saving = span(at(tb::app::Stage::Saving), end);
        t.whole = span(t0, end);

        // The same workbook saved once more, alone: what the run cannot go below.
        fs::remove(dir / "again.xlsx");
        t0 = Clock::now();
        const double c1 = cpu_seconds();
        book.save(dir / "again.xlsx");
        t.alone = seconds_since(t0);
        t.alone_cpu = cpu_seconds() - c1;
        print(("run " + std::to_string(i)).c_str(), t);
        if (i == 1) {
            best = t;
        } else {
            for (auto m : {&Times::reading, &Times::players, &Times::teams, &Times::saving, &Times::whole,
                           &Times::whole_cpu, &Times::alone, &Times::alone_cpu})
                best.*m = std::min(best.*m, t.*m);
        }
    }
    if (repeat > 1) print("best", best);
    std::printf("whole run / saving alone = %.2f (wall clock), %.2f (CPU time)\n", best.whole / best.alone,
                best.whole_cpu / best.alone_cpu);

    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    std::printf("conversion: %lld players, %lld lines, %.0f lines/s, workbook %.1f MB, peak RSS %.0f MB\n",
                static_cast<long long>(result.summary.players), static_cast<long long>(result.summary.lines),
                result.summary.lines / best.whole, fs::file_size(dir / "out.xlsx") / 1e6, ru.ru_maxrss / 1024.0);
    fs::remove_all(dir);
    return 0;
}
