// tallybook-cli: converts an encyclopedia folder into a workbook, or
// describes an encyclopedia folder with --inspect.
#include "app/run.h"
#include "encyclopedia/encyclopedia.h"
#include "encyclopedia/inspect.h"
#include "notices/notices.h"
#include "platform/platform.h"

#include <CLI/CLI.hpp>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::system_clock;

constexpr int kDone = 0, kFailed = 1, kBadUsage = 2;

// Ctrl-C and SIGTERM (on Windows also Ctrl-Break and closing the console)
// cancel the run; it then ends as a cancel does, leaving no temporary file
// and the old workbook as it was.
std::atomic<bool> g_cancel{false};

const char* stage_name(tb::app::Stage s) {
    switch (s) {
        case tb::app::Stage::Reading: return "Reading";
        case tb::app::Stage::Players: return "Players";
        case tb::app::Stage::Teams: return "Teams";
        case tb::app::Stage::Saving: return "Saving";
    }
    return "";
}

class ConsoleObserver : public tb::app::RunObserver {
public:
    ConsoleObserver(bool quiet, bool bar) : quiet_(quiet), bar_(bar) {}

    void started(Clock::time_point t) override {
        start_ = std::chrono::steady_clock::now();
        if (!quiet_) std::cout << "Processing Started: " << tb::platform::local_time_text(t) << std::endl;
    }
    void ended(Clock::time_point t) override {
        clear_bar();
        if (!quiet_) std::cout << "Processing Ended:   " << tb::platform::local_time_text(t) << std::endl;
    }
    void stage(tb::app::Stage s) override {
        stage_ = s;
        current_.clear();
        draw(0, 0, true);
    }
    void status(const std::string& text) override {
        current_ = text;
        if (text == "TEAMS COMPLETED" || text == "Processing Completed") {
            clear_bar();
            if (!quiet_) std::cout << text << std::endl;
        }
    }
    void notice(const tb::app::Notice& n) override {
        clear_bar();
        std::cerr << "warning: " << n.text;
        // A notice about a whole file names it already.
        if (n.record > 0 || !n.field.empty()) std::cerr << " (" << n.where() << ")";
        std::cerr << std::endl;
    }
    void progress(tb::app::Stage s, int64_t done, int64_t total) override {
        stage_ = s;
        draw(done, total, false);
    }

private:
    // One line: the stage, its bar, the time so far and the player or step.
    void draw(int64_t done, int64_t total, bool force) {
        if (!bar_) return;
        const auto now = std::chrono::steady_clock::now();
        if (!force && done != total && now - last_draw_ < std::chrono::milliseconds(100)) return;
        last_draw_ = now;
        const double elapsed = std::chrono::duration<double>(now - start_).count();
        std::string bar, percent = "    ";
        if (total > 0) {
            const int p = static_cast<int>(done * 100 / total);
            bar = std::string(static_cast<std::size_t>(p / 5), '#');
            percent = std::to_string(p) + "%";
        }
        const std::string& label = current_;
        std::fprintf(stderr, "\r%-8s [%-20s] %4s %7.1fs  %-30.30s", stage_name(stage_), bar.c_str(), percent.c_str(),
                     elapsed, label.c_str());
        std::fflush(stderr);
        drawn_ = true;
    }
    void clear_bar() {
        if (!drawn_) return;
        std::fprintf(stderr, "\r%*s\r", 79, "");
        std::fflush(stderr);
        drawn_ = false;
    }

    bool quiet_;
    bool bar_;
    bool drawn_ = false;
    tb::app::Stage stage_ = tb::app::Stage::Reading;
    std::string current_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point last_draw_{};
};

int inspect(const fs::path& folder) {
    try {
        tb::enc::Encyclopedia encyclopedia(folder);
        bool all_read = true;
        const std::string report = tb::enc::inspect_report(encyclopedia, tb::platform::current_year(), &all_read);
        std::cout << report << std::flush;
        if (!std::cout) {
            const int err = errno;
            std::cerr << "error: cannot write the report: " << (err ? std::strerror(err) : "write error") << std::endl;
            return kFailed;
        }
        if (!all_read) {
            std::cerr << "error: some files of " << tb::platform::utf8_of(folder) << " cannot be read (see the report)"
                      << std::endl;
            return kFailed;
        }
        return kDone;
    } catch (const std::exception& e) {
        std::cerr << "error: " << e.what() << std::endl;
        return kFailed;
    }
}

void open_with_desktop(const fs::path& file) {
    if (!tb::platform::open_with_application(file))
        std::cerr << "warning: no application opens .xlsx files here; the workbook is " << tb::platform::utf8_of(file)
                  << std::endl;
}

}  // namespace

