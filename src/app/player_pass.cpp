#include "app/player_pass.h"

#include "hitting/hitting.h"
#include "pitching/pitching.h"
#include "text/collation.h"
#include "text/utf8.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace tb::app {

namespace {

// Column indexes: the letter sheets are autofitted through AD when the pass
// leaves them, through Z when the two-way chain does.
constexpr int kAutofitPass = 29;

// Base letter of the Windows-1252 letters that carry an accent; 0 for the
// rest (Æ, Ø, Œ, ß, Ð, Þ have no single base letter).
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

void sort_phase_list(RunState& s, WorkList& list) {
    std::vector<std::pair<std::string, int32_t>> keyed;
    keyed.reserve(list.size());
    for (int32_t n : list) keyed.emplace_back(phase_item_key(s.stats(n), n), n);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < list.size(); ++i) list[i] = keyed[i].second;
}

bool is_totals_sheet(const std::string& name) {
    for (Phase p : kPhases)
        if (name == phase_info(p).hitting_sheet || name == phase_info(p).pitching_sheet) return true;
    return false;
}

// Makes sure the letter sheet exists: "#" is added after "AE" only when a
// player first needs it.
void ensure_letter_sheet(RunState& s, const std::string& letter) {
    if (s.workbook.HasSheet(letter)) return;
    s.workbook.SheetsAddAfter(wb::Letters.back());
    s.workbook.NameActiveSheet(letter);
}

bool known_kind(int kind) { return kind == kHitting || kind == kPitching || kind == kTwoWay; }

// Routes the current player's lines into the phase lists. Lines of an
// unknown phase or of an unknown kind are reported and skipped; code 1 is
// skipped silently.
void Route_Lines(RunState& s, const std::vector<int32_t>& records) {
    for (auto& l : s.lists) l.clear();
    for (int32_t n : records) {
        const auto& rec = s.stats(n);
        const int code = rec.PhaseCode;
        const auto phase = phase_of_code(code);
        if (!phase) {
            if (code != 1)
                report(s, {"this case is " + std::to_string(code), std::string(enc::kStatsFile), n, "PhaseCode",
                           std::to_string(code), display_name(rec)});
        } else if (!known_kind(rec.StatKind)) {
            report(s, {"unknown stat kind " + std::to_string(rec.StatKind) + ": the line is passed over",
                       std::string(enc::kStatsFile), n, "StatKind", std::to_string(rec.StatKind), display_name(rec)});
        } else {
            s.list(*phase).push_back(n);
        }
    }
    for (Phase p : kPhases)
        if (p != Phase::WCS) sort_phase_list(s, s.list(p));  // the wild-card list keeps file order
}

// Totals of a phase: the kind of the last line walked decides which.
void Phase_Totals(RunState& s, Phase phase, int last_kind) {
    if (s.list(phase).empty()) return;
    if (last_kind == kHitting) hitting::Do_DualRec_H_Tot(s, phase);
    else if (last_kind == kPitching) pitching::Do_DualRec_P_Tot(s, phase);
}

// A two-way player is written entirely by the two-way chain: his hitting
// block with every phase, then his pitching block.
void Two_Way_Chain(RunState& s) {
    hitting::Reset_Totals(s);
    hitting::Do_DualRec_H(s);
    hitting::Do_DualRec_H_Tot(s, Phase::Reg);
    for (Phase p : kPostSeasonPhases) {
        if (s.list(p).empty()) continue;
        hitting::Do_DualRec_Phase_H(s, p);
        hitting::Do_DualRec_H_Tot(s, p);
    }
    s.Row += 1;
    hitting::Reset_Totals(s);
    pitching::Do_DualRec_P(s);
    pitching::Do_DualRec_P_Tot(s, Phase::Reg);
    for (Phase p : kPostSeasonPhases) {
        if (s.list(p).empty()) continue;
        pitching::Do_DualRec_Phase_P(s, p);
        pitching::Do_DualRec_P_Tot(s, p);
    }
    s.workbook.Activate(s.SheetLetter);
}

