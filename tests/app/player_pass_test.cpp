// The player pass through the run's entry point: where every player's rows
// land, in which order, and what is left out.
#include "app/player_pass.h"
#include "run_fixture.h"

namespace tb::test {
namespace {

using PlayerPass = RunFixture;

TEST_F(PlayerPass, PlayersSortByNameWithoutCaseThenByNumberText) {
    add(batting(hitter_line(9, 2000, 2, 1, "Baker", "Al"), 1, 1));
    add(batting(hitter_line(10, 2000, 2, 1, "Baker", "Al"), 1, 1));
    add(batting(hitter_line(3, 2000, 2, 1, "BAKER", "Zed"), 1, 1));
    add(batting(hitter_line(4, 2000, 2, 1, "bake", "Bob"), 1, 1));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(text("B", "A", 1), "bake,Bob");
    EXPECT_EQ(num("B", "R", 6), 10);  // "Baker,Al \ 10" before "Baker,Al \ 9"
    EXPECT_EQ(num("B", "R", 11), 9);
    EXPECT_EQ(text("B", "A", 16), "BAKER,Zed");
}

TEST_F(PlayerPass, LinesOfOneYearFollowTheirRecordNumberText) {
    for (int i = 0; i < 10; ++i) add(batting(hitter_line(1, 2000, 2, 1, "Lee", "Al"), 10 + i, 1));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(num("L", "I", 3), 10);   // record 1
    EXPECT_EQ(num("L", "I", 4), 19);   // record 10 sorts before record 2
    EXPECT_EQ(num("L", "I", 5), 11);
}

TEST_F(PlayerPass, PostSeasonOnlyPlayersAndIgnoredLinesAreLeftOut) {
    add(batting(hitter_line(1, 2000, 6, 1, "Post", "Only"), 10, 1));
    add(batting(hitter_line(2, 2000, 2, 1, "Reg", "Ular"), 10, 1));
    add(batting(hitter_line(2, 2000, 1, 1, "Reg", "Ular"), 10, 1));   // code 1: skipped silently
    add(batting(hitter_line(2, 2000, 3, 1, "Reg", "Ular"), 10, 1));   // unknown: reported
    auto unused = batting(hitter_line(3, 2000, 2, 1, "Gone", "Status"), 10, 1);
    unused.Status = 1;
    add(unused);
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_TRUE(empty("P", "A", 1));
    EXPECT_TRUE(empty("G", "A", 1));
    EXPECT_EQ(text("R", "A", 1), "Reg,Ular");
    EXPECT_EQ(text("R", "B", 4), "Totals");
    EXPECT_TRUE(empty("R", "A", 5));
    ASSERT_EQ(observer.notices.size(), 1u);
    EXPECT_EQ(observer.notices[0], "this case is 3 | ENCPLSTATS.DAT record 4, PhaseCode 3, player Reg,Ular");
    EXPECT_EQ(result.summary.players, 1);
}

TEST_F(PlayerPass, LetterSheetsFoldAccentsAndCollectTheRestOnHash) {
    add(batting(hitter_line(1, 2000, 2, 1, "de Aza", "Ali"), 1, 1));
    add(batting(hitter_line(2, 2000, 2, 1, "\xC3\x89lan", "Eve"), 1, 1));   // Élan
    add(batting(hitter_line(3, 2000, 2, 1, "\xC3\x98stby", "Ole"), 1, 1));  // Østby
    add(batting(hitter_line(4, 2000, 2, 1, "", "Nobody"), 1, 1));
    add(batting(hitter_line(5, 2000, 2, 1, "9Lives", "Cat"), 1, 1));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(text("D", "A", 1), "de Aza,Ali");
    EXPECT_EQ(text("E", "A", 1), "\xC3\x89lan,Eve");
    auto sheets = book().SheetNames();
    ASSERT_EQ(sheets.back(), "#");
    EXPECT_EQ(sheets[sheets.size() - 2], "AE");
    EXPECT_EQ(text("#", "A", 1), ",Nobody");
    EXPECT_EQ(text("#", "A", 6), "9Lives,Cat");
    EXPECT_EQ(text("#", "A", 11), "\xC3\x98stby,Ole");
    EXPECT_NE(std::find(observer.statuses.begin(), observer.statuses.end(), "de Aza,Ali"),
              observer.statuses.end());
}

TEST_F(PlayerPass, AgeIsEmptyWithoutABirthDateAndUsesTheYearOfAnOddDate) {
    contents.players->push_back(player(2, 1980, 0, 0));  // no valid month or day
    add(batting(hitter_line(1, 2000, 2, 1, "Nobirth", "N"), 1, 1));
    add(batting(hitter_line(2, 2000, 2, 1, "Odd", "Date"), 1, 1));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_TRUE(empty("N", "C", 3));
    EXPECT_EQ(num("O", "C", 3), 20);
}

TEST(LetterSheet, FoldsWindows1252Letters) {
    EXPECT_EQ(app::letter_sheet_of("\xC3\xA7"), "C");        // ç
    EXPECT_EQ(app::letter_sheet_of("\xC5\xA0imek"), "S");    // Šimek
    EXPECT_EQ(app::letter_sheet_of("\xC3\xBF"), "Y");        // ÿ
    EXPECT_EQ(app::letter_sheet_of("\xC3\x9F"), "#");        // ß
    EXPECT_EQ(app::letter_sheet_of("\xC3\x86sir"), "#");     // Æ
    EXPECT_EQ(app::letter_sheet_of(" Blank"), "#");
}

// Names in the order people read them: accents weigh only after the base
// letters, case not at all, punctuation before letters, digits one by one.
TEST_F(PlayerPass, NamesAreOrderedAsPeopleReadThem) {
    const std::vector<std::pair<int, std::pair<std::string, std::string>>> players = {
        {1, {"Azocar", "Oscar"}},         {2, {"\xC3\x81lvarez", "Ra\xC3\xBAl"}},  {3, {"Alvarez", "Aaron"}},
        {4, {"Martz", "Ben"}},            {5, {"Martinez", "Zack"}},          {6, {"Mart\xC3\xADnez", "Pedro"}},
        {7, {"\xC5\xA0imek", "Bobby"}},   {8, {"Simek", "Al"}},               {9, {"\xC3\x98" "degaard", "Ole"}},
        {10, {"Oakes", "Tom"}},           {11, {"eckstein", "David"}},        {12, {"\xC3\x89" "bert", "Luc"}},
        {13, {"deGrom", "Jacob"}},        {14, {"Darnell", "Bob"}},           {15, {"d'Arnaud", "Travis"}},
        {999, {"Smith", "John"}},         {1234, {"Smith", "John"}},          {1000, {"smith", "john"}},
    };
    for (const auto& [id, name] : players) add(batting(hitter_line(id, 2000, 2, 1, name.first, name.second), 4, 1));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;

    // The name rows of a letter sheet, top to bottom (one line a player: a block of five rows).
    auto names_on = [&](const std::string& sheet) {
        std::vector<std::string> names;
        for (int32_t r = 1; !empty(sheet, "A", r); r += 5)
            names.push_back(text(sheet, "A", r) + (sheet == "S" ? " " + shown(sheet, "R", r) : ""));
        return names;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(names_on("A"), (V{"Alvarez,Aaron", "\xC3\x81lvarez,Ra\xC3\xBAl", "Azocar,Oscar"}));
    EXPECT_EQ(names_on("M"), (V{"Mart\xC3\xADnez,Pedro", "Martinez,Zack", "Martz,Ben"}));
    EXPECT_EQ(names_on("D"), (V{"d'Arnaud,Travis", "Darnell,Bob", "deGrom,Jacob"}));
    EXPECT_EQ(names_on("E"), (V{"\xC3\x89" "bert,Luc", "eckstein,David"}));
    EXPECT_EQ(names_on("S"), (V{"Simek,Al 8", "\xC5\xA0imek,Bobby 7", "smith,john 1000", "Smith,John 1234",
                                "Smith,John 999"}));

    // The totals sheet lists every player in that order, whatever his sheet.
    V totals;
    for (int32_t r = 2; !empty("HitRegTotals", "A", r); ++r) totals.push_back(text("HitRegTotals", "A", r));
    EXPECT_EQ(totals, (V{"Alvarez,Aaron", "\xC3\x81lvarez,Ra\xC3\xBAl", "Azocar,Oscar", "d'Arnaud,Travis",
                         "Darnell,Bob", "deGrom,Jacob", "\xC3\x89" "bert,Luc", "eckstein,David",
                         "Mart\xC3\xADnez,Pedro", "Martinez,Zack", "Martz,Ben", "Oakes,Tom", "\xC3\x98" "degaard,Ole",
                         "Simek,Al", "\xC5\xA0imek,Bobby", "smith,john", "Smith,John", "Smith,John"}));
    EXPECT_EQ(text("#", "A", 1), "\xC3\x98" "degaard,Ole");   // the sheet a name goes to is as before
}

}  // namespace
}  // namespace tb::test
