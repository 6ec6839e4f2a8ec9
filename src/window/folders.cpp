#include "window/folders.h"

#include "platform/platform.h"
#include "window/texts.h"

#include <algorithm>
#include <system_error>

namespace tb::window {

namespace fs = std::filesystem;

namespace {

std::string lower_ascii(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

}  // namespace

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

fs::path normal_folder(const fs::path& folder) {
    std::error_code ec;
    fs::path abs = fs::absolute(folder, ec);
    if (ec) abs = folder;
    abs = abs.lexically_normal();
    // "/a/b/" and "/a/b" are one folder; the root keeps its separator.
    if (abs.has_relative_path() && abs.filename().empty()) abs = abs.parent_path();
    return abs;
}

std::string path_text(const fs::path& path) { return platform::utf8_of(fs::path(path).make_preferred()); }

CheckedFolder check_typed_folder(const std::string& typed) {
    const std::string t = trimmed(typed);
    if (t.empty()) return {{}, std::string(texts::kTypeFolderFirst)};
    fs::path p = platform::path_of_utf8(t);
    if (t == "~" || t.rfind("~/", 0) == 0) p = platform::home_folder() / platform::path_of_utf8(t.size() > 2 ? t.substr(2) : "");
    std::error_code ec;
    const fs::file_status st = fs::status(p, ec);
    if (!fs::exists(st)) return {{}, texts::does_not_exist(t)};
    if (!fs::is_directory(st)) return {{}, texts::not_a_folder(t)};
    return {normal_folder(p), {}};
}

bool holds_team_file(const fs::path& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code file_ec;
        if (lower_ascii(platform::utf8_of(it->path().filename())) == "encteam.dat" && it->is_regular_file(file_ec))
            return true;
    }
    return false;
}

std::vector<FolderEntry> folder_entries(const fs::path& folder) {
    std::vector<FolderEntry> subfolders;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code dir_ec;
        if (it->is_directory(dir_ec)) subfolders.push_back({platform::utf8_of(it->path().filename()), it->path()});
    }
    // Letter case apart, and by the bytes where only case differs, so the order never depends on the listing's.
    std::sort(subfolders.begin(), subfolders.end(), [](const FolderEntry& a, const FolderEntry& b) {
        const std::string la = lower_ascii(a.text), lb = lower_ascii(b.text);
        return la != lb ? la < lb : a.text < b.text;
    });
    std::vector<FolderEntry> entries;
    if (folder.has_relative_path()) entries.push_back({"..", folder.parent_path(), true});
    entries.insert(entries.end(), subfolders.begin(), subfolders.end());
    return entries;
}

std::string drive_text(const fs::path& root) {
    return root.has_root_name() ? platform::utf8_of(root.root_name()) : path_text(root);
}

fs::path workbook_path(const fs::path& path) {
    fs::path p = path;
    if (lower_ascii(platform::utf8_of(p.extension())) != ".xlsx") p += ".xlsx";
    std::error_code ec;
    return fs::absolute(p, ec).lexically_normal();
}

}  // namespace tb::window
