// Whether a file is a workbook: a zip archive whose central directory lists
// "xl/workbook.xml". Only the end of the file and its directory are read.
#include "workbook/workbook.h"

#include <algorithm>
#include <cstring>

namespace tb::wb {

namespace {

constexpr uint32_t kEndSignature = 0x06054b50, kEnd64Signature = 0x06064b50, kLocatorSignature = 0x07064b50,
                   kEntrySignature = 0x02014b50;
constexpr std::size_t kEndSize = 22, kLocatorSize = 20, kEnd64Size = 56, kEntrySize = 46;
constexpr uint64_t kLargestDirectory = 64u << 20;
constexpr std::string_view kWorkbookPart = "xl/workbook.xml";

uint64_t little(const std::string& b, std::size_t at, int bytes) {
    uint64_t v = 0;
    for (int k = bytes - 1; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(k)]);
    return v;
}

}  // namespace

bool looks_like_workbook(const std::function<std::string(uint64_t, std::size_t)>& read, uint64_t size) {
    if (size < kEndSize) return false;
    // The end record, followed by a comment of up to 64 KiB.
    const uint64_t tail_size = std::min<uint64_t>(size, kEndSize + 0xFFFF);
    const std::string tail = read(size - tail_size, static_cast<std::size_t>(tail_size));
    if (tail.size() != tail_size) return false;
    std::size_t end = std::string::npos;
    for (std::size_t at = tail.size() - kEndSize + 1; at-- > 0;)
        if (little(tail, at, 4) == kEndSignature) {
            end = at;
            break;
        }
    if (end == std::string::npos) return false;
    uint64_t directory_size = little(tail, end + 12, 4), directory_at = little(tail, end + 16, 4);
    if (directory_size == 0xFFFFFFFF || directory_at == 0xFFFFFFFF) {
        // Zip64: the locator just before the end record gives the zip64 end.
        if (end < kLocatorSize || little(tail, end - kLocatorSize, 4) != kLocatorSignature) return false;
        const uint64_t end64_at = little(tail, end - kLocatorSize + 8, 8);
        if (end64_at > size || size - end64_at < kEnd64Size) return false;
        const std::string end64 = read(end64_at, kEnd64Size);
        if (end64.size() != kEnd64Size || little(end64, 0, 4) != kEnd64Signature) return false;
        directory_size = little(end64, 40, 8);
        directory_at = little(end64, 48, 8);
    }
    if (directory_at > size || directory_size > size - directory_at || directory_size > kLargestDirectory) return false;
    const std::string directory = read(directory_at, static_cast<std::size_t>(directory_size));
    for (std::size_t at = 0; at + kEntrySize <= directory.size();) {
        if (little(directory, at, 4) != kEntrySignature) return false;
        const std::size_t name_size = little(directory, at + 28, 2), extra = little(directory, at + 30, 2),
                          comment = little(directory, at + 32, 2);
        if (at + kEntrySize + name_size > directory.size()) return false;
        if (std::string_view(directory).substr(at + kEntrySize, name_size) == kWorkbookPart) return true;
        at += kEntrySize + name_size + extra + comment;
    }
    return false;
}

}  // namespace tb::wb
