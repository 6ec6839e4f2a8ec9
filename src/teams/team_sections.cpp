#include "teams/team_sections.h"

namespace tb::teams {

namespace {

const enc::PhaseRecord& phase_of(const TeamStanding& season, PostSeasonPhase phase) {
    return season.post_season_phases[static_cast<std::size_t>(phase)];
}

SeasonRow row_of(const TeamStanding& s, const LeagueTables& tables) {
    return {tables.league_name(s.league_id), s.division, s.team_name, s.year, s.regular, s.games_behind, s.finish};
}

// The team's play in one phase over the seasons that had any post-season
// play, in section order.
std::optional<PostSeasonBlock> post_season_block(PostSeasonPhase phase,
                                                 const std::vector<const TeamStanding*>& with_play,
                                                 const LeagueTables& tables) {
    PostSeasonBlock block;
    block.phase = phase;
    for (const TeamStanding* season : with_play) {
        const enc::PhaseRecord& p = phase_of(*season, phase);
        if (!p.played()) continue;
        if (block.seasons.empty()) block.heading_fill = tables.league_color(season->league_id);
        block.seasons.push_back({season->year, RecordFigures::of(p)});
        block.totals += RecordFigures::of(p);
    }
    if (!block.totals.played()) return std::nullopt;
    block.sheet_fill = tables.league_color(with_play.back()->league_id);
    return block;
}

TeamSection section_of(const TeamStanding* first, const TeamStanding* last, const LeagueTables& tables) {
    TeamSection section;
    section.team_id = first->team_id;
    section.title = tables.team_name(first->team_id);
    section.first_record_number = first->record_number;
    std::vector<const TeamStanding*> with_play;
    for (const TeamStanding* s = first; s != last; ++s) {
        if (s == first || s->year == first->year) {
            section.headed.push_back({tables.league_color(s->league_id), row_of(*s, tables)});
            section.totals_fill = section.headed.back().fill;
        } else {
            section.later.push_back(row_of(*s, tables));
        }
        section.totals += s->regular;
        if (s->post_season) with_play.push_back(s);
    }
    if (!with_play.empty())
        for (PostSeasonPhase phase :
             {PostSeasonPhase::DivisionSeries, PostSeasonPhase::ChampionshipSeries, PostSeasonPhase::WorldSeries})
            if (auto block = post_season_block(phase, with_play, tables)) section.post_seasons.push_back(*block);
    return section;
}

}  // namespace

std::vector<TeamSection> team_sections(const std::vector<TeamStanding>& standings, const LeagueTables& tables) {
    std::vector<TeamSection> sections;
    for (std::size_t i = 0; i < standings.size();) {
        std::size_t end = i + 1;
        while (end < standings.size() && standings[end].team_id == standings[i].team_id) ++end;
        sections.push_back(section_of(&standings[i], standings.data() + end, tables));
        i = end;
    }
    return sections;
}

}  // namespace tb::teams
