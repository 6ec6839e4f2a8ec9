// Column letters, and cell and range addresses as a spreadsheet user writes
// them ("A12", "A12:E12", "A:A").
#include "workbook/workbook.h"
#include "workbook/workbook_internal.h"

#include <algorithm>
#include <cctype>

namespace tb::wb {

const std::array<std::string, 31> Letters = {
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O", "P",
    "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z", "AA", "AB", "AC", "AD", "AE"};

namespace {

// One "A12" cell reference, or only column letters (row 0).
bool parse_ref(std::string_view s, int& col, int32_t& row) {
    size_t i = 0;
    while (i < s.size() && std::isalpha(static_cast<unsigned char>(s[i]))) ++i;
    if (i == 0 || i > 3) return false;
    try {
        col = column_index(s.substr(0, i));
    } catch (const WorkbookError&) {
        return false;
    }
    row = 0;
    if (i == s.size()) return true;
    int64_t r = 0;
    for (size_t k = i; k < s.size(); ++k) {
        if (!std::isdigit(static_cast<unsigned char>(s[k]))) return false;
        r = r * 10 + (s[k] - '0');
        if (r > int64_t{kMaxRows} + 1) r = int64_t{kMaxRows} + 1;   // reported by check_row
    }
    if (r < 1) return false;
    row = static_cast<int32_t>(r);
    return true;
}

}  // namespace

void check_row(int32_t row) {
    if (row > kMaxRows)
        throw WorkbookError("row " + std::to_string(row) + " is beyond the last row of a sheet (" +
                            std::to_string(kMaxRows) + ")");
    if (row < 1) throw WorkbookError("row " + std::to_string(row) + " does not exist");
}

void check_col(int col) {
    if (col < 0 || col >= kMaxColumns) throw WorkbookError("column " + std::to_string(col) + " does not exist");
}

int column_index(std::string_view letters) {
    if (letters.empty() || letters.size() > 3)
        throw WorkbookError("bad column letters \"" + std::string(letters) + "\"");
    int v = 0;
    for (char ch : letters) {
        const int c = std::toupper(static_cast<unsigned char>(ch));
        if (c < 'A' || c > 'Z') throw WorkbookError("bad column letters \"" + std::string(letters) + "\"");
        v = v * 26 + (c - 'A' + 1);
    }
    if (v > kMaxColumns) throw WorkbookError("column \"" + std::string(letters) + "\" is beyond the last column");
    return v - 1;
}

std::string column_letter(int index) {
    check_col(index);
    std::string s;
    for (int v = index + 1; v > 0; v = (v - 1) / 26) s.insert(s.begin(), static_cast<char>('A' + (v - 1) % 26));
    return s;
}

Range Workbook::range(std::string_view address) {
    const auto colon = address.find(':');
    int c1 = 0, c2 = 0;
    int32_t r1 = 0, r2 = 0;
    const bool ok = colon == std::string_view::npos
                        ? parse_ref(address, c1, r1) && r1 != 0 && (c2 = c1, r2 = r1, true)
                        : parse_ref(address.substr(0, colon), c1, r1) &&
                              parse_ref(address.substr(colon + 1), c2, r2) && ((r1 == 0) == (r2 == 0));
    if (!ok) throw WorkbookError("bad range address \"" + std::string(address) + "\"");
    if (r1 == 0) {   // whole columns
        impl_->active_sheet();
        return Range(*this, std::min(c1, c2), 0, std::max(c1, c2), 0);
    }
    return block(std::min(c1, c2), std::min(r1, r2), std::max(c1, c2), std::max(r1, r2));
}

Range Workbook::cell(int col, int32_t row) { return block(col, row, col, row); }

Range Workbook::block(int c1, int32_t r1, int c2, int32_t r2) {
    check_col(c1);
    check_col(c2);
    check_row(r1);
    check_row(r2);
    impl_->active_sheet();
    if (c1 > c2) std::swap(c1, c2);
    if (r1 > r2) std::swap(r1, r2);
    return Range(*this, c1, r1, c2, r2);
}

}  // namespace tb::wb
