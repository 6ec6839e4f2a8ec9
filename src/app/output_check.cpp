// Whether the workbook can be written where the user asked, checked before
// anything is read, so that a long run does not end in a refusal and the
// game's own files are never written over.
#include "app/output_target.h"
#include "app/run.h"
#include "platform/file_access.h"

#include <system_error>

namespace tb::app {

namespace {

namespace fs = std::filesystem;
using Kind = platform::EntryFacts::Kind;

OutputCheck refused(const fs::path& output, const std::string& reason, bool forcible = false) {
    return {std::nullopt, {"cannot write the workbook " + output.string() + ": " + reason, forcible}};
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

// Whether `file` is one of the files of `folder`, under any name: a hard
// link has its own name but shares the file.
bool is_file_of(const platform::FileIdentity& file, const fs::path& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (platform::identity_of(it->path()) == file) return true;
    return false;
}

// Which part of a missing folder's path is wrong: a file used as a folder,
// or a folder that is not there.
std::string missing_folder(const fs::path& dir) {
    for (fs::path up = dir; !up.empty() && up != up.root_path(); up = up.parent_path()) {
        std::error_code ec;
        const fs::file_status s = fs::status(up, ec);
        if (fs::exists(s) && !fs::is_directory(s)) return up.string() + " is not a folder";
        if (fs::is_directory(s)) break;
    }
    return "the folder " + dir.string() + " does not exist";
}

// What stands in the way of replacing an existing regular file: only a
// workbook or an empty file is replaced, and only one the user may write.
std::optional<std::string> replace_problem(platform::Folder& folder, const fs::path& name,
                                           const platform::EntryFacts& file) {
    if (file.size == 0) return std::nullopt;
    bool workbook = false;
    std::string head;
    try {
        workbook = wb::looks_like_workbook(
            [&](uint64_t offset, std::size_t count) { return folder.read(name, offset, count); }, file.size);
        head = folder.read(name, 0, 4);
    } catch (const platform::FileError& e) {
        return std::string("it cannot be read (") + e.what() + "), so it may not be a workbook";
    }
    if (!workbook) return head == std::string("PK\x03\x04", 4) ? "it is a zip file, not a workbook" : "it is not a workbook";
    if (!file.writable) return std::string("it is read-only");
    return std::nullopt;
}

}  // namespace

OutputCheck check_output(const fs::path& output, const fs::path& encyclopedia, bool replace_any,
                         platform::FileOps& files) {
    if (output.empty()) return {std::nullopt, {"no workbook file was given", false}};
    const fs::path file_name = output.filename();
    if (file_name.empty() || file_name == "." || file_name == "..") return refused(output, "it is a folder");

    // What the output is, links followed: anything but a regular file is
    // refused before anything is read (a FIFO, a device, /dev/stdout).
    std::error_code ec;
    const fs::file_status st = fs::status(output, ec);
    if (ec && ec.value() == ELOOP) return refused(output, "too many links");
    if (fs::exists(st) && !fs::is_regular_file(st)) return refused(output, kind_of(st));

    // The chain of links followed once, to the file the save replaces.
    const fs::path absolute = fs::absolute(output, ec);
    if (ec) return refused(output, wb::error_reason(ec.value()));
    const std::optional<fs::path> target = wb::save_target(absolute);
    if (!target) return refused(output, "too many links");
    const fs::path dir = target->parent_path(), name = target->filename();
    if (!fs::is_directory(dir, ec)) return refused(output, missing_folder(dir));

    OutputTarget found{nullptr, name, std::nullopt, output};
    try {
        found.folder = files.open_folder(dir);
    } catch (const platform::FileError& e) {
        return refused(output, e.what());
    }
    // The folder and the file by what they are, not by their names.
    const std::optional<platform::FileIdentity> game = encyclopedia.empty() ? std::nullopt
                                                                           : platform::identity_of(encyclopedia);
    try {
        if (game && found.folder->identity() == *game)
            return refused(output, "it is in the encyclopedia folder " + encyclopedia.string() +
                                       ", whose files are never written");
    } catch (const platform::FileError& e) {
        return refused(output, e.what());
    }
    found.existing = found.folder->look_up(name);
    if (found.existing) {
        if (found.existing->kind == Kind::Folder) return refused(output, "it is a folder");
        if (found.existing->kind != Kind::Regular) return refused(output, "it is not a regular file");
        if (game && is_file_of(found.existing->identity, encyclopedia))
            return refused(output, "it is a file of the encyclopedia folder " + encyclopedia.string() +
                                       " under another name, and the game's files are never written");
        if (!replace_any)
            if (auto problem = replace_problem(*found.folder, name, *found.existing))
                return refused(output, *problem, true);
    }
    if (const int err = platform::creation_error(dir, name)) return refused(output, wb::error_reason(err));
    return {std::move(found), {}};
}

std::optional<OutputRefusal> output_refusal(const fs::path& output, const fs::path& folder) {
    OutputCheck check = check_output(output, folder, false, platform::system_file_ops());
    if (check.target) return std::nullopt;
    return std::move(check.refusal);
}

}  // namespace tb::app
