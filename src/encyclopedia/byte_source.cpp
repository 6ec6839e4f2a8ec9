// The two byte sources: a folder on disk and files held in memory.
#include "encyclopedia/byte_source.h"

#include "encyclopedia/encyclopedia.h"
#include "encyclopedia/file_io.h"
#include "platform/file_access.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace tb::enc {
namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 6> kCanonicalNames = {
    kTeamFile, kPlayerFile, kStatsFile, kTeamSeasonFile, kLeagueSeasonFile, kLeagueFile,
};

std::string lower_ascii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool is_canonical(const std::string& name) {
    return std::find(kCanonicalNames.begin(), kCanonicalNames.end(), name) != kCanonicalNames.end();
}

// Of two spellings of one name, the canonical one wins; otherwise the first
// in byte order, so that the choice does not depend on listing order.
bool better_spelling(const std::string& candidate, const std::string& current) {
    if (is_canonical(current)) return false;
    if (is_canonical(candidate)) return true;
    return candidate < current;
}


// Large enough that the cost per read call vanishes, small enough that the
// raw bytes never need as much memory as the decoded records.
constexpr std::size_t kChunkBytes = 2816 * 1024;

class FolderSource final : public ByteSource {
public:
    explicit FolderSource(fs::path folder) : folder_(std::move(folder)) {
        std::error_code ec;
        const fs::file_status st = fs::status(folder_, ec);
        if (ec && ec != std::errc::no_such_file_or_directory)
            throw EncyclopediaError("cannot open encyclopedia folder " + quoted(folder_) + ": " + ec.message());
        if (!fs::exists(st))
            throw EncyclopediaError("encyclopedia folder " + quoted(folder_) + " does not exist");
        if (!fs::is_directory(st))
            throw EncyclopediaError("encyclopedia folder " + quoted(folder_) + " is not a folder");

        fs::directory_iterator it(folder_, ec);
        if (ec) throw EncyclopediaError("cannot list encyclopedia folder " + quoted(folder_) + ": " + ec.message());
        // lower-case name -> (spelling, path)
        std::unordered_map<std::string, std::pair<std::string, fs::path>> chosen;
        for (; it != fs::directory_iterator(); it.increment(ec)) {
            if (ec) break;
            const fs::path file = it->path().filename();
            const std::string name = text::path_utf8(file);
            auto [pos, inserted] = chosen.try_emplace(lower_ascii(name), name, file);
            if (!inserted && better_spelling(name, pos->second.first)) pos->second = {name, file};
        }
        if (ec) throw EncyclopediaError("cannot list encyclopedia folder " + quoted(folder_) + ": " + ec.message());
        for (const auto& [key, spelling] : chosen) files_.emplace(key, folder_ / spelling.second);
    }

    std::optional<fs::path> find(std::string_view canonical_name) const override {
        const auto it = files_.find(lower_ascii(canonical_name));
        if (it == files_.end()) return std::nullopt;
        return it->second;
    }

    fs::path folder() const override { return folder_; }

    void read(std::string_view canonical_name, const ChunkSink& sink) const override {
        const auto found = find(canonical_name);
        if (!found) return;
        const fs::path& path = *found;
        std::error_code ec;
        const fs::file_status st = fs::status(path, ec);
        if (ec) {
            if (ec == std::errc::no_such_file_or_directory) return;  // gone since the listing
            throw EncyclopediaError("cannot read encyclopedia file " + quoted(path) + ": " + ec.message());
        }
        if (!fs::is_regular_file(st))
            throw EncyclopediaError("cannot read encyclopedia file " + quoted(path) + ": not a regular file");

        errno = 0;
        platform::FileHandle file = platform::open_file(path, false);
        if (!file) {
            const int err = errno;
            if (err == ENOENT) return;
            throw EncyclopediaError("cannot open encyclopedia file " + quoted(path) + ": " +
                                    std::strerror(err ? err : EIO));
        }
        std::setvbuf(file.get(), nullptr, _IONBF, 0);  // we read big blocks ourselves
        std::vector<unsigned char> buffer(kChunkBytes);
        for (;;) {
            const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file.get());
            if (got > 0) sink(buffer.data(), got);
            if (got < buffer.size()) break;
        }
        if (std::ferror(file.get())) {
            const int err = errno;
            throw EncyclopediaError("cannot read encyclopedia file " + quoted(path) + ": " +
                                    std::strerror(err ? err : EIO));
        }
    }

private:
    fs::path folder_;
    std::unordered_map<std::string, fs::path> files_;  // lower-case name -> path
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::map<std::string, std::string> files) {
        for (auto& [name, bytes] : files) files_.emplace(lower_ascii(name), Entry{name, std::move(bytes)});
    }

    std::optional<fs::path> find(std::string_view canonical_name) const override {
        const auto it = files_.find(lower_ascii(canonical_name));
        if (it == files_.end()) return std::nullopt;
        return fs::path(it->second.name);
    }

    void read(std::string_view canonical_name, const ChunkSink& sink) const override {
        const auto it = files_.find(lower_ascii(canonical_name));
        if (it == files_.end() || it->second.bytes.empty()) return;
        sink(reinterpret_cast<const unsigned char*>(it->second.bytes.data()), it->second.bytes.size());
    }

private:
    struct Entry {
        std::string name;
        std::string bytes;
    };
    std::unordered_map<std::string, Entry> files_;
};

}  // namespace

std::shared_ptr<const ByteSource> folder_source(const fs::path& folder) {
    return std::make_shared<FolderSource>(folder);
}

std::shared_ptr<const ByteSource> memory_source(std::map<std::string, std::string> files) {
    return std::make_shared<MemorySource>(std::move(files));
}

}  // namespace tb::enc
