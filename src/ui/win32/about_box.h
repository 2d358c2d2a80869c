// The about box (template 100): the icon, the version and OK.
#pragma once

#include <windows.h>

namespace ui_win32 {

// Shows the about box modally over `owner`; returns when it was closed.
void ShowAboutBox(HINSTANCE instance, HWND owner);

}  // namespace ui_win32
