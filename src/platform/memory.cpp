#include "platform/memory.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <psapi.h>
#else
#include <sys/mman.h>

#include <cstdio>
#endif
#include <cstring>

namespace tb::platform {

#ifdef _WIN32

std::size_t memory_below_peak() {
    // The kernel32 entry point: psapi.dll would be one more DLL to ship.
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    if (!::K32GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof pmc)) return 0;
    return pmc.PeakWorkingSetSize > pmc.WorkingSetSize ? pmc.PeakWorkingSetSize - pmc.WorkingSetSize : 0;
}

void* allocate_pages(std::size_t size, bool) {
    return ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void* resize_pages(void* p, std::size_t old_size, std::size_t new_size) {
    void* q = allocate_pages(new_size);
    if (!q) return nullptr;
    std::memcpy(q, p, old_size < new_size ? old_size : new_size);
    release_pages(p, old_size);
    return q;
}

void release_pages(void* p, std::size_t) {
    if (p) ::VirtualFree(p, 0, MEM_RELEASE);
}

#else

std::size_t memory_below_peak() {
    std::FILE* f = std::fopen("/proc/self/status", "re");
    if (!f) return 0;
    unsigned long long peak_kb = 0, now_kb = 0;
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) std::sscanf(line + 6, "%llu", &peak_kb);
        else if (std::strncmp(line, "VmRSS:", 6) == 0) std::sscanf(line + 6, "%llu", &now_kb);
    }
    std::fclose(f);
    return peak_kb > now_kb ? static_cast<std::size_t>(peak_kb - now_kb) * 1024 : 0;
}

void* allocate_pages(std::size_t size, bool resident) {
    void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | (resident ? MAP_POPULATE : 0),
                     -1, 0);
    return p == MAP_FAILED ? nullptr : p;
}

void* resize_pages(void* p, std::size_t old_size, std::size_t new_size) {
    // Moved by remapping its pages: never two copies at once.
    void* q = ::mremap(p, old_size, new_size, MREMAP_MAYMOVE);
    return q == MAP_FAILED ? nullptr : q;
}

void release_pages(void* p, std::size_t size) {
    if (p) ::munmap(p, size);
}

#endif

}  // namespace tb::platform
