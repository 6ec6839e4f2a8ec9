// The figures of a pitching row, column by column, from its lines' counts
// (a hitting row's are every column of the golden letter sheets; the rates
// themselves are the rates tests').
#include "hitting/hitting.h"
#include "pitching/pitching.h"

#include <gtest/gtest.h>

#include <string_view>

namespace tb {
namespace {

// The figure under the block title `title` of a row laid out as `columns`.
template <class Columns, class Figures>
double column(const Columns& columns, const Figures& figures, std::string_view title) {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].block_title == title) return figures[i];
    ADD_FAILURE() << "no column " << title;
    return -1;
}

TEST(Figures, APitchingTotalsRowKeepsRunsAndEarnedRunsApart) {
    enc::PitchingFigures a, b;
    a.outs = 200, a.runs = 30, a.earned_runs = 22, a.hits = 40, a.at_bats = 160, a.wins = 5, a.losses = 5;
    b.outs = 4, b.runs = 3, b.earned_runs = 1, b.hits = 2, b.at_bats = 8, b.wins = 0, b.losses = 1;
    pitching::PitchingCounts totals = pitching::line_counts(a);
    totals += pitching::line_counts(b);
    const auto f = pitching::figures(totals);
    const std::pair<std::string_view, double> want[] = {
        {"R", 33}, {"ER", 23}, {"IP", 68.0},   // 204 outs
        {"ERA", 3.04},                        // 23 / (204 / 27) = 3.0441
        {"W", 5}, {"L", 6}, {"PCT", .455}, {"H", 42}, {"AB", 168}, {"OBA", .25}};
    for (const auto& [title, value] : want) EXPECT_DOUBLE_EQ(column(pitching::kColumns, f, title), value) << title;
}

// .100 + .200 is 0.30000000000000004 in doubles: a season line shows OPS
// rounded again, a totals row the plain sum, and the cells keep each as is.
TEST(Figures, OnlyASeasonLineRoundsItsOpsAgain) {
    hitting::HittingCounts c;
    c.plate_appearances = 10, c.times_on_base = 1, c.at_bats = 10, c.total_bases = 2;
    EXPECT_EQ(column(hitting::kColumns, hitting::figures(c, hitting::RowKind::SeasonLine), "OPS"), 0.3);
    EXPECT_EQ(column(hitting::kColumns, hitting::figures(c, hitting::RowKind::Totals), "OPS"), 0.1 + 0.2);
}

}  // namespace
}  // namespace tb
