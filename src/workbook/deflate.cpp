#include "workbook/deflate.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <new>
#include <stdexcept>

namespace tb::wb {

uint32_t crc32(uint32_t crc, std::string_view data) { return libdeflate_crc32(crc, data.data(), data.size()); }

WholeDeflater::WholeDeflater() : c_(libdeflate_alloc_compressor(kWholeLevel)) {
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

StreamDeflater::StreamDeflater() : z_(new z_stream{}) {
    // -15: a raw stream, without zlib's header and checksum.
    if (deflateInit2(z_, kStreamLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        delete z_;
        throw std::bad_alloc();
    }
}

StreamDeflater::~StreamDeflater() {
    deflateEnd(z_);
    delete z_;
}

void StreamDeflater::run(std::string_view in, ByteBuffer& out, int flush) {
    z_->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z_->avail_in = static_cast<uInt>(in.size());
    for (;;) {
        const std::size_t room = std::max<std::size_t>(64 * 1024, in.size() / 4);
        char* p = out.room(room);
        z_->next_out = reinterpret_cast<Bytef*>(p);
        z_->avail_out = static_cast<uInt>(room);
        const int rc = deflate(z_, flush);
        if (rc == Z_STREAM_ERROR) throw std::logic_error("zlib: deflate failed");
        out.commit(room - z_->avail_out);
        if (flush == Z_FINISH ? rc == Z_STREAM_END : (z_->avail_in == 0 && z_->avail_out != 0)) return;
    }
}

void StreamDeflater::add(std::string_view in, ByteBuffer& out) {
    // zlib counts input in 32-bit lengths.
    while (in.size() > (1u << 30)) {
        run(in.substr(0, 1u << 30), out, Z_NO_FLUSH);
        in.remove_prefix(1u << 30);
    }
    run(in, out, Z_NO_FLUSH);
}

void StreamDeflater::finish(ByteBuffer& out) { run({}, out, Z_FINISH); }

}  // namespace tb::wb
