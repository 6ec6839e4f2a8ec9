// Raw deflate streams, as zip entries hold them, and their CRC-32, made by
// libdeflate, which takes only whole buffers: a part that fits in memory is
// compressed whole; a part too large for the save's memory budget is
// compressed a piece at a time and the pieces' streams joined into one. Not
// for use outside src/workbook.
#pragma once

#include "workbook/byte_buffer.h"

#include <cstdint>
#include <string_view>

struct libdeflate_compressor;
struct z_stream_s;

namespace tb::wb {

// libdeflate's level: 5 gives files about 2% larger than level 6 (and than
// zlib's 6, which the reference writer uses) in 60% of the time.
inline constexpr int kDeflateLevel = 5;

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

// One stream from pieces compressed on their own. Each piece but the last
// ends as zlib's sync flush ends a stream's piece: its final block made not
// final, then an empty stored block that brings the next piece to a byte
// boundary. Where a piece's final block begins is found by zlib's inflate,
// which can stop at every block boundary.
class PieceDeflater {
public:
    PieceDeflater();   // throws std::bad_alloc
    ~PieceDeflater();
    PieceDeflater(const PieceDeflater&) = delete;
    PieceDeflater& operator=(const PieceDeflater&) = delete;
    // Appends the compressed `piece` to `out`; `last` ends the stream.
    // Throws std::bad_alloc, std::logic_error when libdeflate's stream
    // cannot be read back (an internal fault).
    void add(std::string_view piece, bool last, ByteBuffer& out);

private:
    WholeDeflater whole_;
    z_stream_s* z_;
    ByteBuffer piece_out_;
};

}  // namespace tb::wb
