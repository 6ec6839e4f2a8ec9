// tallybook-dump: converts an encyclopedia folder in memory and prints the
// workbook as tests/support/sheet_dump.h words it, row by row, with
// the run's notices first. Two builds' dumps compared tell whether a change
// moved anything in a workbook.
//
//     tallybook-dump [--players-only | --teams-only] FOLDER > book.txt
#include "app/run.h"
#include "support/sheet_dump.h"

#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
    tb::app::RunOptions options;
    options.save = false;
    options.current_year = 2026;   // birth years are checked against a fixed year
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--players-only") == 0) options.desired = tb::sheets::SheetsDesired::PlayersOnly;
        else if (std::strcmp(argv[i], "--teams-only") == 0) options.desired = tb::sheets::SheetsDesired::TeamsOnly;
        else options.folder = argv[i];
    }
    if (options.folder.empty()) {
        std::cerr << "usage: tallybook-dump [--players-only | --teams-only] FOLDER\n";
        return 2;
    }
    struct Notices : tb::app::RunObserver {
        void notice(const tb::app::Notice& n) override { std::cout << "notice: " << n.text << " | " << n.where() << "\n"; }
    } observer;
    tb::wb::Workbook book;
    const tb::app::RunResult result = tb::app::convert(options, observer, nullptr, book);
    if (result.outcome != tb::app::RunOutcome::Completed) {
        std::cerr << "tallybook-dump: " << result.error << "\n";
        return 1;
    }
    std::cout << tb::test::dump_workbook(book);
    return 0;
}
