#include "workbook/byte_buffer.h"

#include "platform/memory.h"

#include <cstdlib>
#include <new>

namespace tb::wb {

namespace {

constexpr std::size_t kPagesFrom = 256 * 1024;

bool in_pages(std::size_t capacity) { return capacity >= kPagesFrom; }

void* take(std::size_t capacity, bool resident) {
    return in_pages(capacity) ? platform::allocate_pages(capacity, resident) : std::malloc(capacity);
}

void give_back(void* p, std::size_t capacity) {
    if (in_pages(capacity)) platform::release_pages(p, capacity);
    else std::free(p);
}

}  // namespace

void ByteBuffer::move_to(std::size_t capacity, bool resident) {
    void* p = nullptr;
    if (data_ && in_pages(cap_) && in_pages(capacity)) {
        p = platform::resize_pages(data_, cap_, capacity);
    } else if (data_ && !in_pages(cap_) && !in_pages(capacity)) {
        p = std::realloc(data_, capacity);
    } else {
        p = take(capacity, resident);
        if (p && data_) {
            std::memcpy(p, data_, size_ < capacity ? size_ : capacity);
            give_back(data_, cap_);
        }
    }
    if (!p) throw std::bad_alloc();
    data_ = static_cast<char*>(p);
    cap_ = capacity;
    if (size_ > cap_) size_ = cap_;
}

void ByteBuffer::shrink_to_fit() {
    if (size_ == cap_) return;
    if (size_ == 0) {
        release();
        return;
    }
    try {
        move_to(size_);
    } catch (const std::bad_alloc&) {
        // Keeping the larger block is no harm.
    }
}

void ByteBuffer::release() noexcept {
    if (data_) give_back(data_, cap_);
    data_ = nullptr;
    size_ = cap_ = 0;
}

}  // namespace tb::wb
