// Where the bytes of an encyclopedia's files come from: a folder on disk, or
// memory (tests and fuzzing feed the readers and a whole run this way).
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tb::enc {

// Receives a file's bytes in order, one chunk at a time.
using ChunkSink = std::function<void(const unsigned char* data, std::size_t size)>;

class ByteSource {
public:
    virtual ~ByteSource() = default;

    // Where a file of the encyclopedia is (a path, or just its name for
    // memory), or nullopt when the source has no such file. Names are the
    // canonical ones ("ENCTEAM.DAT", "enctmyr.dat", ...); case is ignored.
    virtual std::optional<std::filesystem::path> find(std::string_view canonical_name) const = 0;

    // Hands every byte of the file to `sink`, in order. A file the source
    // does not have gives nothing. Throws EncyclopediaError, naming the file
    // and the reason, when a file that is there cannot be read.
    virtual void read(std::string_view canonical_name, const ChunkSink& sink) const = 0;

    // The folder the files are in; empty for memory.
    virtual std::filesystem::path folder() const { return {}; }
};

// The files of a folder, found without regard to letter case (when several
// names match, the canonical spelling wins, otherwise the first in byte
// order). Files are opened read-only; nothing is ever created in the folder.
// Throws EncyclopediaError when `folder` does not exist, is not a folder, or
// cannot be listed.
std::shared_ptr<const ByteSource> folder_source(const std::filesystem::path& folder);

// Files held in memory, by name (looked up without regard to letter case).
std::shared_ptr<const ByteSource> memory_source(std::map<std::string, std::string> files);

}  // namespace tb::enc
