// Records put together byte by byte at the documented offsets, so that the
// decoders and encoders are checked against the file layout itself rather
// than against each other.
#pragma once

#include "encyclopedia/encyclopedia.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace tb::test {

struct RawRecord {
    explicit RawRecord(std::size_t size, char filler = '\0') : bytes(size, filler) {}

    // Little-endian integer of `width` bytes.
    RawRecord& put(std::size_t offset, int width, int64_t v) {
        for (int k = 0; k < width; ++k) bytes.at(offset + k) = static_cast<char>((v >> (8 * k)) & 0xFF);
        return *this;
    }
    RawRecord& i16(std::size_t offset, int v) { return put(offset, 2, v); }
    // Raw Windows-1252 bytes, no terminator added.
    RawRecord& text(std::size_t offset, const std::string& raw) {
        std::copy(raw.begin(), raw.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
        return *this;
    }

    std::string bytes;
};

inline const unsigned char* bytes_of(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

inline void write_raw(const std::filesystem::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary).write(content.data(), static_cast<std::streamsize>(content.size()));
}

inline std::string read_raw(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The message of the EncyclopediaError that f throws, or "" when it throws none.
template <class F>
std::string error_of(F&& f) {
    try {
        f();
    } catch (const tb::enc::EncyclopediaError& e) {
        return e.what();
    }
    return "";
}

}  // namespace tb::test
