// Names in the order people read them, through the run: accents weigh only
// after the base letters, case not at all, punctuation before letters,
// digits one by one. The player pass orders its players so, and the team
// pass its sections by abbreviation.
#include "sheets/letter_sheets.h"
#include "run_fixture.h"

namespace tb::test {
namespace {

class NameOrder : public RunFixture {
protected:
    void SetUp() override {
        RunFixture::SetUp();
        contents.stats->clear();
        options.desired = sheets::SheetsDesired::PlayersOnly;
    }
    void add(int id, const std::string& last, const std::string& first, int ab = 4) {
        contents.stats->push_back(hitter_line(id, 2000, 2, 1, last, first));
        put(contents.stats->back().hitting.at_bats, ab);
    }
    // A column's texts in every `step`-th row from `row` on, until an empty one.
    std::vector<std::string> down(const std::string& sheet, int32_t row, int32_t step, const char* col = "A") {
        std::vector<std::string> out;
        for (; !text(sheet, col, row).empty(); row += step) out.push_back(text(sheet, col, row));
        return out;
    }
};
using V = std::vector<std::string>;

TEST_F(NameOrder, PlayersOnTheirLetterSheetsAndOnTheTotalsSheet) {
    const std::vector<std::pair<int, std::pair<std::string, std::string>>> players = {
        {1, {"Azocar", "Oscar"}},         {2, {"\xC3\x81lvarez", "Ra\xC3\xBAl"}},  {3, {"Alvarez", "Aaron"}},
        {4, {"Martz", "Ben"}},            {5, {"Martinez", "Zack"}},          {6, {"Mart\xC3\xADnez", "Pedro"}},
        {7, {"\xC5\xA0imek", "Bobby"}},   {8, {"Simek", "Al"}},               {9, {"\xC3\x98" "degaard", "Ole"}},
        {10, {"Oakes", "Tom"}},           {11, {"eckstein", "David"}},        {12, {"\xC3\x89" "bert", "Luc"}},
        {13, {"deGrom", "Jacob"}},        {14, {"Darnell", "Bob"}},           {15, {"d'Arnaud", "Travis"}},
        {999, {"Smith", "John"}},         {1234, {"Smith", "John"}},          {1000, {"smith", "john"}},
    };
    for (const auto& [id, name] : players) add(id, name.first, name.second);
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed);

    // One line a player: a block of five rows.
    EXPECT_EQ(down("A", 1, 5), (V{"Alvarez,Aaron", "\xC3\x81lvarez,Ra\xC3\xBAl", "Azocar,Oscar"}));
    EXPECT_EQ(down("M", 1, 5), (V{"Mart\xC3\xADnez,Pedro", "Martinez,Zack", "Martz,Ben"}));
    EXPECT_EQ(down("D", 1, 5), (V{"d'Arnaud,Travis", "Darnell,Bob", "deGrom,Jacob"}));
    EXPECT_EQ(down("E", 1, 5), (V{"\xC3\x89" "bert,Luc", "eckstein,David"}));
    EXPECT_EQ(down("S", 1, 5), (V{"Simek,Al", "\xC5\xA0imek,Bobby", "smith,john", "Smith,John", "Smith,John"}));
    EXPECT_EQ(down("S", 1, 5, "R"), (V{"8", "7", "1000", "1234", "999"}));   // the player numbers
    EXPECT_EQ(down("O", 1, 5), V{"Oakes,Tom"});
    EXPECT_EQ(down("#", 1, 5), V{"\xC3\x98" "degaard,Ole"});
    EXPECT_EQ(down("HitRegTotals", 2, 1),
              (V{"Alvarez,Aaron", "\xC3\x81lvarez,Ra\xC3\xBAl", "Azocar,Oscar", "d'Arnaud,Travis", "Darnell,Bob",
                 "deGrom,Jacob", "\xC3\x89" "bert,Luc", "eckstein,David", "Mart\xC3\xADnez,Pedro", "Martinez,Zack",
                 "Martz,Ben", "Oakes,Tom", "\xC3\x98" "degaard,Ole", "Simek,Al", "\xC5\xA0imek,Bobby", "smith,john",
                 "Smith,John", "Smith,John"}));
}

TEST_F(NameOrder, LinesOfOneYearFollowTheirRecordNumbersAsText) {
    for (int i = 0; i < 10; ++i) add(1, "Lee", "Al", 10 + i);
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed);
    // Records 1, 10, 2, ...: the at-bats of each year row, then the totals.
    EXPECT_EQ(down("L", 3, 1, "I"), (V{"10", "19", "11", "12", "13", "14", "15", "16", "17", "18", "145"}));
}

TEST_F(NameOrder, TeamSectionsFollowTheirAbbreviations) {
    options.desired = sheets::SheetsDesired::TeamsOnly;
    contents.teams->clear();
    contents.team_seasons->clear();
    const std::pair<int, std::string> clubs[] = {
        {1, "AZO"}, {2, "\xC3\x81LV"}, {3, "Mtz"}, {4, "M\xC3\xADn"}, {5, "bos"}, {6, "Ben"}};
    for (const auto& [id, abbrev] : clubs) {
        contents.teams->push_back(team(id, abbrev));
        contents.team_seasons->push_back(team_season(id, 2000, 1, "Club", abbrev, 80, 82));
    }
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed);
    EXPECT_EQ(down("TeamRegTotals", 2, 1, "C"), (V{"Club \xC3\x81LV", "Club AZO", "Club Ben", "Club bos",
                                                   "Club M\xC3\xADn", "Club Mtz"}));
}

TEST(LetterSheet, FoldsWindows1252Letters) {
    const std::pair<const char*, const char*> names[] = {{"\xC3\xA7", "C"}, {"\xC5\xA0imek", "S"}, {"\xC3\xBF", "Y"},
                                                         {"\xC3\x9F", "#"}, {"\xC3\x86sir", "#"}, {" Blank", "#"}};
    for (const auto& [name, sheet] : names) EXPECT_EQ(sheets::letter_sheet_of(name), sheet) << name;
}

}  // namespace
}  // namespace tb::test
