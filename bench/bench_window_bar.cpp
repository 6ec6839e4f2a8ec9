// The window's bar against the clock. A real conversion of a generated
// encyclopedia reports as it goes; each report's place on the bar (by
// window::bar_position and the table in use, src/window/progress.cpp) is
// set against the share of the run's time gone by then. For each choice of
// sheets it prints each stage's share of the time, the save's share that
// its reports cover, how far the bar strays from the clock, and at the end
// the table measured here, ready to replace the one in use.
// Usage: bench_window_bar [PLAYERS] [SEASONS] [REPEAT]
//   (20000 30: the 270,000-line archive of `tallybook-sample DIR --players
//   20000 --seasons 30`; with REPEAT the median of each figure is kept)
#include "app/run.h"
#include "archive/sample.h"
#include "window/progress.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using tb::app::Stage;
using tb::sheets::SheetsDesired;

namespace {

struct Report {
    Clock::time_point at;
    Stage stage;
    int64_t done, total;
};

// Every report, timed; a stage's beginning counts as its first report.
struct Recorder : tb::app::RunObserver {
    std::vector<Report> reports;
    void stage(Stage s) override { reports.push_back({Clock::now(), s, 0, 1}); }
    void progress(Stage s, int64_t done, int64_t total) override { reports.push_back({Clock::now(), s, done, total}); }
};

struct Measure {
    double shares[4] = {0, 0, 0, 0};   // of the run's time, by stage
    double save_reported = 0;          // of the save's time, until its last report
    double worst = 0;                  // the bar's largest distance from the clock, in points
    double busy = 0;                   // share of the run with a busy bar
    double seconds = 0;
};

double span(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

Measure measure(const fs::path& enc, SheetsDesired desired) {
    tb::app::RunOptions options;
    options.folder = enc;
    options.output = enc.parent_path() / "out.xlsx";
    options.desired = desired;
    options.viewing = tb::app::Viewing::AfterCompleted;
    fs::remove(options.output);
    Recorder rec;
    const auto t0 = Clock::now();
    const auto result = tb::app::run_process(options, rec, nullptr);
    const auto end = Clock::now();
    if (result.outcome != tb::app::RunOutcome::Completed) {
        std::fprintf(stderr, "run failed: %s\n", result.error.c_str());
        std::exit(1);
    }
    Measure m;
    m.seconds = span(t0, end);
    // Each stage lasts from its first report to the next stage's first (the
    // save to the end of the run); reading starts with the run.
    Clock::time_point begun[5] = {t0, end, end, end, end};
    for (const Report& r : rec.reports) {
        const auto k = static_cast<std::size_t>(r.stage);
        if (k > 0 && begun[k] == end) begun[k] = r.at;
    }
    for (int k = 3; k >= 1; --k)
        if (begun[k] == end) begun[k] = begun[k + 1];
    for (int k = 0; k < 4; ++k) m.shares[k] = span(begun[k], begun[k + 1]) / m.seconds;
    Clock::time_point last_save = begun[3];
    for (const Report& r : rec.reports)
        if (r.stage == Stage::Saving && r.total > 0 && r.done >= r.total) {
            last_save = r.at;
            break;
        }
    const double save = span(begun[3], end);
    m.save_reported = save > 0 ? span(begun[3], last_save) / save : 1;
    // The bar holds each report's place until the next report.
    for (std::size_t i = 0; i < rec.reports.size(); ++i) {
        const Report& r = rec.reports[i];
        const auto bar = tb::window::bar_position(desired, r.stage, r.done, r.total);
        const auto until = i + 1 < rec.reports.size() ? rec.reports[i + 1].at : end;
        if (bar.busy) {
            m.busy += span(r.at, until) / m.seconds;
            continue;
        }
        for (const auto at : {r.at, until})
            m.worst = std::max(m.worst, 100 * std::abs(bar.fraction - span(t0, at) / m.seconds));
    }
    return m;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int players = argc > 1 ? std::atoi(argv[1]) : 20000;
    const int seasons = argc > 2 ? std::atoi(argv[2]) : 30;
    const int repeat = argc > 3 ? std::max(1, std::atoi(argv[3])) : 1;
    const fs::path dir = fs::temp_directory_path() / ("tallybook-bar-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    tb::enc::SampleOptions so;
    so.players = players;
    so.seasons = seasons;
    const auto sample = tb::enc::make_sample(so);
    tb::enc::write_encyclopedia(dir / "enc", sample.contents);
    std::printf("sample: %d players, %zu statistics lines\n", sample.players,
                sample.contents.stats ? sample.contents.stats->size() : 0);

    const std::pair<SheetsDesired, const char*> modes[] = {{SheetsDesired::PlayersAndTeams, "players and teams"},
                                                           {SheetsDesired::PlayersOnly, "players only"},
                                                           {SheetsDesired::TeamsOnly, "teams only"}};
    std::vector<Measure> medians;
    for (const auto& [desired, name] : modes) {
        std::vector<Measure> runs;
        for (int i = 0; i < repeat; ++i) runs.push_back(measure(dir / "enc", desired));
        Measure m;
        auto med = [&](auto field) {
            std::vector<double> v;
            for (const Measure& r : runs) v.push_back(field(r));
            return median(v);
        };
        for (int k = 0; k < 4; ++k) m.shares[k] = med([k](const Measure& r) { return r.shares[k]; });
        m.save_reported = med([](const Measure& r) { return r.save_reported; });
        m.worst = med([](const Measure& r) { return r.worst; });
        m.busy = med([](const Measure& r) { return r.busy; });
        m.seconds = med([](const Measure& r) { return r.seconds; });
        std::printf("%s: %.1f s; reading %.1f%%, players %.1f%%, teams %.1f%%, saving %.1f%% of the run; the save's "
                    "reports cover %.0f%% of it; the bar with the table in use: at most %.1f points from the clock "
                    "where it shows a fraction, busy %.0f%% of the run\n",
                    name, m.seconds, 100 * m.shares[0], 100 * m.shares[1], 100 * m.shares[2], 100 * m.shares[3],
                    100 * m.save_reported, m.worst, 100 * m.busy);
        medians.push_back(m);
    }
    std::printf("\nThe table measured here (src/window/progress.cpp):\n");
    for (std::size_t i = 0; i < medians.size(); ++i) {
        const Measure& m = medians[i];
        std::printf("    {%.3f, %.3f, %.3f, %.3f},   // %s\n", m.shares[0], m.shares[1], m.shares[2], m.shares[3],
                    modes[i].second);
    }
    std::printf("    %.2f,\n", medians[0].save_reported);
    fs::remove_all(dir);
    return 0;
}
