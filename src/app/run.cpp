#include "app/run.h"

#include "app/player_pass.h"
#include "app/run_state.h"
#include "teams/team_pass.h"

#include <exception>
#include <system_error>

namespace tb::app {

namespace {

namespace fs = std::filesystem;

// Fails early, before a long run, when the workbook could not be written.
void check_output(const fs::path& output) {
    if (output.empty()) throw std::runtime_error("no output file was given");
    std::error_code ec;
    if (fs::is_directory(output, ec))
        throw std::runtime_error("cannot write " + output.string() + ": it is a folder");
    const fs::path parent = output.has_parent_path() ? output.parent_path() : fs::path(".");
    if (!fs::is_directory(parent, ec))
        throw std::runtime_error("cannot write " + output.string() + ": the folder " + parent.string() +
                                 " does not exist");
}

bool cancelled(const RunState& s) { return s.cancel && s.cancel->load(); }

RunOutcome Process(RunState& s, RunSummary& summary) {
    auto& W = s.workbook;
    const RunOptions& o = s.options;
    check_output(o.output);

    wb::create_sheet_set(W, o.desired);
    if (o.viewing == Viewing::WhileProcessing) s.observer.show_workbook();

    s.encyclopedia.emplace(o.folder);
    s.TeamTable = enc::build_team_table(s.encyclopedia->read_teams());
    s.observer.status("TEAMS COMPLETED");

    if (wb::player_sheets_wanted(o.desired)) {
        if (!Player_Pass(s)) return RunOutcome::Cancelled;
        wb::end_player_sheets(W, s.counters);
    }
    if (cancelled(s)) return RunOutcome::Cancelled;
    if (wb::team_sheets_wanted(o.desired)) {
        teams::TeamPassContext ctx{W, *s.encyclopedia, s.TeamTable, s.team_counters,
                                   [&s](const std::string& text) {
                                       ++s.notices;
                                       s.observer.notice(text, std::string(enc::kTeamSeasonFile));
                                   }};
        teams::Do_Teams(ctx);
        if (o.viewing == Viewing::AfterCompleted) s.observer.show_workbook();
        wb::end_team_sheets(W, s.team_counters);
    } else if (o.viewing == Viewing::AfterCompleted) {
        // "Players Only" viewed after completion is shown too.
        s.observer.show_workbook();
    }
    if (cancelled(s)) return RunOutcome::Cancelled;

    W.save(o.output);
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
