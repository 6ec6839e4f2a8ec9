// Workbook engine throughput: cells per second for building rows of 25
// columns on 26 sheets, fitting their columns and saving them, and memory per
// cell.
//
//   bench_workbook [cells=15000000] [output=/tmp/bench_workbook.xlsx]
#include "workbook/workbook.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>

using namespace tb::wb;
using Clock = std::chrono::steady_clock;

namespace {

long peak_rss_kb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

double cpu_seconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double seconds_since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// One row of 25 columns: a year, a text, whole numbers, rates with a
// format, medium sides.
void write_line(Workbook& wb, SheetId s, int32_t r, int i) {
    wb.put(s, 0, r, int32_t{1950 + i % 60});
    wb.put(s, 1, r, i % 3 ? "BOS" : "NYY");
    wb.put(s, 2, r, int32_t{20 + i % 20});
    for (int c = 3; c <= 6; ++c) wb.put(s, c, r, (i % 997) / 1000.0 + c * 0.01);
    wb.apply(s, {3, r, 6, r}, {.number_format = "#.000"});
    for (int c = 7; c < 25; ++c) wb.put(s, c, r, int32_t{(i * 7 + c) % 600});
    wb.draw(s, Area::row_span(r, 0, 24), kLeftEdge | kRightEdge, {LineWeight::Medium});
}

}  // namespace

int main(int argc, char** argv) {
    const long long cells = argc > 1 ? std::atoll(argv[1]) : 15'000'000LL;
    const std::filesystem::path out = argc > 2 ? argv[2] : "/tmp/bench_workbook.xlsx";
    const long long rows = cells / 25;

    const long base_kb = peak_rss_kb();
    Workbook wb;
    std::vector<SheetId> letters;
    for (int c = 0; c < 26; ++c) letters.push_back(wb.add_sheet(column_letter(c)));
    auto t0 = Clock::now();
    const long long per_sheet = rows / 26 + 1;
    long long written = 0;
    for (int s = 0; s < 26 && written < rows; ++s)
        for (int32_t r = 1; r <= per_sheet && written < rows; ++r, ++written)
            write_line(wb, letters[static_cast<size_t>(s)], r, static_cast<int>(written));
    const double build_s = seconds_since(t0);
    const long built_kb = peak_rss_kb();
    const auto n = static_cast<double>(wb.cell_count());

    // The first fit of a column reads all its cells; later fits only the
    // cells changed since, as when a sheet is fitted after every section.
    t0 = Clock::now();
    for (const SheetId letter : letters) wb.autofit(letter, 0, 30);
    const double first_fit_s = seconds_since(t0);
    constexpr int32_t kSectionRows = 20, kSections = 2000;
    const SheetId sections = wb.add_sheet("Sections");
    t0 = Clock::now();
    for (int32_t r = 1; r <= kSectionRows * kSections; ++r) {
        write_line(wb, sections, r, r);
        if (r % kSectionRows == 0) wb.autofit(sections, 0, 30);
    }
    const double sections_s = seconds_since(t0);

    t0 = Clock::now();
    const double cpu0 = cpu_seconds();
    wb.save(out);
    const double save_s = seconds_since(t0);
    const double save_cpu = cpu_seconds() - cpu0;
    const long saved_kb = peak_rss_kb();

    std::printf("cells            %.0f\n", n);
    std::printf("build            %.2f s  %.2f M cells/s\n", build_s, n / build_s / 1e6);
    std::printf("first autofit    %.2f s  %.2f M cells/s\n", first_fit_s, n / first_fit_s / 1e6);
    std::printf("sections         %.2f s  %d rows written and A:AE fitted every %d rows\n", sections_s,
                kSectionRows * kSections, kSectionRows);
    std::printf("save             %.2f s  %.2f M cells/s  (%.0f MB file)\n", save_s, n / save_s / 1e6,
                static_cast<double>(std::filesystem::file_size(out)) / 1e6);
    std::printf("save, CPU time   %.2f s  %.2f M cells/s\n", save_cpu, n / save_cpu / 1e6);
    std::printf("memory per cell  %.1f bytes after building, %.1f bytes peak while saving\n",
                (built_kb - base_kb) * 1024.0 / n, (saved_kb - base_kb) * 1024.0 / n);
    std::filesystem::remove(out);
    return 0;
}
