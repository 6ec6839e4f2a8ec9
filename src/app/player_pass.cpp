#include "app/player_pass.h"

#include "hitting/hitting.h"
#include "pitching/pitching.h"
#include "sheets/player_block.h"
#include "sheets/sheet_names.h"
#include "text/collation.h"
#include "text/utf8.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

namespace tb::app {

namespace {

using C = sheets::PlayerTotalsCounters;

// kind of a line.
constexpr int kHitting = 1;
constexpr int kPitching = 2;
constexpr int kTwoWay = 3;

struct PhaseInfo {
    int code;                       // phase_code of its lines
    std::string_view hitting_title; // section title of a hitting section ("" for the regular season)
    std::string_view pitching_title;
    int32_t C::*hitting_counter;    // rows of its hitting and pitching totals sheets
    int32_t C::*pitching_counter;
};

// The wild-card series carries the division series' title; the world
// series titles differ in their spacing.
constexpr std::array<PhaseInfo, 5> kPhaseInfo = {{
    {2, "", "", &C::HitRegLine, &C::PitchRegLine},
    {5, "- - L D S - -", "- - L D S - -", &C::HitWCSLine, &C::PitchWCSLine},
    {6, "- - L D S - -", "- - L D S - -", &C::HitDCSLine, &C::PitchDCSLine},
    {7, "- - L C S - -", "- - L C S - -", &C::HitLCSLine, &C::PitchLCSLine},
    {8, "- - W  S - -", "- -  W  S  - -", &C::HitWSLine, &C::PitchWSLine},
}};

const PhaseInfo& info(Phase p) { return kPhaseInfo[static_cast<std::size_t>(p)]; }
std::size_t index(Phase p) { return static_cast<std::size_t>(p); }

// Letter sheets are fitted through AD when the pass leaves them.
constexpr int kAutofitPass = 29;

// A player's lines of one phase: record numbers in list order.
using WorkList = std::vector<int32_t>;

// The pass's own state: where it writes and what it adds up.
struct Pass {
    explicit Pass(RunState& s) : run(s), W(s.workbook) {}
    RunState& run;
    wb::Workbook& W;
    std::string SheetLetter = "A";
    std::unordered_map<std::string, int32_t> SheetRow;   // next free row per letter sheet
    int32_t CurPlayerId = 0;
    std::string PlayerName;
    int32_t Row = 1;
    std::string LineTeamAbbrev;
    std::optional<int32_t> Age;                          // empty when the birth year is unknown
    std::array<WorkList, 5> lists;                       // by Phase
    hitting::HittingCounts hit;                          // running totals of the phase
    pitching::PitchingCounts pitch;
    int32_t LastYear = 0;                                // year of the last line written

    WorkList& list(Phase p) { return lists[index(p)]; }
    const enc::StatsLine& stats(int32_t n) const { return run.stats(n); }
};

char base_letter(char32_t cp) {
    if (cp >= 'A' && cp <= 'Z') return static_cast<char>(cp);
    if (cp >= 'a' && cp <= 'z') return static_cast<char>(cp - 'a' + 'A');
    if (cp == 0xFF || cp == 0x178) return 'Y';               // ÿ, Ÿ
    if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) cp -= 0x20;  // lower to upper
    if (cp >= 0xC0 && cp <= 0xC5) return 'A';
    if (cp == 0xC7) return 'C';
    if (cp >= 0xC8 && cp <= 0xCB) return 'E';
    if (cp >= 0xCC && cp <= 0xCF) return 'I';
    if (cp == 0xD1) return 'N';
    if (cp >= 0xD2 && cp <= 0xD6) return 'O';
    if (cp >= 0xD9 && cp <= 0xDC) return 'U';
    if (cp == 0xDD) return 'Y';
    if (cp == 0x160 || cp == 0x161) return 'S';
    if (cp == 0x17D || cp == 0x17E) return 'Z';
    return 0;
}

// The text of a phase-list item: phase_code, the year in four digits, "/",
// the record number. Only the part after the code orders a list. These
// texts hold only digits, "/" and "-", which the collation orders as their
// character codes do, so plain byte order gives the same list, faster.
std::string phase_item_key(const enc::StatsLine& rec, int32_t n) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d/%d", static_cast<int>(rec.year), static_cast<int>(n));
    return buf;
}

