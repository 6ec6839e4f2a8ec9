// The sheet set of a run and the tidying of its totals sheets at the end.
#include "sheets/sheet_set.h"

#include <array>
#include <string_view>

namespace tb::sheets {

using namespace wb;

namespace {

constexpr std::array<std::string_view, 10> kPlayerTotalsAddOrder = {
    "HitWSTotals", "HitLCSTotals", "HitDCSTotals", "HitWCSTotals", "HitRegTotals",
    "PitchWSTotals", "PitchLCSTotals", "PitchDCSTotals", "PitchWCSTotals", "PitchRegTotals"};

constexpr std::array<std::string_view, 6> kTeamAddOrder = {
    "TeamWSTotals", "TeamLCSTotals", "TeamDCSTotals", "TeamWCSTotals", "TeamRegTotals", "Team Records"};

constexpr int kColumnD = 3;
constexpr int kColumnL = 11;
constexpr int kColumnX = 23;
constexpr int kColumnZ = 25;
constexpr int kColumnAA = 26;
constexpr int kColumnAD = 29;
constexpr int kColumnAE = 30;

void add_named(Workbook& wb, std::string_view name) {
    wb.SheetsAdd();
    wb.NameActiveSheet(name);
}

void delete_if_present(Workbook& wb, std::string_view name) {
    if (wb.HasSheet(name)) wb.Delete(name);
}

}  // namespace

void create_sheet_set(Workbook& wb, SheetsDesired desired) {
    if (player_sheets_wanted(desired)) {
        for (auto it = Letters.rbegin(); it != Letters.rend(); ++it) add_named(wb, *it);
        for (std::string_view name : kPlayerTotalsAddOrder) add_named(wb, name);
    }
    if (team_sheets_wanted(desired))
        for (std::string_view name : kTeamAddOrder) add_named(wb, name);
}

void autofit_columns(Workbook& wb, int first, int last) {
    for (int c = first; c <= last; ++c) {
        const std::string& letter = Letters.at(static_cast<size_t>(c));
        wb.range(letter + ":" + letter).ColumnsAutoFit();
    }
}

void COL_AUTOFIT(Workbook& wb) { autofit_columns(wb, 0, kColumnAE); }

void end_player_sheets(Workbook& wb, const PlayerTotalsCounters& k) {
    if (wb.SheetCount() > 0) autofit_columns(wb, 0, kColumnZ);
    const std::array<std::pair<std::string_view, int32_t>, 10> sheets = {{
        {"PitchRegTotals", k.PitchRegLine}, {"PitchWCSTotals", k.PitchWCSLine},
        {"PitchDCSTotals", k.PitchDCSLine}, {"PitchLCSTotals", k.PitchLCSLine},
        {"PitchWSTotals", k.PitchWSLine}, {"HitRegTotals", k.HitRegLine},
        {"HitWCSTotals", k.HitWCSLine}, {"HitDCSTotals", k.HitDCSLine},
        {"HitLCSTotals", k.HitLCSLine}, {"HitWSTotals", k.HitWSLine}}};
    for (const auto& [name, rows] : sheets) {
        if (rows <= 0) {
            delete_if_present(wb, name);
        } else if (wb.HasSheet(name)) {
            wb.Activate(name);
            autofit_columns(wb, 0, name == "PitchRegTotals" ? kColumnAD : kColumnZ);
            Set_Totals_View(wb, name, 0, 0, name.starts_with("Pitch") ? kColumnAA : kColumnX, rows);
        }
    }
    if (wb.SheetCount() > 0) autofit_columns(wb, 0, kColumnZ);
}

void end_team_sheets(Workbook& wb, const TeamTotalsCounters& k) {
    // A counter still at 1 means no row was written.
    const std::array<std::pair<std::string_view, int32_t>, 4> sheets = {{
        {"TeamWCSTotals", k.TeamWCSLine}, {"TeamDCSTotals", k.TeamDCSLine},
        {"TeamLCSTotals", k.TeamLCSLine}, {"TeamWSTotals", k.TeamWSLine}}};
    for (const auto& [name, last] : sheets) {
        if (last <= 1) delete_if_present(wb, name);
        else if (wb.HasSheet(name)) Set_Totals_View(wb, name, kColumnD, kColumnD, kColumnL, last);
    }
    if (wb.HasSheet("Team Records")) {
        wb.Activate("Team Records");
        autofit_columns(wb, 0, kColumnZ);
    }
}

}  // namespace tb::sheets

namespace tb::sheets {

void Set_Totals_View(Workbook& wb, std::string_view sheet, int name_col, int first_col, int last_col,
                     int32_t last_row) {
    SheetSetup setup = wb.sheet_setup(sheet);
    setup.freeze_rows = 1;
    setup.freeze_cols = name_col + 1;
    setup.filter = true;
    setup.filter_area = MergeArea{first_col, 1, last_col, last_row};
    setup.repeat_rows = 1;
    wb.SetSheetSetup(sheet, setup);
}

void Set_Print_Setup(Workbook& wb) {
    for (const std::string& name : wb.SheetNames()) {
        SheetSetup setup = wb.sheet_setup(name);
        setup.landscape = true;
        setup.fit_to_page_width = true;
        setup.footer = "&L&A&RPage &P of &N";
        wb.SetSheetSetup(name, setup);
    }
}

}  // namespace tb::sheets
