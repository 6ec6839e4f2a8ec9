// A growable run of bytes for the package writer: the XML of a part as it is
// generated, and its compressed form. Not for use outside src/workbook.
//
// Past a quarter of a megabyte it lives in pages straight from the system
// (platform/memory.h): reserving room then touches no page (a part's XML is
// reserved at its estimated size, and only what is written becomes
// resident), growing remaps instead of copying (no moment with two copies),
// and releasing gives the memory back at once, so that the save's budget
// counts what the process really holds.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>
#include <utility>

namespace tb::wb {

class ByteBuffer {
public:
    ByteBuffer() = default;
    explicit ByteBuffer(std::size_t capacity) { reserve(capacity); }
    ~ByteBuffer() { release(); }
    ByteBuffer(ByteBuffer&& o) noexcept
        : data_(std::exchange(o.data_, nullptr)), size_(std::exchange(o.size_, 0)), cap_(std::exchange(o.cap_, 0)) {}
    ByteBuffer& operator=(ByteBuffer&& o) noexcept {
        if (this != &o) {
            release();
            data_ = std::exchange(o.data_, nullptr);
            size_ = std::exchange(o.size_, 0);
            cap_ = std::exchange(o.cap_, 0);
        }
        return *this;
    }
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    const char* data() const { return data_; }
    char* data() { return data_; }
    std::size_t size() const { return size_; }
    std::size_t capacity() const { return cap_; }
    bool empty() const { return size_ == 0; }
    std::string_view view() const { return {data_, size_}; }

    // Room for at least `capacity` bytes in all; with `resident`, made
    // resident at once, for a buffer about to be filled. Throws
    // std::bad_alloc.
    void reserve(std::size_t capacity, bool resident = false) {
        if (capacity > cap_) move_to(capacity, resident);
    }
    // Gives back the room beyond the bytes held.
    void shrink_to_fit();
    void clear() { size_ = 0; }
    // Frees the memory.
    void release() noexcept;

    void append(const char* p, std::size_t n) {
        if (n > cap_ - size_) grow(n);
        if (n) std::memcpy(data_ + size_, p, n);
        size_ += n;
    }
    void append(std::string_view s) { append(s.data(), s.size()); }
    void push_back(char c) {
        if (size_ == cap_) grow(1);
        data_[size_++] = c;
    }
    // `n` writable bytes at the end, made part of the buffer by commit().
    char* room(std::size_t n) {
        if (n > cap_ - size_) grow(n);
        return data_ + size_;
    }
    void commit(std::size_t n) { size_ += n; }
    void commit_to(const char* end) { size_ = static_cast<std::size_t>(end - data_); }

private:
    void grow(std::size_t more) {
        std::size_t want = cap_ + cap_ / 2;
        if (want < size_ + more) want = size_ + more;
        if (want < 256) want = 256;
        move_to(want);
    }
    void move_to(std::size_t capacity, bool resident = false);

    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t cap_ = 0;
};

}  // namespace tb::wb
