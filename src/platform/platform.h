// What the front ends need from the system they run on, behind one small
// seam so that the window, the command line and a Windows build share it:
// the per-user data folder, the user's documents, the drives, the clock in
// the user's words, opening a file with its application, and the console:
// its arguments and text in UTF-8, and Ctrl-C.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tb::platform {

// The per-user folder that holds the saved-folder file and the window's
// settings: $TALLYBOOK_DATA_DIR when set; on Windows %APPDATA%\tallybook\data;
// elsewhere $XDG_DATA_HOME (or ~/.local/share) + /tallybook/data. Not created.
std::filesystem::path data_folder();

// The user's documents folder: Windows' Documents; elsewhere the XDG
// documents folder when the user's folders are set up, else ~/Documents
// when it exists, else the home folder.
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

// The user's home folder: %USERPROFILE% on Windows, $HOME elsewhere ("/"
// or "C:\" when unset).
std::filesystem::path home_folder();

// --- Console programs --------------------------------------------------------

// The program's arguments in UTF-8, the program's name first. On Windows
// they are read from the UTF-16 command line, since `argv` holds them in
// the ANSI code page there; elsewhere they are `argv` as given.
std::vector<std::string> utf8_arguments(int argc, char** argv);

// Gets the console ready for UTF-8 text and for a progress line redrawn
// with "\r" (Windows: the console's output code page, restored at exit, and
// its escape-sequence processing). Nothing elsewhere.
void prepare_console();

// Whether standard error is a terminal (on Windows: a console window, not
// a file, a pipe or NUL).
bool stderr_is_terminal();

// From now on Ctrl-C, SIGTERM and SIGHUP (on Windows: Ctrl-C, Ctrl-Break and
// closing the console window) set `cancel` instead of ending the program,
// so that a run under way ends as a cancel does; SIGXFSZ and SIGPIPE are
// ignored, so that a file-size limit and a closed output are plain write
// errors. `cancel` must live as long as the program.
void catch_interrupts(std::atomic<bool>& cancel);

// The exit status a shell expects after such an interrupt: 130 after Ctrl-C
// (or Ctrl-Break), 143 after SIGTERM or a closed console, 129 after SIGHUP;
// 0 when none came.
int interrupt_exit_status();

// Says that the program has cleaned up after an interrupt. Windows ends the
// program as soon as the handler of a closing console returns, so that
// handler waits for this call (a few seconds at most).
void interrupt_handled();

}  // namespace tb::platform
