// Names in the order people read them, through the run: accents weigh only
// after the base letters, case not at all, punctuation before letters,
// digits one by one. The player pass orders its players so (the team
// pass's sections by abbreviation are in the golden team sheets).
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

// Accents after the letters, case not at all; one name's players by their
// numbers as text, and one player's lines of a year by their record numbers
// as text (the order itself is the collation tests' own).
TEST_F(NameOrder, PlayersAndLinesOnTheirLetterSheetsAndOnTheTotalsSheet) {
    for (int i = 0; i < 10; ++i) add(1, "Lee", "Al", 10 + i);   // records 1 to 10
    const std::pair<int, std::pair<std::string, std::string>> players[] = {
        {2, {"\xC3\x81lvarez", "Ra\xC3\xBAl"}}, {3, {"Alvarez", "Aaron"}}, {999, {"Smith", "John"}},
        {1234, {"Smith", "John"}},           {1000, {"smith", "john"}}};
    for (const auto& [id, name] : players) add(id, name.first, name.second);
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed);
    // A player of one line: a block of five rows.
    EXPECT_EQ(down("A", 1, 5), (V{"Alvarez,Aaron", "\xC3\x81lvarez,Ra\xC3\xBAl"}));
    EXPECT_EQ(down("S", 1, 5, "R"), (V{"1000", "1234", "999"}));   // the player numbers
    EXPECT_EQ(down("HitRegTotals", 2, 1),
              (V{"Alvarez,Aaron", "\xC3\x81lvarez,Ra\xC3\xBAl", "Lee,Al", "smith,john", "Smith,John", "Smith,John"}));
    // Records 1, 10, 2, ...: the at-bats of each year row, then the totals.
    EXPECT_EQ(down("L", 3, 1, "I"), (V{"10", "19", "11", "12", "13", "14", "15", "16", "17", "18", "145"}));
}

TEST(LetterSheet, FoldsWindows1252Letters) {
    const std::pair<const char*, const char*> names[] = {{"\xC3\xA7", "C"}, {"\xC5\xA0imek", "S"}, {"\xC3\xBF", "Y"},
                                                         {"\xC3\x9F", "#"}, {"\xC3\x86sir", "#"}, {" Blank", "#"}};
    for (const auto& [name, sheet] : names) EXPECT_EQ(sheets::letter_sheet_of(name), sheet) << name;
}

}  // namespace
}  // namespace tb::test
