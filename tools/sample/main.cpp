// tallybook-sample: writes a made-up encyclopedia folder for trying the
// program, for tests and for benchmarks.
#include "archive/sample.h"
#include "platform/platform.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <string>
#include <vector>

namespace {

// Only a lower bound: larger counts are capped by the generator to what the
// format allows, and the summary says so.
CLI::Validator at_least(int min) {
    return CLI::Validator(
        [min](std::string& value) -> std::string {
            try {
                if (std::stoll(value) >= min) return {};
            } catch (const std::exception&) {
                return "not a number: " + value;
            }
            return "must be at least " + std::to_string(min);
        },
        "INT>=" + std::to_string(min));
}

}  // namespace

int main(int argc, char** argv) {
    tb::platform::prepare_console();
    // The folder may have any name: arguments in UTF-8 on every system.
    const std::vector<std::string> args = tb::platform::utf8_arguments(argc, argv);
    std::vector<const char*> arg_ptrs;
    for (const std::string& a : args) arg_ptrs.push_back(a.c_str());

    CLI::App app{"Write a deterministic sample encyclopedia (the same seed gives the same files)."};
    app.allow_windows_style_options(false);  // "/x" is a folder, never an option
    std::string folder;
    tb::enc::SampleOptions options;
    app.add_option("DIR", folder, "Folder to write the encyclopedia files into (created if needed)")->required();
    app.add_option("--seed", options.seed, "Seed of the made-up history")->capture_default_str();
    app.add_option("--seasons", options.seasons,
                   "Number of seasons (at most " + std::to_string(tb::enc::kMaxSampleSeasons) + ")")
        ->capture_default_str()
        ->check(at_least(1));
    app.add_option("--players", options.players,
                   "Number of players (" + std::to_string(tb::enc::kMinSamplePlayers) + " to " +
                       std::to_string(tb::enc::kMaxSamplePlayers) + "; the file holds at most " +
                       std::to_string(tb::enc::kMaxSampleStatsLines) + " statistics lines)")
        ->capture_default_str()
        ->check(at_least(tb::enc::kMinSamplePlayers));
    CLI11_PARSE(app, static_cast<int>(arg_ptrs.size()), arg_ptrs.data());

    try {
        const tb::enc::Sample sample = tb::enc::make_sample(options);
        tb::enc::write_encyclopedia(tb::platform::path_of_utf8(folder), sample.contents);
        std::cout << "Wrote " << tb::enc::sample_summary(sample) << " to " << folder << "\n";
    } catch (const std::exception& e) {
        std::cerr << "tallybook-sample: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
