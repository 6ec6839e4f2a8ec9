// The player pass through the run's entry point: where every player's rows
// land, in which order, and what is left out.
#include "app/player_pass.h"
#include "run_fixture.h"

namespace tb::test {
namespace {

using PlayerPass = RunFixture;

TEST_F(PlayerPass, HitterBlockRowsFollowTheLayout) {
    contents.players->push_back(player(7, 1970));
    add(batting(hitter_line(7, 1999, 2, 1, "Smith", "John"), 100, 30));
    add(batting(hitter_line(7, 1997, 2, 2, "Smith", "John"), 100, 20));
    add(batting(hitter_line(7, 1998, 2, 1, "Smith", "John"), 100, 25));
    add(batting(hitter_line(7, 1998, 6, 1, "Smith", "John"), 10, 4));
    add(batting(hitter_line(8, 2000, 2, 1, "Stone", "Al"), 50, 10));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;

    EXPECT_EQ(text("S", "A", 1), "Smith,John");
    EXPECT_EQ(num("S", "R", 1), 7);
    EXPECT_EQ(text("S", "A", 2), "Year");
    EXPECT_EQ(text("S", "Y", 2), "TB");
    EXPECT_EQ(num("S", "A", 3), 1997);   // lines in year order, whatever the file order
    EXPECT_EQ(num("S", "A", 4), 1998);
    EXPECT_EQ(num("S", "A", 5), 1999);
    EXPECT_EQ(text("S", "B", 3), "BOS");
    EXPECT_EQ(num("S", "C", 3), 27);     // age: season year - birth year
    EXPECT_EQ(text("S", "B", 6), "Totals");
    EXPECT_EQ(num("S", "I", 6), 300);
    EXPECT_EQ(text("S", "A", 7), "- - L D S - -");
    EXPECT_EQ(num("S", "A", 8), 1998);
    EXPECT_EQ(text("S", "B", 9), "Totals");
    EXPECT_EQ(num("S", "I", 9), 10);     // post-season totals start from zero
    EXPECT_TRUE(empty("S", "A", 10));
    EXPECT_EQ(text("S", "A", 11), "Stone,Al");  // next block: two rows below the totals row
    EXPECT_EQ(state->SheetRow.at("S"), 16);
}

TEST_F(PlayerPass, SectionTitlesAndBordersOfABlock) {
    add(batting(hitter_line(1, 2001, 2, 1, "Avery", "Ann"), 10, 3));
    add(batting(hitter_line(1, 2001, 8, 1, "Avery", "Ann"), 10, 3));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(text("A", "A", 5), "- - W  S - -");
    EXPECT_TRUE(style("A", "A", 5).bold);
    EXPECT_EQ(style("A", "A", 5).fill, wb::palette_rgb(19));
    EXPECT_EQ(style("A", "A", 2).fill, wb::palette_rgb(19));   // header row
    EXPECT_EQ(style("A", "C", 1).fill, wb::palette_rgb(19));   // name box above it
    EXPECT_EQ(style("A", "G", 1).fill, -1);                    // F..Q of the name row stay plain
    EXPECT_TRUE(style("A", "A", 2).align_right);
    EXPECT_EQ(style("A", "A", 3).left.weight, wb::xlMedium);   // line: medium sides
    EXPECT_EQ(style("A", "Y", 3).right.weight, wb::xlMedium);
    EXPECT_EQ(style("A", "A", 3).top.weight, 0);
    // Totals row: medium line over A..Y, red medium frame around B..Y.
    EXPECT_EQ(style("A", "A", 4).top.weight, wb::xlMedium);
    EXPECT_EQ(style("A", "A", 4).bottom.weight, 0);
    EXPECT_EQ(style("A", "B", 4).bottom.color, 0xFF0000);
    EXPECT_EQ(style("A", "D", 4).left.color, 0xFF0000);
    EXPECT_EQ(book().merges("A").size(), 3u);  // name box, number box, section title
}

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

TEST_F(PlayerPass, TotalsSheetsGetAHeaderAndOneRowPerPlayerPhase) {
    add(batting(hitter_line(1, 2000, 2, 1, "Adams", "A"), 300, 90));
    add(batting(hitter_line(1, 2001, 2, 1, "Adams", "A"), 200, 50));
    add(batting(hitter_line(1, 2001, 6, 1, "Adams", "A"), 10, 3));
    add(batting(hitter_line(2, 2000, 2, 1, "Brown", "B"), 10, 5));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_EQ(text("HitRegTotals", "A", 1), "Player");
    EXPECT_EQ(text("HitRegTotals", "W", 1), "GDP");
    EXPECT_EQ(text("HitRegTotals", "A", 2), "Adams,A");
    EXPECT_EQ(num("HitRegTotals", "B", 2), 2001);
    EXPECT_EQ(num("HitRegTotals", "H", 2), 500);
    EXPECT_DOUBLE_EQ(num("HitRegTotals", "C", 2), 0.28);
    EXPECT_EQ(text("HitRegTotals", "A", 3), "Brown,B");
    EXPECT_EQ(text("HitDCSTotals", "A", 2), "Adams,A");
    EXPECT_EQ(state->counters.HitDCSLine, 2);
    auto sheets = book().SheetNames();
    EXPECT_EQ(std::count(sheets.begin(), sheets.end(), "HitWSTotals"), 0);   // empty: deleted
    EXPECT_EQ(std::count(sheets.begin(), sheets.end(), "PitchRegTotals"), 0);
    EXPECT_EQ(std::count(sheets.begin(), sheets.end(), "AE"), 1);            // letters all stay
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

TEST_F(PlayerPass, NoHashSheetWhenEveryNameHasALetter) {
    add(batting(hitter_line(1, 2000, 2, 1, "Abel", "A"), 1, 1));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_FALSE(book().HasSheet("#"));
}

TEST_F(PlayerPass, AgeIsEmptyWithoutABirthDateAndUsesTheYearOfAnOddDate) {
    contents.players->push_back(player(2, 1980, 0, 0));  // no valid month or day
    add(batting(hitter_line(1, 2000, 2, 1, "Nobirth", "N"), 1, 1));
    add(batting(hitter_line(2, 2000, 2, 1, "Odd", "Date"), 1, 1));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    EXPECT_TRUE(empty("N", "C", 3));
    EXPECT_EQ(num("O", "C", 3), 20);
}

TEST_F(PlayerPass, LeavingALetterSheetFitsItsColumns) {
    add(batting(hitter_line(1, 2000, 2, 1, "Abel", "A"), 1, 1));
    add(batting(hitter_line(2, 2000, 2, 1, "Baker", "B"), 1, 1));
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed) << result.error;
    // "Totals" is the widest text of column B: narrower than the default.
    EXPECT_LT(book().column_width("A", 1), wb::Workbook::kDefaultColumnWidth);
    EXPECT_DOUBLE_EQ(book().column_width("A", 1), wb::autofit_width("Totals", false, 11));
    EXPECT_DOUBLE_EQ(book().column_width("Q", 1), wb::Workbook::kDefaultColumnWidth);
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
