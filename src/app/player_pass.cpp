#include "app/player_pass.h"

#include "hitting/hitting.h"
#include "pitching/pitching.h"
#include "text/collation.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

namespace tb::app {

namespace {

using enc::SeasonPhase;
using sheets::Side;

constexpr std::size_t kPhaseCount = 5;
constexpr std::array<SeasonPhase, kPhaseCount> kPhases = {SeasonPhase::Regular, SeasonPhase::WildCard,
                                                          SeasonPhase::DivisionSeries,
                                                          SeasonPhase::ChampionshipSeries, SeasonPhase::WorldSeries};

// A player's lines of each phase, in the order they are shown: positions in
// the input's lines.
using PhaseLines = std::array<std::vector<int32_t>, kPhaseCount>;

std::size_t index_of(SeasonPhase phase) { return static_cast<std::size_t>(phase); }

// What a pass knows while it writes one player.
struct Context {
    const PlayerPassInput& input;
    Reporter& reporter;
    std::unordered_set<int32_t> teams_told;   // team numbers without a team record, told once
    const enc::StatsLine& line(int32_t at) const { return input.lines[static_cast<std::size_t>(at)].record; }
    int32_t record_number(int32_t at) const { return input.lines[static_cast<std::size_t>(at)].number; }
};

// Lines of a year in the order of their record numbers as text (record 10
// before record 9), as the sorted lists of the game's own tools order them.
// These keys hold only digits and "/", which the collation orders as their
// character codes do, so plain byte order gives the same list, faster.
void sort_lines(const Context& ctx, std::vector<int32_t>& lines) {
    std::vector<std::pair<std::string, int32_t>> keyed;
    keyed.reserve(lines.size());
    for (int32_t n : lines) {
        char key[48];
        std::snprintf(key, sizeof key, "%04d/%d", static_cast<int>(ctx.line(n).year),
                      static_cast<int>(ctx.record_number(n)));
        keyed.emplace_back(key, n);
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < lines.size(); ++i) lines[i] = keyed[i].second;
}

// Sorts a player's lines into the phases. Lines of an unknown phase or of an
// unknown kind are told and passed over; exhibition lines silently. The
// wild-card series keeps file order.
PhaseLines route_lines(Context& ctx, const std::vector<int32_t>& records) {
    PhaseLines phases;
    for (int32_t n : records) {
        const enc::StatsLine& line = ctx.line(n);
        const auto phase = enc::season_phase_of(line.phase_code);
        if (!phase) {
            if (line.phase_code != enc::kExhibitionCode)
                ctx.reporter.notice({"this case is " + std::to_string(line.phase_code), std::string(enc::kStatsFile),
                                     ctx.record_number(n), "PhaseCode", std::to_string(line.phase_code),
                                     display_name(line)});
        } else if (!enc::line_kind_of(line.kind)) {
            ctx.reporter.notice({"unknown stat kind " + std::to_string(line.kind) + ": the line is passed over",
                                 std::string(enc::kStatsFile), ctx.record_number(n), "StatKind",
                                 std::to_string(line.kind),
                                 display_name(line)});
        } else {
            phases[index_of(*phase)].push_back(n);
        }
    }
    for (SeasonPhase phase : kPhases)
        if (phase != SeasonPhase::WildCard) sort_lines(ctx, phases[index_of(phase)]);
    return phases;
}

bool feeds(Side side, uint8_t kind) {
    const auto k = enc::line_kind_of(kind);
    return k == enc::LineKind::TwoWay || k == (side == Side::Hitting ? enc::LineKind::Hitting : enc::LineKind::Pitching);
}

PhaseLines lines_of_side(const Context& ctx, const PhaseLines& phases, Side side) {
    PhaseLines out;
    for (std::size_t p = 0; p < kPhaseCount; ++p)
        for (int32_t n : phases[p])
            if (feeds(side, ctx.line(n).kind)) out[p].push_back(n);
    return out;
}

// The team and age shown on a line. A team number with no team record is
// told once, at its first line.
sheets::BlockLine line_lead(Context& ctx, int32_t n, int32_t player_id) {
    const enc::StatsLine& line = ctx.line(n);
    sheets::BlockLine lead;
    lead.year = line.year;
    const auto team = ctx.input.teams.find(line.team_id);
    if (team != ctx.input.teams.end()) {
        lead.team = team->second;
    } else if (ctx.teams_told.insert(line.team_id).second) {
        ctx.reporter.notice({"team " + std::to_string(line.team_id) + " has no used record in " +
                                 std::string(enc::kTeamFile) + "; its lines show no team",
                             std::string(enc::kStatsFile), ctx.record_number(n), "TeamId",
                             std::to_string(line.team_id),
                             display_name(line)});
    }
    const auto born = ctx.input.birth_years.find(player_id);
    if (born != ctx.input.birth_years.end()) lead.age = line.year - born->second;
    return lead;
}

// A section of a block with the counts of its lines added up.
template <class Counts, class CountsOf, class FiguresOf>
sheets::BlockSection section_of(Context& ctx, SeasonPhase phase, const std::vector<int32_t>& lines, int32_t player_id,
                                CountsOf counts_of, FiguresOf figures_of) {
    sheets::BlockSection section;
    section.phase = phase;
    Counts totals;
    for (int32_t n : lines) {
        const Counts counts = counts_of(ctx.line(n));
        sheets::BlockLine line = line_lead(ctx, n, player_id);
        const auto figures = figures_of(counts, true);
        line.figures.assign(figures.begin(), figures.end());
        section.lines.push_back(std::move(line));
        totals += counts;
    }
    const auto figures = figures_of(totals, false);
    section.totals.assign(figures.begin(), figures.end());
    return section;
}

// One block of a player, and for each of its sections the year of its last
// line (for the totals sheets).
struct SideBlock {
    sheets::Block block;
    std::string totals_name;        // the name his totals-sheet rows show
    std::vector<int32_t> last_years;
};

// The name row shows the name of the block's first regular-season line, the
// totals sheets that of its last; a block without regular-season lines
// takes the player's.
SideBlock side_block(Context& ctx, Side side, const PhaseLines& lines, const std::vector<int32_t>& regular,
                     int32_t player_id) {
    SideBlock out;
    out.block.side = side;
    out.block.player_id = player_id;
    const std::vector<int32_t>& named = lines[0].empty() ? regular : lines[0];
    out.block.name = display_name(ctx.line(named.front()));
    out.totals_name = display_name(ctx.line(named.back()));
    for (SeasonPhase phase : kPhases) {
        const std::vector<int32_t>& phase_lines = lines[index_of(phase)];
        if (phase_lines.empty()) continue;
        if (side == Side::Hitting) {
            out.block.sections.push_back(section_of<hitting::HittingCounts>(
                ctx, phase, phase_lines, player_id,
                [](const enc::StatsLine& l) { return hitting::line_counts(l.hitting); },
                [](const hitting::HittingCounts& c, bool line) {
                    return hitting::figures(c, line ? hitting::RowKind::SeasonLine : hitting::RowKind::Totals);
                }));
        } else {
            out.block.sections.push_back(section_of<pitching::PitchingCounts>(
                ctx, phase, phase_lines, player_id,
                [](const enc::StatsLine& l) { return pitching::line_counts(l.pitching); },
                [](const pitching::PitchingCounts& c, bool) { return pitching::figures(c); }));
        }
        out.last_years.push_back(ctx.line(phase_lines.back()).year);
    }
    return out;
}

struct ListedPlayer {
    std::string text;   // "name \ number": the order of the player list
    int32_t id;
};

// The players of the used lines by display name, each with his line numbers.
std::vector<ListedPlayer> list_players(const std::vector<enc::Numbered<enc::StatsLine>>& lines,
                                       std::unordered_map<int32_t, std::vector<int32_t>>& lines_of) {
    std::unordered_map<int32_t, std::string> names;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const enc::StatsLine& line = lines[i].record;
        lines_of[line.player_id].push_back(static_cast<int32_t>(i));
        names[line.player_id] = display_name(line);
    }
    std::vector<ListedPlayer> players;
    players.reserve(names.size());
    for (const auto& [id, name] : names) players.push_back({name + " \\ " + std::to_string(id), id});
    text::sort_by_collation(players, [](const ListedPlayer& p) -> const std::string& { return p.text; });
    return players;
}

}  // namespace

