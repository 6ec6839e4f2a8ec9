#include "sheets/sheet_set.h"

namespace tb::sheets {

SheetSet create_sheet_set(wb::Workbook& book, SheetsDesired desired) {
    SheetSet set;
    if (team_sheets_wanted(desired)) {
        set.team_records.emplace(book);
        set.team_totals.emplace(book);
    }
    if (player_sheets_wanted(desired)) {
        set.player_totals.emplace(book);
        set.letters.emplace(book);
    }
    return set;
}

void finish_workbook(wb::Workbook& book, const SheetSet& sheets) {
    if (sheets.team_records) {
        book.show_on_opening(sheets.team_records->sheet());
    } else if (sheets.player_totals && sheets.letters) {
        const auto world_series = sheets.player_totals->sheet_with_rows(Side::Hitting, enc::SeasonPhase::WorldSeries);
        book.show_on_opening(world_series ? *world_series : sheets.letters->first_sheet());
    }
    for (const wb::SheetId sheet : book.sheets()) {
        wb::SheetSetup setup = book.setup(sheet);
        setup.landscape = true;
        setup.fit_to_page_width = true;
        setup.footer = "&L&A&RPage &P of &N";
        book.set_setup(sheet, setup);
    }
}

}  // namespace tb::sheets
