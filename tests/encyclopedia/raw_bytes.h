// Records put together byte by byte at the documented offsets, so that the
// decoders and encoders are checked against the file layout itself rather
// than against each other.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace tb::test {

struct RawRecord {
    explicit RawRecord(std::size_t size) : bytes(size, '\0') {}

    RawRecord& i16(std::size_t offset, int v) {
        bytes.at(offset) = static_cast<char>(v & 0xFF);
        bytes.at(offset + 1) = static_cast<char>((v >> 8) & 0xFF);
        return *this;
    }
    RawRecord& i32(std::size_t offset, int64_t v) {
        for (int k = 0; k < 4; ++k) bytes.at(offset + k) = static_cast<char>((v >> (8 * k)) & 0xFF);
        return *this;
    }
    RawRecord& u8(std::size_t offset, int v) {
        bytes.at(offset) = static_cast<char>(v);
        return *this;
    }
    // Raw Windows-1252 bytes, no terminator added.
    RawRecord& text(std::size_t offset, const std::string& raw) {
        for (std::size_t i = 0; i < raw.size(); ++i) bytes.at(offset + i) = raw[i];
        return *this;
    }
    RawRecord& fill(std::size_t offset, std::size_t width, char c) {
        for (std::size_t i = 0; i < width; ++i) bytes.at(offset + i) = c;
        return *this;
    }

    std::string bytes;
};

inline void write_raw(const std::filesystem::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

inline std::string read_raw(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace tb::test