PlayerPassResult write_player_sheets(wb::Workbook& book, sheets::LetterSheets& letters,
                                     sheets::PlayerTotalsSheets& totals, const PlayerPassInput& input,
                                     Reporter& reporter) {
    Context ctx{input, reporter, {}};
    PlayerPassResult result;
    std::unordered_map<int32_t, std::vector<int32_t>> lines_of;
    const std::vector<ListedPlayer> players = list_players(input.lines, lines_of);

    const auto total = static_cast<int64_t>(players.size());
    int64_t done = 0;
    std::optional<std::pair<wb::SheetId, int32_t>> last_written;
    for (const ListedPlayer& player : players) {
        if (reporter.cancelled()) return {false, result.players_written, result.lines_written};
        const PhaseLines phases = route_lines(ctx, lines_of[player.id]);
        ++done;
        const std::vector<int32_t>& regular = phases[index_of(SeasonPhase::Regular)];
        if (!regular.empty()) {
            const std::string first_name = display_name(ctx.line(regular.front()));
            const sheets::LetterSheets::Place place = letters.place_for(first_name);
            reporter.status(first_name);
            int32_t row = place.row;
            bool first_block = true;
            for (Side side : {Side::Hitting, Side::Pitching}) {
                const PhaseLines lines = lines_of_side(ctx, phases, side);
                if (std::all_of(lines.begin(), lines.end(), [](const auto& l) { return l.empty(); })) continue;
                const SideBlock b = side_block(ctx, side, lines, regular, player.id);
                if (!first_block) ++row;   // one empty row between the blocks
                first_block = false;
                row = sheets::write_block(book, place.sheet, row, b.block);
                for (std::size_t s = 0; s < b.block.sections.size(); ++s) {
                    const sheets::BlockSection& section = b.block.sections[s];
                    totals.add_row(side, section.phase, b.totals_name, b.last_years[s], section.totals);
                    result.lines_written += static_cast<int64_t>(section.lines.size());
                }
            }
            letters.blocks_ended(place.sheet, row);
            ++result.players_written;
            last_written = {place.sheet, row};
            reporter.live_rows(book, place.sheet, row, false);
        }
        reporter.progress(Stage::Players, done, total);
    }
    // The end of the pass, as it stands.
    if (last_written) reporter.live_rows(book, last_written->first, last_written->second, true);
    return result;
}

}  // namespace tb::app
