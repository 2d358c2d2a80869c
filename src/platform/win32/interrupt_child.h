// The program RunAndWait waits for, known to the console handler so that a
// second Ctrl-C ends it (win32/interrupt.cpp).
#pragma once

#include <windows.h>

namespace platform {
namespace win32 {

// The running child's process handle, or null when none runs.
void SetInterruptChild(HANDLE child);

}  // namespace win32
}  // namespace platform
