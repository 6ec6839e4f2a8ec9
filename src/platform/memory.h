// Memory as the save needs it: how much the process has in use, and large
// buffers straight from the system.
#pragma once

#include <cstddef>

namespace tb::platform {

// Bytes the process could take on without its resident memory going past
// the highest it has been so far: the peak resident size minus the current
// one (Linux: VmHWM - VmRSS; Windows: peak minus current working set). 0
// when the system cannot tell. Throws: nothing.
std::size_t memory_below_peak();

// Large buffers whose memory goes back to the system the moment they are
// released, and whose pages take memory only once written. (The C
// library's heaps keep freed memory for reuse, and glibc moves buffers of
// up to 32 MiB into them once one has been freed: the process would then
// hold the largest buffers it ever had, long after.)
// allocate_pages: `size` bytes, or nullptr when there is no memory; with
// `resident`, the pages are made at once (one call instead of a fault per
// page, which costs much on virtual machines) for a buffer about to be
// filled.
// resize_pages: the block moved or grown to `new_size` (contents kept up to
// the smaller size), or nullptr, leaving `p` as it was. Throws: nothing.
void* allocate_pages(std::size_t size, bool resident = false);
void* resize_pages(void* p, std::size_t old_size, std::size_t new_size);
void release_pages(void* p, std::size_t size);

}  // namespace tb::platform
