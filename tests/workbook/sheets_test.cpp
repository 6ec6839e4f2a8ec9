// Sheets: adding, naming, lookup, deletion, and the sheet set of each choice.
#include "workbook/sheet_set.h"

#include <gtest/gtest.h>

using namespace tb::wb;
using Names = std::vector<std::string>;

namespace {

Names letters() { return Names(Letters.begin(), Letters.end()); }

Names player_set() {
    Names n = {"PitchRegTotals", "PitchWCSTotals", "PitchDCSTotals", "PitchLCSTotals", "PitchWSTotals",
               "HitRegTotals",   "HitWCSTotals",   "HitDCSTotals",   "HitLCSTotals",   "HitWSTotals"};
    for (const auto& l : letters()) n.push_back(l);
    return n;
}

Names team_set() {
    return {"Team Records", "TeamRegTotals", "TeamWCSTotals", "TeamDCSTotals", "TeamLCSTotals", "TeamWSTotals"};
}

}  // namespace

TEST(Sheets, AddGoesBeforeTheActiveSheetAndBecomesActive) {
    Workbook wb;
    EXPECT_EQ(wb.ActiveSheetName(), "");
    wb.SheetsAdd();
    wb.NameActiveSheet("one");
    wb.SheetsAdd();
    wb.NameActiveSheet("two");
    wb.Activate("ONE");
    wb.SheetsAdd();
    EXPECT_EQ(wb.SheetNames(), (Names{"two", wb.ActiveSheetName(), "one"}));
    EXPECT_EQ(wb.SheetCount(), 3u);
}

TEST(Sheets, NamesAreCheckedAndLookedUpWithoutCase) {
    Workbook wb;
    wb.SheetsAdd();
    wb.NameActiveSheet("Team Records");
    EXPECT_TRUE(wb.HasSheet("team records"));
    wb.SheetsAdd();
    EXPECT_THROW(wb.NameActiveSheet("TEAM RECORDS"), WorkbookError);
    EXPECT_THROW(wb.NameActiveSheet(""), WorkbookError);
    EXPECT_THROW(wb.NameActiveSheet("a/b"), WorkbookError);
    EXPECT_THROW(wb.NameActiveSheet(std::string(32, 'x')), WorkbookError);
    EXPECT_THROW(wb.Activate("nope"), WorkbookError);
    EXPECT_THROW(wb.Delete("nope"), WorkbookError);
    wb.NameActiveSheet("A");
    wb.Activate("team RECORDS");
    EXPECT_EQ(wb.ActiveSheetName(), "Team Records");
}

TEST(Sheets, DeletingActivatesTheNextSheetOrTheLastOne) {
    Workbook wb;
    for (const char* n : {"c", "b", "a"}) {
        wb.SheetsAdd();
        wb.NameActiveSheet(n);
    }
    wb.Delete("B");
    EXPECT_EQ(wb.SheetNames(), (Names{"a", "c"}));
    EXPECT_EQ(wb.ActiveSheetName(), "c");
    wb.Delete("c");
    EXPECT_EQ(wb.ActiveSheetName(), "a");
    wb.Delete("a");
    EXPECT_EQ(wb.ActiveSheetName(), "");
    EXPECT_THROW(wb.range("A1"), WorkbookError);
}

TEST(SheetSet, PlayersAndTeams) {
    Workbook wb;
    create_sheet_set(wb, SheetsDesired::PlayersAndTeams);
    Names expected = team_set();
    for (const auto& n : player_set()) expected.push_back(n);
    EXPECT_EQ(wb.SheetNames(), expected);
    EXPECT_EQ(wb.SheetCount(), 47u);
    EXPECT_EQ(wb.ActiveSheetName(), "Team Records");
}

TEST(SheetSet, PlayersOnly) {
    Workbook wb;
    create_sheet_set(wb, SheetsDesired::PlayersOnly);
    EXPECT_EQ(wb.SheetNames(), player_set());
    EXPECT_EQ(wb.ActiveSheetName(), "PitchRegTotals");
}

TEST(SheetSet, TeamsOnly) {
    Workbook wb;
    create_sheet_set(wb, SheetsDesired::TeamsOnly);
    EXPECT_EQ(wb.SheetNames(), team_set());
}

TEST(EndPlayerSheets, EmptyTotalsSheetsGoTheOthersAreFitted) {
    Workbook wb;
    create_sheet_set(wb, SheetsDesired::PlayersOnly);
    wb.Activate("PitchRegTotals");
    wb.range("AD1").Value("Player Name Here");
    wb.Activate("HitLCSTotals");
    wb.range("A1").Value("Player");
    wb.Activate("B");
    wb.range("C1").Value("Smith,John");
    PlayerTotalsCounters k;
    k.PitchRegLine = 2;
    k.HitLCSLine = 2;
    end_player_sheets(wb, k);
    Names expected = {"PitchRegTotals", "HitLCSTotals"};
    for (const auto& l : letters()) expected.push_back(l);
    EXPECT_EQ(wb.SheetNames(), expected);
    EXPECT_GT(wb.column_width("PitchRegTotals", 29), Workbook::kDefaultColumnWidth);
    EXPECT_DOUBLE_EQ(wb.column_width("HitLCSTotals", 0), autofit_width("Player", false, 11));
    EXPECT_DOUBLE_EQ(wb.column_width("B", 2), autofit_width("Smith,John", false, 11));
    // HitWSTotals went last: the sheet to its right, "A", is active.
    EXPECT_EQ(wb.ActiveSheetName(), "A");
}

TEST(EndTeamSheets, PostSeasonSheetsWithoutRowsGo) {
    Workbook wb;
    create_sheet_set(wb, SheetsDesired::TeamsOnly);
    wb.Activate("Team Records");
    wb.range("A1").Value("Boston");
    TeamTotalsCounters k;
    k.TeamLCSLine = 4;
    end_team_sheets(wb, k);
    EXPECT_EQ(wb.SheetNames(), (Names{"Team Records", "TeamRegTotals", "TeamLCSTotals"}));
    EXPECT_EQ(wb.ActiveSheetName(), "Team Records");
    EXPECT_DOUBLE_EQ(wb.column_width("Team Records", 0), autofit_width("Boston", false, 11));
}

TEST(ColAutofit, FitsAToAEOfTheActiveSheet) {
    Workbook wb;
    create_sheet_set(wb, SheetsDesired::TeamsOnly);
    wb.range("AE3").Value("wide text in AE");
    COL_AUTOFIT(wb);
    EXPECT_DOUBLE_EQ(wb.column_width("Team Records", 30), autofit_width("wide text in AE", false, 11));
}
