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

// StatKind of a line.
constexpr int kHitting = 1;
constexpr int kPitching = 2;
constexpr int kTwoWay = 3;

struct PhaseInfo {
    int code;                       // PhaseCode of its lines
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

// Letter sheets are fitted through AD when the pass leaves them, through Z
// when the two-way chain does.
constexpr int kAutofitPass = 29;
constexpr int kAutofitTwoWay = 25;

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
    int32_t ListPos = 0;
    std::string LineTeamAbbrev;
    std::optional<int32_t> Age;                          // empty when the birth year is unknown
    std::array<WorkList, 5> lists;                       // by Phase
    bool block_open = false;                             // the name row of the current block is written
    hitting::HittingCounts hit;                          // running totals of the phase
    pitching::PitchingCounts pitch;
    int32_t LastYear = 0;                                // year of the last line written

    WorkList& list(Phase p) { return lists[index(p)]; }
    const enc::PlayerSeasonStats& stats(int32_t n) const { return run.stats(n); }
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

// The text of a phase-list item: PhaseCode, the year in four digits, "/",
// the record number. Only the part after the code orders a list. These
// texts hold only digits, "/" and "-", which the collation orders as their
// character codes do, so plain byte order gives the same list, faster.
std::string phase_item_key(const enc::PlayerSeasonStats& rec, int32_t n) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d/%d", static_cast<int>(rec.SeasonYear), static_cast<int>(n));
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
        const int code = rec.PhaseCode;
        const auto phase = phase_of_code(code);
        if (!phase) {
            if (code != 1)
                report(p.run, {"this case is " + std::to_string(code), std::string(enc::kStatsFile), n, "PhaseCode",
                               std::to_string(code), display_name(rec)});
        } else if (!known_kind(rec.StatKind)) {
            report(p.run, {"unknown stat kind " + std::to_string(rec.StatKind) + ": the line is passed over",
                           std::string(enc::kStatsFile), n, "StatKind", std::to_string(rec.StatKind),
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
    const auto team = p.run.TeamTable.find(rec.TeamId);
    p.LineTeamAbbrev = team == p.run.TeamTable.end() ? std::string() : team->second;
    if (team == p.run.TeamTable.end() && p.run.teams_reported.insert(rec.TeamId).second)
        report(p.run, {"team " + std::to_string(rec.TeamId) + " has no used record in " +
                           std::string(enc::kTeamFile) + "; its lines show no team",
                       std::string(enc::kStatsFile), k, "TeamId", std::to_string(rec.TeamId), display_name(rec)});
    const auto born = p.run.BirthDates.find(p.CurPlayerId);
    if (born == p.run.BirthDates.end()) p.Age.reset();
    else p.Age = rec.SeasonYear - born->second;
}

// Walks a phase's work list from its first item, as the pass and the
// two-way routines do: ListPos runs 1..n, and each line's team and age are
// set before `write_line(record_number)`.
template <class WriteLine>
void Walk_Items(Pass& p, Phase phase, WriteLine write_line) {
    const WorkList& items = p.list(phase);
    const auto n = static_cast<int32_t>(items.size());
    for (p.ListPos = 1; p.ListPos <= n; ++p.ListPos) {
        const int32_t k = items[static_cast<std::size_t>(p.ListPos) - 1];
        set_line_context(p, k);
        write_line(k);
    }
}

// Makes sure the letter sheet exists: "#" is added after "AE" only when a
// player first needs it.
void ensure_letter_sheet(Pass& p, const std::string& letter) {
    if (p.W.HasSheet(letter)) return;
    p.W.SheetsAddAfter(wb::Letters.back());
    p.W.NameActiveSheet(letter);
}

// Opens the current player's block: works out his letter sheet from
// PlayerName; when another sheet is active, fits its columns A through
// `autofit_last_col` and activates the letter sheet; when `from_sheet_row`,
// Row = the sheet's next free row; shows the name and writes the name row.
void Open_Block(Pass& p, int autofit_last_col, bool from_sheet_row) {
    p.SheetLetter = letter_sheet_of(p.PlayerName);
    const std::string leaving = p.W.ActiveSheetName();
    if (leaving != p.SheetLetter) {
        // A totals sheet being left (the two-way chain leaves one active) is
        // fitted again when the pass ends, and only that last fit shows.
        if (!is_totals_sheet(leaving)) sheets::autofit_columns(p.W, 0, autofit_last_col);
        ensure_letter_sheet(p, p.SheetLetter);
        p.W.Activate(p.SheetLetter);
    }
    if (from_sheet_row) p.Row = p.SheetRow.try_emplace(p.SheetLetter, 1).first->second;
    p.run.observer.status(p.PlayerName);
    sheets::Name_Header(p.W, p.Row, p.PlayerName, p.CurPlayerId);
    p.block_open = true;
}

void hitter_line(Pass& p, int32_t k) {
    const auto& rec = p.stats(k);
    const hitting::HittingCounts line = hitting::line_counts(rec);
    hitting::Hitter_EntryLine(p.W, p.Row, rec.SeasonYear, p.LineTeamAbbrev, p.Age, line);
    p.hit += line;
    p.LastYear = rec.SeasonYear;
    ++p.run.lines_written;
}

void pitcher_line(Pass& p, int32_t k) {
    const auto& rec = p.stats(k);
    const pitching::PitchingCounts line = pitching::line_counts(rec);
    pitching::Pitcher_EntryLine(p.W, p.Row, rec.SeasonYear, p.LineTeamAbbrev, p.Age, line);
    p.pitch += line;
    p.LastYear = rec.SeasonYear;
    ++p.run.lines_written;
}

// The column titles at the next row; the rows of the lines follow.
void hitting_titles(Pass& p) {
    hitting::Hitting_Header(p.W, p.Row);
    p.Row += 1;
}
void pitching_titles(Pass& p) {
    pitching::Pitching_Header(p.W, p.Row);
    p.Row += 1;
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

// The hitting totals of a phase: the totals row on the letter sheet, then
// the player's row on the phase's hitting totals sheet (left active).
void Do_DualRec_H_Tot(Pass& p, Phase phase) {
    p.Row += 1;
    hitting::Hitter_TotalLine(p.W, p.Row, p.hit);
    p.Row += 1;
    const int32_t n = next_totals_row(p, sheets::kHitTotals[index(phase)], p.run.counters.*info(phase).hitting_counter,
                                      hitting::HitSumHeader);
    hitting::HitSumTotals(p.W, n, p.PlayerName, p.LastYear, p.hit);
}

void Do_DualRec_P_Tot(Pass& p, Phase phase) {
    p.Row += 1;
    pitching::Pitcher_TotalLine(p.W, p.Row, p.pitch);
    p.Row += 1;
    const int32_t n = next_totals_row(p, sheets::kPitchTotals[index(phase)],
                                      p.run.counters.*info(phase).pitching_counter, pitching::PitchSumHeader);
    pitching::PitchSumTotals(p.W, n, p.PlayerName, p.LastYear, p.pitch);
}

// The line walk of a phase's work list by the pass (regular season or a
// post-season phase). Returns the StatKind of the last line walked.
int Walk_List(Pass& p, Phase phase) {
    const bool regular = phase == Phase::Reg;
    int kind = 0;
    Walk_Items(p, phase, [&](int32_t r) {
        const auto& rec = p.stats(r);
        kind = rec.StatKind;
        if (regular) {
            p.PlayerName = display_name(rec);
            if (p.ListPos == 1) Open_Block(p, kAutofitPass, true);
        }
        if (kind == kHitting) {
            p.Row += 1;
            if (p.ListPos == 1) {
                if (regular) hitting_titles(p);
                else sheets::section_title(p.W, p.Row - 1, info(phase).hitting_title, 19);
            }
            hitter_line(p, r);
        } else if (kind == kPitching) {
            p.Row += 1;
            if (p.ListPos == 1) {
                if (regular) pitching_titles(p);
                else sheets::section_title(p.W, p.Row - 1, info(phase).pitching_title, 20);
            }
            pitcher_line(p, r);
        }
        // Two-way lines in a post-season list were written by the chain.
    });
    return kind;
}

// Totals of a phase: the kind of the last line walked decides which.
void Phase_Totals(Pass& p, Phase phase, int last_kind) {
    if (p.list(phase).empty()) return;
    if (last_kind == kHitting) Do_DualRec_H_Tot(p, phase);
    else if (last_kind == kPitching) Do_DualRec_P_Tot(p, phase);
}

void Ordinary_Player(Pass& p) {
    int kind = Walk_List(p, Phase::Reg);
    Phase_Totals(p, Phase::Reg, kind);
    p.W.Activate(p.SheetLetter);
    for (Phase ph : kPostSeasonPhases) {
        Reset_Totals(p);
        kind = Walk_List(p, ph);
        Phase_Totals(p, ph, kind);
        p.W.Activate(p.SheetLetter);
    }
}

// Two-way players: the regular-season hitting lines (opening the block when
// it is not open yet) and the post-season sections.
void Do_DualRec_H(Pass& p) {
    Walk_Items(p, Phase::Reg, [&](int32_t k) {
        p.PlayerName = display_name(p.stats(k));
        if (p.ListPos == 1 && !p.block_open) Open_Block(p, kAutofitTwoWay, true);
        p.Row += 1;
        if (p.ListPos == 1) hitting_titles(p);
        hitter_line(p, k);
    });
}

void Do_DualRec_Phase_H(Pass& p, Phase phase) {
    Reset_Totals(p);
    p.W.Activate(p.SheetLetter);
    Walk_Items(p, phase, [&](int32_t k) {
        p.Row += 1;
        if (p.ListPos == 1) sheets::section_title(p.W, p.Row - 1, info(phase).hitting_title, 19);
        hitter_line(p, k);
    });
}

// The pitching block gets its own name row, one row below the hitting
// block; the hitting side may have left a totals sheet active.
void Do_DualRec_P(Pass& p) {
    Walk_Items(p, Phase::Reg, [&](int32_t k) {
        p.PlayerName = display_name(p.stats(k));
        if (p.ListPos == 1) Open_Block(p, kAutofitTwoWay, false);
        p.Row += 1;
        if (p.ListPos == 1) pitching_titles(p);
        pitcher_line(p, k);
    });
    p.SheetRow[p.SheetLetter] = p.Row + 1;
}

void Do_DualRec_Phase_P(Pass& p, Phase phase) {
    Reset_Totals(p);
    p.W.Activate(p.SheetLetter);
    Walk_Items(p, phase, [&](int32_t k) {
        p.Row += 1;
        if (p.ListPos == 1) sheets::section_title(p.W, p.Row - 1, info(phase).pitching_title, 20);
        pitcher_line(p, k);
    });
}

// A two-way player is written entirely by the two-way chain: his hitting
// block with every phase, then his pitching block.
void Two_Way_Chain(Pass& p) {
    Reset_Totals(p);
    Do_DualRec_H(p);
    Do_DualRec_H_Tot(p, Phase::Reg);
    for (Phase ph : kPostSeasonPhases) {
        if (p.list(ph).empty()) continue;
        Do_DualRec_Phase_H(p, ph);
        Do_DualRec_H_Tot(p, ph);
    }
    p.Row += 1;
    Reset_Totals(p);
    Do_DualRec_P(p);
    Do_DualRec_P_Tot(p, Phase::Reg);
    for (Phase ph : kPostSeasonPhases) {
        if (p.list(ph).empty()) continue;
        Do_DualRec_Phase_P(p, ph);
        Do_DualRec_P_Tot(p, ph);
    }
    p.W.Activate(p.SheetLetter);
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
        lines_of[rec.PlayerId].push_back(n);
        names[rec.PlayerId] = display_name(rec);
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
            p.block_open = false;
            const auto& reg = p.list(Phase::Reg);
            const bool two_way = std::any_of(reg.begin(), reg.end(),
                                             [&](int32_t n) { return p.stats(n).StatKind == kTwoWay; });
            if (two_way) {
                p.PlayerName = display_name(p.stats(reg.front()));
                set_line_context(p, reg.front());
                Open_Block(p, kAutofitPass, true);
                Two_Way_Chain(p);
            } else {
                Ordinary_Player(p);
            }
            p.SheetRow[p.SheetLetter] = p.Row + 1;
            ++s.players_written;
            send_snapshot(s, p.SheetLetter, p.Row, false);
        }
        s.observer.progress(Stage::Players, done, total);
    }
    send_snapshot(s, p.SheetLetter, p.Row, true);   // the end of the pass, as it stands
    return true;
}

}  // namespace tb::app
