// The file a save writes: a temporary file beside the target, written,
// given the target's permissions, flushed to the disk, then renamed over
// the target; every step through the file-operations seam.
#include "workbook/workbook.h"
#include "workbook/workbook_internal.h"

#include "text/utf8.h"

#include <random>
#include <system_error>

namespace tb::wb {

namespace fs = std::filesystem;

void save_failed(const fs::path& path, const std::string& reason) {
    throw WorkbookError("cannot save the workbook to " + text::path_utf8(path) + ": " + reason);
}

SaveFile::SaveFile(platform::FileOps& files, const fs::path& target, const fs::path& shown)
    : shown_(shown), target_name_(target.filename()) {
    try {
        folder_ = files.open_folder(target.parent_path());
        // A short name whatever the target's, so that any name the file
        // system takes for the workbook works.
        std::random_device rd;
        for (int attempt = 0; attempt < 100 && !file_; ++attempt) {
            const uint64_t r = (uint64_t{rd()} << 32) ^ rd();
            name_ = ".tallybook-" + std::to_string(r % 1000000000000ULL) + ".tmp";
            file_ = folder_->create_new(name_);
        }
    } catch (const std::exception& e) {
        failed(e);
    }
    if (!file_) save_failed(shown_, "no free temporary file name in " + text::path_utf8(target.parent_path()));
}

SaveFile::~SaveFile() {
    if (committed_ || !folder_ || !file_) return;
    file_.reset();   // closed first: Windows removes no open file
    folder_->remove(name_);
}

void SaveFile::failed(const std::exception& e) const { save_failed(shown_, e.what()); }

void SaveFile::write(const void* data, std::size_t size) {
    try {
        file_->write(data, size);
    } catch (const platform::FileError& e) {
        failed(e);
    }
}

void SaveFile::finish() {
    try {
        if (const auto kept = folder_->permissions_of(target_name_)) file_->set_permissions(*kept);
        // On the disk before it can replace the old workbook: a crash after
        // the rename must find the new one whole.
        file_->flush_to_disk();
        file_->close();
    } catch (const platform::FileError& e) {
        failed(e);
    }
}

void SaveFile::commit() {
    try {
        folder_->replace(name_, target_name_);
    } catch (const platform::FileError& e) {
        failed(e);
    }
    committed_ = true;
    folder_->flush_to_disk();
}

fs::path save_target(const fs::path& path) {
    fs::path p = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec)) || ec) return p;
        const fs::path to = fs::read_symlink(p, ec);
        if (ec) return p;
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
    return p;   // a loop of links: the save fails on it with the system's reason
}

std::string error_reason(int err) { return platform::errno_reason(err); }

}  // namespace tb::wb
