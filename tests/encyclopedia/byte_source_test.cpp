// The byte sources: records split across chunks, memory and folder alike,
// and what reading a file found.
#include "encyclopedia/encyclopedia.h"
#include "support/encyclopedia_builder.h"

#include <gtest/gtest.h>

#include <random>

namespace enc = tb::enc;
namespace fs = std::filesystem;

namespace {

// Hands the statistics file over in chunks of random small sizes, so that
// records start and end anywhere in a chunk.
struct DribbleSource final : enc::ByteSource {
    DribbleSource(std::string b, unsigned s) : bytes(std::move(b)), seed(s) {}
    std::string bytes;
    unsigned seed;
    std::optional<fs::path> find(std::string_view n) const override {
        return n == enc::kStatsFile ? std::optional<fs::path>(n) : std::nullopt;
    }
    void read(std::string_view n, const enc::ChunkSink& sink) const override {
        std::mt19937 rng(seed);
        for (std::size_t at = 0, len = 0; n == enc::kStatsFile && at < bytes.size(); at += len) {
            len = std::min<std::size_t>(1 + rng() % 700, bytes.size() - at);
            sink(reinterpret_cast<const unsigned char*>(bytes.data()) + at, len);
        }
    }
};

std::string stats_bytes(int lines) {
    std::string bytes;
    for (int i = 1; i <= lines; ++i)
        bytes += enc::encode(tb::test::hitter_line(i, 1990 + i % 30, 2, i % 7, "Näme" + std::to_string(i), "F"));
    return bytes;
}

// Memory and folder alike: records whole however the chunks fall (the
// folder's chunks are a few megabytes), in order, and the same facts about
// the file.
TEST(ByteSource, RecordsSplitAcrossChunksDecodeAsWholeOnes) {
    const std::string bytes = stats_bytes(20000) + "tail";   // a partial record of 4 bytes
    tb::test::TempDir dir;
    tb::test::write_bytes(dir / "encplstats.dat", bytes);
    std::vector<std::shared_ptr<const enc::ByteSource>> sources = {enc::memory_source({{"ENCPLSTATS.DAT", bytes}})};
    for (unsigned seed = 1; seed <= 20; ++seed)
        sources.push_back(std::make_shared<DribbleSource>(bytes, seed));
    for (std::size_t s = 0; s <= sources.size(); ++s) {
        enc::FileFacts facts;
        const auto got = s < sources.size() ? enc::Encyclopedia(sources[s]).read_stats(&facts)
                                            : enc::Encyclopedia(dir.path()).read_stats(&facts);
        ASSERT_EQ(got.size(), 20000u) << s;
        for (std::size_t i = 0; i < got.size(); ++i)
            if (got[i].player_id != static_cast<int>(i + 1) || got[i].last_name != "N\u00e4me" + std::to_string(i + 1))
                FAIL() << "source " << s << ", record " << i + 1;
        EXPECT_TRUE(facts.present);
        EXPECT_EQ(facts.records, 20000u);
        EXPECT_EQ(facts.partial_bytes, 4u);
        EXPECT_EQ(facts.bytes, bytes.size());
    }
    enc::FileFacts missing;
    EXPECT_TRUE(enc::Encyclopedia(enc::memory_source({})).read_teams(&missing).empty());
    EXPECT_FALSE(missing.present);
}

}  // namespace
