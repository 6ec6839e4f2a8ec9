// The state of one processing run. Everything the player pass and the
// hitting and pitching routines share lives here, owned by the run, so that
// every run starts from a fresh state.
#pragma once

#include "app/run.h"
#include "encyclopedia/encyclopedia.h"
#include "sheets/sheet_set.h"
#include "workbook/workbook.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tb::app {

// The five season phases that get sheets, in the order they are written.
enum class Phase { Reg = 0, WCS = 1, LDS = 2, LCS = 3, WS = 4 };
inline constexpr std::array<Phase, 5> kPhases = {Phase::Reg, Phase::WCS, Phase::LDS, Phase::LCS, Phase::WS};
inline constexpr std::array<Phase, 4> kPostSeasonPhases = {Phase::WCS, Phase::LDS, Phase::LCS, Phase::WS};

struct PhaseInfo {
    int code;                     // PhaseCode of its lines
    const char* hitting_title;    // section title of a hitting section ("" for the regular season)
    const char* pitching_title;   // section title of a pitching section
    const char* hitting_sheet;
    const char* pitching_sheet;
    int32_t sheets::PlayerTotalsCounters::*hitting_counter;
    int32_t sheets::PlayerTotalsCounters::*pitching_counter;
};
const PhaseInfo& phase_info(Phase p);
// The phase of a PhaseCode; nullopt for 1 (ignored) and unknown codes.
std::optional<Phase> phase_of_code(int code);

// StatKind of a line.
inline constexpr int kHitting = 1;
inline constexpr int kPitching = 2;
inline constexpr int kTwoWay = 3;

// Running hitting totals of one player and phase. 64-bit so that no
// archive can overflow them.
struct HitTotals {
    int64_t AB = 0, H = 0, Doubles = 0, Triples = 0, HR = 0, R = 0, RBI = 0, HBP = 0, BB = 0,
            K = 0, SB = 0, CS = 0, SH = 0, SF = 0, PA = 0, TB = 0, OB = 0, GIDP = 0, IBB = 0;
};

// Running pitching totals of one player and phase.
struct PitchTotals {
    int64_t W = 0, L = 0, SV = 0, G = 0, GS = 0, CG = 0, SHO = 0, Outs = 0, H = 0, R = 0, ER = 0,
            BB = 0, K = 0, HR = 0, GDP = 0, AB = 0, IBB = 0, HLD = 0, BLS = 0, BF = 0, WP = 0, BK = 0;
};

// A player's lines of one phase: record numbers in list order.
using WorkList = std::vector<int32_t>;

struct RunState {
    RunState(const RunOptions& opts, RunObserver& obs, const std::atomic<bool>* cancel_flag)
        : options(opts), observer(obs), cancel(cancel_flag) {}

    const RunOptions& options;
    RunObserver& observer;
    const std::atomic<bool>* cancel = nullptr;

    wb::Workbook workbook;
    enc::TeamTable TeamTable;
    std::string SheetLetter = "A";
    int current_year = 0;                              // birth years are checked against it

    // Player pass tables, read at the start of the run.
    std::vector<enc::PlayerSeasonStats> PlayerStats;   // record n at index n - 1
    enc::BirthYears BirthDates;
    std::unordered_set<int32_t> teams_reported;        // team numbers with no team record, told once

    // The team pass's files, read at the start of the run.
    std::vector<enc::TeamSeasonRecord> team_seasons;
    std::vector<enc::LeagueSeasonRecord> league_seasons;
    std::vector<enc::LeagueRecord> leagues;
    sheets::PlayerTotalsCounters counters;
    sheets::TeamTotalsCounters team_counters;
    std::unordered_map<std::string, int32_t> SheetRow; // next free row per letter sheet

    // Per-player state.
    int32_t CurPlayerId = 0;
    std::string PlayerName;
    int32_t Row = 1;
    int32_t ListPos = 0;
    std::string LineTeamAbbrev;
    std::optional<int32_t> Age;          // empty when the birth year is unknown
    std::array<WorkList, 5> lists;       // indexed by Phase
    bool block_open = false;             // the name row of the current block is written

    // Line and totals figures shared by the hitting routines.
    int32_t LineOB = 0, LinePA = 0, LineTB = 0;
    double HitBAVG = 0, HitSPC = 0, HitOBP = 0;
    HitTotals hit;

    // ... and by the pitching routines.
    double PitchERA = 0, PitchOBA = 0, PitchPCT = 0;
    int64_t OutsToConvert = 0;
    double InningsPitched = 0;
    PitchTotals pitch;

    int32_t LastYear = 0;

    std::optional<std::chrono::steady_clock::time_point> last_snapshot;  // of the live view

    // Counts for the summary.
    int64_t players_written = 0;
    int64_t lines_written = 0;
    int64_t notices = 0;

    const enc::PlayerSeasonStats& stats(int32_t record_number) const {
        return PlayerStats.at(static_cast<std::size_t>(record_number) - 1);
    }
    WorkList& list(Phase p) { return lists[static_cast<std::size_t>(p)]; }
};

// Runs the Process command on a state the caller owns (run_process makes a
// fresh one), so that tests can look at the workbook afterwards.
RunResult run_with_state(RunState& s);

// Display name of a statistics line: last name, ",", first name.
std::string display_name(const enc::PlayerSeasonStats& rec);

// Activates a totals sheet and returns the row for the player's next row on
// it; a sheet that has no row yet first gets its header in row 1.
int32_t next_totals_row(RunState& s, const char* sheet, int32_t& counter,
                        void (*write_header)(RunState&, int32_t));

// Sets LineTeamAbbrev and Age for record `k` of the current player. A team
// number with no team record is told once, at its first line.
void set_line_context(RunState& s, int32_t k);

// Hands the observer the rows of `sheet` up to `last_row` (the last 40) for
// a live view, when it wants them: a few times a second at most, or now
// when `force`.
void send_snapshot(RunState& s, const std::string& sheet, int32_t last_row, bool force);

// Tells the observer of a notice and counts it.
void report(RunState& s, Notice notice);

// Whether the front end has asked the run to stop.
inline bool cancelled(const RunState& s) { return s.cancel && s.cancel->load(); }

}  // namespace tb::app
