// Post-season blocks on "Team Records" and the post-season team totals sheets.
#include "team_pass_fixture.h"

#include <tuple>

namespace tb::teams::test {
namespace {

constexpr std::string_view kDcs = "TeamDCSTotals";
constexpr std::string_view kLcs = "TeamLCSTotals";
constexpr std::string_view kWs = "TeamWSTotals";
using Texts = std::vector<std::string>;

class PostSeasonTest : public TeamPassTest {
protected:
    void SetUp() override { leagues = {league(1, "First League"), league(2, "Second League")}; }
    void add(enc::TeamSeasonRecord r) { seasons.push_back(std::move(r)); }
    void clubs(std::vector<std::string> abbrevs) {
        for (std::size_t i = 0; i < abbrevs.size(); ++i) teams.push_back(team(static_cast<int>(i) + 1, abbrevs[i]));
    }
};

TEST_F(PostSeasonTest, BlocksFollowPhaseOrderWhateverTheFirstYearReached) {
    clubs({"BOS"});
    add(with_phase(team_season(1, 1999, 1, "Boston", "Reds", 95, 67), 'W', 4, 2, 25, 18));
    add(with_phase(with_phase(team_season(1, 2000, 1, "Boston", "Reds", 96, 66), 'D', 3, 1), 'L', 4, 3));
    run();
    // Seasons 3 and 4, totals 5, then each block (its rows, its totals) without empty rows.
    EXPECT_EQ(column(kRecords, "A", 5, 12), (Texts{"", "Divisional Championship", "", "League Championship", "",
                                                   "World Series", "", ""}));
    EXPECT_EQ(column(kRecords, "D", 5, 11), (Texts{"", "2000", "", "2000", "", "1999", ""}));
    EXPECT_EQ(column(kRecords, "E", 5, 11), (Texts{"191", "3", "3", "4", "4", "4", "4"}));
    EXPECT_EQ(column(kRecords, "G", 6, 11), (Texts{".750", ".750", ".571", ".571", ".667", ".667"}));
    EXPECT_EQ(column(kRecords, "J", 10, 11), (Texts{"25", "25"}));
    for (int32_t r : {6, 8, 10}) EXPECT_TRUE(merged_title(r)) << r;
    EXPECT_EQ(std::pair(style(kRecords, "A", 6).bold, style(kRecords, "A", 6).font_size), std::pair(true, 10));

    EXPECT_EQ(std::tuple(counters.TeamDCSLine, counters.TeamLCSLine, counters.TeamWSLine), std::tuple(2, 2, 2));
    EXPECT_EQ(row(kWs, 2, "DEFHI"), (Texts{"Boston Reds", "4", "2", "25", "18"}));
}

TEST_F(PostSeasonTest, DivisionSeriesOnly) {
    clubs({"ATL", "BOS"});
    add(with_phase(team_season(1, 2000, 1, "Atlanta", "Birds", 95, 67), 'D', 3, 2));
    add(team_season(2, 2000, 1, "Boston", "Reds", 90, 72));
    run();
    // The block, then one empty row before the next section.
    EXPECT_EQ(column(kRecords, "A", 5, 8), (Texts{"Divisional Championship", "", "", "Boston Reds"}));
    EXPECT_EQ(row(kRecords, 6, "EFG"), (Texts{"3", "2", ".600"}));
    EXPECT_EQ(std::tuple(counters.TeamDCSLine, counters.TeamLCSLine, counters.TeamWSLine), std::tuple(2, 1, 1));
    EXPECT_EQ(row(kDcs, 2, "DG"), (Texts{"Atlanta Birds", ".600"}));
    EXPECT_EQ(book.last_row(kLcs) + book.last_row(kWs), 0);
}

TEST_F(PostSeasonTest, FirstLeagueChampionshipTeamWritesTheHeaderRow) {
    clubs({"ATL", "BOS", "CHI"});
    add(team_season(1, 2000, 1, "Atlanta", "Birds", 95, 67));
    add(with_phase(team_season(2, 2000, 1, "Boston", "Reds", 90, 72), 'L', 4, 1));
    add(with_phase(team_season(3, 2000, 1, "Chicago", "Cubs", 85, 77), 'L', 2, 4));
    run();
    EXPECT_EQ(row(kLcs, 1, "DEFGHIJKL"),
              (Texts{"Team", "Won", "Lost", "PCT", "Scored", "Allowed", "SHO", "GDP", "LOB"}));
    EXPECT_EQ(std::pair(style(kLcs, "D", 1).fill, style(kLcs, "L", 1).bottom.weight), std::pair(fill(36), wb::xlMedium));
    EXPECT_EQ(column(kLcs, "D", 2, 4), (Texts{"Boston Reds", "Chicago Cubs", ""}));
    EXPECT_EQ(style(kLcs, "D", 3).fill, fill(38));
    EXPECT_EQ(counters.TeamLCSLine, 3);
}

TEST_F(PostSeasonTest, SweepsShowOneAndZero) {
    clubs({"ATL", "BOS"});
    add(with_phase(team_season(1, 2000, 1, "Atlanta", "Birds", 95, 67), 'W', 4, 0));
    add(with_phase(team_season(2, 2000, 2, "Boston", "Reds", 90, 72), 'W', 0, 4));
    run();
    // Atlanta's block in rows 5 and 6; Boston's section from row 8, its block from 12.
    EXPECT_EQ(column(kRecords, "G", 5, 6), (Texts{"1.000", "1.000"}));
    EXPECT_EQ(column(kRecords, "G", 12, 13), (Texts{".000", ".000"}));
    EXPECT_EQ(std::pair(number(kRecords, "G", 5), number(kRecords, "G", 12)), std::pair(1.0, 0.0));
    EXPECT_EQ(column(kWs, "G", 2, 3), (Texts{"1.000", ".000"}));
}

TEST_F(PostSeasonTest, TitleColourBySeasonLeagueSheetRowByLastPostSeasonRecord) {
    clubs({"MOV"});
    add(with_phase(team_season(1, 1999, 1, "Moving", "Vans", 95, 67), 'D', 3, 1));
    add(with_phase(team_season(1, 2000, 2, "Moving", "Vans", 96, 66), 'W', 4, 1));
    run();
    // The section and its "TeamRegTotals" row take the first season's league.
    EXPECT_EQ(style(kRecords, "A", 1).fill, fill(38));
    EXPECT_EQ(style(kRegTotals, "C", 2).fill, fill(38));
    // Rows: seasons 3, 4; totals 5; DCS 6, 7; WS 8, 9.
    EXPECT_EQ(row(kRecords, 6, "A"), Texts{"Divisional Championship"});
    EXPECT_EQ(std::pair(style(kRecords, "A", 6).fill, style(kRecords, "C", 8).fill), std::pair(fill(38), fill(37)));
    // The division series was played in league 1, but the last post-season
    // record read belongs to league 2.
    EXPECT_EQ(std::pair(style(kDcs, "D", 2).fill, style(kWs, "L", 2).fill), std::pair(fill(37), fill(37)));
}

TEST_F(PostSeasonTest, OnlyDivisionSeriesRowsGetATopEdgeOnD) {
    clubs({"BOS"});
    for (int year : {1999, 2000})
        add(with_phase(with_phase(team_season(1, year, 1, "Boston", "Reds", 95, 67), 'D', 3, 1), 'L', 4, 2));
    run();
    // Seasons 3, 4; totals 5; DCS 6, 7 and totals 8; LCS 9, 10 and totals 11.
    EXPECT_EQ(column(kRecords, "D", 6, 11), (Texts{"1999", "2000", "", "1999", "2000", ""}));
    EXPECT_EQ(std::pair(style(kRecords, "D", 7).top.weight, style(kRecords, "D", 10).top.weight),
              std::pair(wb::xlMedium, 0));
    // Season rows: medium sides and bottom on D:G and J:N; phase totals: red.
    const wb::Style d = style(kRecords, "D", 10);
    EXPECT_EQ(std::tuple(d.left.weight, style(kRecords, "G", 10).right.weight, style(kRecords, "N", 10).bottom.weight),
              std::tuple(wb::xlMedium, wb::xlMedium, wb::xlMedium));
    EXPECT_EQ(std::pair(style(kRecords, "E", 11).left.color, style(kRecords, "N", 11).bottom.color),
              std::pair(kRedRgb, kRedRgb));
}

// A sheet past its last row ends the run rather than costing one team.
TEST_F(PostSeasonTest, RowOverflowFailsTheRun) {
    clubs({"BOS"});
    add(with_phase(team_season(1, 2000, 1, "Boston", "Reds", 95, 67), 'D', 3, 1));
    counters.TeamDCSLine = wb::kMaxRows;
    EXPECT_THROW(run(), wb::WorkbookError);
}

// Mended: no fixed bound on the post-season seasons of a team.
TEST_F(PostSeasonTest, MoreThanTwoHundredPostSeasons) {
    clubs({"BOS"});
    for (int year = 1800; year < 2005; ++year)
        add(with_phase(team_season(1, year, 1, "Boston", "Reds", 95, 67), 'D', 3, 1));
    run();
    EXPECT_EQ(numbers(kDcs, 2, "EF"), (std::vector<double>{3 * 205, 205}));
    EXPECT_TRUE(notices.empty());
}

}  // namespace
}  // namespace tb::teams::test
