// What the window remembers between starts, in its per-user data folder:
// the saved-folder file (the folder of the last completed run; one line, the
// folder in double quotes, CR LF) and, beside it, the options, the workbook
// path and the recent folders.
#pragma once

#include "app/run.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tb::window {

// The saved-folder file of a data folder: <data>/TALLYBOOK.txt.
std::filesystem::path saved_folder_file(const std::filesystem::path& data_dir);

// The folder the file holds (everything between the first and the last
// quote of its first line), or nothing when the file is missing, unreadable
// or not one quoted line.
std::optional<std::filesystem::path> read_saved_folder(const std::filesystem::path& file);

// The line's exact bytes: the folder (UTF-8, the system's separators) in
// quotes, CR LF.
std::string saved_folder_line(const std::filesystem::path& folder);

// Replaces the file's content with the quoted folder, whole or not at all;
// the data folder is made when missing. Returns an error text, empty on
// success.
std::string write_saved_folder(const std::filesystem::path& file, const std::filesystem::path& folder);

// The window's choices, kept in <data>/settings.txt (one "key=value" a line).
struct Remembered {
    sheets::SheetsDesired desired = sheets::SheetsDesired::PlayersAndTeams;
    app::Viewing viewing = app::Viewing::WhileProcessing;
    std::filesystem::path output;                    // empty: not chosen yet
    std::vector<std::filesystem::path> recent;       // most recent first
};
inline constexpr std::size_t kRecentFolders = 8;

std::filesystem::path settings_file(const std::filesystem::path& data_dir);
// What the file says; the defaults for anything it does not say (or when it
// is missing or unreadable).
Remembered read_remembered(const std::filesystem::path& file);
// Writes the file whole or not at all. Returns an error text, empty on success.
std::string write_remembered(const std::filesystem::path& file, const Remembered& remembered);
// `folder` first, without repeats, at most kRecentFolders.
void add_recent(Remembered& remembered, const std::filesystem::path& folder);

}  // namespace tb::window
