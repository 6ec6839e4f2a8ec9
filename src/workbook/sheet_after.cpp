// Adding a sheet after a named one (the extra letter sheet goes last).
#include "workbook/workbook_internal.h"

namespace tb::wb {

void Workbook::SheetsAddAfter(std::string_view name) {
    const int after = impl_->sheet_index(name);
    if (after < 0) throw WorkbookError("no sheet named \"" + std::string(name) + "\"");
    if (after + 1 < static_cast<int>(impl_->sheets.size())) {
        impl_->active = after + 1;
        SheetsAdd();
        return;
    }
    // After the last sheet: add in front of it, then move it behind.
    impl_->active = after;
    SheetsAdd();
    std::swap(impl_->sheets[static_cast<size_t>(after)], impl_->sheets[static_cast<size_t>(after) + 1]);
    impl_->active = after + 1;
}

}  // namespace tb::wb
