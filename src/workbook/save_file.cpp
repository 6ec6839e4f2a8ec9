// The file a save writes: a temporary file beside the target, flushed to the
// disk and given the target's permission bits, then renamed over it; and
// system errors in plain words.
#include "workbook/workbook.h"
#include "workbook/workbook_internal.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tb::wb {

namespace fs = std::filesystem;

namespace {

// Reserves a fresh name beside the target, so that the rename stays on one
// file system. The name is short whatever the target's, so that any name the
// file system takes for the workbook works.
fs::path reserve_temp(const fs::path& target, const fs::path& shown) {
    const fs::path dir = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path tmp =
            dir / (".tallybook-" + std::to_string(::getpid()) + "-" + std::to_string(rd() % 1000000) + ".tmp");
        const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return tmp;
        }
        if (errno != EEXIST) save_failed_errno(shown, errno);
    }
    save_failed(shown, "no free temporary file name in " + dir.string());
}

// The finished file reaches the disk before it replaces the old one.
void flush_to_disk(const fs::path& file, const fs::path& shown) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) save_failed_errno(shown, errno);
    const int rc = ::fsync(fd);
    const int err = errno;
    ::close(fd);
    if (rc != 0 && err != EINVAL) save_failed_errno(shown, err);
}

// A replaced workbook keeps its permission bits (and, where we may, its owner).
void keep_mode_of(const fs::path& old_file, const fs::path& new_file, const fs::path& shown) {
    struct stat st {};
    if (::stat(old_file.c_str(), &st) != 0) return;   // a new workbook
    if (::chmod(new_file.c_str(), st.st_mode & 07777) != 0) save_failed_errno(shown, errno);
    if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
        [[maybe_unused]] const int ignored = ::chown(new_file.c_str(), st.st_uid, st.st_gid);
    }
}

}  // namespace

void save_failed(const fs::path& path, const std::string& reason) {
    throw WorkbookError("cannot save the workbook to " + path.string() + ": " + reason);
}

void save_failed_errno(const fs::path& path, int err) { save_failed(path, error_reason(err)); }

TempFile::TempFile(const fs::path& target, const fs::path& shown) : path_(reserve_temp(target, shown)) {}

TempFile::~TempFile() {
    if (!kept_) {
        std::error_code ec;
        fs::remove(path_, ec);
    }
}

void TempFile::finish(const fs::path& target, const fs::path& shown) {
    flush_to_disk(path_, shown);
    keep_mode_of(target, path_, shown);
}

void TempFile::commit(const fs::path& target, const fs::path& shown) {
    std::error_code ec;
    fs::rename(path_, target, ec);
    if (ec) save_failed(shown, error_reason(ec.value()));
    kept_ = true;
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

std::string error_reason(int err) {
    switch (err) {
        case ENOSPC: return "the disk is full";
#ifdef EDQUOT
        case EDQUOT: return "the disk quota is used up";
#endif
        case EACCES: case EPERM: return "permission denied";
        case ENAMETOOLONG: return "the name is too long";
        case ENOTDIR: return "a part of the path is not a folder";
        case ENOENT: return "the folder does not exist";
        case EROFS: return "the file system is read-only";
        case EISDIR: return "it is a folder";
        case ELOOP: return "too many symbolic links";
        case EIO: return "an input/output error";
        default: return std::strerror(err);
    }
}

}  // namespace tb::wb
