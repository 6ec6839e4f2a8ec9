#include "app/run.h"

#include "app/output_target.h"
#include "app/player_pass.h"
#include "app/reporter.h"
#include "app/team_pass.h"
#include "platform/local_time.h"
#include "text/utf8.h"

#include <algorithm>
#include <ctime>
#include <exception>
#include <new>
#include <system_error>

namespace tb::app {

namespace {

namespace fs = std::filesystem;

int this_year() { return platform::local_calendar(std::time(nullptr)).tm_year + 1900; }

template <class Record, class Used>
std::size_t count_used(const std::vector<Record>& records, Used used) {
    return static_cast<std::size_t>(std::count_if(records.begin(), records.end(), used));
}

// What the run reads, in its first stage: the used records only.
struct Contents {
    enc::TeamTable teams;
    std::vector<enc::Numbered<enc::StatsLine>> lines;
    enc::BirthYears birth_years;
    std::vector<enc::Numbered<enc::TeamSeason>> team_seasons;
    std::vector<enc::LeagueSeason> league_seasons;
    std::vector<enc::LeagueEntry> leagues;
    // For the decision whether there is anything to convert.
    std::size_t lines_used = 0, team_seasons_used = 0;
    std::vector<std::string> lines_problems, team_seasons_problems;
};

// Tells what is wrong with one file ("ENCPLYR.DAT is missing", ...).
void report_file(Reporter& reporter, std::string_view name, const enc::FileFacts& facts) {
    for (const std::string& problem : enc::file_problems(facts, facts.used))
        reporter.notice({std::string(name) + " " + problem, std::string(name), 0, {}, {}, {}});
}

template <class Record>
std::vector<Record> records_of(std::vector<enc::Numbered<Record>> numbered) {
    std::vector<Record> out;
    out.reserve(numbered.size());
    for (auto& n : numbered) out.push_back(std::move(n.record));
    return out;
}

// Reads the files the chosen sheets need. Returns nullopt when cancelled.
std::optional<Contents> read_files(const enc::Encyclopedia& e, sheets::SheetsDesired desired, int current_year,
                                   Reporter& reporter) {
    const bool players = sheets::player_sheets_wanted(desired);
    const bool teams = sheets::team_sheets_wanted(desired);
    const int64_t files = 1 + (players ? 2 : 0) + (teams ? 3 : 0);
    int64_t done = 0;
    auto step = [&] {
        reporter.progress(Stage::Reading, ++done, files);
        return !reporter.cancelled();
    };
    Contents c;
    enc::FileFacts facts;

    c.teams = enc::build_team_table(e.used_teams(&facts));
    report_file(reporter, enc::kTeamFile, facts);
    if (!step()) return std::nullopt;

    if (players) {
        c.birth_years = enc::build_birth_years(e.used_players(current_year, &facts));
        report_file(reporter, enc::kPlayerFile, facts);
        if (!step()) return std::nullopt;
        c.lines = e.used_stats(&facts);
        c.lines_used = facts.used;
        c.lines_problems = enc::file_problems(facts, facts.used);
        report_file(reporter, enc::kStatsFile, facts);
        if (!step()) return std::nullopt;
    }
    if (teams) {
        c.team_seasons = e.used_team_seasons(&facts);
        c.team_seasons_used = facts.used;
        c.team_seasons_problems = enc::file_problems(facts, facts.used);
        report_file(reporter, enc::kTeamSeasonFile, facts);
        if (!step()) return std::nullopt;
        c.league_seasons = records_of(e.used_league_seasons(&facts));
        report_file(reporter, enc::kLeagueSeasonFile, facts);
        if (!step()) return std::nullopt;
        c.leagues = records_of(e.used_leagues(&facts));
        report_file(reporter, enc::kLeagueFile, facts);
        if (!step()) return std::nullopt;
    }
    return c;
}

// The folder's own name only: its full path would go with every copy of the
// workbook and tell where it was made ("/home/NAME/...", "C:\\Users\\NAME\\...").
std::string folder_name(const fs::path& folder) {
    if (folder.empty()) return {};
    std::error_code ec;
    fs::path p = fs::absolute(folder, ec);
    p = (ec ? folder : p).lexically_normal();
    if (!p.has_filename()) p = p.parent_path();   // "League 2031/"
    // A drive or the root ("C:\\", "/") is named as it is.
    return text::path_utf8(p.has_filename() ? p.filename() : p);
}

std::string because(const std::vector<std::string>& problems) {
    return problems.empty() ? std::string() : " (it " + problems.front() + ")";
}

// The run fails rather than write a workbook with no data in it, which would
// replace a good one with nothing.
void check_something_to_convert(sheets::SheetsDesired desired, const Contents& c) {
    const bool players = sheets::player_sheets_wanted(desired);
    const bool teams = sheets::team_sheets_wanted(desired);
    if ((players && c.lines_used > 0) || (teams && c.team_seasons_used > 0)) return;
    std::string why;
    if (players) why = std::string(enc::kStatsFile) + " has no used statistics line" + because(c.lines_problems);
    if (teams)
        why += (why.empty() ? "" : " and ") + std::string(enc::kTeamSeasonFile) + " has no used team season" +
               because(c.team_seasons_problems);
    throw std::runtime_error("there is nothing to convert: " + why);
}

// The same after the passes: lines that were all passed over write nothing.
void check_something_written(sheets::SheetsDesired desired, const Contents& c, int64_t players_written) {
    const bool teams_written = sheets::team_sheets_wanted(desired) && c.team_seasons_used > 0;
    if (players_written > 0 || teams_written) return;
    throw std::runtime_error("there is nothing to convert: none of the " + std::to_string(c.lines_used) +
                             " used statistics lines of " + std::string(enc::kStatsFile) +
                             " belongs to a player with a regular-season line that can be written");
}

// The save reports its progress and asks about cancel through the reporter.
class SaveWatch final : public wb::SaveMonitor {
public:
    explicit SaveWatch(Reporter& reporter) : reporter_(reporter) {}
    bool cancelled() const override { return reporter_.cancelled(); }
    void progress(int64_t done, int64_t total) override { reporter_.progress(Stage::Saving, done, total); }

private:
    Reporter& reporter_;
};

RunOutcome process(const RunOptions& o, const std::optional<OutputTarget>& output, wb::Workbook& book,
                   Reporter& reporter, RunSummary& summary) {
    const int current_year = o.current_year > 0 ? o.current_year : this_year();
    RunObserver& observer = reporter.observer();

    observer.stage(Stage::Reading);
    reporter.status("Reading the encyclopedia...");
    enc::Encyclopedia encyclopedia = o.source ? enc::Encyclopedia(o.source) : enc::Encyclopedia(o.folder);
    encyclopedia.limit_memory(o.memory_limit);
    std::optional<Contents> contents = read_files(encyclopedia, o.desired, current_year, reporter);
    if (!contents) return RunOutcome::Cancelled;
    check_something_to_convert(o.desired, *contents);

    sheets::SheetSet sheets = sheets::create_sheet_set(book, o.desired);
    if (o.viewing == Viewing::WhileProcessing) observer.show_workbook();
    reporter.status("TEAMS COMPLETED");

    if (sheets.letters) {
        observer.stage(Stage::Players);
        const PlayerPassResult players = write_player_sheets(
            book, *sheets.letters, *sheets.player_totals,
            {contents->lines, contents->teams, contents->birth_years}, reporter);
        summary.players = players.players_written;
        summary.lines = players.lines_written;
        if (!players.completed) return RunOutcome::Cancelled;
        // The lines are in the workbook now; given back, the save's buffers
        // fit in the memory the pass has used.
        std::vector<enc::Numbered<enc::StatsLine>>().swap(contents->lines);
        sheets.letters->finish();
        sheets.player_totals->finish();
    }
    if (reporter.cancelled()) return RunOutcome::Cancelled;
    if (sheets.team_records) {
        observer.stage(Stage::Teams);
        reporter.status("Writing the team sheets...");
        if (!write_team_sheets(book, *sheets.team_records, *sheets.team_totals,
                               {contents->team_seasons, contents->league_seasons, contents->leagues, contents->teams},
                               reporter))
            return RunOutcome::Cancelled;
        if (o.viewing == Viewing::AfterCompleted) observer.show_workbook();
        sheets.team_totals->finish();
        sheets.team_records->finish();
    } else if (o.viewing == Viewing::AfterCompleted) {
        // "Players Only" viewed after completion is shown too.
        observer.show_workbook();
    }
    if (reporter.cancelled()) return RunOutcome::Cancelled;
    check_something_written(o.desired, *contents, summary.players);

    sheets::finish_workbook(book, sheets);
    book.set_properties({"TALLYBOOK", "Encyclopedia: " + folder_name(encyclopedia.folder()),
                         "Written by TALLYBOOK " TALLYBOOK_VERSION, summary.start});
    if (o.save) {
        observer.stage(Stage::Saving);
        reporter.status("Saving the workbook...");
        // What was read is in the workbook now. Given back before the save,
        // the save's buffers fit in the memory the passes have used.
        contents.reset();
        SaveWatch watch(reporter);
        if (book.save(output->destination(), &watch, o.save_options) == wb::SaveOutcome::Cancelled)
            return RunOutcome::Cancelled;
    }
    summary.sheets = book.sheet_names();
    return RunOutcome::Completed;
}

}  // namespace

RunResult convert(const RunOptions& options, RunObserver& observer, const std::atomic<bool>* cancel,
                  wb::Workbook& book) {
    RunResult result;
    RunSummary& summary = result.summary;
    summary.output = options.output;
    summary.start = std::chrono::system_clock::now();
    Reporter reporter(observer, cancel);
    try {
        // The workbook's place is found and checked once, before anything
        // is read or said: the save works in the folder opened now.
        std::optional<OutputTarget> output;
        if (options.save) {
            OutputCheck check = check_output(options.output, options.source ? fs::path() : options.folder,
                                             options.replace_any_file,
                                             options.save_options.files ? *options.save_options.files
                                                                        : platform::system_file_ops());
            if (!check.target) {
                result.error = check.refusal.reason;
                result.replace_refused = check.refusal.forcible;
                return result;
            }
            output = std::move(check.target);
        }
        observer.started(summary.start);
        result.outcome = process(options, output, book, reporter, summary);
    } catch (const std::bad_alloc&) {
        result.outcome = RunOutcome::Failed;
        result.error = "there is not enough memory for a workbook of this encyclopedia";
    } catch (const std::exception& e) {
        result.outcome = RunOutcome::Failed;
        result.error = e.what();
    } catch (...) {
        result.outcome = RunOutcome::Failed;
        result.error = "unexpected failure";
    }
    summary.notices = reporter.notices();
    summary.end = std::chrono::system_clock::now();
    if (result.outcome == RunOutcome::Completed) {
        observer.ended(summary.end);
        observer.status("Processing Completed");
    }
    return result;
}

RunResult run_process(const RunOptions& options, RunObserver& observer, const std::atomic<bool>* cancel) {
    // A fresh workbook for every run: a second run never sees the first's.
    wb::Workbook book;
    return convert(options, observer, cancel, book);
}

}  // namespace tb::app
