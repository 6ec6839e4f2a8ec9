// The figures of a hitting row, column by column (the rates themselves,
// and a totals row's OPS, are the rates tests' own).
#include "hitting/hitting.h"

#include <gtest/gtest.h>

#include <string_view>

namespace tb::hitting {
namespace {

double column(const std::array<double, kFigureCount>& figures, std::string_view title) {
    for (std::size_t i = 0; i < kColumns.size(); ++i)
        if (kColumns[i].block_title == title) return figures[i];
    ADD_FAILURE() << "no column " << title;
    return -1;
}

enc::HittingFigures line(int ab, int h, int d, int t, int hr, int bb, int hbp, int sf) {
    enc::HittingFigures f;
    f.at_bats = static_cast<int16_t>(ab), f.hits = static_cast<int16_t>(h), f.doubles = static_cast<uint8_t>(d);
    f.triples = static_cast<uint8_t>(t), f.home_runs = static_cast<uint8_t>(hr), f.walks = static_cast<int16_t>(bb);
    f.hit_by_pitch = static_cast<uint8_t>(hbp), f.sacrifice_flies = static_cast<uint8_t>(sf);
    f.sacrifice_hits = 10;
    return f;
}

TEST(HittingFigures, ASeasonLineColumnByColumn) {
    // 150 H, 30 2B, 5 3B, 20 HR in 500 AB, 50 BB, 5 HBP, 5 SF (and 10 SH,
    // which count in no average): TB 250, PA 560, OB 205.
    const auto f = figures(line_counts(line(500, 150, 30, 5, 20, 50, 5, 5)), RowKind::SeasonLine);
    const std::pair<std::string_view, double> want[] = {{"BAVG", .3},  {"OBP", .366}, {"SPC", .5}, {"OPS", .866},
                                                        {"PA", 560},   {"AB", 500},   {"H", 150},  {"2B", 30},
                                                        {"HR", 20},    {"BB", 50},    {"SH", 10},  {"TB", 250}};
    for (const auto& [title, value] : want) EXPECT_DOUBLE_EQ(column(f, title), value) << title;
}

}  // namespace
}  // namespace tb::hitting
