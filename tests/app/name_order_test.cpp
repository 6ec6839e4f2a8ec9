// Names in the order people read them, through the run: case weighs not at
// all, and ties go by the numbers as text (accents and punctuation are the
// collation tests' and the golden letter sheets').
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

// One name's players by their numbers as text, whatever the case, and one
// player's lines of a year by their record numbers as text.
TEST_F(NameOrder, PlayersAndLinesOnTheirLetterSheetsAndOnTheTotalsSheet) {
    for (int i = 0; i < 10; ++i) add(1, "Lee", "Al", 10 + i);   // records 1 to 10
    add(999, "Smith", "John");
    add(1234, "Smith", "John");
    add(1000, "smith", "john");
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed);
    EXPECT_EQ(down("S", 1, 5, "R"), (V{"1000", "1234", "999"}));   // the player numbers, a block of five rows each
    EXPECT_EQ(down("HitRegTotals", 2, 1), (V{"Lee,Al", "smith,john", "Smith,John", "Smith,John"}));
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
