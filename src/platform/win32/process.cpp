// Starting a program on Windows through the C runtime.
#include <windows.h>
#include <process.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

int RunAndWait(const std::string& program, const std::vector<std::string>& args,
               int* exitCode, const std::function<void(long pid)>& onStarted) {
  // The runtime joins the arguments with blanks into the command line, as
  // given: an argument that must stay one (a path with blanks) comes quoted.
  std::vector<const char*> argv;
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  argv.push_back(nullptr);
  // Started without waiting, so that its id is known while it runs; the
  // wait then gives the exit code as the waiting spawn does (and closes the
  // process handle).
  intptr_t handle = _spawnv(_P_NOWAIT, program.c_str(), argv.data());
  if (handle == -1) return 0;
  if (onStarted) onStarted(static_cast<long>(GetProcessId(reinterpret_cast<HANDLE>(handle))));
  int status = -1;
  _cwait(&status, handle, 0);
  const int result = status;
  if (exitCode != nullptr) *exitCode = static_cast<int>(result);
  return 1;
}

}  // namespace platform