void sort_phase_list(const Pass& p, WorkList& list) {
    std::vector<std::pair<std::string, int32_t>> keyed;
    keyed.reserve(list.size());
    for (int32_t n : list) keyed.emplace_back(phase_item_key(p.stats(n), n), n);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < list.size(); ++i) list[i] = keyed[i].second;
}

bool is_totals_sheet(const std::string& name) {
    for (std::size_t i = 0; i < kPhases.size(); ++i)
        if (name == sheets::kHitTotals[i] || name == sheets::kPitchTotals[i]) return true;
    return false;
}

bool known_kind(int kind) { return kind == kHitting || kind == kPitching || kind == kTwoWay; }

void Reset_Totals(Pass& p) {
    p.hit = {};
    p.pitch = {};
}

// Routes the current player's lines into the phase lists. Lines of an
// unknown phase or of an unknown kind are reported and skipped; code 1 is
// skipped silently.
void Route_Lines(Pass& p, const std::vector<int32_t>& records) {
    for (auto& l : p.lists) l.clear();
    for (int32_t n : records) {
        const auto& rec = p.stats(n);
        const int code = rec.phase_code;
        const auto phase = phase_of_code(code);
        if (!phase) {
            if (code != 1)
                report(p.run, {"this case is " + std::to_string(code), std::string(enc::kStatsFile), n, "PhaseCode",
                               std::to_string(code), display_name(rec)});
        } else if (!known_kind(rec.kind)) {
            report(p.run, {"unknown stat kind " + std::to_string(rec.kind) + ": the line is passed over",
                           std::string(enc::kStatsFile), n, "StatKind", std::to_string(rec.kind),
                           display_name(rec)});
        } else {
            p.list(*phase).push_back(n);
        }
    }
    for (Phase ph : kPhases)
        if (ph != Phase::WCS) sort_phase_list(p, p.list(ph));  // the wild-card list keeps file order
}

// LineTeamAbbrev and Age of line `k`. A team number with no team record is
// told once, at its first line.
void set_line_context(Pass& p, int32_t k) {
    const auto& rec = p.stats(k);
    const auto team = p.run.TeamTable.find(rec.team_id);
    p.LineTeamAbbrev = team == p.run.TeamTable.end() ? std::string() : team->second;
    if (team == p.run.TeamTable.end() && p.run.teams_reported.insert(rec.team_id).second)
        report(p.run, {"team " + std::to_string(rec.team_id) + " has no used record in " +
                           std::string(enc::kTeamFile) + "; its lines show no team",
                       std::string(enc::kStatsFile), k, "TeamId", std::to_string(rec.team_id), display_name(rec)});
    const auto born = p.run.BirthDates.find(p.CurPlayerId);
    if (born == p.run.BirthDates.end()) p.Age.reset();
    else p.Age = rec.year - born->second;
}

void hitter_line(Pass& p, int32_t k, int32_t row) {
    const auto& rec = p.stats(k);
    const hitting::HittingCounts line = hitting::line_counts(rec);
    hitting::Hitter_EntryLine(p.W, row, rec.year, p.LineTeamAbbrev, p.Age, line);
    p.hit += line;
    p.LastYear = rec.year;
    ++p.run.lines_written;
}

void pitcher_line(Pass& p, int32_t k, int32_t row) {
    const auto& rec = p.stats(k);
    const pitching::PitchingCounts line = pitching::line_counts(rec);
    pitching::Pitcher_EntryLine(p.W, row, rec.year, p.LineTeamAbbrev, p.Age, line);
    p.pitch += line;
    p.LastYear = rec.year;
    ++p.run.lines_written;
}

