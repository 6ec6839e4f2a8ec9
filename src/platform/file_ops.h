// The file operations a save goes through, behind one seam: a folder opened
// once, and in it, by name, a new file created, written, given its final
// permissions, flushed to the disk, closed and renamed over the old file; or
// removed again when the save does not complete.
//
//     platform::FileOps& ops = platform::system_file_ops();
//     auto folder = ops.open_folder(dir);
//     auto file = folder->create_new(".tallybook-123.tmp");   // nullptr: name taken
//     file->write(data, size);
//     if (auto kept = folder->permissions_of("book.xlsx")) file->set_permissions(*kept);
//     file->flush_to_disk();
//     file->close();
//     folder->replace(".tallybook-123.tmp", "book.xlsx");
//     folder->flush_to_disk();
//
// Names are single path components inside the opened folder, so that an
// implementation can work relative to a folder handle (openat, renameat),
// and a test can put a fake in the system's place that records each step.
//
// Errors: every operation that can fail throws FileError, whose what() is
// the reason in plain words ("the disk is full", "permission denied", "the
// name is too long", ...), without the file's name: the caller names it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace tb::platform {

class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a file that replaces another keeps of it. On POSIX systems the
// permission bits and the owner; on Windows nothing (the folder's inherited
// access rules apply to the new file as they did to the old one).
struct FilePermissions {
    uint32_t mode = 0644;   // permission bits (07777)
    int64_t owner = -1;     // user and group ids; -1: as created
    int64_t group = -1;
    bool operator==(const FilePermissions&) const = default;
};

// Which file a name stands for: its device (volume) and its number there.
// Two names with one identity are one file (a hard link, or a folder seen
// through a symbolic link).
struct FileIdentity {
    uint64_t device = 0;
    uint64_t file = 0;
    bool operator==(const FileIdentity&) const = default;
};

// What a name in a folder is, looked at without following a link.
struct EntryFacts {
    enum class Kind { Regular, Folder, Link, Other } kind = Kind::Other;
    FileIdentity identity;
    uint64_t size = 0;
    FilePermissions permissions;
    bool writable = false;   // the user may write it (on Windows: not read-only)
};

// The identity of the file or folder at `path`, links followed; nullopt
// when it cannot be looked at. Throws: nothing.
std::optional<FileIdentity> identity_of(const std::filesystem::path& path);

// A new file open for writing. Destroying it closes it (errors ignored).
class NewFile {
public:
    virtual ~NewFile() = default;
    // Appends all `size` bytes. Throws FileError (a full disk, a size limit).
    virtual void write(const void* data, std::size_t size) = 0;
    // Gives the file the permission bits of `permissions` (and its owner,
    // where the system lets us; not being allowed to is no error).
    // Throws FileError when the bits cannot be set.
    virtual void set_permissions(const FilePermissions& permissions) = 0;
    // Returns once everything written is on the disk (fsync,
    // FlushFileBuffers). Throws FileError.
    virtual void flush_to_disk() = 0;
    // Closes the file. Throws FileError when the system reports a write
    // error that surfaced only now.
    virtual void close() = 0;
};

// An opened folder: the files the save makes are named inside it.
class Folder {
public:
    virtual ~Folder() = default;
    // A new, empty file `name`, made with the permission bits `mode`
    // (07777 aside, less the process's umask; Windows keeps the folder's
    // rules) so that it is never more open than it will end; nullptr when
    // something of that name exists. Throws FileError.
    virtual std::unique_ptr<NewFile> create_new(const std::filesystem::path& name, uint32_t mode = 0666) = 0;
    // The folder's own identity. Throws FileError.
    virtual FileIdentity identity() = 0;
    // What `name` is now; nullopt when there is nothing of that name (or it
    // cannot be looked at). Throws: nothing.
    virtual std::optional<EntryFacts> look_up(const std::filesystem::path& name) = 0;
    // Up to `size` bytes of the regular file `name` from `offset` (fewer at
    // its end), a link not followed. Throws FileError.
    virtual std::string read(const std::filesystem::path& name, uint64_t offset, std::size_t size) = 0;
    // What a file replacing `name` keeps of it; nullopt when there is no
    // such file (or it cannot be looked at). Throws: nothing.
    virtual std::optional<FilePermissions> permissions_of(const std::filesystem::path& name) = 0;
    // Renames `from` over `to` in one step: `to` is the old file or the new
    // one at every moment, never neither. Throws FileError ("the workbook is
    // open in another program" on Windows when another program holds `to`).
    virtual void replace(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // Makes the folder's entries (the rename just done) durable where the
    // system allows it. Throws: nothing (the file itself is on the disk
    // already; this only hastens the folder's record of its name).
    virtual void flush_to_disk() = 0;
    // Removes `name`, if it is there. Throws: nothing (a clean-up).
    virtual void remove(const std::filesystem::path& name) = 0;
};

class FileOps {
public:
    virtual ~FileOps() = default;
    // Opens the folder `dir` ("" is the current folder). Throws FileError
    // (a missing folder, no permission, not a folder).
    virtual std::unique_ptr<Folder> open_folder(const std::filesystem::path& dir) = 0;
};

// The system's own file operations. Throws: nothing.
FileOps& system_file_ops();

// A system error number (errno) in plain words: "permission denied", "the
// disk is full", "the name is too long", ...; the system's text for others.
// Throws: nothing.
std::string errno_reason(int err);

}  // namespace tb::platform
