// Raw deflate streams, as zip entries hold them, and their CRC-32. A part
// that fits in memory is compressed whole with libdeflate (the faster
// compressor, which takes only whole buffers); a part too large for the
// save's memory budget goes through zlib a piece at a time. Not for use
// outside src/workbook.
#pragma once

#include "workbook/byte_buffer.h"

#include <cstdint>
#include <string_view>

struct libdeflate_compressor;
struct z_stream_s;

namespace tb::wb {

// libdeflate's level for whole parts: 5 gives files about 2% larger than
// level 6 (and than zlib's 6, which the reference uses) in 60% of the time.
inline constexpr int kWholeLevel = 5;
// zlib's level for parts compressed a piece at a time: 5 makes them about
// 2% larger than 6, in 60% of the time.
inline constexpr int kStreamLevel = 5;

uint32_t crc32(uint32_t crc, std::string_view data);

class WholeDeflater {
public:
    WholeDeflater();   // throws std::bad_alloc
    ~WholeDeflater();
    WholeDeflater(const WholeDeflater&) = delete;
    WholeDeflater& operator=(const WholeDeflater&) = delete;
    // `out` becomes the raw deflate stream of all of `in`. Throws std::bad_alloc.
    void compress(std::string_view in, ByteBuffer& out);

private:
    libdeflate_compressor* c_;
};

class StreamDeflater {
public:
    StreamDeflater();   // throws std::bad_alloc
    ~StreamDeflater();
    StreamDeflater(const StreamDeflater&) = delete;
    StreamDeflater& operator=(const StreamDeflater&) = delete;
    // Appends the compressed form of `in` (as far as it is settled) to `out`.
    void add(std::string_view in, ByteBuffer& out);
    // Appends the end of the stream to `out`.
    void finish(ByteBuffer& out);

private:
    void run(std::string_view in, ByteBuffer& out, int flush);
    z_stream_s* z_;
};

}  // namespace tb::wb
