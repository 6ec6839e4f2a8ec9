#include "platform/file_access.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#else
#include <unistd.h>
#endif

namespace tb::platform {

FileHandle open_file(const std::filesystem::path& path, bool write) {
#ifdef _WIN32
    return FileHandle(_wfopen(path.c_str(), write ? L"wb" : L"rb"));
#else
    return FileHandle(std::fopen(path.c_str(), write ? "wb" : "rb"));
#endif
}

#ifdef _WIN32
namespace {

int errno_of(DWORD error) {
    switch (error) {
        case ERROR_WRITE_PROTECT: return EROFS;
        case ERROR_DISK_FULL: case ERROR_HANDLE_DISK_FULL: return ENOSPC;
        case ERROR_FILE_NOT_FOUND: case ERROR_PATH_NOT_FOUND: return ENOENT;
        case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
        default: return EACCES;
    }
}

}  // namespace
#endif

int folder_write_error(const std::filesystem::path& folder) {
#ifdef _WIN32
    // A name of this process that no other file has; another is tried when
    // one is taken.
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::wstring name = L".tb-write-probe-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(counter++) + L".tmp";
        const HANDLE h = CreateFileW((folder / name).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
                                     nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
            return 0;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return errno_of(error);
    }
    return EEXIST;
#else
    return ::access(folder.c_str(), W_OK | X_OK) == 0 ? 0 : errno;
#endif
}

int creation_error(const std::filesystem::path& folder, const std::filesystem::path& name) {
#ifdef _WIN32
    // Windows file systems take names of up to 255 UTF-16 units; longer ones
    // would fail only at the last step of a save, with a vague reason.
    if (name.native().size() > 255) return ENAMETOOLONG;
#else
    const long name_max = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (name_max > 0 && name.native().size() > static_cast<std::size_t>(name_max)) return ENAMETOOLONG;
#endif
    return folder_write_error(folder);
}

}  // namespace tb::platform
