// Games behind and finishing places, read back from the season rows.
#include "team_pass_fixture.h"

#include "teams/standings.h"

namespace tb::teams::test {
namespace {

class StandingsTest : public TeamPassTest {
protected:
    // One division "East" of league 1 in `year` holding the given teams.
    void division(int year, const std::vector<int>& members, std::string name = "East") {
        league_seasons.push_back(
            divided_league_season(1, year, "Major League", {name, "West"}, {members, {}}));
    }
    // A team with its own abbreviation and one season.
    void club(int id, int year, int won, int lost) {
        teams.push_back(team(id, "T" + std::to_string(id)));
        season(id, year, 1, "City" + std::to_string(id), "Club", won, lost);
    }
    int32_t row_of(int id) {
        const int32_t r = find_row("C", "City" + std::to_string(id) + " Club");
        EXPECT_GT(r, 0) << "no season row for team " << id;
        return r;
    }
    double gb(int id) { return number(kRecords, "H", row_of(id)); }
    std::string finish(int id) { return text(kRecords, "I", row_of(id)); }
};

TEST_F(StandingsTest, TwoTeamsTiedBehindTheLeaderShareSecond) {
    division(2000, {1, 2, 3});
    club(1, 2000, 95, 67);
    club(2, 2000, 90, 72);
    club(3, 2000, 90, 72);
    run();
    EXPECT_EQ(gb(1), 0);
    EXPECT_EQ(gb(2), 5);
    EXPECT_EQ(gb(3), 5);
    EXPECT_EQ(finish(1), "1st");
    EXPECT_EQ(finish(2), "2nd");
    EXPECT_EQ(finish(3), "2nd");
}

TEST_F(StandingsTest, ThirdTiedTeamTakesItsPositionLessOne) {
    division(2000, {1, 2, 3, 4});
    club(1, 2000, 95, 67);
    club(2, 2000, 90, 72);
    club(3, 2000, 90, 72);
    club(4, 2000, 90, 72);
    run();
    EXPECT_EQ(finish(1), "1st");
    EXPECT_EQ(finish(2), "2nd");
    EXPECT_EQ(finish(3), "2nd");
    EXPECT_EQ(finish(4), "3rd");
}

TEST_F(StandingsTest, TeamLevelWithTheLeaderKeepsItsOwnPlace) {
    division(2000, {1, 2});
    club(1, 2000, 95, 67);
    club(2, 2000, 95, 67);
    run();
    EXPECT_EQ(gb(1), 0);
    EXPECT_EQ(gb(2), 0);
    EXPECT_EQ(finish(1), "1st");
    EXPECT_EQ(finish(2), "2nd");
}

TEST_F(StandingsTest, EqualWinsMoreLossesLeadsAndOtherIsAheadByAGame) {
    division(2000, {1, 2});
    club(1, 2000, 90, 70);
    club(2, 2000, 90, 72);
    run();
    EXPECT_EQ(gb(2), 0);
    EXPECT_EQ(finish(2), "1st");
    EXPECT_EQ(gb(1), -1);
    EXPECT_EQ(finish(1), "2nd");
}

TEST_F(StandingsTest, HalfGamesBehindAreKept) {
    division(2000, {1, 2});
    club(1, 2000, 95, 67);
    club(2, 2000, 91, 70);
    run();
    EXPECT_EQ(gb(2), 3.5);
}

TEST_F(StandingsTest, NewGroupDoesNotTieWithThePreviousGroup) {
    division(2000, {1, 2});
    division(2001, {3, 4});
    club(1, 2000, 95, 67);
    club(2, 2000, 90, 72);
    club(3, 2001, 95, 67);
    club(4, 2001, 90, 72);
    run();
    EXPECT_EQ(finish(2), "2nd");
    EXPECT_EQ(gb(4), 5);
    EXPECT_EQ(finish(4), "2nd");
}

TEST_F(StandingsTest, DivisionsOfOneLeagueAreSeparateGroups) {
    league_seasons.push_back(
        divided_league_season(1, 2000, "Major League", {"East", "West"}, {{1, 2}, {3, 4}}));
    club(1, 2000, 95, 67);
    club(2, 2000, 80, 82);
    club(3, 2000, 85, 77);
    club(4, 2000, 70, 92);
    run();
    EXPECT_EQ(finish(1), "1st");
    EXPECT_EQ(finish(3), "1st");
    EXPECT_EQ(gb(4), 15);
    EXPECT_EQ(text(kRecords, "B", row_of(3)), "West");
}

TEST_F(StandingsTest, LeagueWithoutDivisionsFormsOneGroup) {
    // Division names 2 and 3 set but 0 and 1 not: still no divisions.
    auto ls = divided_league_season(1, 2000, "Major League", {"", "", "North", "South"},
                                    {{1}, {2}, {3}, {}});
    league_seasons.push_back(ls);
    club(1, 2000, 95, 67);
    club(2, 2000, 90, 72);
    club(3, 2000, 85, 77);
    run();
    EXPECT_EQ(finish(1), "1st");
    EXPECT_EQ(finish(2), "2nd");
    EXPECT_EQ(finish(3), "3rd");
    EXPECT_EQ(gb(3), 10);
    EXPECT_EQ(text(kRecords, "B", row_of(3)), std::string(20, ' '));
}

TEST_F(StandingsTest, UnusedDivisionGivesItsTeamsNoDivision) {
    league_seasons.push_back(divided_league_season(1, 2000, "Major League",
                                                   {"East", "West", "", "South"},
                                                   {{1}, {2}, {3}, {4}}));
    club(1, 2000, 95, 67);
    club(2, 2000, 90, 72);
    club(3, 2000, 85, 77);
    club(4, 2000, 80, 82);
    run();
    EXPECT_TRUE(empty(kRecords, "B", row_of(3)));
    EXPECT_EQ(text(kRecords, "B", row_of(4)), "South");
}

TEST_F(StandingsTest, LaterLeagueSeasonOfTheYearWinsTheDivision) {
    league_seasons.push_back(divided_league_season(1, 2000, "Major League", {"East", "West"}, {{1}, {}}));
    league_seasons.push_back(divided_league_season(2, 2000, "Other League", {"North", "South"}, {{}, {1}}));
    club(1, 2000, 95, 67);
    run();
    EXPECT_EQ(text(kRecords, "B", row_of(1)), "South");
}

TEST_F(StandingsTest, CommaInTeamNameKeepsEveryField) {
    division(2000, {1, 2});
    teams.push_back(team(1, "STL"));
    season(1, 2000, 1, "St. Louis, MO", "Cards", 95, 67);
    club(2, 2000, 90, 72);
    run();
    const int32_t r = find_row("C", "St. Louis, MO Cards");
    ASSERT_GT(r, 0);
    EXPECT_EQ(text(kRecords, "A", 1), "St. Louis, MO Cards");
    EXPECT_EQ(number(kRecords, "E", r), 95);
    EXPECT_EQ(text(kRecords, "I", r), "1st");
    EXPECT_EQ(gb(2), 5);
}

// Mended: places past the twelfth get their ordinal instead of stopping the run.
TEST_F(StandingsTest, PlacesPastTwelfthGetOrdinals) {
    for (int i = 1; i <= 23; ++i) club(i, 2000, 110 - i, 52 + i);  // no league seasons: one group
    run();
    EXPECT_EQ(finish(1), "1st");
    EXPECT_EQ(finish(11), "11th");
    EXPECT_EQ(finish(12), "12th");
    EXPECT_EQ(finish(13), "13th");
    EXPECT_EQ(finish(14), "14th");
    EXPECT_EQ(finish(21), "21st");
    EXPECT_EQ(finish(22), "22nd");
    EXPECT_EQ(finish(23), "23rd");
    EXPECT_TRUE(empty(kRecords, "B", row_of(23)));
    EXPECT_TRUE(notices.empty());
}

TEST(FinishText, OrdinalsBeyondTheTable) {
    EXPECT_EQ(Finish_Text(1), "1st");
    EXPECT_EQ(Finish_Text(2), "2nd");
    EXPECT_EQ(Finish_Text(3), "3rd");
    EXPECT_EQ(Finish_Text(4), "4th");
    EXPECT_EQ(Finish_Text(101), "101st");
    EXPECT_EQ(Finish_Text(111), "111th");
    EXPECT_EQ(Finish_Text(112), "112th");
    EXPECT_EQ(Finish_Text(113), "113th");
    EXPECT_EQ(Finish_Text(122), "122nd");
}

TEST(WorkListOrder, LettersIgnoreCaseAndEqualTextsKeepOrder) {
    EXPECT_TRUE(list_text_less("atl,1", "BOS,2"));
    EXPECT_TRUE(list_text_less("bos,2", "CHI,3"));
    EXPECT_FALSE(list_text_less("NY,1", "ny,1"));
    EXPECT_FALSE(list_text_less("ny,1", "NY,1"));
    EXPECT_TRUE(list_text_less("NY,5", "NYM,5"));  // "," sorts before letters
    EXPECT_TRUE(list_text_less("\xc3\x89ta", "\xc3\xa9tb"));  // "Éta" < "étb"
    EXPECT_TRUE(list_text_less("z", "\xc3\xa9"));      // by character code: z < é
    EXPECT_FALSE(list_text_less("\xc3\xa9", "\xc3\x89"));
}

}  // namespace
}  // namespace tb::teams::test
