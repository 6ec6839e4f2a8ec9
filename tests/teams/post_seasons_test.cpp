// Post-season blocks on "Team Records" and the post-season team totals sheets.
#include "team_pass_fixture.h"

namespace tb::teams::test {
namespace {

constexpr std::string_view kDcs = "TeamDCSTotals";
constexpr std::string_view kLcs = "TeamLCSTotals";
constexpr std::string_view kWs = "TeamWSTotals";

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
    // Seasons 3 and 4, totals 5, then each block (title, its rows, totals) without empty rows.
    EXPECT_EQ(number(kRecords, "E", 5), 191);
    EXPECT_EQ(text(kRecords, "A", 6), "Divisional Championship");
    EXPECT_TRUE(style(kRecords, "A", 6).bold);
    EXPECT_EQ(style(kRecords, "A", 6).font_size, 10);
    EXPECT_EQ(numbers(kRecords, 6, "DE"), (std::vector<double>{2000, 3}));
    EXPECT_EQ(shown(kRecords, "G", 6), ".750");
    EXPECT_EQ(number(kRecords, "E", 7), 3);  // division-series totals
    EXPECT_TRUE(empty(kRecords, "D", 7));
    EXPECT_EQ(text(kRecords, "A", 8), "League Championship");
    EXPECT_EQ(number(kRecords, "D", 8), 2000);
    EXPECT_EQ(shown(kRecords, "G", 8), ".571");
    EXPECT_EQ(number(kRecords, "F", 9), 3);
    EXPECT_EQ(text(kRecords, "A", 10), "World Series");
    EXPECT_EQ(numbers(kRecords, 10, "DJK"), (std::vector<double>{1999, 25, 18}));
    EXPECT_EQ(shown(kRecords, "G", 10), ".667");
    EXPECT_EQ(number(kRecords, "J", 11), 25);
    EXPECT_EQ(book.last_value_row(kRecords), 11);
    for (int32_t r : {6, 8, 10}) EXPECT_TRUE(merged_title(r)) << r;

