// tallybook-cli: converts an encyclopedia folder into a workbook, or
// describes an encyclopedia folder with --inspect.
#include "app/run.h"
#include "encyclopedia/encyclopedia.h"
#include "encyclopedia/inspect.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::system_clock;

std::string local_time_text(Clock::time_point t) {
    const std::time_t tt = Clock::to_time_t(t);
    std::tm tm{};
    localtime_r(&tt, &tm);
    char buf[64];
    std::strftime(buf, sizeof buf, "%c", &tm);
    return buf;
}

int current_year() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return tm.tm_year + 1900;
}

class ConsoleObserver : public tb::app::RunObserver {
public:
    ConsoleObserver(bool quiet, bool bar) : quiet_(quiet), bar_(bar) {}

    void started(Clock::time_point t) override {
        start_ = std::chrono::steady_clock::now();
        if (!quiet_) std::cout << "Processing Started: " << local_time_text(t) << std::endl;
    }
    void ended(Clock::time_point t) override {
        clear_bar();
        if (!quiet_) std::cout << "Processing Ended:   " << local_time_text(t) << std::endl;
    }
    void status(const std::string& text) override {
        current_ = text;
        if (text == "TEAMS COMPLETED" || text == "Processing Completed") {
            clear_bar();
            if (!quiet_) std::cout << text << std::endl;
        }
    }
    void notice(const std::string& text, const std::string& detail) override {
        clear_bar();
        std::cerr << "warning: " << text;
        if (!detail.empty()) std::cerr << " (" << detail << ")";
        std::cerr << std::endl;
    }
    void progress(int64_t done, int64_t total) override {
        if (!bar_ || total <= 0) return;
        const auto now = std::chrono::steady_clock::now();
        if (done != total && now - last_draw_ < std::chrono::milliseconds(100)) return;
        last_draw_ = now;
        const double elapsed = std::chrono::duration<double>(now - start_).count();
        const int percent = static_cast<int>(done * 100 / total);
        const int filled = percent / 5;
        std::string name = current_.substr(0, 30);
        std::fprintf(stderr, "\r[%-20s] %3d%%  %6.1fs  %-30s", std::string(filled, '#').c_str(), percent,
                     elapsed, name.c_str());
        std::fflush(stderr);
        drawn_ = true;
    }

private:
    void clear_bar() {
        if (!drawn_) return;
        std::fprintf(stderr, "\r%*s\r", 70, "");
        std::fflush(stderr);
        drawn_ = false;
    }

    bool quiet_;
    bool bar_;
    bool drawn_ = false;
    std::string current_;
    std::chrono::steady_clock::time_point start_{};
    std::chrono::steady_clock::time_point last_draw_{};
};

int inspect(const fs::path& folder) {
    try {
        tb::enc::Encyclopedia encyclopedia(folder);
        std::cout << tb::enc::inspect_report(encyclopedia, current_year());
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "error: " << e.what() << std::endl;
        return 1;
    }
}

// Whether the desktop names an application for .xlsx files; true when it
// cannot be asked (then opening is simply tried).
bool desktop_opens_xlsx() {
    FILE* query = popen(
        "xdg-mime query default application/vnd.openxmlformats-officedocument.spreadsheetml.sheet 2>/dev/null", "r");
    if (!query) return true;
    char buf[256];
    std::string answer;
    while (std::fgets(buf, sizeof buf, query)) answer += buf;
    const int status = pclose(query);
    if (status != 0) return true;
    return answer.find_first_not_of(" \t\r\n") != std::string::npos;
}

void open_with_desktop(const fs::path& file) {
    if (!desktop_opens_xlsx()) {
        std::cerr << "warning: no application opens .xlsx files here; the workbook is " << file.string() << std::endl;
        return;
    }
    // Started without a shell, so no file name can be taken for a command.
    const pid_t pid = fork();
    if (pid == 0) {
        setsid();
        execlp("xdg-open", "xdg-open", file.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid < 0) std::cerr << "warning: could not open " << file.string() << std::endl;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App cli{"TALLYBOOK: turns a baseball encyclopedia folder into an .xlsx workbook", "tallybook-cli"};
    cli.set_version_flag("--version", std::string("tallybook-cli ") + TALLYBOOK_VERSION);

    std::string folder;
    std::string output = "TALLYBOOK.xlsx";
    bool players_only = false, teams_only = false, open = false, quiet = false, want_inspect = false;
    auto* po = cli.add_flag("--players-only", players_only, "Only the player sheets");
    auto* to = cli.add_flag("--teams-only", teams_only, "Only the team sheets");
    po->excludes(to);
    cli.add_option("-o,--output", output, "The workbook to write (default TALLYBOOK.xlsx)");
    cli.add_flag("--open", open, "Open the workbook with the desktop's application when done");
    cli.add_flag("-q,--quiet", quiet, "Print only warnings and errors");
    cli.add_flag("--inspect", want_inspect, "Describe the encyclopedia instead of converting it");
    cli.add_option("ENCYCLOPEDIA_FOLDER", folder, "Folder holding ENCTEAM.DAT and the other files")->required();

    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = cli.exit(e);
        return code == 0 ? 0 : 2;
    }

    if (want_inspect) return inspect(folder);

    tb::app::RunOptions options;
    options.folder = folder;
    options.output = output;
    options.desired = players_only ? tb::wb::SheetsDesired::PlayersOnly
                      : teams_only ? tb::wb::SheetsDesired::TeamsOnly
                                   : tb::wb::SheetsDesired::PlayersAndTeams;
    options.viewing = tb::app::Viewing::AfterCompleted;

    ConsoleObserver observer(quiet, !quiet && isatty(STDERR_FILENO));
    const tb::app::RunResult result = tb::app::run_process(options, observer);
    if (result.outcome != tb::app::RunOutcome::Completed) {
        std::cerr << "error: " << (result.error.empty() ? "the run was cancelled" : result.error)
                  << "\nNo workbook was written." << std::endl;
        return 1;
    }
    const auto& sum = result.summary;
    if (!quiet) {
        const double seconds = std::chrono::duration<double>(sum.end - sum.start).count();
        std::error_code ec;
        const fs::path shown = fs::absolute(sum.output, ec);
        std::cout << "Players: " << sum.players << ", lines: " << sum.lines << ", sheets: " << sum.sheets.size()
                  << ", notices: " << sum.notices << "\nWorkbook: " << (ec ? sum.output : shown).string()
                  << "\nTime: " << seconds << " s" << std::endl;
    }
    if (open) open_with_desktop(sum.output);
    return 0;
}
