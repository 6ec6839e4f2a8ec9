// The parts of an .xlsx file, read back by a small reader of our own that
// checks what it reads (the records' signatures, zip64 records, each part's
// CRC-32 and size), and the comparison of two packages part by part.
#pragma once

#include <libdeflate.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tb::test {

struct ZipPart {
    std::string name;
    std::string data;   // inflated
};

namespace zip_detail {

inline uint64_t le(std::string_view s, std::size_t at, int bytes) {
    if (at + static_cast<std::size_t>(bytes) > s.size()) throw std::runtime_error("zip: a record runs past the end");
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
    return v;
}

// The zip64 extra field's values for the fields that hold 0xFFFFFFFF.
inline void zip64_extra(std::string_view extra, uint64_t* fields[], int n) {
    for (std::size_t at = 0; at + 4 <= extra.size();) {
        const uint64_t id = le(extra, at, 2), len = le(extra, at + 2, 2);
        if (id == 1) {
            std::size_t p = at + 4;
            for (int i = 0; i < n; ++i)
                if (*fields[i] == 0xFFFFFFFFu) *fields[i] = le(extra, (p += 8) - 8, 8);
            return;
        }
        at += 4 + len;
    }
    throw std::runtime_error("zip: a size or an offset needs a zip64 field that is missing");
}

}  // namespace zip_detail

inline std::vector<ZipPart> read_zip(const std::filesystem::path& file) {
    using zip_detail::le;
    std::ifstream in(file, std::ios::binary);
    const std::string z((std::istreambuf_iterator<char>(in)), {});
    const std::size_t end = z.rfind(std::string_view("PK\x05\x06", 4));
    if (end == std::string::npos) throw std::runtime_error("zip: no end of central directory");
    uint64_t count = le(z, end + 10, 2), dir = le(z, end + 16, 4);
    if (count == 0xFFFF || dir == 0xFFFFFFFFu) {
        if (end < 20 || le(z, end - 20, 4) != 0x07064b50) throw std::runtime_error("zip: no zip64 end locator");
        const uint64_t end64 = le(z, end - 12, 8);
        if (le(z, end64, 4) != 0x06064b50) throw std::runtime_error("zip: no zip64 end record");
        count = le(z, end64 + 32, 8);
        dir = le(z, end64 + 48, 8);
    }
    std::vector<ZipPart> parts;
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    for (uint64_t i = 0, at = dir; i < count; ++i) {
        if (le(z, at, 4) != 0x02014b50) throw std::runtime_error("zip: bad central directory record");
        const uint64_t crc = le(z, at + 16, 4), name_len = le(z, at + 28, 2), extra_len = le(z, at + 30, 2);
        uint64_t csize = le(z, at + 20, 4), usize = le(z, at + 24, 4), offset = le(z, at + 42, 4);
        std::string name = z.substr(at + 46, name_len);
        uint64_t* big[] = {&usize, &csize, &offset};
        if (usize == 0xFFFFFFFFu || csize == 0xFFFFFFFFu || offset == 0xFFFFFFFFu)
            zip_detail::zip64_extra(std::string_view(z).substr(at + 46 + name_len, extra_len), big, 3);
        at += 46 + name_len + extra_len + le(z, at + 32, 2);
        if (le(z, offset, 4) != 0x04034b50 || le(z, offset + 8, 2) != 8)
            throw std::runtime_error("zip: " + name + " has no deflated local record");
        const uint64_t data = offset + 30 + le(z, offset + 26, 2) + le(z, offset + 28, 2);
        if (data + csize > z.size()) throw std::runtime_error("zip: " + name + " runs past the end");
        std::string out(usize, '\0');
        std::size_t got = 0;
        if (libdeflate_deflate_decompress(d, z.data() + data, csize, out.data(), out.size(), &got) != LIBDEFLATE_SUCCESS ||
            got != usize || libdeflate_crc32(0, out.data(), out.size()) != crc) {
            libdeflate_free_decompressor(d);
            throw std::runtime_error("zip: " + name + " does not inflate to its size and CRC");
        }
        parts.push_back({std::move(name), std::move(out)});
    }
    libdeflate_free_decompressor(d);
    return parts;
}

// How two packages differ: their part names in order, then each part's
// bytes, but for docProps/core.xml (which holds the time of saving). ""
// when they are the same.
inline std::string package_difference(const std::filesystem::path& ours, const std::filesystem::path& reference) {
    const auto a = read_zip(ours), b = read_zip(reference);
    std::string names_a, names_b, out;
    for (const auto& p : a) names_a += p.name + "\n";
    for (const auto& p : b) names_b += p.name + "\n";
    if (names_a != names_b) return "the parts differ:\n" + names_a + "-- against --\n" + names_b;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].name == "docProps/core.xml" || a[i].data == b[i].data) continue;
        std::size_t at = 0;
        while (at < a[i].data.size() && at < b[i].data.size() && a[i].data[at] == b[i].data[at]) ++at;
        const std::size_t from = at < 60 ? 0 : at - 60;
        out += a[i].name + " differs at byte " + std::to_string(at) + ":\n  ours: " + a[i].data.substr(from, 160) +
               "\n  ref:  " + b[i].data.substr(from, 160) + "\n";
    }
    return out;
}

}  // namespace tb::test
