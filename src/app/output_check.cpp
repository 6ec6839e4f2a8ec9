// Whether the workbook can be written where the user asked, checked before
// anything is read, so that a long run does not end in a refusal and the
// game's own files are never written over.
#include "app/run.h"
#include "platform/file_access.h"
#include "workbook/workbook.h"

#include <system_error>

namespace tb::app {

namespace {

namespace fs = std::filesystem;

std::string refused(const fs::path& output, const std::string& reason) {
    return "cannot write the workbook " + output.string() + ": " + reason;
}

bool same_file(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    const bool same = fs::equivalent(a, b, ec);
    return !ec && same;
}

// Whether `file` (existing) is one of the files of `folder`, under any name:
// a hard link has its own name but shares the file.
bool is_file_of(const fs::path& file, const fs::path& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (same_file(it->path(), file)) return true;
    return false;
}

const char* kind_of(const fs::file_status& st) {
    switch (st.type()) {
        case fs::file_type::directory: return "it is a folder";
        case fs::file_type::fifo: return "it is a FIFO, not a regular file";
        case fs::file_type::block: case fs::file_type::character: return "it is a device, not a regular file";
        case fs::file_type::socket: return "it is a socket, not a regular file";
        default: return "it is not a regular file";
    }
}

}  // namespace

std::optional<std::string> output_problem(const fs::path& output, const fs::path& folder) {
    if (output.empty()) return std::string("no workbook file was given");
    const fs::path name = output.filename();
    if (name.empty() || name == "." || name == "..") return refused(output, "it is a folder");

    // A link is followed to the file a save would replace.
    std::error_code ec;
    const fs::path target = fs::absolute(wb::save_target(output), ec);
    if (ec) return refused(output, wb::error_reason(ec.value()));
    const fs::path dir = target.parent_path();

    std::error_code folder_ec;
    const bool folder_there = !folder.empty() && fs::is_directory(folder, folder_ec);
    if (folder_there && (same_file(dir, folder) || same_file(target, folder)))
        return refused(output, "it is in the encyclopedia folder " + folder.string() +
                                   ", whose files are never written");

    const fs::file_status st = fs::status(target, ec);
    if (ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory)
        return refused(output, wb::error_reason(ec.value()));
    if (fs::exists(st)) {
        if (folder_there && is_file_of(target, folder))
            return refused(output, "it is a file of the encyclopedia folder " + folder.string() +
                                       " under another name, and the game's files are never written");
        if (!fs::is_regular_file(st)) return refused(output, kind_of(st));
    }

    const fs::file_status dir_st = fs::status(dir, ec);
    if (ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory)
        return refused(output, wb::error_reason(ec.value()));
    if (!fs::exists(dir_st)) {
        // Say which part is wrong: a missing folder, or a file used as one.
        for (fs::path up = dir; !up.empty() && up != up.root_path(); up = up.parent_path()) {
            std::error_code up_ec;
            const fs::file_status s = fs::status(up, up_ec);
            if (fs::exists(s) && !fs::is_directory(s))
                return refused(output, up.string() + " is not a folder");
            if (fs::is_directory(s)) break;
        }
        return refused(output, "the folder " + dir.string() + " does not exist");
    }
    if (!fs::is_directory(dir_st)) return refused(output, dir.string() + " is not a folder");
    if (const int err = platform::creation_error(dir, target.filename())) return refused(output, wb::error_reason(err));
    return std::nullopt;
}

}  // namespace tb::app
