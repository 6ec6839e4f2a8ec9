// The player blocks of whole generated archives. (Which lines feed which
// block, lines of unknown kinds included, the golden sheets pin.)
#include "archive/sample.h"
#include "run_fixture.h"

#include <cmath>

namespace tb::test {
namespace {

class PlayerBlocks : public RunFixture {
protected:
    void SetUp() override {
        RunFixture::SetUp();
        options.desired = sheets::SheetsDesired::PlayersOnly;
        options.save = false;
    }
};

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
