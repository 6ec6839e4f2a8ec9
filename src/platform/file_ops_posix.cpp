// The file operations of POSIX systems, relative to an open folder handle:
// the folder is looked up once, and every name after that is taken inside
// it (openat, renameat), so that the file written and the file renamed are
// in the same folder whatever happens to the path meanwhile.
#ifndef _WIN32

#include "platform/file_ops.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tb::platform {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(int err) { throw FileError(errno_reason(err)); }

// What a replacing file keeps: the permission bits and, when not ours, the
// owner.
FilePermissions permissions(const struct stat& st) {
    FilePermissions k;
    k.mode = st.st_mode & 07777;
    if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
        k.owner = st.st_uid;
        k.group = st.st_gid;
    }
    return k;
}

class PosixFile final : public NewFile {
public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override {
        if (fd_ >= 0) ::close(fd_);
    }
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    void write(const void* data, std::size_t size) override {
        const char* p = static_cast<const char*>(data);
        while (size > 0) {
            const ssize_t n = ::write(fd_, p, size);
            if (n < 0) {
                if (errno == EINTR) continue;
                fail(errno);
            }
            p += n;
            size -= static_cast<std::size_t>(n);
        }
    }
    void set_permissions(const FilePermissions& k) override {
        // Never the set-user, set-group or sticky bits of the file replaced.
        if (::fchmod(fd_, static_cast<mode_t>(k.mode & 0777)) != 0) fail(errno);
        if (k.owner >= 0 || k.group >= 0) {
            // Only the owner, or root, may give the file away: not being
            // allowed to leaves it ours, as a fresh file would be.
            [[maybe_unused]] const int ignored =
                ::fchown(fd_, static_cast<uid_t>(k.owner), static_cast<gid_t>(k.group));
        }
    }
    void flush_to_disk() override {
        // EINVAL: a file system (or device) that cannot sync, nothing to wait for.
        if (::fsync(fd_) != 0 && errno != EINVAL) fail(errno);
    }
    void close() override {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0 && errno != EINTR) fail(errno);
    }

private:
    int fd_;
};

class PosixFolder final : public Folder {
public:
    explicit PosixFolder(int fd) : fd_(fd) {}
    ~PosixFolder() override { ::close(fd_); }
    PosixFolder(const PosixFolder&) = delete;
    PosixFolder& operator=(const PosixFolder&) = delete;

    std::unique_ptr<NewFile> create_new(const fs::path& name, uint32_t mode) override {
        const int fd =
            ::openat(fd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode & 0777));
        if (fd >= 0) return std::make_unique<PosixFile>(fd);
        if (errno == EEXIST) return nullptr;
        fail(errno);
    }
    std::optional<FilePermissions> permissions_of(const fs::path& name) override {
        struct stat st {};
        if (::fstatat(fd_, name.c_str(), &st, 0) != 0) return std::nullopt;
        return permissions(st);
    }
    FileIdentity identity() override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) fail(errno);
        return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
    }
    std::optional<EntryFacts> look_up(const fs::path& name) override {
        struct stat st {};
        if (::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
        EntryFacts e;
        e.kind = S_ISREG(st.st_mode)   ? EntryFacts::Kind::Regular
                 : S_ISDIR(st.st_mode) ? EntryFacts::Kind::Folder
                 : S_ISLNK(st.st_mode) ? EntryFacts::Kind::Link
                                       : EntryFacts::Kind::Other;
        e.identity = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
        e.size = static_cast<uint64_t>(st.st_size);
        e.permissions = permissions(st);
        e.writable = ::faccessat(fd_, name.c_str(), W_OK, AT_EACCESS) == 0;
        return e;
    }
    std::string read(const fs::path& name, uint64_t offset, std::size_t size) override {
        const int fd = ::openat(fd_, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) fail(errno);
        std::string out(size, '\0');
        std::size_t got = 0;
        while (got < size) {
            const ssize_t n = ::pread(fd, out.data() + got, size - got, static_cast<off_t>(offset + got));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                const int err = errno;
                ::close(fd);
                fail(err);
            }
            if (n == 0) break;
            got += static_cast<std::size_t>(n);
        }
        ::close(fd);
        out.resize(got);
        return out;
    }
    void replace(const fs::path& from, const fs::path& to) override {
        if (::renameat(fd_, from.c_str(), fd_, to.c_str()) != 0) fail(errno);
    }
    void flush_to_disk() override {
        const int dir = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir < 0) return;
        ::fsync(dir);
        ::close(dir);
    }
    void remove(const fs::path& name) override { ::unlinkat(fd_, name.c_str(), 0); }

private:
    int fd_;
};

class PosixFileOps final : public FileOps {
public:
    std::unique_ptr<Folder> open_folder(const fs::path& dir) override {
        // O_PATH: a folder we may write into but not list is still one we
        // can save in.
#ifdef O_PATH
        const int flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
        const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif
        const int fd = ::open(dir.empty() ? "." : dir.c_str(), flags);
        if (fd < 0) fail(errno);
        return std::make_unique<PosixFolder>(fd);
    }
};

}  // namespace

std::optional<FileIdentity> identity_of(const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

FileOps& system_file_ops() {
    static PosixFileOps ops;
    return ops;
}

}  // namespace tb::platform

#endif  // !_WIN32
