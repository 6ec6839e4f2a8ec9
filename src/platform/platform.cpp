#include "platform/platform.h"
#include "platform/local_time.h"
#include "text/utf8.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tb::platform {

namespace fs = std::filesystem;

std::string utf8_of(const fs::path& p) { return text::path_utf8(p); }

fs::path path_of_utf8(const std::string& utf8) { return text::utf8_path(utf8); }

namespace {

#ifdef _WIN32
fs::path known_folder(REFKNOWNFOLDERID id) {
    PWSTR raw = nullptr;
    fs::path out;
    if (SHGetKnownFolderPath(id, 0, nullptr, &raw) == S_OK) out = fs::path(raw);
    CoTaskMemFree(raw);
    return out;
}

std::wstring env_w(const wchar_t* name) {
    const DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0) return {};
    std::wstring v(n, L'\0');
    v.resize(GetEnvironmentVariableW(name, v.data(), n));
    return v;
}

// UTF-16 to UTF-8 without throwing on an unpaired surrogate (it becomes
// U+FFFD), as a command line may hold one.
std::string utf8_of_wide(const wchar_t* w) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w, -1, out.data(), n, nullptr, nullptr);
    out.pop_back();  // the terminating NUL
    return out;
}
#else
// Runs a program without a shell; its output, when `out` is given, is read
// into it. Returns the exit status, or -1 when it could not be started.
int run_program(const std::vector<std::string>& argv, std::string* out) {
    int pipefd[2] = {-1, -1};
    if (out && ::pipe(pipefd) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, 0);
            ::dup2(null, 2);
            if (!out) ::dup2(null, 1);
        }
        if (out) {
            ::dup2(pipefd[1], 1);
            ::close(pipefd[0]);
        }
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    if (out) {
        ::close(pipefd[1]);
        char buf[256];
        for (ssize_t n; (n = ::read(pipefd[0], buf, sizeof buf)) > 0;) out->append(buf, static_cast<std::size_t>(n));
        ::close(pipefd[0]);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Starts a program and lets it run on its own, in its own session, so that
// it outlives us and never sees our terminal's signals.
bool start_detached(const std::vector<std::string>& argv) {
    const pid_t pid = ::fork();
    if (pid < 0) return false;
    if (pid == 0) {
        ::setsid();
        if (::fork() != 0) ::_exit(0);   // the grandchild is adopted: no zombie left behind
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, 0);
            ::dup2(null, 1);
            ::dup2(null, 2);
        }
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

// xdg-open starts even when no application takes the type, so the desktop's
// type table is asked first; when it cannot be asked, opening is tried.
bool desktop_opens(const std::string& mime_type) {
    std::string answer;
    const int status = run_program({"xdg-mime", "query", "default", mime_type}, &answer);
    if (status != 0) return true;
    return answer.find_first_not_of(" \t\r\n") != std::string::npos;
}
#endif

}  // namespace

fs::path home_folder() {
#ifdef _WIN32
    const std::wstring profile = env_w(L"USERPROFILE");
    return profile.empty() ? fs::path(L"C:\\") : fs::path(profile);
#else
    const char* h = std::getenv("HOME");
    return h && *h ? fs::path(h) : fs::path("/");
#endif
}

fs::path data_folder() {
#ifdef _WIN32
    const std::wstring over = env_w(L"TALLYBOOK_DATA_DIR");
    if (!over.empty()) return fs::path(over);
    fs::path base = known_folder(FOLDERID_RoamingAppData);
    if (base.empty()) base = fs::path(env_w(L"APPDATA"));
    return base / L"tallybook" / L"data";
#else
    if (const char* over = std::getenv("TALLYBOOK_DATA_DIR"); over && *over) return fs::path(over);
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg && fs::path(xdg).is_absolute())
        return fs::path(xdg) / "tallybook" / "data";
    return home_folder() / ".local" / "share" / "tallybook" / "data";
#endif
}

fs::path documents_folder() {
#ifdef _WIN32
    fs::path docs = known_folder(FOLDERID_Documents);
    return docs.empty() ? known_folder(FOLDERID_Profile) : docs;
#else
    // xdg-user-dir answers the home folder itself when the user's folders
    // are not set up; ~/Documents is the better guess then.
    const fs::path home = home_folder();
    std::string answer;
    std::error_code ec;
    if (run_program({"xdg-user-dir", "DOCUMENTS"}, &answer) == 0) {
        while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r')) answer.pop_back();
        const fs::path docs = answer;
        if (!answer.empty() && fs::is_directory(docs, ec) && !fs::equivalent(docs, home, ec)) return docs;
    }
    if (fs::is_directory(home / "Documents", ec)) return home / "Documents";
    return home;
#endif
}

