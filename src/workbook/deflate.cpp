#include "workbook/deflate.h"

#include <libdeflate.h>
#include <zlib.h>

#include <new>
#include <stdexcept>

namespace tb::wb {

uint32_t crc32(uint32_t crc, std::string_view data) { return libdeflate_crc32(crc, data.data(), data.size()); }

WholeDeflater::WholeDeflater() : c_(libdeflate_alloc_compressor(kDeflateLevel)) {
    if (!c_) throw std::bad_alloc();
}

WholeDeflater::~WholeDeflater() { libdeflate_free_compressor(c_); }

void WholeDeflater::compress(std::string_view in, ByteBuffer& out) {
    // Room for the worst case: only the pages written become resident.
    out.clear();
    out.reserve(libdeflate_deflate_compress_bound(c_, in.size()));
    const std::size_t n = libdeflate_deflate_compress(c_, in.data(), in.size(), out.data(), out.capacity());
    if (n == 0) throw std::logic_error("libdeflate: the compressed part does not fit its bound");
    out.commit(n);
    out.shrink_to_fit();
}

PieceDeflater::PieceDeflater() : z_(new z_stream{}) {
    if (inflateInit2(z_, -15) != Z_OK) {   // -15: a raw stream
        delete z_;
        throw std::bad_alloc();
    }
}

PieceDeflater::~PieceDeflater() {
    inflateEnd(z_);
    delete z_;
}

void PieceDeflater::add(std::string_view piece, bool last, ByteBuffer& out) {
    whole_.compress(piece, piece_out_);
    if (last) {
        out.append(piece_out_.data(), piece_out_.size());
        return;
    }
    // Read the stream back block by block. Inflate stops after each block
    // (before the next one's header); the last two stops are where the
    // final block begins and where it ends.
    auto* in = reinterpret_cast<Bytef*>(piece_out_.data());
    inflateReset(z_);
    z_->next_in = in;
    z_->avail_in = static_cast<uInt>(piece_out_.size());
    unsigned char scratch[16384];
    uint64_t final_block = 0, end = 0;
    for (;;) {
        z_->next_out = scratch;
        z_->avail_out = sizeof scratch;
        const int rc = inflate(z_, Z_BLOCK);
        if (rc == Z_STREAM_END) break;
        if (rc != Z_OK && rc != Z_BUF_ERROR) throw std::logic_error("zlib cannot read libdeflate's stream back");
        if (rc == Z_BUF_ERROR && z_->avail_in == 0) throw std::logic_error("libdeflate's stream ends early");
        if (z_->data_type & 128) {
            final_block = end;
            end = static_cast<uint64_t>(z_->next_in - in) * 8 - (static_cast<unsigned>(z_->data_type) & 7);
        }
    }
    // The final block made not final, and after its end an empty stored
    // block (three zero bits, zeros to the byte boundary, then LEN 0 and
    // NLEN 0xFFFF).
    char* s = piece_out_.data();
    s[final_block / 8] = static_cast<char>(s[final_block / 8] & ~(1u << (final_block % 8)));
    const std::size_t kept = static_cast<std::size_t>((end + 3 + 7) / 8);
    piece_out_.reserve(kept);
    while (piece_out_.size() < kept) piece_out_.push_back('\0');
    s = piece_out_.data();
    s[end / 8] = static_cast<char>(s[end / 8] & ((1u << (end % 8)) - 1));
    for (std::size_t i = end / 8 + 1; i < kept; ++i) s[i] = '\0';
    out.append(s, kept);
    out.append("\x00\x00\xFF\xFF", 4);
}

}  // namespace tb::wb
