// Files by their native names (UTF-16 on Windows, so that any character
// works), and whether a file of a given name can be made in a folder.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>

namespace tb::platform {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens `path` in binary mode for reading (`write` false) or writing; null
// with errno set when it cannot.
FileHandle open_file(const std::filesystem::path& path, bool write);

// 0 when a new file can be made in the existing `folder`; else the errno
// value that says why not (EACCES, EROFS, ENOSPC, ...). On Windows a file is
// made there and goes when it is closed (FILE_FLAG_DELETE_ON_CLOSE), as only
// trying tells what the folder's access rights, a write-protected disk or a
// share allow; elsewhere the system is asked (access()).
int folder_write_error(const std::filesystem::path& folder);

// 0 when a file named `name` can be made in the existing `folder`; else the
// errno value that says why not: ENAMETOOLONG when the folder's file system
// takes no name that long, or folder_write_error().
int creation_error(const std::filesystem::path& folder, const std::filesystem::path& name);

}  // namespace tb::platform
