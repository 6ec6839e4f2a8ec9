// Reading speed of the largest statistics file the format allows: 500,000
// lines of 344 bytes (172 MB) are written to a temporary folder, then read
// and decoded several times. Prints records/s, MB/s and the peak resident
// memory of the process.
//
//   bench_read_stats [records] [runs]
#include "archive/record_writer.h"
#include "encyclopedia/encyclopedia.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
namespace enc = tb::enc;

namespace {

long peak_rss_kib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;  // KiB on Linux
}

// A line with names of varied length, some with accented letters, so that
// decoding does the work real archives ask for.
enc::StatsLine line(std::size_t i) {
    static const char* const kLast[] = {"Smith", "Muñoz", "Šimek", "Vandenberghe-Roe", "de Aza", "García"};
    static const char* const kFirst[] = {"Élan", "Tom", "Christopher", "José"};
    enc::StatsLine s;
    s.player_id = static_cast<int32_t>(1 + i % 65000);
    s.phase_code = static_cast<uint8_t>(i % 5 == 0 ? 6 : 2);
    s.year = static_cast<int16_t>(1900 + i % 120);
    s.team_id = static_cast<int16_t>(i % 31);
    s.last_name = kLast[i % 6];
    s.first_name = kFirst[i % 4];
    s.kind = static_cast<uint8_t>(1 + i % 3);
    s.hitting.at_bats = static_cast<int16_t>(i % 650);
    s.hitting.hits = static_cast<int16_t>(i % 200);
    s.pitching.outs = static_cast<int16_t>(i % 700);
    s.pitching.wins = static_cast<uint8_t>(i % 25);
    return s;
}

void write_stats_file(const fs::path& path, std::size_t records) {
    std::ofstream out(path, std::ios::binary);
    std::string chunk;
    for (std::size_t i = 0; i < records; ++i) {
        chunk += enc::encode(line(i));
        if (chunk.size() >= (1u << 22)) {
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            chunk.clear();
        }
    }
    out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t records = argc > 1 ? std::stoul(argv[1]) : 500000;
    const int runs = argc > 2 ? std::max(1, std::stoi(argv[2])) : 3;

    const fs::path dir = fs::temp_directory_path() / ("tallybook-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    try {
        write_stats_file(dir / std::string(enc::kStatsFile), records);
        const double megabytes = static_cast<double>(records * enc::StatsLine::kSize) / 1e6;
        std::cout << "file: " << records << " records, " << megabytes << " MB; peak RSS after writing "
                  << peak_rss_kib() / 1024 << " MiB\n";

        std::vector<double> seconds;
        for (int run = 0; run < runs; ++run) {
            const auto start = std::chrono::steady_clock::now();
            const enc::Encyclopedia e(dir);
            const auto stats = e.read_stats();
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            if (stats.size() != records || stats.back().player_id != line(records - 1).player_id)
                throw std::runtime_error("read back the wrong records");
            seconds.push_back(took.count());
            std::cout << "run " << run + 1 << ": " << took.count() << " s, " << records / took.count()
                      << " records/s, " << megabytes / took.count() << " MB/s\n";
        }
        const double best = *std::min_element(seconds.begin(), seconds.end());
        std::cout << "best: " << best << " s, " << records / best << " records/s, " << megabytes / best
                  << " MB/s; peak RSS " << peak_rss_kib() / 1024 << " MiB\n";
    } catch (const std::exception& ex) {
        std::cerr << "bench_read_stats: " << ex.what() << "\n";
        fs::remove_all(dir);
        return 1;
    }
    fs::remove_all(dir);
    return 0;
}
