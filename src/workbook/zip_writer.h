// The zip container of the package, behind a small interface: entries whose
// data is already compressed (raw deflate) and whose CRC-32 and sizes are
// known before a byte of them is written, then the central directory.
//
// Our own code rather than minizip's raw mode or libzip: with everything
// known in advance the container is three fixed records, written strictly
// in order (no seeking back, no data descriptors), through whatever writes
// the file; minizip would need its I/O callbacks mapped onto our file seam
// with seeks, and another library cross-built for Windows. Zip64 records are
// written where a size or an offset passes 4 GiB (or 65,535 entries).
// Not for use outside src/workbook.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tb::wb {

class ZipWriter {
public:
    // Every byte of the file goes to `sink`, in order; what it throws passes
    // through. `force_zip64` writes zip64 records even where not needed
    // (tests check that readers take them).
    using Sink = std::function<void(const void* data, std::size_t size)>;
    explicit ZipWriter(Sink sink, bool force_zip64 = false);

    // Starts an entry: `compressed_size` bytes of raw deflate data follow
    // through data(), inflating to `size` bytes whose CRC-32 is `crc`.
    // Throws std::logic_error when the previous entry's data was short.
    void begin(std::string_view name, uint32_t crc, uint64_t size, uint64_t compressed_size);
    void data(const void* bytes, std::size_t n);
    // Writes the central directory; the file is complete.
    void finish();

    uint64_t bytes_written() const { return offset_; }

private:
    struct Entry {
        std::string name;
        uint32_t crc;
        uint64_t size, compressed, offset;
    };
    void put(const void* p, std::size_t n);
    void check_entry_complete() const;

    Sink sink_;
    bool force_zip64_;
    uint64_t offset_ = 0;
    uint64_t entry_data_left_ = 0;
    std::vector<Entry> entries_;
};

}  // namespace tb::wb
