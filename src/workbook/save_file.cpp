// The file a save writes: a temporary file beside the target, flushed to the
// disk and given the target's permission bits, then renamed over it; and
// system errors in plain words.
#include "workbook/workbook.h"
#include "workbook/workbook_internal.h"
#include "text/utf8.h"

#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tb::wb {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32

[[noreturn]] void save_failed_win32(const fs::path& shown, DWORD err) {
    save_failed(shown, windows_error_reason(err));
}

// Reserves a fresh name beside the target, so that the replace stays on one
// volume. The name is short whatever the target's.
fs::path reserve_temp(const fs::path& target, const fs::path& shown) {
    const fs::path dir = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path tmp = dir / (".tallybook-" + std::to_string(::GetCurrentProcessId()) + "-" +
                                    std::to_string(rd() % 1000000) + ".tmp");
        const HANDLE h = ::CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            ::CloseHandle(h);
            return tmp;
        }
        const DWORD err = ::GetLastError();
        if (err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS) save_failed_win32(shown, err);
    }
    save_failed(shown, "no free temporary file name in " + text::path_utf8(dir));
}

// The finished file reaches the disk before it replaces the old one.
void flush_to_disk(const fs::path& file, const fs::path& shown) {
    const HANDLE h = ::CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) save_failed_win32(shown, ::GetLastError());
    const BOOL flushed = ::FlushFileBuffers(h);
    const DWORD err = ::GetLastError();
    ::CloseHandle(h);
    if (!flushed) save_failed_win32(shown, err);
}

// Windows keeps a file's access rules in the folder's inherited ACL, which
// the new file gets as the old one had it; nothing to copy.
void keep_mode_of(const fs::path&, const fs::path&, const fs::path&) {}

// Whether another program holds `file` open so that it cannot be replaced.
bool held_by_another_program(const fs::path& file) {
    const HANDLE h = ::CreateFileW(file.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        ::CloseHandle(h);
        return false;
    }
    return ::GetLastError() == ERROR_SHARING_VIOLATION;
}

// One atomic step: the old workbook or the new one, never neither.
void replace_file(const fs::path& from, const fs::path& to, const fs::path& shown) {
    if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return;
    DWORD err = ::GetLastError();
    // A spreadsheet application that has the workbook open denies the
    // replace with "access denied"; say what the user can do about it.
    if (err == ERROR_ACCESS_DENIED && held_by_another_program(to)) err = ERROR_SHARING_VIOLATION;
    save_failed_win32(shown, err);
}

#else

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
    save_failed(shown, "no free temporary file name in " + text::path_utf8(dir));
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

// rename() replaces the target in one step.
void replace_file(const fs::path& from, const fs::path& to, const fs::path& shown) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec) save_failed(shown, error_reason(ec.value()));
}

#endif

}  // namespace

void save_failed(const fs::path& path, const std::string& reason) {
    throw WorkbookError("cannot save the workbook to " + text::path_utf8(path) + ": " + reason);
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
    replace_file(path_, target, shown);
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

#ifdef _WIN32
std::string windows_error_reason(unsigned long err) {
    switch (err) {
        case ERROR_DISK_FULL: case ERROR_HANDLE_DISK_FULL: return "the disk is full";
        case ERROR_ACCESS_DENIED: return "permission denied";
        case ERROR_SHARING_VIOLATION: case ERROR_LOCK_VIOLATION: return "the workbook is open in another program";
        case ERROR_PATH_NOT_FOUND: case ERROR_FILE_NOT_FOUND: return "the folder does not exist";
        case ERROR_FILENAME_EXCED_RANGE: return "the name is too long";
        case ERROR_INVALID_NAME: return "the name is not allowed";
        case ERROR_WRITE_PROTECT: return "the disk is write-protected";
        case ERROR_DIRECTORY: return "a part of the path is not a folder";
        default: return std::system_category().message(static_cast<int>(err));
    }
}
#endif

}  // namespace tb::wb
