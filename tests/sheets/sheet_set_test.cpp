// Sheets: adding, naming, lookup, deletion, and the sheet set of each choice.
#include "sheets/sheet_set.h"

#include <gtest/gtest.h>

using namespace tb::wb;
using namespace tb::sheets;
using Names = std::vector<std::string>;

namespace {

Names join(Names a, const Names& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Functions, not constants: Letters lives in another file, initialised in no set order.
Names letters() { return Names(Letters.begin(), Letters.end()); }
Names player_sheets() {
    return join({"PitchRegTotals", "PitchWCSTotals", "PitchDCSTotals", "PitchLCSTotals", "PitchWSTotals",
                 "HitRegTotals", "HitWCSTotals", "HitDCSTotals", "HitLCSTotals", "HitWSTotals"},
                letters());
}
const Names kTeamSheets = {"Team Records", "TeamRegTotals", "TeamWCSTotals", "TeamDCSTotals", "TeamLCSTotals", "TeamWSTotals"};

}  // namespace

TEST(Sheets, AddGoesBeforeTheActiveSheetAndDeletingActivatesTheNextOrTheLast) {
    Workbook wb;
    EXPECT_EQ(wb.ActiveSheetName(), "");
    EXPECT_THROW(wb.range("A1"), WorkbookError);  // ranges need an active sheet
    for (const char* n : {"c", "a"}) {
        wb.SheetsAdd();
        wb.NameActiveSheet(n);
    }
    wb.Activate("C");
    wb.SheetsAdd();
    const std::string added = wb.ActiveSheetName();
    EXPECT_EQ(wb.SheetNames(), (Names{"a", added, "c"}));
    wb.Activate("a");
    wb.Delete(added);  // the sheet after the deleted one becomes active
    EXPECT_EQ(wb.SheetNames(), (Names{"a", "c"}));
    EXPECT_EQ(wb.ActiveSheetName(), "c");
    wb.Delete("c");
    EXPECT_EQ(wb.ActiveSheetName(), "a");
    wb.Delete("A");
    EXPECT_EQ(wb.SheetCount(), 0u);
    EXPECT_EQ(wb.ActiveSheetName(), "");
    EXPECT_THROW(wb.cell(0, 1), WorkbookError);
}

TEST(Sheets, NamesAreCheckedAndLookedUpWithoutCase) {
    Workbook wb;
    wb.SheetsAdd();
    wb.NameActiveSheet("Team Records");
    EXPECT_TRUE(wb.HasSheet("team records"));
    wb.SheetsAdd();
    for (const std::string& bad : {std::string("TEAM RECORDS"), std::string(), std::string("a/b"), std::string(32, 'x')})
        EXPECT_THROW(wb.NameActiveSheet(bad), WorkbookError) << bad;
    EXPECT_THROW(wb.Activate("nope"), WorkbookError);
    EXPECT_THROW(wb.Delete("nope"), WorkbookError);
    wb.NameActiveSheet("A");
    wb.Activate("team RECORDS");
    EXPECT_EQ(wb.ActiveSheetName(), "Team Records");
}

TEST(SheetSet, OrderAndActiveSheetOfEachChoice) {
    for (const auto& [desired, names, active] :
         {std::tuple{SheetsDesired::PlayersAndTeams, join(kTeamSheets, player_sheets()), "Team Records"},
          {SheetsDesired::PlayersOnly, player_sheets(), "PitchRegTotals"},
          {SheetsDesired::TeamsOnly, kTeamSheets, "Team Records"}}) {
        Workbook wb;
        create_sheet_set(wb, desired);
        EXPECT_EQ(wb.SheetNames(), names);
        EXPECT_EQ(wb.ActiveSheetName(), active);
    }
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
    EXPECT_EQ(wb.SheetNames(), join({"PitchRegTotals", "HitLCSTotals"}, letters()));
    EXPECT_GT(wb.column_width("PitchRegTotals", 29), Workbook::kDefaultColumnWidth);
    EXPECT_DOUBLE_EQ(wb.column_width("HitLCSTotals", 0), autofit_width("Player", false, 11));
    EXPECT_DOUBLE_EQ(wb.column_width("B", 2), autofit_width("Smith,John", false, 11));
    // HitWSTotals went last: the sheet to its right, "A", is active.
    EXPECT_EQ(wb.ActiveSheetName(), "A");
}

TEST(EndTeamSheets, PostSeasonSheetsWithoutRowsGoAndColAutofitFitsAToAE) {
    Workbook wb;
    create_sheet_set(wb, SheetsDesired::TeamsOnly);
    wb.Activate("Team Records");
    wb.range("AE3").Value("wide text in AE");
    COL_AUTOFIT(wb);
    EXPECT_DOUBLE_EQ(wb.column_width("Team Records", 30), autofit_width("wide text in AE", false, 11));
    wb.range("A1").Value("Boston");
    TeamTotalsCounters k;
    k.TeamLCSLine = 4;
    end_team_sheets(wb, k);
    EXPECT_EQ(wb.SheetNames(), (Names{"Team Records", "TeamRegTotals", "TeamLCSTotals"}));
    EXPECT_EQ(wb.ActiveSheetName(), "Team Records");
    EXPECT_DOUBLE_EQ(wb.column_width("Team Records", 0), autofit_width("Boston", false, 11));
}
