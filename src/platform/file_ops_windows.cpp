// The file operations of Windows. A folder is kept by its path (Windows'
// file functions take whole paths) and held open from the start without
// sharing its deletion, so that it cannot be renamed or replaced while a
// save goes on in it; the new file stays open from creation to close, so no
// other program can slip in between.
#ifdef _WIN32

#include "platform/file_ops.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <system_error>

namespace tb::platform {

namespace {

namespace fs = std::filesystem;

// A Windows error code (GetLastError) in plain words.
std::string windows_error_reason(DWORD err) {
    switch (err) {
        case ERROR_DISK_FULL: case ERROR_HANDLE_DISK_FULL: return "the disk is full";
        case ERROR_ACCESS_DENIED: return "permission denied";
        case ERROR_SHARING_VIOLATION: case ERROR_LOCK_VIOLATION: return "the workbook is open in another program";
        case ERROR_PATH_NOT_FOUND: case ERROR_FILE_NOT_FOUND: return "the folder does not exist";
        case ERROR_FILENAME_EXCED_RANGE: return "the name is too long";
        case ERROR_INVALID_NAME: return "the name is not allowed";
        case ERROR_WRITE_PROTECT: return "the disk is write-protected";
        case ERROR_DIRECTORY: return "a part of the path is not a folder";
        case ERROR_TOO_MANY_OPEN_FILES: return "too many open files";
        default: return std::system_category().message(static_cast<int>(err));
    }
}

[[noreturn]] void fail(DWORD err) { throw FileError(windows_error_reason(err)); }

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

class WindowsFile final : public NewFile {
public:
    explicit WindowsFile(HANDLE h) : h_(h) {}
    ~WindowsFile() override {
        if (h_ != INVALID_HANDLE_VALUE) ::CloseHandle(h_);
    }
    WindowsFile(const WindowsFile&) = delete;
    WindowsFile& operator=(const WindowsFile&) = delete;

    void write(const void* data, std::size_t size) override {
        const char* p = static_cast<const char*>(data);
        while (size > 0) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
            DWORD written = 0;
            if (!::WriteFile(h_, p, chunk, &written, nullptr)) fail(::GetLastError());
            p += written;
            size -= written;
        }
    }
    // Windows keeps a file's access rules in the folder's inherited ACL,
    // which the new file gets as the old one had it: nothing to copy.
    void set_permissions(const FilePermissions&) override {}
    void flush_to_disk() override {
        if (!::FlushFileBuffers(h_)) fail(::GetLastError());
    }
    void close() override {
        const HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        if (!::CloseHandle(h)) fail(::GetLastError());
    }

private:
    HANDLE h_;
};

FileIdentity identity_of_handle(HANDLE h) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h, &info)) fail(::GetLastError());
    return {info.dwVolumeSerialNumber, (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

// A handle on `path` for looking at it: a link (reparse point) itself, not
// what it points at. INVALID_HANDLE_VALUE when it cannot be opened.
HANDLE open_to_look(const fs::path& path, bool follow) {
    return ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr);
}

class WindowsFolder final : public Folder {
public:
    WindowsFolder(fs::path dir, HANDLE held) : dir_(std::move(dir)), held_(held) {}
    ~WindowsFolder() override { ::CloseHandle(held_); }
    WindowsFolder(const WindowsFolder&) = delete;
    WindowsFolder& operator=(const WindowsFolder&) = delete;

    FileIdentity identity() override { return identity_of_handle(held_); }
    std::optional<EntryFacts> look_up(const fs::path& name) override {
        const HANDLE h = open_to_look(dir_ / name, false);
        if (h == INVALID_HANDLE_VALUE) return std::nullopt;
        BY_HANDLE_FILE_INFORMATION info{};
        const bool ok = ::GetFileInformationByHandle(h, &info);
        const DWORD type = ::GetFileType(h);
        ::CloseHandle(h);
        if (!ok) return std::nullopt;
        EntryFacts e;
        e.kind = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? EntryFacts::Kind::Link
                 : (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)   ? EntryFacts::Kind::Folder
                 : type == FILE_TYPE_DISK                               ? EntryFacts::Kind::Regular
                                                                        : EntryFacts::Kind::Other;
        e.identity = {info.dwVolumeSerialNumber, (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
        e.size = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
        e.writable = !(info.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
        return e;
    }
    std::string read(const fs::path& name, uint64_t offset, std::size_t size) override {
        const HANDLE h = ::CreateFileW((dir_ / name).c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h == INVALID_HANDLE_VALUE) fail(::GetLastError());
        std::string out(size, '\0');
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(offset);
        DWORD got = 0;
        const bool ok = ::SetFilePointerEx(h, at, nullptr, FILE_BEGIN) &&
                        ::ReadFile(h, out.data(), static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30)), &got,
                                   nullptr);
        const DWORD err = ::GetLastError();
        ::CloseHandle(h);
        if (!ok) fail(err);
        out.resize(got);
        return out;
    }
    std::unique_ptr<NewFile> create_new(const fs::path& name, uint32_t) override {
        const HANDLE h = ::CreateFileW((dir_ / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) return std::make_unique<WindowsFile>(h);
        const DWORD err = ::GetLastError();
        if (err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS) return nullptr;
        fail(err);
    }
    std::optional<FilePermissions> permissions_of(const fs::path& name) override {
        if (::GetFileAttributesW((dir_ / name).c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
        return FilePermissions{};
    }
    // One atomic step: the old workbook or the new one, never neither.
    void replace(const fs::path& from, const fs::path& to) override {
        const fs::path target = dir_ / to;
        if (::MoveFileExW((dir_ / from).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return;
        DWORD err = ::GetLastError();
        // A spreadsheet application that has the workbook open denies the
        // replace with "access denied"; say what the user can do about it.
        if (err == ERROR_ACCESS_DENIED && held_by_another_program(target)) err = ERROR_SHARING_VIOLATION;
        fail(err);
    }
    // MOVEFILE_WRITE_THROUGH returned only once the rename was on the disk.
    void flush_to_disk() override {}
    void remove(const fs::path& name) override { ::DeleteFileW((dir_ / name).c_str()); }

private:
    fs::path dir_;
    HANDLE held_;
};

class WindowsFileOps final : public FileOps {
public:
    std::unique_ptr<Folder> open_folder(const fs::path& dir) override {
        const fs::path d = dir.empty() ? fs::path(L".") : dir;
        const DWORD attributes = ::GetFileAttributesW(d.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) fail(::GetLastError());
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) fail(ERROR_DIRECTORY);
        // Held without FILE_SHARE_DELETE: the folder stays where it is.
        const HANDLE held = ::CreateFileW(d.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (held == INVALID_HANDLE_VALUE) fail(::GetLastError());
        return std::make_unique<WindowsFolder>(d, held);
    }
};

}  // namespace

std::optional<FileIdentity> identity_of(const fs::path& path) {
    const HANDLE h = open_to_look(path, true);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = ::GetFileInformationByHandle(h, &info);
    ::CloseHandle(h);
    if (!ok) return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

FileOps& system_file_ops() {
    static WindowsFileOps ops;
    return ops;
}

}  // namespace tb::platform

#endif  // _WIN32
