#include "app/run.h"

#include "app/player_pass.h"
#include "app/run_state.h"
#include "platform/local_time.h"
#include "teams/team_pass.h"

#include <algorithm>
#include <ctime>
#include <exception>
#include <system_error>

namespace tb::app {

namespace {

namespace fs = std::filesystem;

int this_year() { return platform::local_calendar(std::time(nullptr)).tm_year + 1900; }

template <class Record, class Used>
std::size_t count_used(const std::vector<Record>& records, Used used) {
    return static_cast<std::size_t>(std::count_if(records.begin(), records.end(), used));
}

// Tells what is wrong with one file ("ENCPLYR.DAT is missing", ...).
void report_file(RunState& s, std::string_view name, const enc::FileFacts& facts, std::size_t used) {
    for (const std::string& problem : enc::file_problems(facts, used))
        report(s, {std::string(name) + " " + problem, std::string(name), 0, {}, {}, {}});
}

// What the run found in the files, for the decision whether there is
// anything to convert.
struct Found {
    std::size_t stats_used = 0;
    std::size_t team_seasons_used = 0;
    std::vector<std::string> stats_problems, team_season_problems;
};

// Reads the files the chosen sheets need, in one stage. Returns false when
// cancelled.
bool Read_Files(RunState& s, const enc::Encyclopedia& e, Found& found) {
    const bool players = sheets::player_sheets_wanted(s.options.desired);
    const bool teams = sheets::team_sheets_wanted(s.options.desired);
    const int64_t files = 1 + (players ? 2 : 0) + (teams ? 3 : 0);
    int64_t done = 0;
    auto step = [&] {
        s.observer.progress(Stage::Reading, ++done, files);
        return !cancelled(s);
    };
    enc::FileFacts facts;

    const auto team_records = e.read_teams(&facts);
    s.TeamTable = enc::build_team_table(team_records);
    report_file(s, enc::kTeamFile, facts, count_used(team_records, [](const auto& r) { return enc::is_used(r); }));
    if (!step()) return false;

    if (players) {
        const auto player_records = e.read_players(&facts);
        s.BirthDates = enc::build_birth_years(player_records, s.current_year);
        report_file(s, enc::kPlayerFile, facts,
                    count_used(player_records, [&](const auto& r) { return enc::is_used(r, s.current_year); }));
        if (!step()) return false;
        s.PlayerStats = e.read_stats(&facts);
        found.stats_used = count_used(s.PlayerStats, [](const auto& r) { return enc::is_used(r); });
        found.stats_problems = enc::file_problems(facts, found.stats_used);
        report_file(s, enc::kStatsFile, facts, found.stats_used);
        if (!step()) return false;
    }
    if (teams) {
        s.team_seasons = e.read_team_seasons(&facts);
        found.team_seasons_used = count_used(s.team_seasons, [](const auto& r) { return enc::is_used(r); });
        found.team_season_problems = enc::file_problems(facts, found.team_seasons_used);
        report_file(s, enc::kTeamSeasonFile, facts, found.team_seasons_used);
        if (!step()) return false;
        s.league_seasons = e.read_league_seasons(&facts);
        report_file(s, enc::kLeagueSeasonFile, facts,
                    count_used(s.league_seasons, [](const auto& r) { return enc::is_used(r); }));
        if (!step()) return false;
        s.leagues = e.read_leagues(&facts);
        report_file(s, enc::kLeagueFile, facts, count_used(s.leagues, [](const auto& r) { return enc::is_used(r); }));
        if (!step()) return false;
    }
    return true;
}

std::string because(const std::vector<std::string>& problems) {
    return problems.empty() ? std::string() : " (it " + problems.front() + ")";
}

// The run fails rather than write a workbook with no data in it, which would
// replace a good one with nothing.
void Check_Something_To_Convert(const RunState& s, const Found& found) {
    const bool players = sheets::player_sheets_wanted(s.options.desired);
    const bool teams = sheets::team_sheets_wanted(s.options.desired);
    const bool no_lines = !players || found.stats_used == 0;
    const bool no_seasons = !teams || found.team_seasons_used == 0;
    if (!no_lines || !no_seasons) return;
    std::string why;
    if (players)
        why = std::string(enc::kStatsFile) + " has no used statistics line" + because(found.stats_problems);
    if (teams)
        why += (why.empty() ? "" : " and ") + std::string(enc::kTeamSeasonFile) + " has no used team season" +
               because(found.team_season_problems);
    throw std::runtime_error("there is nothing to convert: " + why);
}

// The same after the passes: lines that were all passed over write nothing.
void Check_Something_Written(const RunState& s, const Found& found) {
    const bool teams_written = sheets::team_sheets_wanted(s.options.desired) && found.team_seasons_used > 0;
    if (s.players_written > 0 || teams_written) return;
    throw std::runtime_error("there is nothing to convert: none of the " + std::to_string(found.stats_used) +
                             " used statistics lines of " + std::string(enc::kStatsFile) +
                             " belongs to a player with a regular-season line that can be written");
}

// The save reports rows and asks about cancel through the run's observer.
class SaveWatch final : public wb::SaveMonitor {
public:
    explicit SaveWatch(RunState& s) : s_(s) {}
    bool cancelled() const override { return app::cancelled(s_); }
    void progress(int64_t done, int64_t total) override { s_.observer.progress(Stage::Saving, done, total); }

private:
    RunState& s_;
};

RunOutcome Process(RunState& s, RunSummary& summary) {
    auto& W = s.workbook;
    const RunOptions& o = s.options;
    if (o.save) {
        if (auto problem = output_problem(o.output, o.source ? fs::path() : o.folder))
            throw std::runtime_error(*problem);
    }
    s.current_year = o.current_year > 0 ? o.current_year : this_year();

    s.observer.stage(Stage::Reading);
    s.observer.status("Reading the encyclopedia...");
    const enc::Encyclopedia encyclopedia = o.source ? enc::Encyclopedia(o.source) : enc::Encyclopedia(o.folder);
    Found found;
    if (!Read_Files(s, encyclopedia, found)) return RunOutcome::Cancelled;
    Check_Something_To_Convert(s, found);

    sheets::create_sheet_set(W, o.desired);
    if (o.viewing == Viewing::WhileProcessing) s.observer.show_workbook();
    s.observer.status("TEAMS COMPLETED");

    if (sheets::player_sheets_wanted(o.desired)) {
        s.observer.stage(Stage::Players);
        if (!Player_Pass(s)) return RunOutcome::Cancelled;
        sheets::end_player_sheets(W, s.counters);
    }
    if (cancelled(s)) return RunOutcome::Cancelled;
    if (sheets::team_sheets_wanted(o.desired)) {
        s.observer.stage(Stage::Teams);
        s.observer.status("Writing the team sheets...");
        teams::TeamPassContext ctx{
            W, s.team_seasons, s.league_seasons, s.leagues, s.TeamTable, s.team_counters,
            [&s](const std::string& text, int32_t record, int32_t team) {
                report(s, {text, std::string(enc::kTeamSeasonFile), record, "TeamId", std::to_string(team), {}});
            },
            [&s](int64_t done, int64_t total) {
                s.observer.progress(Stage::Teams, done, total);
                send_snapshot(s, "Team Records", s.workbook.last_row("Team Records"), false);
                return !cancelled(s);
            }};
        if (!teams::Do_Teams(ctx)) return RunOutcome::Cancelled;
        send_snapshot(s, "Team Records", W.last_row("Team Records"), true);
        if (o.viewing == Viewing::AfterCompleted) s.observer.show_workbook();
        sheets::end_team_sheets(W, s.team_counters);
    } else if (o.viewing == Viewing::AfterCompleted) {
        // "Players Only" viewed after completion is shown too.
        s.observer.show_workbook();
    }
    if (cancelled(s)) return RunOutcome::Cancelled;
    Check_Something_Written(s, found);

    sheets::Set_Print_Setup(W);
    std::error_code ec;
    const fs::path folder = encyclopedia.folder().empty() ? fs::path() : fs::absolute(encyclopedia.folder(), ec);
    W.SetProperties({"TALLYBOOK", "Encyclopedia: " + folder.string(), summary.start});
    if (o.save) {
        s.observer.stage(Stage::Saving);
        s.observer.status("Saving the workbook...");
        // What was read is in the workbook now. Given back before the save,
        // the save's buffers fit in the memory the passes have used.
        std::vector<enc::PlayerSeasonStats>().swap(s.PlayerStats);
        SaveWatch watch(s);
        if (W.save(o.output, &watch) == wb::SaveOutcome::Cancelled) return RunOutcome::Cancelled;
    }
    summary.sheets = W.SheetNames();
    return RunOutcome::Completed;
}

}  // namespace

RunResult run_with_state(RunState& s) {
    RunResult result;
    RunSummary& summary = result.summary;
    summary.output = s.options.output;
    summary.start = std::chrono::system_clock::now();
    try {
        s.observer.started(summary.start);
        result.outcome = Process(s, summary);
    } catch (const std::exception& e) {
        result.outcome = RunOutcome::Failed;
        result.error = e.what();
    } catch (...) {
        result.outcome = RunOutcome::Failed;
        result.error = "unexpected failure";
    }
    summary.players = s.players_written;
    summary.lines = s.lines_written;
    summary.notices = s.notices;
    summary.end = std::chrono::system_clock::now();
    if (result.outcome == RunOutcome::Completed) {
        s.observer.ended(summary.end);
        s.observer.status("Processing Completed");
    }
    return result;
}

RunResult run_process(const RunOptions& options, RunObserver& observer, const std::atomic<bool>* cancel) {
    // A fresh state for every run: a second run never sees the first's.
    auto state = std::make_unique<RunState>(options, observer, cancel);
    return run_with_state(*state);
}

}  // namespace tb::app
