// The report behind `tallybook-cli --inspect`.
#include "encyclopedia/inspect.h"

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

namespace tb::enc {
namespace {

// Counts of one file: records, used, and skipped by first failing test.
struct FileTally {
    std::size_t records = 0;
    std::size_t used = 0;
    std::vector<std::pair<std::string, std::size_t>> skipped;  // reason, count (in rule order)

    void skip(const std::string& reason) {
        for (auto& [r, n] : skipped)
            if (r == reason) { ++n; return; }
        skipped.emplace_back(reason, 1);
    }
};

// The first test a record fails, or "" when it is used.
std::string skip_reason(const TeamEntry& r, int) {
    if (r.status != 0) return "status not 0";
    if (r.use_mark_50 <= 0 || r.use_mark_52 <= 0) return "tested fields (offsets 50, 52) not above 0";
    return "";
}
std::string skip_reason(const PlayerEntry& r, int current_year) {
    if (r.status != 0) return "status not 0";
    if (r.use_mark_48 <= 0 || r.use_mark_50 <= 0) return "tested fields (offsets 48, 50) not above 0";
    if (r.birth_year <= 0 || r.birth_year >= current_year)
        return "birth year not between 1 and " + std::to_string(current_year - 1);
    return "";
}
std::string skip_reason(const StatsLine& r, int) {
    if (r.status != 0) return "status not 0";
    if (r.player_id <= 0) return "player number 0 or less";
    return "";
}
std::string skip_reason(const TeamSeason& r, int) {
    if (r.status != 0) return "status not 0";
    if (r.year <= 0) return "season year 0 or less";
    return "";
}
std::string skip_reason(const LeagueSeason& r, int) {
    if (r.status != 0) return "status not 0";
    if (r.year < 1) return "season year below 1";
    return "";
}
std::string skip_reason(const LeagueEntry& r, int) {
    if (r.status != 0) return "status not 0";
    if (r.use_mark_44 < 1) return "tested field (offset 44) below 1";
    if (!r.title_in_use) return "league title not in use";
    return "";
}

class Report {
public:
    Report(const Encyclopedia& enc, int current_year) : enc_(enc), year_(current_year) {}

    // Reads one file, writes its section and returns its used records
    // (none when it is missing or unreadable).
    template <class Record, class Reader>
    std::vector<Record> file_section(std::string_view name, Reader read) {
        std::vector<Record> used;
        const auto path = enc_.find(name);
        out_ << name << ": ";
        if (!path) {
            out_ << "missing (no records)\n";
            return used;
        }
        out_ << "found (" << path->string() << ")\n";
        std::vector<Record> all;
        FileFacts facts;
        try {
            all = read(&facts);
        } catch (const EncyclopediaError& e) {
            out_ << "  cannot be read: " << e.what() << "\n";
            all_read_ = false;
            return used;
        }
        FileTally tally;
        tally.records = all.size();
        for (Record& r : all) {
            const std::string reason = skip_reason(r, year_);
            if (reason.empty()) {
                ++tally.used;
                used.push_back(std::move(r));
            } else {
                tally.skip(reason);
            }
        }
        out_ << "  records: " << tally.records << " (" << Record::kSize << " bytes each), used: " << tally.used
             << ", skipped: " << (tally.records - tally.used) << "\n";
        for (const auto& [reason, n] : tally.skipped) out_ << "    skipped, " << reason << ": " << n << "\n";
        if (facts.partial_bytes != 0)
            out_ << "  partial trailing record of " << facts.partial_bytes << " bytes ignored\n";
        return used;
    }

