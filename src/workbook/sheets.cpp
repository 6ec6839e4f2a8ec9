// The workbook's sheets: adding, naming and removing them, the one shown on
// opening, how each is shown and printed, and the document properties.
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
    if (setup.filter) check_area(setup.filter_area);
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

void Workbook::set_properties(const DocumentProperties& properties) { impl_->properties = properties; }

const DocumentProperties& Workbook::properties() const { return impl_->properties; }

std::vector<std::string> Workbook::sheet_names() const {
    std::vector<std::string> names;
    for (const auto& s : impl_->sheets) names.push_back(s->name);
    return names;
}

std::string Workbook::shown_sheet_name() const {
    return impl_->active < 0 ? std::string() : impl_->sheets[static_cast<size_t>(impl_->active)]->name;
}

}  // namespace tb::wb
