// What the fuzz targets share: a check that stops the run (the fuzz build
// defines NDEBUG, so assert would not), sanitizer defaults, and the reading
// of one record file with the facts any bytes must give. Include it from one
// source file per fuzz program: it defines the sanitizer default options.
#pragma once

#include "archive/record_writer.h"
#include "encyclopedia/encyclopedia.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#define TB_FUZZ_CHECK(cond) \
    ((cond) ? static_cast<void>(0) : ::tb::fuzz::check_failed(#cond, __FILE__, __LINE__))

// Undefined behaviour is built to report and carry on; a fuzzer must stop on
// it instead, also when started by hand without UBSAN_OPTIONS.
extern "C" const char* __ubsan_default_options() { return "halt_on_error=1:print_stacktrace=1"; }

namespace tb::fuzz {

[[noreturn]] inline void check_failed(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::fflush(stderr);
    std::abort();
}

inline std::string as_string(const std::uint8_t* data, std::size_t size) {
    return size == 0 ? std::string() : std::string(reinterpret_cast<const char*>(data), size);
}

// A file's records, and the used ones among them.
template <class Record>
struct ReadRecords {
    std::vector<Record> records;
    std::vector<const Record*> used;
};

// Reads `data` as the file `name` of an encyclopedia that holds only it,
// through `read` (an Encyclopedia member such as &Encyclopedia::read_teams),
// checks what any bytes must give and returns the records and those `used`
// takes, checking what a conversion is told about the file: nothing exactly
// when it has bytes, no partial record and at least one used record.
template <class Record, class Used = bool (*)(const Record&)>
ReadRecords<Record> read_checked(const std::uint8_t* data, std::size_t size, std::string_view name,
                                 std::vector<Record> (enc::Encyclopedia::*read)(enc::FileFacts*) const,
                                 Used used = enc::is_used) {
    const enc::Encyclopedia encyclopedia(enc::memory_source({{std::string(name), as_string(data, size)}}));
    enc::FileFacts facts;
    ReadRecords<Record> out{(encyclopedia.*read)(&facts), {}};
    const std::vector<Record>& records = out.records;
    TB_FUZZ_CHECK(facts.present);
    TB_FUZZ_CHECK(facts.bytes == size);
    TB_FUZZ_CHECK(facts.records == size / Record::kSize);
    TB_FUZZ_CHECK(facts.partial_bytes == size % Record::kSize);
    TB_FUZZ_CHECK(records.size() == facts.records);

    // The streaming reader and the whole-buffer decoder see the same records
    // (compared by their bytes as the record writer makes them).
    enc::FileFacts direct;
    const std::vector<Record> decoded = enc::decode_records<Record>(data, size, &direct);
    TB_FUZZ_CHECK(direct.records == facts.records && direct.partial_bytes == facts.partial_bytes);
    TB_FUZZ_CHECK(decoded.size() == records.size());
    for (std::size_t i = 0; i < records.size(); ++i) TB_FUZZ_CHECK(enc::encode(decoded[i]) == enc::encode(records[i]));

    for (const Record& r : records)
        if (used(r)) out.used.push_back(&r);
    const bool clean = facts.bytes > 0 && facts.partial_bytes == 0 && !out.used.empty();
    TB_FUZZ_CHECK(enc::file_problems(facts, out.used.size()).empty() == clean);
    return out;
}

}  // namespace tb::fuzz
