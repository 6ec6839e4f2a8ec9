// What the readers and the writer of encyclopedia files share: a path as
// messages show it, and files opened by their native (on Windows, UTF-16)
// names and closed however the caller leaves.
#pragma once

#include "text/utf8.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace tb::enc {

inline std::string quoted(const std::filesystem::path& p) { return "'" + text::path_utf8(p) + "'"; }

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens `path` in binary mode for reading (`write` false) or writing; null
// with errno set when it cannot.
inline FileHandle open_file(const std::filesystem::path& path, bool write) {
#ifdef _WIN32
    return FileHandle(_wfopen(path.c_str(), write ? L"wb" : L"rb"));
#else
    return FileHandle(std::fopen(path.c_str(), write ? "wb" : "rb"));
#endif
}

}  // namespace tb::enc