// Activates a totals sheet and returns the row for the player's next row on
// it; a sheet that has no row yet first gets its header in row 1.
template <class WriteHeader>
int32_t next_totals_row(Pass& p, std::string_view sheet, int32_t& counter, WriteHeader write_header) {
    p.W.Activate(sheet);
    if (counter == 0) {
        counter = 1;
        write_header(p.W, counter);
    }
    return ++counter;
}

// Makes sure the letter sheet exists: "#" is added after "AE" only when a
// player first needs it.
void ensure_letter_sheet(Pass& p, const std::string& letter) {
    if (p.W.HasSheet(letter)) return;
    p.W.SheetsAddAfter(wb::Letters.back());
    p.W.NameActiveSheet(letter);
}

// Goes to the player's letter sheet, named by the first letter of `name`:
// a letter sheet being left gets its columns A through AD fitted first.
// Returns the row his blocks start on.
int32_t Open_Letter_Sheet(Pass& p, const std::string& name) {
    p.SheetLetter = letter_sheet_of(name);
    const std::string leaving = p.W.ActiveSheetName();
    if (leaving != p.SheetLetter) {
        // A totals sheet is fitted again when the pass ends, and only that
        // last fit shows.
        if (!is_totals_sheet(leaving)) sheets::autofit_columns(p.W, 0, kAutofitPass);
        ensure_letter_sheet(p, p.SheetLetter);
        p.W.Activate(p.SheetLetter);
    }
    p.run.observer.status(name);
    return p.SheetRow.try_emplace(p.SheetLetter, 1).first->second;
}

// The two blocks a player can have, and the lines each takes: a hitting
// line feeds the hitting block, a pitching line the pitching block, a
// two-way line both.
enum class Side { Hitting, Pitching };
constexpr std::array<Side, 2> kSides = {Side::Hitting, Side::Pitching};

bool feeds(Side side, int kind) {
    return kind == kTwoWay || kind == (side == Side::Hitting ? kHitting : kPitching);
}

using BlockLines = std::array<WorkList, 5>;   // by Phase

BlockLines lines_of_block(const Pass& p, Side side) {
    BlockLines block;
    for (Phase ph : kPhases)
        for (int32_t n : p.lists[index(ph)])
            if (feeds(side, p.stats(n).kind)) block[index(ph)].push_back(n);
    return block;
}

bool has_lines(const BlockLines& block) {
    return std::any_of(block.begin(), block.end(), [](const WorkList& l) { return !l.empty(); });
}

void write_line(Pass& p, Side side, int32_t k, int32_t row) {
    set_line_context(p, k);
    if (side == Side::Hitting) hitter_line(p, k, row);
    else pitcher_line(p, k, row);
}

// The totals row of a phase at `row`, then the player's row on the phase's
// totals sheet; the letter sheet is active again afterwards.
void write_phase_totals(Pass& p, Side side, Phase phase, int32_t row) {
    if (side == Side::Hitting) {
        hitting::Hitter_TotalLine(p.W, row, p.hit);
        const int32_t n = next_totals_row(p, sheets::kHitTotals[index(phase)],
                                          p.run.counters.*info(phase).hitting_counter, hitting::HitSumHeader);
        hitting::HitSumTotals(p.W, n, p.PlayerName, p.LastYear, p.hit);
    } else {
        pitching::Pitcher_TotalLine(p.W, row, p.pitch);
        const int32_t n = next_totals_row(p, sheets::kPitchTotals[index(phase)],
                                          p.run.counters.*info(phase).pitching_counter, pitching::PitchSumHeader);
        pitching::PitchSumTotals(p.W, n, p.PlayerName, p.LastYear, p.pitch);
    }
    p.W.Activate(p.SheetLetter);
}