std::vector<fs::path> drives() {
#ifdef _WIN32
    std::vector<fs::path> out;
    wchar_t buf[512];
    const DWORD n = GetLogicalDriveStringsW(static_cast<DWORD>(std::size(buf) - 1), buf);
    for (const wchar_t* p = buf; n > 0 && n < std::size(buf) && *p; p += wcslen(p) + 1) out.emplace_back(p);
    return out;
#else
    return {fs::path("/")};
#endif
}

int current_year() { return local_calendar(std::time(nullptr)).tm_year + 1900; }

std::string local_time_text(std::chrono::system_clock::time_point t) {
    const std::tm tm = local_calendar(std::chrono::system_clock::to_time_t(t));
    char buf[64];
    std::strftime(buf, sizeof buf, "%x %X", &tm);
    return buf;
}

bool open_with_application(const fs::path& file) {
#ifdef _WIN32
    const auto r = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return r > 32;
#else
    if (!desktop_opens("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet")) return false;
    return start_detached({"xdg-open", file.string()});
#endif
}

bool show_in_folder(const fs::path& file) {
#ifdef _WIN32
    const std::wstring args = L"/select,\"" + file.wstring() + L"\"";
    const auto r = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", L"explorer.exe", args.c_str(), nullptr, SW_SHOWNORMAL));
    return r > 32;
#else
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    if (!desktop_opens("inode/directory")) return false;
    return start_detached({"xdg-open", folder.string()});
#endif
}

// --- Console programs --------------------------------------------------------

std::vector<std::string> utf8_arguments(int argc, char** argv) {
    std::vector<std::string> out;
#ifdef _WIN32
    int n = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &n)) {
        for (int i = 0; i < n; ++i) out.push_back(utf8_of_wide(wide[i]));
        LocalFree(wide);
        if (!out.empty()) return out;
    }
#endif
    for (int i = 0; i < argc; ++i) out.emplace_back(argv[i]);
    return out;
}

#ifdef _WIN32
namespace {
UINT g_output_cp = 0;
void restore_output_cp() { SetConsoleOutputCP(g_output_cp); }
}  // namespace
#endif

void prepare_console() {
#ifdef _WIN32
#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif
    // The code page belongs to the console, which outlives the program.
    if (g_output_cp == 0 && (g_output_cp = GetConsoleOutputCP()) != 0) {
        SetConsoleOutputCP(CP_UTF8);
        std::atexit(restore_output_cp);
    }
    for (const DWORD which : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE h = GetStdHandle(which);
        DWORD mode = 0;
        if (h != INVALID_HANDLE_VALUE && h != nullptr && GetConsoleMode(h, &mode))
            SetConsoleMode(h, mode | ENABLE_PROCESSED_OUTPUT | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
#endif
}

bool stderr_is_terminal() {
#ifdef _WIN32
    // _isatty() is true for NUL and any other character device too.
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
#else
    return ::isatty(STDERR_FILENO) == 1;
#endif
}

namespace {

std::atomic<bool>* g_cancel = nullptr;
std::atomic<int> g_interrupt_status{0};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "set from a signal handler");

void interrupted(int status) {
    g_interrupt_status.store(status);
    if (g_cancel) g_cancel->store(true);
}

#ifdef _WIN32
HANDLE g_cleaned_up = nullptr;

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI on_console_event(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            interrupted(130);
            return TRUE;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            // The program ends when this returns: give the run the time to
            // drop its temporary file (the system allows about 5 s).
            interrupted(143);
            if (g_cleaned_up) WaitForSingleObject(g_cleaned_up, 4000);
            return TRUE;
        default:
            return FALSE;
    }
}
#else
extern "C" void on_signal(int sig) { interrupted(128 + sig); }
#endif

}  // namespace

void catch_interrupts(std::atomic<bool>& cancel) {
    g_cancel = &cancel;
#ifdef _WIN32
    if (!g_cleaned_up) g_cleaned_up = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(nullptr, FALSE);  // a parent may have left Ctrl-C ignored
    SetConsoleCtrlHandler(on_console_event, TRUE);
#else
    struct sigaction sa {};
    sa.sa_handler = on_signal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    // A closed terminal cancels as SIGTERM does (exit status 129).
    sigaction(SIGHUP, &sa, nullptr);
    // A file-size limit becomes an error of the write (EFBIG) that the save
    // reports and cleans up after, and a closed stdout an error of the
    // output that cannot undo a workbook written.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

int interrupt_exit_status() { return g_interrupt_status.load(); }

void interrupt_handled() {
#ifdef _WIN32
    if (g_cleaned_up) SetEvent(g_cleaned_up);
#endif
}

}  // namespace tb::platform
