// Interrupts of the console program: Ctrl-C, SIGTERM and SIGHUP on Linux;
// Ctrl-C, Ctrl-Break and closing the console window on Windows.
//
// Once InstallInterruptHandlers() ran, such an interrupt never ends the
// program at once. While a program started by RunAndWait runs, it is passed
// on to that program (a second Ctrl-C ends the program for good: SIGKILL,
// TerminateProcess), and RunAndWait keeps waiting for its end. At any time it
// sets the flag below, which the commands look at between steps that may be
// stopped safely: never between the two renames of a swap, never with a file
// half written. The dialog installs no handlers, so for it the flag stays 0.
#pragma once

namespace platform {

// Installs the handlers. Called once, by the console program only.
void InstallInterruptHandlers();

// Non-zero once an interrupt arrived.
int InterruptRequested();

// The signal of the first interrupt (SIGINT 2, SIGTERM 15, SIGHUP 1; on
// Windows Ctrl-C and Ctrl-Break count as SIGINT, closing the console as
// SIGHUP); 0 without one. A program stopped by it exits 128 + this number.
int InterruptSignal();

// The signal's name ("SIGINT"), for a message.
const char* InterruptSignalName(int signal);

// Forgets an interrupt (for tests).
void ClearInterrupt();

// Sets the flag as an interrupt by `signal` would, unless one arrived already
// (for tests: an interrupt at a chosen step, see platform/faults.h).
void RequestInterrupt(int signal);

}  // namespace platform
