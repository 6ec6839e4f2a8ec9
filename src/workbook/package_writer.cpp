// The save's pipeline. First every sheet is scanned (side by side) for what
// the parts need to know of the whole workbook; then workers make the parts,
// each on its own: a part's XML is generated and deflated by one worker,
// and the calling thread writes finished parts to the file in package
// order. The parts in flight are bounded by a memory budget. A part of up to
// 16 MB of XML that fits in what is left of it is made whole; a larger one,
// or one that does not fit, is made and deflated 4 MB at a time (about 12%
// more work, and a fraction of the memory).
//
// No worker spends more than a tenth of a second or so between two looks at
// the stop flag (a 16 MB part or a 4 MB piece through libdeflate), so a
// cancel waits for them all.
#include "workbook/package_writer.h"

#include "workbook/deflate.h"
#include "workbook/package.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace tb::wb {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPoll = std::chrono::milliseconds(20);        // the longest the writer waits before asking about a cancel
constexpr auto kReportEvery = std::chrono::milliseconds(40);
constexpr std::size_t kPiece = 4u << 20;                     // XML per piece of a part made in pieces
constexpr std::size_t kWholeLimit = 16u << 20;               // the most XML of a part made whole
constexpr std::size_t kWholeStep = 2u << 20;                 // XML between checks for a stop in a part made whole

struct Part {
    std::string name;
    void (*small)(const package::Plan&, ByteBuffer&) = nullptr;   // a small part's writer; else a sheet
    std::size_t sheet = 0;
    uint64_t estimate = 0;   // bytes of XML
    // Set under the mutex by the worker that makes the part.
    bool done = false;
    ByteBuffer compressed;
    uint32_t crc = 0;
    uint64_t size = 0;
    std::size_t reserved = 0;           // of the memory budget
    std::atomic<uint64_t> progress{0};  // 0..estimate
};

struct Shared {
    std::mutex m;
    std::condition_variable work;   // to workers: a part may start, or stop
    std::condition_variable main;   // to the writer: a part is done, or a phase changed
    std::atomic<bool> stop{false};
    std::exception_ptr error;
    std::vector<std::unique_ptr<Part>> parts;
    std::size_t next = 0;           // the next part to start
    std::size_t budget = 0;
    std::size_t in_use = 0;
};

// What a part takes while it is made: made whole, its XML and the deflated
// part (about an eighth of it); in pieces, a piece of XML, its deflated form
// and the deflated part growing.
std::size_t whole_need(const Part& p) { return static_cast<std::size_t>(p.estimate + p.estimate / 6 + 65536); }
std::size_t piece_need(const Part& p) { return static_cast<std::size_t>(kPiece + kPiece / 2 + p.estimate / 6); }

// Stores a finished part for the writer, unless the save was stopped.
void deliver(Shared& s, Part& part, ByteBuffer&& compressed, uint32_t crc, uint64_t size) {
    std::lock_guard lk(s.m);
    if (s.stop) return;
    part.compressed = std::move(compressed);
    part.crc = crc;
    part.size = size;
    s.in_use -= part.reserved;
    part.reserved = part.compressed.size();
    s.in_use += part.reserved;
    part.progress = part.estimate;
    part.done = true;
    s.main.notify_all();
    s.work.notify_all();
}

void make_whole(Shared& s, const package::Plan& plan, Part& part, std::unique_ptr<WholeDeflater>& deflater) {
    // Resident from the start: the budget counts it whole anyway.
    ByteBuffer xml;
    xml.reserve(static_cast<std::size_t>(part.estimate + part.estimate / 16 + 4096), true);
    if (part.small) {
        part.small(plan, xml);
    } else {
        package::SheetWriter writer(plan, part.sheet);
        while (!writer.write(xml, xml.size() + kWholeStep)) {
            if (s.stop) return;
            // Making the XML is about a quarter of the work of a part.
            part.progress = std::min<uint64_t>(xml.size(), part.estimate) / 4;
        }
    }
    const uint32_t crc = crc32(0, xml.view());
    if (s.stop) return;
    if (!deflater) deflater = std::make_unique<WholeDeflater>();
    ByteBuffer out;
    deflater->compress(xml.view(), out);
    const uint64_t size = xml.size();
    xml.release();
    deliver(s, part, std::move(out), crc, size);
}

