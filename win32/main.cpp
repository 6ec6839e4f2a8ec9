// tallybook.exe: the window, on Windows.
#include "main_window.h"

#include <objbase.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
    // The folder picker is a shell dialog, which wants a single-threaded apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    int code = 1;
    {
        tb::win32::MainWindow window(tb::window::Setup{});
        if (window.create(instance)) {
            window.show(show_command);
            code = tb::win32::run_message_loop(window);
        }
    }   // a run under way ends here, cancelled, before the program does
    if (SUCCEEDED(com)) CoUninitialize();
    return code;
}
