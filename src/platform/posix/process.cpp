#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "platform/cp1252.h"
#include "platform/platform.h"
#include "platform/posix/native_path.h"

namespace platform {

int RunAndWait(const std::string& program, const std::vector<std::string>& args,
               int* exitCode) {
  std::string native;
  if (!posix::ToNative(program, &native)) return 0;
  if (access(native.c_str(), X_OK) != 0) return 0;
  std::vector<std::string> converted;
  for (const std::string& arg : args) converted.push_back(Cp1252ToUtf8(arg));
  std::vector<char*> argv;
  for (std::string& arg : converted) argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  pid_t pid = fork();
  if (pid < 0) return 0;
  if (pid == 0) {
    execv(native.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  if (exitCode != nullptr) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return 1;
}

}  // namespace platform
