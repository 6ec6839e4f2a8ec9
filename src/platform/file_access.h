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

// 0 when a file named `name` can be made in the existing `folder`; else the
// errno value that says why not: ENAMETOOLONG when the folder's file system
// takes no name that long, or what the system says about writing in the
// folder (EACCES, EROFS, ...). Windows tells only the name length here.
int creation_error(const std::filesystem::path& folder, const std::filesystem::path& name);

}  // namespace tb::platform
