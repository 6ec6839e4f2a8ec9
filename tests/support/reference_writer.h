// The reference writer: libxlsxwriter 1.1.4 driven as the program's save
// drove it before the save had its own package writer (constant-memory
// mode; a sheet holding a text that reads as an escape, "_x0041_", in
// normal mode with shared strings and those texts' underscores escaped).
// It defines the bytes the save must write; tests and the benchmark use it,
// on Linux only.
#pragma once

#include "workbook/workbook.h"

#include <filesystem>

namespace tb::test {

// Writes `book` to `file` (any existing file is replaced). Its temporary
// files are made in `file`'s folder and all closed again.
// Throws std::runtime_error naming what libxlsxwriter refused.
void write_reference(const wb::Workbook& book, const std::filesystem::path& file);

}  // namespace tb::test