void make_in_pieces(Shared& s, const package::Plan& plan, Part& part) {
    PieceDeflater deflater;
    package::SheetWriter writer(plan, part.sheet);
    ByteBuffer piece;
    piece.reserve(kPiece + 65536, true);
    ByteBuffer out;
    uint32_t crc = 0;
    uint64_t size = 0;
    for (bool complete = false; !complete;) {
        piece.clear();
        complete = writer.write(piece, kPiece);
        crc = crc32(crc, piece.view());
        size += piece.size();
        deflater.add(piece.view(), complete, out);
        part.progress = std::min<uint64_t>(size, part.estimate);
        if (s.stop) return;
    }
    out.shrink_to_fit();
    deliver(s, part, std::move(out), crc, size);
}

void worker(Shared& s, const package::Plan& plan) {
    std::unique_ptr<WholeDeflater> deflater;
    for (;;) {
        Part* part = nullptr;
        bool in_pieces = false;
        {
            std::unique_lock lk(s.m);
            for (;;) {
                if (s.stop || s.next == s.parts.size()) return;
                Part& p = *s.parts[s.next];
                const std::size_t free = s.budget > s.in_use ? s.budget - s.in_use : 0;
                // A small part, or one of up to 16 MB of XML that fits in
                // what is left of the budget, is made whole; any other in
                // pieces (alone if need be, however large): no core waits.
                if (p.small || (p.estimate <= kWholeLimit && whole_need(p) <= free)) {
                    p.reserved = whole_need(p);
                    break;
                }
                if (piece_need(p) <= free || s.in_use == 0) {
                    p.reserved = piece_need(p);
                    in_pieces = true;
                    break;
                }
                s.work.wait(lk);
            }
            part = s.parts[s.next++].get();
            s.in_use += part->reserved;
        }
        try {
            if (in_pieces) make_in_pieces(s, plan, *part);
            else make_whole(s, plan, *part, deflater);
        } catch (...) {
            std::lock_guard lk(s.m);
            if (!s.error) s.error = std::current_exception();
            s.stop = true;
            s.work.notify_all();
            s.main.notify_all();
            return;
        }
    }
}

// The workers of the parts, stopped and joined when it goes.
class Workers {
public:
    Workers(Shared& s, const package::Plan& plan, int count) : s_(s) {
        try {
            for (int i = 0; i < count; ++i) threads_.emplace_back([&s, &plan] { worker(s, plan); });
        } catch (...) {   // no thread to be had: those started are stopped
            stop();
            throw;
        }
    }
    ~Workers() { stop(); }
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    void stop() {
        {
            std::lock_guard lk(s_.m);
            s_.stop = true;
            s_.work.notify_all();
        }
        for (std::thread& t : threads_)
            if (t.joinable()) t.join();
    }

private:
    Shared& s_;
    std::vector<std::thread> threads_;
};

bool cancelled(SaveMonitor* monitor) { return monitor && monitor->cancelled(); }

// Runs `task(i)` for i in [0, count) on up to `threads` threads while the
// calling thread polls for a cancel. Returns false when cancelled (the
// tasks see `stop` and return early). Rethrows what a task threw.
bool run_polled(int threads, std::size_t count, const std::function<void(std::size_t)>& task,
                std::atomic<bool>& stop, SaveMonitor* monitor) {
    std::mutex m;
    std::condition_variable cv;
    std::atomic<std::size_t> next{0};
    std::size_t finished = 0;
    std::exception_ptr error;
    const int n = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(std::max(threads, 1)), count));
    std::vector<std::thread> pool;
    const auto run = [&] {
        try {
            for (std::size_t i; !stop && (i = next++) < count;) task(i);
        } catch (...) {
            std::lock_guard lk(m);
            if (!error) error = std::current_exception();
            stop = true;
        }
        std::lock_guard lk(m);
        ++finished;
        cv.notify_all();
    };
    try {
        for (int t = 0; t < n; ++t) pool.emplace_back(run);
    } catch (...) {   // no thread to be had: those started are stopped
        stop = true;
        for (std::thread& t : pool) t.join();
        throw;
    }
    bool gave_up = false;
    {
        std::unique_lock lk(m);
        while (!cv.wait_for(lk, kPoll, [&] { return finished == pool.size(); })) {
            if (!gave_up && cancelled(monitor)) {
                gave_up = true;
                stop = true;
            }
        }
    }
    for (std::thread& t : pool) t.join();
    if (error) std::rethrow_exception(error);
    return !gave_up && !stop;
}

