// Writes the .xlsx package of a workbook: a pool of worker threads makes
// each part's XML and compresses it, while the calling thread writes the
// finished parts in package order, reports progress and polls for a cancel.
// Not for use outside src/workbook.
#pragma once

#include "workbook/workbook_internal.h"
#include "workbook/zip_writer.h"

#include <cstddef>
#include <cstdint>

namespace tb::wb {

struct PackageSettings {
    // Worker threads (at least 1).
    int threads = 1;
    // Bytes the parts in flight (XML being made, compressed parts waiting
    // their turn) may take at once. A part whose XML would not fit is made
    // and compressed a piece at a time.
    std::size_t memory_budget = 64u << 20;
    bool force_zip64 = false;
};

// How far the save has come, in bytes of the package's XML (estimated
// before it is written): fixed once the plan is made, `done` never goes
// back, and stays below `total` until the file is in place.
struct SaveProgress {
    int64_t done = 0;
    int64_t total = 0;
};

// Writes the whole package of `book` to `sink`, in order. `monitor` (when
// given) is asked at least every 50 ms whether to stop and told the
// progress (`progress` holds the last figures reported). Returns false when
// the monitor cancelled: the sink may then have had part of the file.
// Throws what the sink throws, std::bad_alloc, and std::logic_error on an
// internal fault.
bool write_package(const Workbook::Impl& book, const ZipWriter::Sink& sink, SaveMonitor* monitor,
                   const PackageSettings& settings, SaveProgress& progress);

}  // namespace tb::wb
