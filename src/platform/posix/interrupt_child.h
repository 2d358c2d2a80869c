// The program RunAndWait waits for, known to the interrupt handler so that
// it passes the signals on (posix/interrupt.cpp).
#pragma once

#include <sys/types.h>

namespace platform {
namespace posix {

// The running child, or 0 when none runs.
void SetInterruptChild(pid_t child);

}  // namespace posix
}  // namespace platform
