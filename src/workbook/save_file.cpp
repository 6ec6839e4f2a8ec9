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

namespace {

// Whether the name still stands for what it did when it was checked.
bool unchanged(const std::optional<platform::EntryFacts>& then, const std::optional<platform::EntryFacts>& now) {
    if (!then || !now) return !then && !now;
    return now->kind == platform::EntryFacts::Kind::Regular && now->identity == then->identity;
}

}  // namespace

SaveFile::SaveFile(const SaveDestination& destination) : to_(destination) {
    // The file replaced keeps its permission bits (not its set-user,
    // set-group or sticky bits); a new one gets the usual ones.
    const uint32_t mode = to_.expected ? to_.expected->permissions.mode & 0777 : 0666;
    try {
        // A short name whatever the target's, so that any name the file
        // system takes for the workbook works.
        std::random_device rd;
        for (int attempt = 0; attempt < 100 && !file_; ++attempt) {
            const uint64_t r = (uint64_t{rd()} << 32) ^ rd();
            name_ = ".tallybook-" + std::to_string(r % 1000000000000ULL) + ".tmp";
            file_ = to_.folder->create_new(name_, mode);
        }
    } catch (const std::exception& e) {
        failed(e);
    }
    if (!file_) save_failed(to_.shown, "no free temporary file name in its folder");
}

SaveFile::~SaveFile() {
    if (committed_ || !file_) return;
    file_.reset();   // closed first: Windows removes no open file
    to_.folder->remove(name_);
}

void SaveFile::failed(const std::exception& e) const { save_failed(to_.shown, e.what()); }

void SaveFile::write(const void* data, std::size_t size) {
    try {
        file_->write(data, size);
    } catch (const platform::FileError& e) {
        failed(e);
    }
}

void SaveFile::finish() {
    try {
        if (to_.expected) file_->set_permissions(to_.expected->permissions);
        // On the disk before it can replace the old workbook: a crash after
        // the rename must find the new one whole.
        file_->flush_to_disk();
        file_->close();
    } catch (const platform::FileError& e) {
        failed(e);
    }
}

void SaveFile::commit() {
    // A name swapped for a link, or a file put in its place, since the
    // check: the new workbook must not land anywhere else.
    if (!unchanged(to_.expected, to_.folder->look_up(to_.name)))
        save_failed(to_.shown, "it changed during the run, so nothing was written");
    try {
        to_.folder->replace(name_, to_.name);
    } catch (const platform::FileError& e) {
        failed(e);
    }
    committed_ = true;
    to_.folder->flush_to_disk();
}

std::optional<fs::path> save_target(const fs::path& path) {
    // As many links as the system follows in one path (Linux' MAXSYMLINKS).
    constexpr int kMostLinks = 40;
    fs::path p = path;
    for (int hops = 0; hops <= kMostLinks; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec)) || ec) return p;
        if (hops == kMostLinks) break;
        const fs::path to = fs::read_symlink(p, ec);
        if (ec) return p;
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
    return std::nullopt;
}

std::string error_reason(int err) { return platform::errno_reason(err); }

}  // namespace tb::wb
