// Every line under its own titles: a hitting line feeds a player's hitting
// block, a pitching line his pitching block, a two-way line both; a player
// with lines of both kinds gets both blocks, each holding only its own
// lines, phase by phase. (The golden letter sheets hold a hitting season
// then a pitching one, a pitcher whose only hitting is in the league
// championship series, and a player with only lines of unknown kinds.)
#include "archive/sample.h"
#include "run_fixture.h"

#include <cmath>

namespace tb::test {
namespace {

class PlayerBlocks : public RunFixture {
protected:
    void SetUp() override {
        RunFixture::SetUp();
        contents.stats->clear();
        options.desired = sheets::SheetsDesired::PlayersOnly;
        options.save = false;
    }
    void line(int year, int phase, int kind, int at_bats = 10, int outs = 30) {
        auto s = hitter_line(1, year, phase, 1, "Fenn", "Gus", kind);
        put(s.hitting.at_bats, at_bats), put(s.pitching.outs, outs);
        contents.stats->push_back(s);
    }
    // What opens each row of sheet "F" (column A, or B on a "Totals" row,
    // whose A holds a blank), until two empty rows follow each other.
    std::string lead(int32_t r) const {
        const std::string a = text("F", "A", r);
        return a == " " ? text("F", "B", r) : a;
    }
    std::vector<std::string> column_a() const {
        std::vector<std::string> out;
        for (int32_t r = 1; r < 60 && !(lead(r).empty() && lead(r + 1).empty()); ++r) out.push_back(lead(r));
        return out;
    }
    std::string title_of_row(int32_t r) const { return text("F", "D", r); }   // "BAVG" or "ERA"
};
using V = std::vector<std::string>;

TEST_F(PlayerBlocks, ATwoWayPlayersSeasonsOfOneKindStayInTheirOwnBlock) {
    line(2000, 2, 3, 20, 60);
    line(2001, 2, 1, 30);
    line(2002, 2, 2, 0, 90);
    line(2002, 8, 2, 0, 9);
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed);
    EXPECT_EQ(column_a(), (V{"Fenn,Gus", "Year", "2000", "2001", "Totals", "", "Fenn,Gus", "Year", "2000", "2002",
                            "Totals", "- -  W  S  - -", "2002", "Totals"}));
    EXPECT_EQ(text("F", "I", 5), "50");       // AB of the hitting totals: 20 + 30
    EXPECT_EQ(text("F", "O", 11), "50.0");    // IP of the pitching totals: 150 outs
    EXPECT_EQ(text("HitRegTotals", "B", 2), "2001");
    EXPECT_EQ(text("PitchRegTotals", "B", 2), "2002");
    EXPECT_EQ(text("PitchWSTotals", "A", 2), "Fenn,Gus");
    EXPECT_FALSE(book->find_sheet("HitWSTotals").has_value());
}

TEST_F(PlayerBlocks, ALineOfAnUnknownKindTakesNoTitles) {
    line(2000, 2, 0);
    line(2001, 2, 1);
    line(2002, 2, 7);
    ASSERT_EQ(run().outcome, app::RunOutcome::Completed);
    EXPECT_EQ(column_a(), (V{"Fenn,Gus", "Year", "2001", "Totals"}));
    EXPECT_EQ(title_of_row(2), "BAVG");
    ASSERT_EQ(observer.told.size(), 2u);
    EXPECT_EQ(observer.told[0].field, "StatKind");
}

// ERA on every pitching row of generated archives: ER / (outs / 27) rounded
// once to two decimals, half away from zero, worked out here in whole
// numbers; 999.99 for earned runs without an out.
double exact_era(int64_t earned_runs, int64_t outs) {
    if (outs <= 0) return earned_runs > 0 ? 999.99 : 0;
    const int64_t hundredths = (2 * 2700 * earned_runs + outs) / (2 * outs);
    return static_cast<double>(hundredths) / 100.0;
}

int64_t outs_of_innings(double innings) {
    const auto whole = static_cast<int64_t>(innings);
    return whole * 3 + std::llround((innings - static_cast<double>(whole)) * 10);
}

TEST_F(PlayerBlocks, EveryEraIsRoundedOnceOnGeneratedArchives) {
    int64_t checked = 0;
    for (uint64_t seed : {1u, 7u, 42u}) {
        contents = enc::make_sample({seed, 8, 400}).contents;
        ASSERT_EQ(run().outcome, app::RunOutcome::Completed);
        const wb::Workbook& workbook = *book;
        auto number = [&](const std::string& sheet, int col, int32_t row) { return workbook.value(sheet, col, row).number; };
        for (const std::string& sheet : workbook.sheet_names()) {
            const bool totals = sheet.starts_with("Pitch");
            bool pitching = totals;
            for (int32_t r = 1; r <= workbook.last_row(sheet); ++r) {
                if (!totals && workbook.value(sheet, 3, r).kind == wb::CellValue::Kind::Text)
                    pitching = workbook.value(sheet, 3, r).text == "ERA";
                // ERA, IP and ER: D, O, U in a block; C, N, T on a totals sheet.
                const int era = totals ? 2 : 3, ip = totals ? 13 : 14, er = totals ? 19 : 20;
                if (!pitching || workbook.value(sheet, er, r).kind != wb::CellValue::Kind::Number) continue;
                const auto earned = static_cast<int64_t>(number(sheet, er, r));
                EXPECT_EQ(number(sheet, era, r), exact_era(earned, outs_of_innings(number(sheet, ip, r))))
                    << sheet << " row " << r;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 1000);
}

}  // namespace
}  // namespace tb::test
