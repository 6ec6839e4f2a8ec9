// The folders and paths the window deals in, as the user types and sees
// them: a typed folder checked, a folder's text, its list of subfolders,
// a drive's caption, a workbook path completed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tb::window {

// Leading and trailing spaces, tabs and line ends removed.
std::string trimmed(const std::string& text);

// A folder as the window shows and compares it: absolute, without "." and
// ".." parts or a trailing separator (a root keeps its own).
std::filesystem::path normal_folder(const std::filesystem::path& folder);

// A path as the user reads it: UTF-8 with the system's separators.
std::string path_text(const std::filesystem::path& path);

// A typed folder, checked as Enter checks it: trimmed, "~" for the home
// folder. Either the folder (normal) or why it is refused, never both.
struct CheckedFolder {
    std::filesystem::path folder;
    std::string error;
};
CheckedFolder check_typed_folder(const std::string& typed);

// Whether a folder holds the team file ENCTEAM.DAT as a file, in any letter case.
bool holds_team_file(const std::filesystem::path& folder);

// A row of the folder list: ".." (up) first unless the folder is a root,
// then every subfolder (hidden ones too), by name ignoring letter case.
struct FolderEntry {
    std::string text;
    std::filesystem::path folder;
    bool up = false;
    bool operator==(const FolderEntry&) const = default;
};
// Only ".." when the folder cannot be read.
std::vector<FolderEntry> folder_entries(const std::filesystem::path& folder);

// A drive's caption in the drive list: "C:" for a drive root, else the root as it reads ("/").
std::string drive_text(const std::filesystem::path& root);

// A workbook path as the run takes it: ".xlsx" added when missing (in any
// letter case), absolute, normal.
std::filesystem::path workbook_path(const std::filesystem::path& path);

}  // namespace tb::window
