// Runs the team pass on a tiny encyclopedia and reads the sheets back.
#pragma once

#include "support/encyclopedia_builder.h"
#include "teams/team_pass.h"
#include "sheets/sheet_set.h"
#include "workbook/workbook.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tb::teams::test {

using namespace tb::test;

inline constexpr std::string_view kRecords = "Team Records";
inline constexpr std::string_view kRegTotals = "TeamRegTotals";
inline constexpr int32_t kRedRgb = 0xFF0000;
inline int32_t fill(int color_index) { return wb::palette_rgb(color_index); }

// A league season with division `names[k]` holding the teams of `members[k]`.
inline enc::LeagueSeasonRecord divided_league_season(int league, int year, std::string name,
                                                     std::vector<std::string> names,
                                                     std::vector<std::vector<int>> members) {
    auto ls = league_season(league, year, std::move(name));
    for (std::size_t k = 0; k < names.size(); ++k) {
        ls.DivisionNames[k] = names[k];
        ls.DivisionInUse[k] = !names[k].empty();
        for (std::size_t s = 0; s < members[k].size(); ++s)
            ls.DivisionTeams[15 * k + s] = static_cast<int16_t>(members[k][s]);
    }
    return ls;
}

// A team season with one post-season block ('D', 'L' or 'W') filled in.
inline enc::TeamSeasonRecord with_phase(enc::TeamSeasonRecord r, char phase, int won, int lost,
                                        int scored = 0, int allowed = 0) {
    enc::TeamPhaseTotals& b = phase == 'D' ? r.DivTotals : phase == 'L' ? r.LcsTotals : r.WsTotals;
    b.Won = static_cast<uint8_t>(won);
    b.Lost = static_cast<uint8_t>(lost);
    b.Scored = static_cast<int16_t>(scored);
    b.Allowed = static_cast<int16_t>(allowed);
    return r;
}

// The records of one encyclopedia and, after run(), the workbook written from them.
struct TeamPass {
    TempDir dir;
    wb::Workbook book;
    sheets::TeamTotalsCounters counters;
    std::vector<std::string> notices;
    std::vector<enc::TeamRecord> teams;
    std::vector<enc::TeamSeasonRecord> seasons;
    std::vector<enc::LeagueSeasonRecord> league_seasons;
    std::vector<enc::LeagueRecord> leagues;

    enc::TeamSeasonRecord& season(int team, int year, int league, std::string city,
                                  std::string nick, int won, int lost) {
        seasons.push_back(team_season(team, year, league, std::move(city), std::move(nick), won, lost));
        return seasons.back();
    }

    void run() {
        enc::EncyclopediaContents c;
        c.teams = teams;
        c.team_seasons = seasons;
        c.league_seasons = league_seasons;
        c.leagues = leagues;
        enc::write_encyclopedia(dir.path(), c);
        // Read back, so that the records are what the files say (flags such
        // as a division name being in use come from the bytes).
        enc::Encyclopedia e(dir.path());
        const enc::TeamTable table = enc::build_team_table(e.read_teams());
        const auto read_seasons = e.read_team_seasons();
        const auto read_league_seasons = e.read_league_seasons();
        const auto read_leagues = e.read_leagues();
        sheets::create_sheet_set(book, sheets::SheetsDesired::TeamsOnly);
        TeamPassContext ctx{book, read_seasons, read_league_seasons, read_leagues, table, counters,
                            [this](const std::string& s, int32_t, int32_t) { notices.push_back(s); }, {}};
        Do_Teams(ctx);
    }

    wb::CellValue cell(std::string_view sheet, std::string_view column, int32_t row,
                       std::optional<wb::CellValue::Kind> kind = {}) const {
        const auto v = book.value(sheet, wb::column_index(column), row);
        if (kind) {
            EXPECT_EQ(v.kind, *kind) << sheet << " " << column << row;
        }
        return v;
    }
    std::string text(std::string_view sheet, std::string_view column, int32_t row) const {
        return cell(sheet, column, row, wb::CellValue::Kind::Text).text;
    }
    double number(std::string_view sheet, std::string_view column, int32_t row) const {
        return cell(sheet, column, row, wb::CellValue::Kind::Number).number;
    }
    bool empty(std::string_view sheet, std::string_view column, int32_t row) const {
        return cell(sheet, column, row).kind == wb::CellValue::Kind::Empty;
    }
    // Numbers, or what a reader sees, in one row across `letters` (one letter a column).
    std::vector<double> numbers(std::string_view sheet, int32_t row, std::string_view letters) const {
        std::vector<double> out;
        for (std::size_t i = 0; i < letters.size(); ++i) out.push_back(number(sheet, letters.substr(i, 1), row));
        return out;
    }
    std::vector<std::string> row(std::string_view sheet, int32_t r, std::string_view letters) const {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < letters.size(); ++i) out.push_back(shown(sheet, letters.substr(i, 1), r));
        return out;
    }
    // What a reader sees down one column, rows `first` to `last`.
    std::vector<std::string> column(std::string_view sheet, std::string_view c, int32_t first, int32_t last) const {
        std::vector<std::string> out;
        for (int32_t r = first; r <= last; ++r) out.push_back(shown(sheet, c, r));
        return out;
    }
    wb::Style style(std::string_view sheet, std::string_view column, int32_t row) const {
        return book.style(sheet, wb::column_index(column), row);
    }
    std::string shown(std::string_view sheet, std::string_view column, int32_t row) const {
        return book.displayed_text(sheet, wb::column_index(column), row);
    }
    bool merged_title(int32_t row) const {  // A:C of `row` on "Team Records"
        for (const wb::MergeArea& m : book.merges(kRecords))
            if (m.c1 == 0 && m.c2 == 2 && m.r1 == row && m.r2 == row) return true;
        return false;
    }
    // The row of `sheet` whose column holds `value`, 0 when none.
    int32_t find_row(std::string_view column, std::string_view value,
                     std::string_view sheet = kRecords) const {
        for (int32_t r = 1; r <= book.last_row(sheet); ++r) {
            const auto v = cell(sheet, column, r);
            if (v.kind == wb::CellValue::Kind::Text && v.text == value) return r;
        }
        return 0;
    }
};

class TeamPassTest : public ::testing::Test, public TeamPass {};

}  // namespace tb::teams::test
