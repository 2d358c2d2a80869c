// Ctrl-C, Ctrl-Break and closing the console window on Windows. A program
// started from the console shares it and gets the same Ctrl-C itself; the
// handler only records the event, and on a second Ctrl-C ends that program.
// The handler runs on a thread of its own.
#include <windows.h>

#include "platform/interrupt.h"
#include "platform/win32/interrupt_child.h"

namespace platform {
namespace {

// The signal numbers of the C runtime, SIGHUP standing for the console's close.
const LONG kSigHup = 1, kSigInt = 2, kSigTerm = 15;

volatile LONG g_signal = 0;
volatile LONG g_ctrlCs = 0;
HANDLE volatile g_child = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD event) {
  const bool close = event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
  InterlockedCompareExchange(&g_signal, close ? kSigHup : kSigInt, 0);
  HANDLE child = g_child;
  if (child != nullptr && !close && InterlockedIncrement(&g_ctrlCs) >= 2) {
    TerminateProcess(child, 128 + 9);
  }
  if (close) {
    // Windows ends the process when this returns; the main thread gets
    // the few seconds it allows to finish at its next safe point.
    Sleep(4000);
  }
  return TRUE;
}

}  // namespace

void InstallInterruptHandlers() { SetConsoleCtrlHandler(&OnConsoleEvent, TRUE); }

int InterruptRequested() { return g_signal != 0; }

int InterruptSignal() { return static_cast<int>(g_signal); }

const char* InterruptSignalName(int signal) {
  switch (signal) {
    case kSigInt: return "SIGINT";
    case kSigTerm: return "SIGTERM";
    case kSigHup: return "SIGHUP";
  }
  return "?";
}

void ClearInterrupt() { InterlockedExchange(&g_signal, 0); }

void RequestInterrupt(int signal) { InterlockedCompareExchange(&g_signal, signal, 0); }

namespace win32 {

BOOL HandleConsoleEvent(DWORD event) { return OnConsoleEvent(event); }

void SetInterruptChild(HANDLE child) {
  InterlockedExchange(&g_ctrlCs, 0);
  g_child = child;
}

}  // namespace win32
}  // namespace platform