// One block from `row`: the name row, the column titles, then every phase
// with lines (a post-season phase under its section title), each closed by
// its totals row. The name row shows the name of the block's first
// regular-season line, the totals sheets that of its last; a block without
// regular-season lines takes the player's. Returns the row below the last
// totals row.
int32_t write_block(Pass& p, Side side, const BlockLines& block, int32_t row, const WorkList& player_regular) {
    const WorkList& regular = block[index(Phase::Reg)].empty() ? player_regular : block[index(Phase::Reg)];
    sheets::Name_Header(p.W, row, display_name(p.stats(regular.front())), p.CurPlayerId);
    ++row;
    if (side == Side::Hitting) hitting::Hitting_Header(p.W, row);
    else pitching::Pitching_Header(p.W, row);
    ++row;
    p.PlayerName = display_name(p.stats(regular.back()));
    const int color = side == Side::Hitting ? 19 : 20;
    for (Phase ph : kPhases) {
        const WorkList& lines = block[index(ph)];
        if (lines.empty()) continue;
        Reset_Totals(p);
        if (ph != Phase::Reg) {
            const PhaseInfo& pi = info(ph);
            sheets::section_title(p.W, row, side == Side::Hitting ? pi.hitting_title : pi.pitching_title, color);
            ++row;
        }
        for (int32_t k : lines) write_line(p, side, k, row++);
        write_phase_totals(p, side, ph, row++);
    }
    return row;
}

// A player's blocks on his letter sheet, chosen by the name on his first
// regular-season line: the hitting block, then, one empty row below, the
// pitching block; a block only when some line feeds it.
void write_player(Pass& p) {
    const WorkList& regular = p.list(Phase::Reg);
    int32_t row = Open_Letter_Sheet(p, display_name(p.stats(regular.front())));
    bool first = true;
    for (Side side : kSides) {
        const BlockLines block = lines_of_block(p, side);
        if (!has_lines(block)) continue;
        if (!first) ++row;
        row = write_block(p, side, block, row, regular);
        first = false;
    }
    p.Row = row;
    p.SheetRow[p.SheetLetter] = row + 1;
}

struct ListedPlayer {
    std::string text;
    int32_t id;
};

}  // namespace

std::optional<Phase> phase_of_code(int code) {
    for (Phase p : kPhases)
        if (info(p).code == code) return p;
    return std::nullopt;
}

std::string letter_sheet_of(std::string_view display_name) {
    const char letter = base_letter(text::first_code_point(display_name));
    return letter ? std::string(1, letter) : std::string(sheets::kOtherNames);
}

bool Player_Pass(RunState& s) {
    Pass p(s);

    // Index the lines by player once, and take each player's display name
    // from his last used line.
    std::unordered_map<int32_t, std::vector<int32_t>> lines_of;
    std::unordered_map<int32_t, std::string> names;
    for (std::size_t i = 0; i < s.PlayerStats.size(); ++i) {
        const auto& rec = s.PlayerStats[i];
        if (!enc::is_used(rec)) continue;
        const auto n = static_cast<int32_t>(i + 1);
        lines_of[rec.player_id].push_back(n);
        names[rec.player_id] = display_name(rec);
    }

    // lstPlayers: "name \ number", in the order of the sorted work lists.
    std::vector<ListedPlayer> players;
    players.reserve(names.size());
    for (const auto& [id, name] : names) players.push_back({name + " \\ " + std::to_string(id), id});
    text::sort_by_collation(players, [](const ListedPlayer& l) -> const std::string& { return l.text; });

    const auto total = static_cast<int64_t>(players.size());
    int64_t done = 0;
    for (const ListedPlayer& listed : players) {
        if (cancelled(s)) return false;
        p.CurPlayerId = listed.id;
        Reset_Totals(p);
        Route_Lines(p, lines_of[listed.id]);
        ++done;
        // A player with no regular-season line is not written at all.
        if (!p.list(Phase::Reg).empty()) {
            write_player(p);
            ++s.players_written;
            send_snapshot(s, p.SheetLetter, p.Row, false);
        }
        s.observer.progress(Stage::Players, done, total);
    }
    send_snapshot(s, p.SheetLetter, p.Row, true);   // the end of the pass, as it stands
    return true;
}

}  // namespace tb::app
