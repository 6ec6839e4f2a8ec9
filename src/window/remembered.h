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

// A rectangle on the desktop, in the units the view's toolkit places
// windows in: the window's place and size, or a screen's work area.
struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

// Where the window was and how big (without the live view), and whether
// it was maximized.
struct WindowPlace {
    Rect rect;
    bool maximized = false;
    bool operator==(const WindowPlace&) const = default;
};

// The window's choices, kept in <data>/settings.txt (one "key=value" a line).
struct Remembered {
    sheets::SheetsDesired desired = sheets::SheetsDesired::PlayersAndTeams;
    app::Viewing viewing = app::Viewing::WhileProcessing;
    std::filesystem::path output;                    // empty: not chosen yet
    std::vector<std::filesystem::path> recent;       // most recent first
    std::optional<WindowPlace> place;                // none: the view's default
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

// The remembered place when the window would show on one of the `screens`
// there: its top edge (where it is grabbed to move it) at least
// kGrabbable units wide and high on a screen; it is made no bigger than that
// screen. Nothing when it would not (a screen since gone, another layout):
// the view's default place then.
inline constexpr int kGrabbable = 40;
std::optional<WindowPlace> place_on_screens(const std::optional<WindowPlace>& place, const std::vector<Rect>& screens);

}  // namespace tb::window
