// The program RunAndWait waits for, known to the console handler so that a
// second Ctrl-C ends it (win32/interrupt.cpp).
#pragma once

#include <windows.h>

namespace platform {
namespace win32 {

// The running child's process handle, or null when none runs.
void SetInterruptChild(HANDLE child);

// Hands `event` (CTRL_C_EVENT, CTRL_BREAK_EVENT, ...) to the console
// handler as the console would, for tests where no console can send one
// (wine without a terminal).
BOOL HandleConsoleEvent(DWORD event);

}  // namespace win32
}  // namespace platform
