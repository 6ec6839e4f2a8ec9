// The byte sources: records split across chunks, memory and folder alike,
// and what reading a file found.
#include "encyclopedia/encyclopedia.h"
#include "support/encyclopedia_builder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace enc = tb::enc;
namespace fs = std::filesystem;

namespace {

// Hands a file over in chunks of random small sizes, so that records start
// and end anywhere in a chunk.
class DribbleSource final : public enc::ByteSource {
public:
    DribbleSource(std::string name, std::string bytes, unsigned seed)
        : name_(std::move(name)), bytes_(std::move(bytes)), seed_(seed) {}
    std::optional<fs::path> find(std::string_view n) const override {
        return n == name_ ? std::optional<fs::path>(name_) : std::nullopt;
    }
    void read(std::string_view n, const enc::ChunkSink& sink) const override {
        if (n != name_) return;
        std::mt19937 rng(seed_);
        for (std::size_t at = 0; at < bytes_.size();) {
            const std::size_t len = std::min<std::size_t>(1 + rng() % 700, bytes_.size() - at);
            sink(reinterpret_cast<const unsigned char*>(bytes_.data()) + at, len);
            at += len;
        }
    }

private:
    std::string name_, bytes_;
    unsigned seed_;
};

std::string stats_bytes(int lines) {
    std::string bytes;
    for (int i = 1; i <= lines; ++i)
        bytes += enc::encode(tb::test::hitter_line(i, 1990 + i % 30, 2, i % 7, "Näme" + std::to_string(i), "F"));
    return bytes;
}

TEST(ByteSource, RecordsSplitAcrossChunksDecodeAsWholeOnes) {
    const std::string bytes = stats_bytes(40) + "tail";   // a partial record of 4 bytes
    const auto whole = enc::decode_records<enc::PlayerSeasonStats>(
        reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    ASSERT_EQ(whole.size(), 40u);
    for (unsigned seed = 1; seed <= 20; ++seed) {
        enc::FileFacts facts;
        const auto got = enc::Encyclopedia(std::make_shared<DribbleSource>("ENCPLSTATS.DAT", bytes, seed))
                             .read_stats(&facts);
        ASSERT_EQ(got.size(), whole.size()) << seed;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].LastName, whole[i].LastName);
            EXPECT_EQ(got[i].PlayerId, whole[i].PlayerId);
        }
        EXPECT_EQ(facts.records, 40u);
        EXPECT_EQ(facts.partial_bytes, 4u);
        EXPECT_EQ(facts.bytes, bytes.size());
    }
}

TEST(ByteSource, MemoryAndFolderGiveTheSameRecordsAndFacts) {
    tb::test::TempDir dir;
    const std::string bytes = stats_bytes(3) + "xy";
    std::ofstream(dir / "encplstats.dat", std::ios::binary) << bytes;
    enc::FileFacts from_folder, from_memory;
    const auto a = enc::Encyclopedia(dir.path()).read_stats(&from_folder);
    const auto b = enc::Encyclopedia(enc::memory_source({{"ENCPLSTATS.DAT", bytes}})).read_stats(&from_memory);
    ASSERT_EQ(a.size(), 3u);
    ASSERT_EQ(b.size(), 3u);
    EXPECT_EQ(a[2].LastName, b[2].LastName);
    for (const auto& f : {from_folder, from_memory}) {
        EXPECT_TRUE(f.present);
        EXPECT_EQ(f.partial_bytes, 2u);
    }
    enc::FileFacts missing;
    EXPECT_TRUE(enc::Encyclopedia(enc::memory_source({})).read_teams(&missing).empty());
    EXPECT_FALSE(missing.present);
}

TEST(ByteSource, FileProblemsInWords) {
    struct Case {
        enc::FileFacts facts;
        std::size_t used;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {{false, 0, 0, 0}, 0, {"is missing"}},
        {{true, 0, 0, 0}, 0, {"is empty"}},
        {{true, 20, 0, 20}, 0, {"ends with a partial record of 20 bytes, which is ignored", "has no whole record"}},
        {{true, 112, 2, 0}, 0, {"has no used record (2 records, none passes its tests)"}},
        {{true, 57, 1, 1}, 1, {"ends with a partial record of 1 bytes, which is ignored"}},
        {{true, 112, 2, 0}, 1, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(enc::file_problems(c.facts, c.used), c.words);
}

}  // namespace
