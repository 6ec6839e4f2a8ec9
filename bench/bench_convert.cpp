// Whole conversion of a generated encyclopedia: the time of each stage, the
// time the reference writer (libxlsxwriter, as the save drove it before it
// had its own writer) takes alone to write the same workbook, and the ratio
// of the whole run to it; the two packages compared part by part; the peak
// memory of the run. With REPEAT > 1 the run and the reference are
// repeated back to back and the best of each is kept, so that other work on
// the machine weighs less. The save's threads: TALLYBOOK_SAVE_THREADS.
//
// With --cancel, the run is cancelled at moments spread over its save and
// the time from the cancel to the end of the run is printed.
//
// Usage: bench_convert [PLAYERS] [SEASONS] [REPEAT]
//        bench_convert --cancel [PLAYERS] [SEASONS]
#include "app/run.h"
#include "archive/sample.h"
#include "support/reference_writer.h"
#include "support/zip_reader.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double seconds_since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

double cpu_seconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// "VmHWM" or "VmRSS" of this process, in MB.
double memory_mb(const char* field) {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(field, 0) == 0) return std::atof(line.c_str() + std::strlen(field) + 1) / 1024.0;
    return 0;
}

// Notes when each stage begins.
struct Stopwatch : tb::app::RunObserver {
    std::map<int, Clock::time_point> begun;
    void stage(tb::app::Stage s) override { begun[static_cast<int>(s)] = Clock::now(); }
};

struct Times {
    double reading = 0, players = 0, teams = 0, saving = 0, whole = 0, whole_cpu = 0, reference = 0, reference_cpu = 0;
};

void print(const char* label, const Times& t) {
    std::printf("%s: reading %.2f s, players %.2f s, teams %.2f s, saving %.2f s, whole run %.2f s (CPU %.2f s); "
                "reference writer alone %.2f s (CPU %.2f s)\n",
                label, t.reading, t.players, t.teams, t.saving, t.whole, t.whole_cpu, t.reference, t.reference_cpu);
}

fs::path make_encyclopedia(const fs::path& dir, int players, int seasons) {
    const auto t0 = Clock::now();
    tb::enc::SampleOptions so;
    so.players = players;
    so.seasons = seasons;
    const auto sample = tb::enc::make_sample(so);
    tb::enc::write_encyclopedia(dir / "enc", sample.contents);
    std::printf("sample: %d players, %zu statistics lines, %.2f s\n", sample.players,
                sample.contents.stats ? sample.contents.stats->size() : 0, seconds_since(t0));
    return dir / "enc";
}

tb::app::RunOptions options_for(const fs::path& enc, const fs::path& out) {
    tb::app::RunOptions options;
    options.folder = enc;
    options.output = out;
    options.viewing = tb::app::Viewing::AfterCompleted;
    return options;
}

