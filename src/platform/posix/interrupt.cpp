// SIGINT, SIGTERM and SIGHUP on POSIX systems. The handler only sets flags
// and passes the signal on with kill(), both async-signal-safe.
#include <signal.h>

#include <cstring>
#include <initializer_list>

#include "platform/interrupt.h"
#include "platform/posix/interrupt_child.h"

namespace platform {
namespace {

volatile sig_atomic_t g_signal = 0;        // the first interrupt's signal
volatile sig_atomic_t g_child = 0;         // the running child's pid, or 0
volatile sig_atomic_t g_childSigints = 0;  // SIGINTs since the child started

// A signal from the terminal (Ctrl-C: si_code SI_KERNEL) went to the whole
// foreground process group, the child included; one sent by a process (kill)
// came to us alone and is passed on.
void OnInterrupt(int signal, siginfo_t* info, void*) {
  if (g_signal == 0) g_signal = signal;
  const pid_t child = static_cast<pid_t>(g_child);
  if (child <= 0) return;
  if (signal == SIGINT && ++g_childSigints >= 2) {
    kill(child, SIGKILL);
  } else if (info == nullptr || info->si_code != SI_KERNEL) {
    kill(child, signal);
  }
}

}  // namespace

void InstallInterruptHandlers() {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_sigaction = &OnInterrupt;
  sigemptyset(&action.sa_mask);
  // Restarted calls: a read or write in progress is not cut short by the
  // interrupt, which is looked at only at the safe points.
  action.sa_flags = SA_RESTART | SA_SIGINFO;
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&action.sa_mask, signal);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

int InterruptRequested() { return g_signal != 0; }

int InterruptSignal() { return g_signal; }

const char* InterruptSignalName(int signal) {
  switch (signal) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    case SIGHUP: return "SIGHUP";
  }
  return "?";
}

void ClearInterrupt() { g_signal = 0; }

void RequestInterrupt(int signal) {
  if (g_signal == 0) g_signal = signal;
}

namespace posix {

void SetInterruptChild(pid_t child) {
  g_childSigints = 0;
  g_child = child;
}

}  // namespace posix
}  // namespace platform
