// Starting a program on Windows through the C runtime.
#include <process.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

int RunAndWait(const std::string& program, const std::vector<std::string>& args,
               int* exitCode) {
  // The runtime joins the arguments with blanks into the command line, as
  // given: an argument that must stay one (a path with blanks) comes quoted.
  std::vector<const char*> argv;
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  argv.push_back(nullptr);
  // -1 means "not started". Where an exit code of -1 could come back as -1
  // too (a 32-bit build), errno tells them apart: a started program leaves it
  // alone.
  errno = 0;
  intptr_t result = _spawnv(_P_WAIT, program.c_str(), argv.data());
  if (result == -1 && errno != 0) return 0;
  if (exitCode != nullptr) *exitCode = static_cast<int>(result);
  return 1;
}

}  // namespace platform
