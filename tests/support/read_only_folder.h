// A folder in which no new file can be made, for tests of the refusals
// that come before a run.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace tb::test {

// Made under `parent`: its write permission taken away, or, when that does
// not hold (root writes anyway), its immutable attribute set (chattr +i,
// which root cannot write past either). Under Wine, where neither can be
// set from inside, the folder named by $TALLYBOOK_TEST_READ_ONLY_DIR (made
// so by the script that runs the tests) is taken instead. path() is empty
// when no such folder can be had: the test skips then.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const std::filesystem::path& parent) {
        namespace fs = std::filesystem;
        if (const char* given = std::getenv("TALLYBOOK_TEST_READ_ONLY_DIR"); given && *given) {
            if (!writable(given)) path_ = given;
            return;
        }
        made_ = parent / "read-only";
        std::error_code ec;
        fs::create_directories(made_, ec);
        fs::permissions(made_, fs::perms::owner_read | fs::perms::owner_exec, ec);
        if (!writable(made_)) {
            path_ = made_;
            return;
        }
        immutable_ = std::system(("chattr +i '" + made_.string() + "' 2> /dev/null").c_str()) == 0;
        if (immutable_ && !writable(made_)) path_ = made_;
    }
    // The folder made is writable again, so that its parent can be removed.
    ~ReadOnlyFolder() {
        if (immutable_) (void)std::system(("chattr -i '" + made_.string() + "' 2> /dev/null").c_str());
        std::error_code ec;
        if (!made_.empty()) std::filesystem::permissions(made_, std::filesystem::perms::owner_all, ec);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    static bool writable(const std::filesystem::path& dir) {
        const std::filesystem::path probe = dir / "probe.tmp";
        const bool made = static_cast<bool>(std::ofstream(probe));
        std::error_code ec;
        std::filesystem::remove(probe, ec);
        return made;
    }
    std::filesystem::path made_, path_;
    bool immutable_ = false;
};

}  // namespace tb::test
