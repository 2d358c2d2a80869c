// Starting a program on Windows through the C runtime.
#include <windows.h>
#include <process.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/interrupt_child.h"

namespace platform {

int RunAndWait(const std::string& program, const std::vector<std::string>& args,
               int* exitCode, int* signal, const std::function<int(long pid)>& onStarted) {
  // The runtime joins the arguments with blanks into the command line, as
  // given: an argument that must stay one (a path with blanks) comes quoted.
  std::vector<const char*> argv;
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  argv.push_back(nullptr);
  // Started without waiting, so that the console handler knows the process
  // while it runs; -1 means "not started".
  errno = 0;
  intptr_t handle = _spawnv(_P_NOWAIT, program.c_str(), argv.data());
  if (handle == -1) return 0;
  HANDLE process = reinterpret_cast<HANDLE>(handle);
  win32::SetInterruptChild(process);
  if (onStarted && !onStarted(static_cast<long>(GetProcessId(process)))) {
    TerminateProcess(process, 1);
    WaitForSingleObject(process, INFINITE);
    win32::SetInterruptChild(nullptr);
    CloseHandle(process);
    return 0;
  }
  WaitForSingleObject(process, INFINITE);
  win32::SetInterruptChild(nullptr);
  DWORD code = 0;
  if (!GetExitCodeProcess(process, &code)) code = static_cast<DWORD>(-1);
  CloseHandle(process);
  if (exitCode != nullptr) *exitCode = static_cast<int>(code);
  if (signal != nullptr) *signal = 0;
  return 1;
}

}  // namespace platform
