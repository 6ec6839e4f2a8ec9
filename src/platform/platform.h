// What the front ends need from the system they run on, behind one small
// seam so that the window, the command line and a Windows build share it:
// the per-user data folder, the user's documents, the drives, the clock in
// the user's words, and opening a file with its application.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tb::platform {

// The per-user folder that holds the saved-folder file and the window's
// settings: $TALLYBOOK_DATA_DIR when set; on Windows %APPDATA%\tallybook\data;
// elsewhere $XDG_DATA_HOME (or ~/.local/share) + /tallybook/data. Not created.
std::filesystem::path data_folder();

// The user's documents folder (the home folder when there is none).
std::filesystem::path documents_folder();

// The roots a folder can be picked from: the logical drives ("C:\") on
// Windows, "/" elsewhere.
std::vector<std::filesystem::path> drives();

// The calendar year of the local date.
int current_year();

// A date and time as the local system writes them.
std::string local_time_text(std::chrono::system_clock::time_point t);

// Opens `file` with the application the desktop associates with its type,
// without a shell. False when no application takes the type or none could
// be started.
bool open_with_application(const std::filesystem::path& file);

// Shows the folder that holds `file` in the desktop's file manager (with the
// file selected where the system can). False when that cannot be done.
bool show_in_folder(const std::filesystem::path& file);

// The text of a path in UTF-8 and back, whatever the system's own encoding.
std::string utf8_of(const std::filesystem::path& p);
std::filesystem::path path_of_utf8(const std::string& utf8);

}  // namespace tb::platform
