// Placing dialogs on the screen.
#pragma once

#include <windows.h>

namespace ui_win32 {

// Centres `window` over `over` (its owner), or over the work area of the
// screen when `over` is null or minimised. The window stays on the screen.
void CenterWindow(HWND window, HWND over);

}  // namespace ui_win32
