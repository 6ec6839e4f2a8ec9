// A modal box with a long text to scroll through (the About text with the
// licences), where a message box would run off the screen.
#pragma once

#include <windows.h>

#include <string>

namespace tb::win32 {

// Shows `text` (lines ending in "\n") read-only under `title`, owned by
// `owner`, until OK, Escape or the close box. Returns at once, showing
// nothing, when the box cannot be made.
void show_text_box(HWND owner, const std::wstring& title, const std::wstring& text);

}  // namespace tb::win32
