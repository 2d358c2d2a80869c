// Helpers of the platform tests: the child program started without waiting
// for it (so that it can hold a file while the test looks, or be killed),
// and links planted as a stranger's archive would bring them: Linux links,
// natively and under wine (made by the Linux programs, as wine cannot).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#undef ReplaceFile  // the platform layer's is meant, not ReplaceFileA
#else
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

#include "platform/platform.h"

namespace platform_test {

// The child program as the platform layer names it (a Windows path).
inline std::string ChildProgram() {
  std::string windows, error;
  if (!platform::ToWindowsPath(ZUVO_TEST_CHILD, &windows, &error)) ADD_FAILURE() << error;
  return windows;
}

inline void SleepMs(int ms) {
#ifdef _WIN32
  Sleep(static_cast<DWORD>(ms));
#else
  usleep(static_cast<useconds_t>(ms) * 1000);
#endif
}

// The child program running with `args`, not waited for.
class Child {
 public:
  explicit Child(const std::vector<std::string>& args) {
#ifdef _WIN32
    std::string line = "child";
    for (const std::string& arg : args) line += " \"" + arg + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created = {};
    if (CreateProcessA(ChildProgram().c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &created)) {
      CloseHandle(created.hThread);
      process_ = created.hProcess;
      pid_ = static_cast<long>(created.dwProcessId);
    }
#else
    std::vector<std::string> argv = {"child"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv) pointers.push_back(&arg[0]);
    pointers.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, ZUVO_TEST_CHILD, nullptr, nullptr, pointers.data(), environ) == 0) pid_ = pid;
#endif
    EXPECT_GT(pid_, 0) << "the child program did not start";
  }
  ~Child() {
    if (pid_ > 0) {
      Kill();
      Wait();
    }
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  long pid() const { return pid_; }

  // Ends it at once (SIGKILL, TerminateProcess).
  void Kill() {
#ifdef _WIN32
    if (process_ != nullptr) TerminateProcess(process_, 137);
#else
    if (pid_ > 0 && !waited_) kill(static_cast<pid_t>(pid_), SIGKILL);
#endif
  }

  // Its exit code, once it ended; -1 when it was killed or is not there.
  int Wait() {
#ifdef _WIN32
    if (process_ == nullptr) return -1;
    WaitForSingleObject(process_, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    CloseHandle(process_);
    process_ = nullptr;
    pid_ = 0;
    return code == 137 ? -1 : static_cast<int>(code);
#else
    if (pid_ <= 0 || waited_) return -1;
    int status = 0;
    while (waitpid(static_cast<pid_t>(pid_), &status, 0) < 0) {
    }
    waited_ = true;
    pid_ = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  }

 private:
  long pid_ = 0;
#ifdef _WIN32
  HANDLE process_ = nullptr;
#else
  bool waited_ = false;
#endif
};

// Waits up to five seconds until the file `path` exists.
inline bool AwaitFile(const std::string& path) {
  for (int i = 0; i < 500; ++i) {
    if (platform::PathStatus(path) == platform::kPathFile) return true;
    SleepMs(10);
  }
  return false;
}

#ifdef _WIN32
// The Unix path of a Windows path under wine.
inline std::string UnixPathOf(const std::string& windows) {
  using Convert = char*(CDECL*)(const WCHAR*);
  const Convert convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (convert == nullptr) return std::string();
  std::wstring wide(windows.begin(), windows.end());
  char* unixPath = convert(wide.c_str());
  if (unixPath == nullptr) return std::string();
  std::string result = unixPath;
  HeapFree(GetProcessHeap(), 0, unixPath);
  return result;
}

// Runs a Linux shell command from under wine; 1 when it exited 0. Wine
// cannot wait for a Linux program, so the shell leaves its exit status in a
// file, which is awaited.
inline int RunLinuxShell(const std::string& command) {
  static int counter = 0;
  char folder[MAX_PATH + 1] = {};
  if (GetTempPathA(sizeof folder, folder) == 0) return 0;
  const std::string done = std::string(folder) + "zuvo-shell-" + std::to_string(GetCurrentProcessId()) + "-" +
                           std::to_string(counter++) + ".txt";
  const std::string unixDone = UnixPathOf(done);
  std::string line =
      "sh -c \"if " + command + "; then echo 0 >'" + unixDone + "'; else echo 1 >'" + unixDone + "'; fi\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION created = {};
  if (unixDone.empty() ||
      !CreateProcessA("Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &created)) {
    return 0;
  }
  CloseHandle(created.hThread);
  CloseHandle(created.hProcess);
  std::string status;
  for (int i = 0; i < 1000 && status.empty(); ++i) {
    SleepMs(10);
    platform::ReadWholeFile(done, &status);
  }
  DeleteFileA(done.c_str());
  return status == "0\n";
}
#endif

// Whether this system can plant Linux links (natively, or under wine).
inline bool CanPlantLinks() { return platform::ThisSystem() != platform::SystemKind::kWindows; }

// Plants the link `link` (a Windows path) naming `target` as written
// ("../out/o.txt"): a link of the Linux side.
inline void PlantLink(const std::string& target, const std::string& link) {
#ifdef _WIN32
  const std::string unixLink = UnixPathOf(link);
  ASSERT_FALSE(unixLink.empty()) << link;
  ASSERT_EQ(RunLinuxShell("ln -s '" + target + "' '" + unixLink + "'"), 1) << "no link " << link;
#else
  ASSERT_EQ(symlink(target.c_str(), platform::NativePathOf(link).c_str()), 0) << link;
#endif
}

// Removes the link `link` itself. Under wine a link must never be left to
// the test's clean-up, whose deletion would go to what the link names.
inline void RemoveLink(const std::string& link) {
#ifdef _WIN32
  RunLinuxShell("rm -f '" + UnixPathOf(link) + "'");
#else
  unlink(platform::NativePathOf(link).c_str());
#endif
}

}  // namespace platform_test