// The parts in the order the package holds them.
std::vector<std::unique_ptr<Part>> list_parts(const package::Plan& plan) {
    std::vector<std::unique_ptr<Part>> parts;
    auto small = [&](std::string name, void (*write)(const package::Plan&, ByteBuffer&), uint64_t estimate) {
        auto p = std::make_unique<Part>();
        p->name = std::move(name);
        p->small = write;
        p->estimate = estimate;
        parts.push_back(std::move(p));
    };
    const uint64_t n = plan.sheets.size();
    small("[Content_Types].xml", package::write_content_types, 1000 + 150 * n);
    small("_rels/.rels", package::write_root_rels, 600);
    small("xl/_rels/workbook.xml.rels", package::write_workbook_rels, 500 + 150 * n);
    for (std::size_t i = 0; i < plan.sheets.size(); ++i) {
        auto p = std::make_unique<Part>();
        p->name = "xl/worksheets/sheet" + std::to_string(i + 1) + ".xml";
        p->sheet = i;
        p->estimate = plan.sheets[i].estimated_bytes;
        parts.push_back(std::move(p));
    }
    small("xl/workbook.xml", package::write_workbook, 800 + 120 * n + 150 * plan.names.size());
    if (plan.has_shared_strings()) {
        uint64_t bytes = 200;
        for (uint32_t id : plan.shared_texts) bytes += 20 + plan.book.texts[id].size();
        small("xl/sharedStrings.xml", package::write_shared_strings, bytes);
    }
    small("xl/theme/theme1.xml", package::write_theme, 7000);
    small("xl/styles.xml", package::write_styles, 1500 + 250 * plan.xfs.size());
    small("docProps/core.xml", package::write_core, 700 + plan.book.properties.title.size() +
                                                        plan.book.properties.subject.size());
    small("docProps/app.xml", package::write_app, 1000 + 40 * n);
    return parts;
}

}  // namespace

bool write_package(const Workbook::Impl& book, const ZipWriter::Sink& sink, SaveMonitor* monitor,
                   const PackageSettings& settings, SaveProgress& progress) {
    package::Plan plan(book);
    std::atomic<bool> stop{false};
    const auto scan = [&](std::size_t i) { package::scan_sheet(plan, i, plan.sheets[i], stop); };
    if (!run_polled(settings.threads, plan.sheets.size(), scan, stop, monitor)) return false;
    package::settle_formats_and_names(plan);
    if (std::any_of(plan.sheets.begin(), plan.sheets.end(), [](const auto& f) { return f.shared_strings; })) {
        const auto build = [&](std::size_t) { package::build_shared_strings(plan, stop); };
        if (!run_polled(1, 1, build, stop, monitor)) return false;
    }

    Shared s;
    s.parts = list_parts(plan);
    s.budget = settings.memory_budget;
    uint64_t estimate = 0;
    for (const auto& p : s.parts) estimate += p->estimate;
    // The last fiftieth is the file's flush and rename, after the package.
    progress.total = static_cast<int64_t>(estimate + estimate / 50 + 1);
    progress.done = 0;
    const int64_t most_before_done = progress.total - static_cast<int64_t>(estimate / 50 + 1);

    ZipWriter zip(sink, settings.force_zip64);
    const int count = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(std::max(settings.threads, 1)),
                                                             s.parts.size()));
    Workers workers(s, plan, count);
    auto last_report = Clock::now();
    auto report = [&](bool now) {
        if (!monitor) return;
        int64_t done = 0;
        for (const auto& p : s.parts) done += static_cast<int64_t>(p->progress.load(std::memory_order_relaxed));
        done = std::min(std::max(done, progress.done), most_before_done);
        if (done == progress.done && !now) return;
        if (!now && Clock::now() - last_report < kReportEvery) return;
        progress.done = done;
        last_report = Clock::now();
        monitor->progress(progress.done, progress.total);
    };
    report(true);
    for (std::size_t written = 0; written < s.parts.size();) {
        if (cancelled(monitor)) return false;   // ~Workers stops them
        Part* ready = nullptr;
        {
            std::unique_lock lk(s.m);
            s.main.wait_for(lk, kPoll, [&] { return s.error || s.parts[written]->done; });
            if (s.error) std::rethrow_exception(s.error);
            if (s.parts[written]->done) ready = s.parts[written].get();
        }
        if (ready) {
            zip.begin(ready->name, ready->crc, ready->size, ready->compressed.size());
            zip.data(ready->compressed.data(), ready->compressed.size());
            std::lock_guard lk(s.m);
            s.in_use -= ready->reserved;
            ready->reserved = 0;
            ready->compressed.release();
            s.work.notify_all();
            ++written;
        }
        report(false);
    }
    workers.stop();
    zip.finish();
    report(true);
    return true;
}

}  // namespace tb::wb
