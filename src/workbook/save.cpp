// Workbook::save: the package written through the file seam, by as many
// threads as the machine has cores and the memory budget allows.
#include "workbook/workbook.h"
#include "workbook/workbook_internal.h"

#include "platform/memory.h"
#include "workbook/package_writer.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>
#include <thread>

namespace tb::wb {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMinBudget = 32u << 20;
constexpr std::size_t kBudgetPerThread = 8u << 20;

int thread_count(int asked) {
    if (asked > 0) return asked;
    if (const char* env = std::getenv("TALLYBOOK_SAVE_THREADS")) {
        const int n = std::atoi(env);
        if (n > 0) return n;
    }
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

PackageSettings settings_for(const SaveOptions& o) {
    PackageSettings s;
    // What the process has used before (the cells, at the end of a run's
    // passes) it may use again without a higher peak.
    s.memory_budget = o.memory_budget > 0 ? o.memory_budget : std::max(platform::memory_below_peak(), kMinBudget);
    s.threads = std::min(thread_count(o.threads),
                         static_cast<int>(std::max<std::size_t>(1, s.memory_budget / kBudgetPerThread)));
    s.force_zip64 = o.force_zip64;
    return s;
}

}  // namespace

SaveOutcome Workbook::save(const fs::path& path, SaveMonitor* monitor) const {
    return save(path, monitor, SaveOptions{});
}

SaveOutcome Workbook::save(const fs::path& path, SaveMonitor* monitor, const SaveOptions& options) const {
    if (path.filename().empty() || path.filename() == "." || path.filename() == "..") save_failed(path, "no file name");
    const std::optional<fs::path> target = save_target(path);
    if (!target) save_failed(path, "too many links");
    std::unique_ptr<platform::Folder> folder;
    try {
        folder = (options.files ? *options.files : platform::system_file_ops()).open_folder(target->parent_path());
    } catch (const platform::FileError& e) {
        save_failed(path, e.what());
    }
    SaveDestination destination{folder.get(), target->filename(), folder->look_up(target->filename()), path};
    if (destination.expected) {
        using Kind = platform::EntryFacts::Kind;
        if (destination.expected->kind == Kind::Folder) save_failed(path, "it is a folder");
        if (destination.expected->kind != Kind::Regular) save_failed(path, "it is not a regular file");
    }
    return save(destination, monitor, options);
}

SaveOutcome Workbook::save(const SaveDestination& destination, SaveMonitor* monitor, const SaveOptions& options) const {
    if (impl_->sheets.empty()) save_failed(destination.shown, "the workbook has no sheets");
    SaveFile file(destination);
    SaveProgress progress;
    const auto sink = [&file](const void* data, std::size_t size) { file.write(data, size); };
    if (!write_package(*impl_, sink, monitor, settings_for(options), progress)) return SaveOutcome::Cancelled;
    file.finish();
    // The last moment a cancel can still keep the old workbook.
    if (monitor && monitor->cancelled()) return SaveOutcome::Cancelled;
    if (options.before_replace) options.before_replace();
    file.commit();
    if (monitor) monitor->progress(progress.total, progress.total);
    return SaveOutcome::Saved;
}

}  // namespace tb::wb