    std::ostringstream& out() { return out_; }
    bool all_read() const { return all_read_; }

private:
    const Encyclopedia& enc_;
    int year_;
    std::ostringstream out_;
    bool all_read_ = true;
};

std::string year_range(const std::set<int>& years) {
    if (years.empty()) return "none";
    std::ostringstream s;
    s << years.size() << " (" << *years.begin();
    if (years.size() > 1) s << "-" << *years.rbegin();
    s << ")";
    return s.str();
}

void stats_summary(std::ostringstream& out, const std::vector<StatsLine>& stats,
                   const TeamTable& teams) {
    std::set<int32_t> players;
    std::map<int, std::size_t> by_phase;
    std::map<int, std::size_t> by_kind;
    std::set<int> years;
    std::size_t no_team_abbrev = 0;
    std::size_t out_of_range = 0;
    for (const auto& s : stats) {
        players.insert(s.player_id);
        ++by_phase[s.phase_code];
        ++by_kind[s.kind];
        years.insert(s.year);
        if (!teams.count(s.team_id)) ++no_team_abbrev;
        if (s.player_id > 65000 || s.team_id < 0 || s.team_id > 9999) ++out_of_range;
    }
    auto take = [](std::map<int, std::size_t>& m, int key) {
        const auto it = m.find(key);
        if (it == m.end()) return std::size_t{0};
        const std::size_t n = it->second;
        m.erase(it);
        return n;
    };
    out << "Players: " << players.size() << " (distinct player numbers among used statistics lines)\n";
    out << "Statistics lines by phase: regular season " << take(by_phase, 2) << ", wild card " << take(by_phase, 5)
        << ", division series " << take(by_phase, 6) << ", LCS " << take(by_phase, 7) << ", world series "
        << take(by_phase, 8) << ", ignored (code 1) " << take(by_phase, 1);
    std::size_t unknown = 0;
    for (const auto& [code, n] : by_phase) unknown += n;
    out << ", unknown codes " << unknown;
    if (unknown) {
        out << " (";
        bool first = true;
        for (const auto& [code, n] : by_phase) {
            out << (first ? "" : ", ") << "code " << code << ": " << n;
            first = false;
        }
        out << ")";
    }
    out << "\n";
    out << "Statistics lines by kind: hitting " << take(by_kind, 1) << ", pitching " << take(by_kind, 2)
        << ", two-way " << take(by_kind, 3);
    std::size_t other = 0;
    for (const auto& [kind, n] : by_kind) other += n;
    if (other) out << ", other kinds " << other;
    out << "\n";
    out << "Statistics seasons: " << year_range(years) << "\n";
    if (no_team_abbrev)
        out << "Note: " << no_team_abbrev << " used statistics lines name a team with no abbreviation in "
            << kTeamFile << " (their team column stays empty)\n";
    if (out_of_range)
        out << "Note: " << out_of_range
            << " used statistics lines have a player number above 65000 or a team number outside 0..9999\n";
}

}  // namespace

std::string inspect_report(const Encyclopedia& enc, int current_year, bool* all_read) {
    Report report(enc, current_year);
    auto& out = report.out();
    out << "Encyclopedia folder: " << enc.folder().string() << "\n";
    out << "Birth years checked against the year " << current_year << "\n\n";

    using F = FileFacts*;
    const auto teams = report.file_section<TeamEntry>(kTeamFile, [&](F f) { return enc.read_teams(f); });
    const auto players = report.file_section<PlayerEntry>(kPlayerFile, [&](F f) { return enc.read_players(f); });
    const auto stats = report.file_section<StatsLine>(kStatsFile, [&](F f) { return enc.read_stats(f); });
    const auto team_seasons =
        report.file_section<TeamSeason>(kTeamSeasonFile, [&](F f) { return enc.read_team_seasons(f); });
    const auto league_seasons =
        report.file_section<LeagueSeason>(kLeagueSeasonFile, [&](F f) { return enc.read_league_seasons(f); });
    const auto leagues = report.file_section<LeagueEntry>(kLeagueFile, [&](F f) { return enc.read_leagues(f); });

    out << "\n";
    const TeamTable team_table = build_team_table(teams);
    out << "Teams: " << team_table.size() << " (distinct team numbers in " << kTeamFile << ")\n";
    std::set<int32_t> with_birth_year;
    for (const auto& p : players) with_birth_year.insert(p.player_id);
    out << "Players with a birth year: " << with_birth_year.size() << "\n";
    stats_summary(out, stats, team_table);

    std::set<int> team_years;
    for (const auto& t : team_seasons) team_years.insert(t.year);
    out << "Team seasons: " << team_seasons.size() << ", seasons " << year_range(team_years) << "\n";
    std::set<int> league_years;
    for (const auto& l : league_seasons) league_years.insert(l.year);
    out << "League seasons: " << league_seasons.size() << ", seasons " << year_range(league_years) << "\n";
    out << "Leagues: " << leagues.size();
    if (!leagues.empty()) {
        out << " (";
        for (std::size_t i = 0; i < leagues.size(); ++i)
            out << (i ? ", " : "") << leagues[i].league_id << " " << leagues[i].title;
        out << ")";
    }
    out << "\n";
    if (leagues.size() > 3) out << "Note: only the first three leagues get a colour\n";
    if (all_read) *all_read = report.all_read();
    return out.str();
}

}  // namespace tb::enc
