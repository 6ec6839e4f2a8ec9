#include "workbook/zip_writer.h"

#include <algorithm>
#include <stdexcept>

namespace tb::wb {

namespace {

constexpr uint32_t kLocalHeader = 0x04034b50;
constexpr uint32_t kCentralHeader = 0x02014b50;
constexpr uint32_t kEnd = 0x06054b50;
constexpr uint32_t kEnd64 = 0x06064b50;
constexpr uint32_t kEnd64Locator = 0x07064b50;
constexpr uint16_t kDeflated = 8;
constexpr uint16_t kVersion = 20;     // 2.0: deflate
constexpr uint16_t kVersion64 = 45;   // 4.5: zip64
constexpr uint16_t kDosDate = (0 << 9) | (1 << 5) | 1;   // 1980-01-01, as spreadsheet files carry
constexpr uint32_t kMax32 = 0xFFFFFFFFu;

// Little-endian fields, as zip has them.
struct Record {
    std::string bytes;
    void u16(uint64_t v) { for (int i = 0; i < 2; ++i) bytes += static_cast<char>((v >> (8 * i)) & 0xFF); }
    void u32(uint64_t v) { for (int i = 0; i < 4; ++i) bytes += static_cast<char>((v >> (8 * i)) & 0xFF); }
    void u64(uint64_t v) { for (int i = 0; i < 8; ++i) bytes += static_cast<char>((v >> (8 * i)) & 0xFF); }
    void text(std::string_view s) { bytes += s; }
};

}  // namespace

ZipWriter::ZipWriter(Sink sink, bool force_zip64) : sink_(std::move(sink)), force_zip64_(force_zip64) {}

void ZipWriter::put(const void* p, std::size_t n) {
    sink_(p, n);
    offset_ += n;
}

void ZipWriter::check_entry_complete() const {
    if (entry_data_left_ != 0) throw std::logic_error("zip entry " + entries_.back().name + " is short of data");
}

void ZipWriter::begin(std::string_view name, uint32_t crc, uint64_t size, uint64_t compressed_size) {
    check_entry_complete();
    entries_.push_back({std::string(name), crc, size, compressed_size, offset_});
    const bool zip64 = force_zip64_ || size >= kMax32 || compressed_size >= kMax32;
    Record r;
    r.u32(kLocalHeader);
    r.u16(zip64 ? kVersion64 : kVersion);
    r.u16(0);   // flags: sizes and CRC are in this header, no data descriptor
    r.u16(kDeflated);
    r.u16(0);   // time 00:00:00
    r.u16(kDosDate);
    r.u32(crc);
    r.u32(zip64 ? kMax32 : compressed_size);
    r.u32(zip64 ? kMax32 : size);
    r.u16(name.size());
    r.u16(zip64 ? 20 : 0);
    r.text(name);
    if (zip64) {
        r.u16(0x0001);   // the zip64 extra field: both sizes
        r.u16(16);
        r.u64(size);
        r.u64(compressed_size);
    }
    put(r.bytes.data(), r.bytes.size());
    entry_data_left_ = compressed_size;
}

void ZipWriter::data(const void* bytes, std::size_t n) {
    if (n > entry_data_left_) throw std::logic_error("zip entry " + entries_.back().name + " is given too much data");
    put(bytes, n);
    entry_data_left_ -= n;
}

void ZipWriter::finish() {
    check_entry_complete();
    const uint64_t directory_offset = offset_;
    for (const Entry& e : entries_) {
        const bool big_size = force_zip64_ || e.size >= kMax32;
        const bool big_compressed = force_zip64_ || e.compressed >= kMax32;
        const bool big_offset = force_zip64_ || e.offset >= kMax32;
        const bool zip64 = big_size || big_compressed || big_offset;
        Record extra;
        if (zip64) {
            extra.u16(0x0001);
            extra.u16((big_size ? 8 : 0) + (big_compressed ? 8 : 0) + (big_offset ? 8 : 0));
            if (big_size) extra.u64(e.size);
            if (big_compressed) extra.u64(e.compressed);
            if (big_offset) extra.u64(e.offset);
        }
        Record r;
        r.u32(kCentralHeader);
        r.u16(zip64 ? kVersion64 : kVersion);   // made by (MS-DOS attributes)
        r.u16(zip64 ? kVersion64 : kVersion);   // needed
        r.u16(0);
        r.u16(kDeflated);
        r.u16(0);
        r.u16(kDosDate);
        r.u32(e.crc);
        r.u32(big_compressed ? kMax32 : e.compressed);
        r.u32(big_size ? kMax32 : e.size);
        r.u16(e.name.size());
        r.u16(extra.bytes.size());
        r.u16(0);   // comment
        r.u16(0);   // disk
        r.u16(0);   // internal attributes
        r.u32(0);   // external attributes
        r.u32(big_offset ? kMax32 : e.offset);
        r.text(e.name);
        r.text(extra.bytes);
        put(r.bytes.data(), r.bytes.size());
    }
    const uint64_t directory_size = offset_ - directory_offset;
    const uint64_t count = entries_.size();
    const bool zip64 = force_zip64_ || count >= 0xFFFF || directory_size >= kMax32 || directory_offset >= kMax32;
    Record r;
    if (zip64) {
        const uint64_t end64_offset = offset_;
        r.u32(kEnd64);
        r.u64(44);   // the record's size after this field
        r.u16(kVersion64);
        r.u16(kVersion64);
        r.u32(0);
        r.u32(0);
        r.u64(count);
        r.u64(count);
        r.u64(directory_size);
        r.u64(directory_offset);
        r.u32(kEnd64Locator);
        r.u32(0);
        r.u64(end64_offset);
        r.u32(1);
    }
    // Only the fields that overflow say "see the zip64 record".
    r.u32(kEnd);
    r.u16(0);
    r.u16(0);
    r.u16(std::min<uint64_t>(count, 0xFFFF));
    r.u16(std::min<uint64_t>(count, 0xFFFF));
    r.u32(std::min<uint64_t>(directory_size, kMax32));
    r.u32(std::min<uint64_t>(directory_offset, kMax32));
    r.u16(0);   // comment
    put(r.bytes.data(), r.bytes.size());
}

}  // namespace tb::wb
