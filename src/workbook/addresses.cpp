// Column letters, and the bounds of a sheet's rows and columns.
#include "workbook/workbook.h"
#include "workbook/workbook_internal.h"

#include <algorithm>
#include <cctype>

namespace tb::wb {

void check_row(int32_t row) {
    if (row > kMaxRows)
        throw WorkbookError("row " + std::to_string(row) + " is beyond the last row of a sheet (" +
                            std::to_string(kMaxRows) + ")");
    if (row < 1) throw WorkbookError("row " + std::to_string(row) + " does not exist");
}

void check_col(int col) {
    if (col < 0 || col >= kMaxColumns) throw WorkbookError("column " + std::to_string(col) + " does not exist");
}

void check_area(const Area& a) {
    check_col(a.first_col);
    check_col(a.last_col);
    check_row(a.first_row);
    check_row(a.last_row);
    if (a.first_col > a.last_col || a.first_row > a.last_row)
        throw WorkbookError("an area must run from top left to bottom right");
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

}  // namespace tb::wb
