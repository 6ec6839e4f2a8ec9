// A small real workbook standing for a user's older one: the run replaces
// only workbooks (and empty files) unless told otherwise.
#pragma once

#include "support/temp_dir.h"
#include "workbook/workbook.h"

namespace tb::test {

// Writes it at `path` and returns its bytes.
inline std::string write_older_workbook(const std::filesystem::path& path) {
    wb::Workbook older;
    older.put(older.add_sheet("Older"), 0, 1, "older");
    older.save(path);
    return read_bytes(path);
}

}  // namespace tb::test