void Ordinary_Player(RunState& s) {
    int kind = Walk_List(s, Phase::Reg);
    Phase_Totals(s, Phase::Reg, kind);
    s.workbook.Activate(s.SheetLetter);
    for (Phase p : kPostSeasonPhases) {
        hitting::Reset_Totals(s);
        kind = Walk_List(s, p);
        Phase_Totals(s, p, kind);
        s.workbook.Activate(s.SheetLetter);
    }
}

struct ListedPlayer {
    std::string text;
    int32_t id;
};

}  // namespace

std::string letter_sheet_of(std::string_view display_name) {
    const char letter = base_letter(text::first_code_point(display_name));
    return letter ? std::string(1, letter) : std::string("#");
}

void Open_Block(RunState& s, int autofit_last_col, bool from_sheet_row) {
    s.SheetLetter = letter_sheet_of(s.PlayerName);
    const std::string leaving = s.workbook.ActiveSheetName();
    if (leaving != s.SheetLetter) {
        // A totals sheet being left (the two-way chain leaves one active) is
        // fitted again when the pass ends, and only that last fit shows; fitting
        // it here for every two-way player made big archives quadratic.
        if (!is_totals_sheet(leaving)) sheets::autofit_columns(s.workbook, 0, autofit_last_col);
        ensure_letter_sheet(s, s.SheetLetter);
        s.workbook.Activate(s.SheetLetter);
    }
    if (from_sheet_row) {
        auto it = s.SheetRow.try_emplace(s.SheetLetter, 1).first;
        s.Row = it->second;
    }
    s.observer.status(s.PlayerName);
    hitting::Name_Header(s);
    s.block_open = true;
}

int Walk_List(RunState& s, Phase phase) {
    const bool regular = phase == Phase::Reg;
    const auto& info = phase_info(phase);
    int kind = 0;
    Walk_Items(s, phase, [&](int32_t r) {
        const auto& rec = s.stats(r);
        kind = rec.StatKind;
        if (regular) {
            s.PlayerName = display_name(rec);
            if (s.ListPos == 1) Open_Block(s, kAutofitPass, true);
        }
        if (kind == kHitting) {
            s.Row += 1;
            if (s.ListPos == 1) {
                if (regular) hitting::Hitting_Header(s);
                else hitting::section_title(s, info.hitting_title, 19);
            }
            hitting::Hitter_EntryLine(s, r);
        } else if (kind == kPitching) {
            s.Row += 1;
            s.OutsToConvert = rec.PitOuts;
            pitching::CALC_INNINGS(s);
            if (s.ListPos == 1) {
                if (regular) pitching::Pitching_Header(s);
                else hitting::section_title(s, info.pitching_title, 20);
            }
            pitching::Pitcher_EntryLine(s, r);
        }
        // Two-way lines in a post-season list were written by the chain;
        // lines of any other kind write nothing.
    });
    return kind;
}

bool Player_Pass(RunState& s) {
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
    text::sort_by_collation(players, [](const ListedPlayer& p) -> const std::string& { return p.text; });

    const auto total = static_cast<int64_t>(players.size());
    int64_t done = 0;
    for (const ListedPlayer& p : players) {
        if (cancelled(s)) return false;
        s.CurPlayerId = p.id;
        hitting::Reset_Totals(s);
        Route_Lines(s, lines_of[p.id]);
        ++done;
        // A player with no regular-season line is not written at all.
        if (!s.list(Phase::Reg).empty()) {
            s.block_open = false;
            const auto& reg = s.list(Phase::Reg);
            const bool two_way = std::any_of(reg.begin(), reg.end(),
                                             [&](int32_t n) { return s.stats(n).StatKind == kTwoWay; });
            if (two_way) {
                s.PlayerName = display_name(s.stats(reg.front()));
                set_line_context(s, reg.front());
                Open_Block(s, kAutofitPass, true);
                Two_Way_Chain(s);
            } else {
                Ordinary_Player(s);
            }
            s.SheetRow[s.SheetLetter] = s.Row + 1;
            ++s.players_written;
            send_snapshot(s, s.SheetLetter, s.Row, false);
        }
        s.observer.progress(Stage::Players, done, total);
    }
    send_snapshot(s, s.SheetLetter, s.Row, true);   // the end of the pass, as it stands
    return true;
}

}  // namespace tb::app