    EXPECT_EQ(counters.TeamDCSLine, 2);
    EXPECT_EQ(counters.TeamLCSLine, 2);
    EXPECT_EQ(counters.TeamWSLine, 2);
    EXPECT_EQ(text(kWs, "D", 2), "Boston Reds");
    EXPECT_EQ(numbers(kWs, 2, "EFHI"), (std::vector<double>{4, 2, 25, 18}));
}

TEST_F(PostSeasonTest, DivisionSeriesOnly) {
    clubs({"ATL", "BOS"});
    add(with_phase(team_season(1, 2000, 1, "Atlanta", "Birds", 95, 67), 'D', 3, 2));
    add(team_season(2, 2000, 1, "Boston", "Reds", 90, 72));
    run();
    EXPECT_EQ(text(kRecords, "A", 5), "Divisional Championship");
    EXPECT_EQ(numbers(kRecords, 6, "EF"), (std::vector<double>{3, 2}));
    // The next section starts after one empty row below the block.
    EXPECT_TRUE(empty(kRecords, "A", 7));
    EXPECT_EQ(text(kRecords, "A", 8), "Boston Reds");

    EXPECT_EQ(counters.TeamDCSLine, 2);
    EXPECT_EQ(counters.TeamLCSLine, 1);
    EXPECT_EQ(counters.TeamWSLine, 1);
    EXPECT_EQ(text(kDcs, "D", 2), "Atlanta Birds");
    EXPECT_EQ(shown(kDcs, "G", 2), ".600");
    EXPECT_EQ(book.last_row(kLcs), 0);
    EXPECT_EQ(book.last_row(kWs), 0);
}

TEST_F(PostSeasonTest, FirstLeagueChampionshipTeamWritesTheHeaderRow) {
    clubs({"ATL", "BOS", "CHI"});
    add(team_season(1, 2000, 1, "Atlanta", "Birds", 95, 67));
    add(with_phase(team_season(2, 2000, 1, "Boston", "Reds", 90, 72), 'L', 4, 1));
    add(with_phase(team_season(3, 2000, 1, "Chicago", "Cubs", 85, 77), 'L', 2, 4));
    run();
    EXPECT_EQ(texts(kLcs, 1, "DEFGHIJKL"), (std::vector<std::string>{"Team", "Won", "Lost", "PCT", "Scored",
                                                                       "Allowed", "SHO", "GDP", "LOB"}));
    EXPECT_EQ(style(kLcs, "D", 1).fill, fill(36));
    EXPECT_EQ(style(kLcs, "L", 1).bottom.weight, wb::xlMedium);
    EXPECT_EQ(text(kLcs, "D", 2), "Boston Reds");
    EXPECT_EQ(text(kLcs, "D", 3), "Chicago Cubs");
    EXPECT_EQ(style(kLcs, "D", 3).fill, fill(38));
    EXPECT_EQ(book.last_value_row(kLcs), 3);
    EXPECT_EQ(counters.TeamLCSLine, 3);
}

TEST_F(PostSeasonTest, SweepsShowOneAndZero) {
    clubs({"ATL", "BOS"});
    add(with_phase(team_season(1, 2000, 1, "Atlanta", "Birds", 95, 67), 'W', 4, 0));
    add(with_phase(team_season(2, 2000, 2, "Boston", "Reds", 90, 72), 'W', 0, 4));
    run();
    EXPECT_EQ(number(kRecords, "G", 5), 1.0);
    EXPECT_EQ(shown(kRecords, "G", 5), "1.000");
    EXPECT_EQ(shown(kRecords, "G", 6), "1.000");
    const int32_t boston = find_row("A", "Boston Reds");
    ASSERT_GT(boston, 0);
    EXPECT_EQ(number(kRecords, "G", boston + 4), 0.0);
    EXPECT_EQ(shown(kRecords, "G", boston + 4), ".000");
    EXPECT_EQ(shown(kWs, "G", 2), "1.000");
    EXPECT_EQ(shown(kWs, "G", 3), ".000");
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
    EXPECT_EQ(text(kRecords, "A", 6), "Divisional Championship");
    EXPECT_EQ(style(kRecords, "A", 6).fill, fill(38));
    EXPECT_EQ(text(kRecords, "A", 8), "World Series");
    EXPECT_EQ(style(kRecords, "C", 8).fill, fill(37));
    // The division series was played in league 1, but the last post-season
    // record read belongs to league 2.
    EXPECT_EQ(style(kDcs, "D", 2).fill, fill(37));
    EXPECT_EQ(style(kWs, "L", 2).fill, fill(37));
}

TEST_F(PostSeasonTest, OnlyDivisionSeriesRowsGetATopEdgeOnD) {
    clubs({"BOS"});
    for (int year : {1999, 2000})
        add(with_phase(with_phase(team_season(1, year, 1, "Boston", "Reds", 95, 67), 'D', 3, 1), 'L', 4, 2));
    run();
    // Seasons 3, 4; totals 5; DCS 6, 7 and totals 8; LCS 9, 10 and totals 11.
    EXPECT_EQ(text(kRecords, "A", 9), "League Championship");
    EXPECT_EQ(number(kRecords, "D", 7), 2000);
    EXPECT_EQ(style(kRecords, "D", 7).top.weight, wb::xlMedium);
    EXPECT_EQ(number(kRecords, "D", 10), 2000);
    EXPECT_EQ(style(kRecords, "D", 10).top.weight, 0);
    // Season rows: medium sides and bottom on D:G and J:N; phase totals: red.
    EXPECT_EQ(style(kRecords, "D", 10).left.weight, wb::xlMedium);
    EXPECT_EQ(style(kRecords, "G", 10).right.weight, wb::xlMedium);
    EXPECT_EQ(style(kRecords, "N", 10).bottom.weight, wb::xlMedium);
    EXPECT_EQ(number(kRecords, "E", 11), 8);
    EXPECT_EQ(style(kRecords, "E", 11).left.color, kRedRgb);
    EXPECT_EQ(style(kRecords, "N", 11).bottom.color, kRedRgb);
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