int main(int argc, char** argv) {
    tb::platform::prepare_console();
    // Arguments in UTF-8 on every system (Windows gives argv in its ANSI
    // code page), turned into paths only through the platform seam.
    const std::vector<std::string> args = tb::platform::utf8_arguments(argc, argv);
    std::vector<const char*> arg_ptrs;
    for (const std::string& a : args) arg_ptrs.push_back(a.c_str());

    CLI::App cli{"TALLYBOOK: turns a baseball encyclopedia folder into an .xlsx workbook", "tallybook-cli"};
    // "/x" is a folder on every system, never an option.
    cli.allow_windows_style_options(false);
    cli.set_version_flag("--version", std::string("tallybook-cli ") + TALLYBOOK_VERSION);
    // Like --version, it answers before the folder is asked for.
    int licenses_error = 0;
    cli.add_flag_callback(
        "--licenses",
        [&licenses_error] {
            errno = 0;
            std::cout << tb::notices::license() << "\n" << tb::notices::third_party() << std::flush;
            if (!std::cout) licenses_error = errno ? errno : EIO;
            throw CLI::Success();
        },
        "Print TALLYBOOK's licence and the notices of the works of others it contains");
    cli.footer(
        "Exit status:\n"
        "  0    the workbook was written (or, with --inspect, the report)\n"
        "  1    failed: nothing was written, an existing workbook is as it was\n"
        "  2    bad usage\n"
        "  130  interrupted (Ctrl-C), 143 terminated, 129 hung up: nothing was written\n"
        "\n"
        "An existing file is replaced only when it is a workbook or empty and you may\n"
        "write it; --force replaces any regular file.");

    std::string folder;
    std::string output = "TALLYBOOK.xlsx";
    bool players_only = false, teams_only = false, open = false, quiet = false, want_inspect = false, force = false;
    auto* po = cli.add_flag("--players-only", players_only, "Only the player sheets");
    auto* to = cli.add_flag("--teams-only", teams_only, "Only the team sheets");
    po->excludes(to);
    auto* out = cli.add_option("-o,--output", output, "The workbook to write (default TALLYBOOK.xlsx)");
    auto* op = cli.add_flag("--open", open, "Open the workbook with the desktop's application when done");
    auto* qu = cli.add_flag("-q,--quiet", quiet, "Print only warnings and errors");
    auto* fo = cli.add_flag("--force", force, "Replace the output even when it is not a workbook or is read-only");
    cli.add_flag("--inspect", want_inspect, "Describe the encyclopedia instead of converting it")
        ->excludes(po)
        ->excludes(to)
        ->excludes(out)
        ->excludes(op)
        ->excludes(qu)
        ->excludes(fo);
    cli.add_option("ENCYCLOPEDIA_FOLDER", folder, "Folder holding ENCTEAM.DAT and the other files")->required();

    try {
        cli.parse(static_cast<int>(arg_ptrs.size()), arg_ptrs.data());
    } catch (const CLI::ParseError& e) {
        const int code = cli.exit(e);
        if (licenses_error) {
            std::cerr << "error: cannot write the licences: " << std::strerror(licenses_error) << std::endl;
            return kFailed;
        }
        return code == 0 ? kDone : kBadUsage;
    }

    if (want_inspect) return inspect(tb::platform::path_of_utf8(folder));

    tb::app::RunOptions options;
    options.folder = tb::platform::path_of_utf8(folder);
    options.output = tb::platform::path_of_utf8(output);
    options.desired = players_only ? tb::sheets::SheetsDesired::PlayersOnly
                      : teams_only ? tb::sheets::SheetsDesired::TeamsOnly
                                   : tb::sheets::SheetsDesired::PlayersAndTeams;
    options.viewing = tb::app::Viewing::AfterCompleted;
    options.replace_any_file = force;

    tb::platform::catch_interrupts(g_cancel);
    ConsoleObserver observer(quiet, !quiet && tb::platform::stderr_is_terminal());
    const tb::app::RunResult result = tb::app::run_process(options, observer, &g_cancel);
    tb::platform::interrupt_handled();
    if (result.outcome == tb::app::RunOutcome::Cancelled) {
        const int status = tb::platform::interrupt_exit_status();
        std::cerr << "\ncancelled: no workbook was written" << std::endl;
        return status ? status : kFailed;
    }
    if (result.outcome != tb::app::RunOutcome::Completed) {
        std::cerr << "error: " << result.error << "\nNo workbook was written."
                  << (result.replace_refused ? " --force replaces it." : "") << std::endl;
        return kFailed;
    }
    const auto& sum = result.summary;
    if (!quiet) {
        const double seconds = std::chrono::duration<double>(sum.end - sum.start).count();
        std::error_code ec;
        const fs::path shown = fs::absolute(sum.output, ec);
        std::cout << "Players: " << sum.players << ", lines: " << sum.lines << ", sheets: " << sum.sheets.size()
                  << ", notices: " << sum.notices << "\nWorkbook: " << tb::platform::utf8_of(ec ? sum.output : shown)
                  << "\nTime: " << seconds << " s" << std::endl;
    }
    if (open) open_with_desktop(sum.output);
    // The workbook is written: a closed or full stdout or stderr (a pipe to
    // head, say) does not make the run a failure.
    return kDone;
}
