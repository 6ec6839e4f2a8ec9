// The workbook's sheets: adding, naming, activating and deleting them, how
// each is shown and printed, and the document properties.
#include "workbook/workbook.h"
#include "workbook/workbook_internal.h"

#include "text/utf8.h"

#include <algorithm>
#include <cctype>

namespace tb::wb {

namespace {

bool iequal(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

void check_sheet_name(std::string_view name) {
    if (name.empty() || text::code_point_count(name) > 31)
        throw WorkbookError("sheet name \"" + std::string(name) + "\" must have 1 to 31 characters");
    if (name.find_first_of(":\\/?*[]") != std::string_view::npos || name.front() == '\'' || name.back() == '\'')
        throw WorkbookError("sheet name \"" + std::string(name) + "\" holds a character a sheet name cannot have");
}

[[noreturn]] void no_sheet(std::string_view name) {
    throw WorkbookError("no sheet named \"" + std::string(name) + "\"");
}

std::unique_ptr<Sheet> new_sheet(Workbook::Impl& impl, std::string name) {
    auto sheet = std::make_unique<Sheet>();
    sheet->id = SheetId{static_cast<uint32_t>(impl.by_id.size())};
    sheet->name = std::move(name);
    impl.by_id.push_back(sheet.get());
    return sheet;
}

int index_of(const Workbook::Impl& impl, const Sheet& sheet) {
    for (size_t i = 0; i < impl.sheets.size(); ++i)
        if (impl.sheets[i].get() == &sheet) return static_cast<int>(i);
    return -1;
}

void check_setup(std::string_view name, const SheetSetup& setup) {
    if (setup.freeze_rows < 0 || setup.freeze_rows >= kMaxRows || setup.freeze_cols < 0 ||
        setup.freeze_cols >= kMaxColumns || setup.repeat_rows < 0 || setup.repeat_rows > kMaxRows)
        throw WorkbookError("a sheet setup of \"" + std::string(name) + "\" is beyond the sheet");
    if (setup.filter) {
        const MergeArea& a = setup.filter_area;
        check_col(a.c1);
        check_col(a.c2);
        check_row(a.r1);
        check_row(a.r2);
        if (a.c1 > a.c2 || a.r1 > a.r2) throw WorkbookError("a filter block must run from top left to bottom right");
    }
    if (setup.footer.size() > 255) throw WorkbookError("a footer holds at most 255 characters");
}

}  // namespace

Sheet& Workbook::Impl::sheet_of(SheetId id) {
    if (id.value >= by_id.size() || !by_id[id.value]) throw WorkbookError("no such sheet");
    return *by_id[id.value];
}

const Sheet& Workbook::Impl::sheet_of(SheetId id) const {
    if (id.value >= by_id.size() || !by_id[id.value]) throw WorkbookError("no such sheet");
    return *by_id[id.value];
}

SheetId Workbook::add_sheet(std::string_view name) {
    check_sheet_name(name);
    if (impl_->sheet_index(name) >= 0) throw WorkbookError("a sheet named \"" + std::string(name) + "\" already exists");
    impl_->sheets.push_back(new_sheet(*impl_, std::string(name)));
    if (impl_->active < 0) impl_->active = 0;
    return impl_->sheets.back()->id;
}

SheetId Workbook::add_sheet_after(SheetId after, std::string_view name) {
    const int at = index_of(*impl_, impl_->sheet_of(after)) + 1;
    check_sheet_name(name);
    if (impl_->sheet_index(name) >= 0) throw WorkbookError("a sheet named \"" + std::string(name) + "\" already exists");
    impl_->sheets.insert(impl_->sheets.begin() + at, new_sheet(*impl_, std::string(name)));
    if (impl_->active >= at) ++impl_->active;
    return impl_->sheets[static_cast<size_t>(at)]->id;
}

void Workbook::remove_sheet(SheetId sheet) {
    const int i = index_of(*impl_, impl_->sheet_of(sheet));
    impl_->by_id[sheet.value] = nullptr;
    impl_->sheets.erase(impl_->sheets.begin() + i);
    const int n = static_cast<int>(impl_->sheets.size());
    if (impl_->active > i || impl_->active >= n) --impl_->active;
    if (n == 0) impl_->active = -1;
}

std::optional<SheetId> Workbook::find_sheet(std::string_view name) const {
    const int i = impl_->sheet_index(name);
    if (i < 0) return std::nullopt;
    return impl_->sheets[static_cast<size_t>(i)]->id;
}

const std::string& Workbook::sheet_name(SheetId sheet) const { return impl_->sheet_of(sheet).name; }

std::vector<SheetId> Workbook::sheets() const {
    std::vector<SheetId> ids;
    for (const auto& s : impl_->sheets) ids.push_back(s->id);
    return ids;
}

void Workbook::show_on_opening(SheetId sheet) { impl_->active = index_of(*impl_, impl_->sheet_of(sheet)); }

void Workbook::set_setup(SheetId sheet, const SheetSetup& setup) {
    Sheet& sh = impl_->sheet_of(sheet);
    check_setup(sh.name, setup);
    sh.setup = setup;
}

const SheetSetup& Workbook::setup(SheetId sheet) const { return impl_->sheet_of(sheet).setup; }

Workbook::Impl::Impl() {
    intern_style(Style{});   // id 0: the default style
    intern_format("");       // id 0: General
}

Sheet& Workbook::Impl::active_sheet() {
    if (active < 0) throw WorkbookError("the workbook has no active sheet");
    return *sheets[static_cast<size_t>(active)];
}

int Workbook::Impl::sheet_index(std::string_view name) const {
    for (size_t i = 0; i < sheets.size(); ++i)
        if (iequal(sheets[i]->name, name)) return static_cast<int>(i);
    return -1;
}

const Sheet* Workbook::Impl::find_sheet(std::string_view name) const {
    const int i = sheet_index(name);
    return i < 0 ? nullptr : sheets[static_cast<size_t>(i)].get();
}

Workbook::Workbook() : impl_(std::make_unique<Impl>()) {}
Workbook::~Workbook() = default;

void Workbook::SheetsAdd() {
    std::string name;
    do {
        name = "Sheet" + std::to_string(impl_->next_default_name++);
    } while (impl_->sheet_index(name) >= 0);
    auto sheet = new_sheet(*impl_, std::move(name));
    const int at = impl_->active < 0 ? 0 : impl_->active;
    impl_->sheets.insert(impl_->sheets.begin() + at, std::move(sheet));
    impl_->active = at;
}

void Workbook::SheetsAddAfter(std::string_view name) {
    const int after = impl_->sheet_index(name);
    if (after < 0) no_sheet(name);
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

void Workbook::NameActiveSheet(std::string_view name) {
    Sheet& sh = impl_->active_sheet();
    check_sheet_name(name);
    const int other = impl_->sheet_index(name);
    if (other >= 0 && other != impl_->active)
        throw WorkbookError("a sheet named \"" + std::string(name) + "\" already exists");
    sh.name = std::string(name);
}

void Workbook::Activate(std::string_view name) {
    const int i = impl_->sheet_index(name);
    if (i < 0) no_sheet(name);
    impl_->active = i;
}

void Workbook::Delete(std::string_view name) {
    const int i = impl_->sheet_index(name);
    if (i < 0) no_sheet(name);
    impl_->by_id[impl_->sheets[static_cast<size_t>(i)]->id.value] = nullptr;
    impl_->sheets.erase(impl_->sheets.begin() + i);
    // As in the spreadsheet application: the sheet to the right of the
    // deleted one becomes active, or the one to its left at the end.
    const int n = static_cast<int>(impl_->sheets.size());
    impl_->active = n == 0 ? -1 : std::min(i, n - 1);
}

bool Workbook::HasSheet(std::string_view name) const { return impl_->sheet_index(name) >= 0; }

void Workbook::SetSheetSetup(std::string_view name, const SheetSetup& setup) {
    const int i = impl_->sheet_index(name);
    if (i < 0) no_sheet(name);
    check_setup(name, setup);
    impl_->sheets[static_cast<size_t>(i)]->setup = setup;
}

SheetSetup Workbook::sheet_setup(std::string_view name) const {
    const Sheet* sh = impl_->find_sheet(name);
    return sh ? sh->setup : SheetSetup{};
}

void Workbook::SetProperties(const DocumentProperties& properties) { impl_->properties = properties; }

const DocumentProperties& Workbook::properties() const { return impl_->properties; }

std::vector<std::string> Workbook::SheetNames() const {
    std::vector<std::string> names;
    for (const auto& s : impl_->sheets) names.push_back(s->name);
    return names;
}

std::string Workbook::ActiveSheetName() const {
    return impl_->active < 0 ? std::string() : impl_->sheets[static_cast<size_t>(impl_->active)]->name;
}

std::size_t Workbook::SheetCount() const { return impl_->sheets.size(); }

}  // namespace tb::wb