int convert(const fs::path& dir, const fs::path& enc, int repeat) {
    Times best;
    tb::app::RunResult result;
    double run_peak = 0;
    std::string identical = "not compared";
    for (int i = 1; i <= repeat; ++i) {
        const auto options = options_for(enc, dir / "out.xlsx");
        fs::remove(options.output);
        Stopwatch watch;
        tb::wb::Workbook book;
        auto t0 = Clock::now();
        const double c0 = cpu_seconds();
        result = tb::app::convert(options, watch, nullptr, book);
        const auto end = Clock::now();
        Times t;
        t.whole_cpu = cpu_seconds() - c0;
        if (result.outcome != tb::app::RunOutcome::Completed) {
            std::fprintf(stderr, "run failed: %s\n", result.error.c_str());
            return 1;
        }
        if (i == 1) run_peak = memory_mb("VmHWM:");
        auto at = [&](tb::app::Stage s) { return watch.begun.at(static_cast<int>(s)); };
        auto span = [](Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); };
        t.reading = span(t0, at(tb::app::Stage::Players));
        t.players = span(at(tb::app::Stage::Players), at(tb::app::Stage::Teams));
        t.teams = span(at(tb::app::Stage::Teams), at(tb::app::Stage::Saving));
        t.saving = span(at(tb::app::Stage::Saving), end);
        t.whole = span(t0, end);

        // The same workbook written by the reference writer alone.
        fs::remove(dir / "reference.xlsx");
        t0 = Clock::now();
        const double c1 = cpu_seconds();
        tb::test::write_reference(book, dir / "reference.xlsx");
        t.reference = seconds_since(t0);
        t.reference_cpu = cpu_seconds() - c1;
        print(("run " + std::to_string(i)).c_str(), t);
        if (i == 1) {
            best = t;
            const std::string diff = tb::test::package_difference(options.output, dir / "reference.xlsx");
            identical = diff.empty() ? "every part identical (docProps/core.xml aside)" : "DIFFERENT: " + diff.substr(0, 400);
        } else {
            for (auto m : {&Times::reading, &Times::players, &Times::teams, &Times::saving, &Times::whole,
                           &Times::whole_cpu, &Times::reference, &Times::reference_cpu})
                best.*m = std::min(best.*m, t.*m);
        }
    }
    if (repeat > 1) print("best", best);
    std::printf("whole run / reference writer alone = %.2f (wall clock), %.2f (CPU time)\n", best.whole / best.reference,
                best.whole_cpu / best.reference_cpu);
    std::printf("packages: %s\n", identical.c_str());
    const char* threads = std::getenv("TALLYBOOK_SAVE_THREADS");
    std::printf("conversion: %lld players, %lld lines, save threads %s, workbook %.1f MB (reference %.1f MB), "
                "peak RSS of the run %.0f MB\n",
                static_cast<long long>(result.summary.players), static_cast<long long>(result.summary.lines),
                threads ? threads : "(the cores)", fs::file_size(dir / "out.xlsx") / 1e6,
                fs::file_size(dir / "reference.xlsx") / 1e6, run_peak);
    return 0;
}

// Runs once to learn how long the save takes, then cancels runs at moments
// spread over their save and prints how long each took to end.
int cancel_latency(const fs::path& dir, const fs::path& enc) {
    struct SaveStart : tb::app::RunObserver {
        std::atomic<bool> saving{false};
        Clock::time_point at;
        void stage(tb::app::Stage s) override {
            if (s != tb::app::Stage::Saving) return;
            at = Clock::now();
            saving = true;
        }
    };
    double save_seconds = 0;
    {
        SaveStart obs;
        const auto options = options_for(enc, dir / "out.xlsx");
        tb::app::run_process(options, obs);
        save_seconds = seconds_since(obs.at);
    }
    std::printf("the save alone takes %.2f s\n", save_seconds);
    double worst = 0;
    for (double share : {0.0, 0.05, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 0.95, 0.99}) {
        fs::remove(dir / "out.xlsx");
        SaveStart obs;
        std::atomic<bool> cancel{false};
        Clock::time_point asked;
        const auto options = options_for(enc, dir / "out.xlsx");
        std::thread canceller([&] {
            while (!obs.saving) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            std::this_thread::sleep_until(obs.at + std::chrono::duration_cast<Clock::duration>(
                                                       std::chrono::duration<double>(share * save_seconds)));
            asked = Clock::now();
            cancel = true;
        });
        const auto result = tb::app::run_process(options, obs, &cancel);
        const double took = seconds_since(asked);
        canceller.join();
        const bool left = fs::exists(dir / "out.xlsx") ||
                          std::any_of(fs::directory_iterator(dir), fs::directory_iterator(), [](const auto& e) {
                              return e.path().filename().string().rfind(".tallybook-", 0) == 0;
                          });
        std::printf("cancelled %3.0f%% into the save: %s after %.3f s%s\n", share * 100,
                    result.outcome == tb::app::RunOutcome::Cancelled ? "ended" : "NOT CANCELLED", took,
                    left ? ", A FILE WAS LEFT" : "");
        worst = std::max(worst, took);
    }
    std::printf("longest time from a cancel to the end of the run: %.3f s\n", worst);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool cancel = argc > 1 && std::strcmp(argv[1], "--cancel") == 0;
    if (cancel) --argc, ++argv;
    const int players = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int seasons = argc > 2 ? std::atoi(argv[2]) : 20;
    const int repeat = argc > 3 ? std::max(1, std::atoi(argv[3])) : 1;
    const fs::path dir = fs::temp_directory_path() / ("tallybook-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path enc = make_encyclopedia(dir, players, seasons);
    const int status = cancel ? cancel_latency(dir, enc) : convert(dir, enc, repeat);
    fs::remove_all(dir);
    return status;
}
