// Where a run's workbook goes, found and checked once, before anything is
// read: the output's links followed to their end, its folder opened by a
// handle that the save then works in, and what the name stood for then. A
// folder or a link swapped while the run goes on cannot send the workbook
// anywhere else (see wb::SaveDestination).
#pragma once

#include "platform/file_ops.h"
#include "workbook/workbook.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace tb::app {

struct OutputTarget {
    std::unique_ptr<platform::Folder> folder;        // the target's folder
    std::filesystem::path name;                      // the file's name in it
    std::optional<platform::EntryFacts> existing;    // the file replaced, if any
    std::filesystem::path shown;                     // as the user gave it

    wb::SaveDestination destination() const { return {folder.get(), name, existing, shown}; }
};

// Why a workbook cannot be written somewhere: a line naming the path and
// the reason. `forcible` when only the rule "replace nothing but a workbook
// or an empty file, and only one the user may write" stands in the way, so
// that --force (or the user's yes in the window) would allow it.
struct OutputRefusal {
    std::string reason;
    bool forcible = false;
};

struct OutputCheck {
    std::optional<OutputTarget> target;   // when it can be written
    OutputRefusal refusal;                // when not
};

// Finds and checks the place for a workbook at `output` for the
// encyclopedia in `folder` ("" when it is not in a folder). Refused: an
// empty name; a chain of more than 40 links; something that is not a
// regular file (a folder, a FIFO, a device, ...); a place in the
// encyclopedia folder or a file of it under any name (by "..", letter case,
// symbolic or hard links); a missing folder or one that cannot be written or
// takes no name that long; and, unless `replace_any`, an existing file that
// is neither a workbook nor empty, or that the user may not write.
// Throws: nothing but std::bad_alloc.
OutputCheck check_output(const std::filesystem::path& output, const std::filesystem::path& folder, bool replace_any,
                         platform::FileOps& files);

// Why a workbook cannot be written at `output` for the encyclopedia in
// `folder`, by the rules of check_output on the system's files (an existing
// file replaced only when it is a workbook or empty and the user may write
// it); nullopt when it can.
std::optional<OutputRefusal> output_refusal(const std::filesystem::path& output, const std::filesystem::path& folder);

}  // namespace tb::app
