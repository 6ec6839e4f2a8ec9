// The name a screen reader reads for a control that shows no caption of its
// own (a field, a list, the bar). Active Accessibility names such controls
// from the text or the label nearby, which for a drop-down list is its
// value; a control named here answers with the window model's name instead,
// and with the system's standard object for everything else.
#pragma once

#include <windows.h>

#include <string>

namespace tb::win32 {

// From now on, until it is destroyed, `control` tells screen readers `name`
// as its own name. False when the control cannot be given one (it keeps the
// system's name then).
bool name_for_screen_readers(HWND control, const std::wstring& name);

}  // namespace tb::win32
