#include "platform/file_access.h"

#include <cerrno>

#ifdef _WIN32
#include <cstdio>
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

int creation_error(const std::filesystem::path& folder, const std::filesystem::path& name) {
#ifdef _WIN32
    // Windows file systems take names of up to 255 UTF-16 units; longer ones
    // would fail only at the last step of a save, with a vague reason.
    (void)folder;
    return name.native().size() > 255 ? ENAMETOOLONG : 0;
#else
    const long name_max = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (name_max > 0 && name.native().size() > static_cast<std::size_t>(name_max)) return ENAMETOOLONG;
    if (::access(folder.c_str(), W_OK | X_OK) != 0) return errno;
    return 0;
#endif
}

}  // namespace tb::platform
