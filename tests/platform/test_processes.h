// Helpers of the platform tests: the child program run to its end, and links
// planted as a stranger's archive would bring them: Linux links, natively and
// under wine (made by the Linux programs, as wine cannot).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#undef ReplaceFile  // the platform layer's is meant, not ReplaceFileA
#endif

#include "platform/platform.h"

namespace platform_test {

// The child program as the platform layer names it (a Windows path).
inline std::string ChildProgram() {
  std::string windows, error;
  if (!platform::ToWindowsPath(ZUVO_TEST_CHILD, &windows, &error)) ADD_FAILURE() << error;
  return windows;
}

// Runs the child program with `args` (each quoted, as the simulator's are)
// and waits for its end: its exit code, or -1 when it did not run.
inline int RunChild(const std::vector<std::string>& args, const std::function<int(long pid)>& onStarted = nullptr) {
  std::vector<std::string> quoted = {"child"};
  for (const std::string& arg : args) quoted.push_back("\"" + arg + "\"");
  int code = -1;
  return platform::RunAndWait(ChildProgram(), quoted, &code, nullptr, onStarted) ? code : -1;
}

#ifndef _WIN32  // natively the path itself, and the system's shell
inline std::string UnixPathOf(const std::string& windows) { return platform::NativePathOf(windows); }
inline int RunLinuxShell(const std::string& command) { return std::system(command.c_str()) == 0; }
#else
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
  const std::string done = "/tmp/zuvo-shell-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
  std::string line = "sh -c \"" + command + "; echo $? >" + done + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION created = {};
  if (!CreateProcessA("Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &created))
    return 0;
  CloseHandle(created.hThread);
  CloseHandle(created.hProcess);
  std::string status;
  for (int i = 0; i < 1000 && status.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    platform::ReadWholeFile("Z:" + done, &status);
  }
  DeleteFileA(("Z:" + done).c_str());
  return status == "0\n";
}
#endif

// Plants the link `link` (a Windows path) naming `target` as written
// ("../out/o.txt"): a link of the Linux side.
inline void PlantLink(const std::string& target, const std::string& link) {
  const std::string unixLink = UnixPathOf(link);
  ASSERT_FALSE(unixLink.empty()) << link;
  ASSERT_EQ(RunLinuxShell("ln -s '" + target + "' '" + unixLink + "'"), 1) << "no link " << link;
}

// Removes the link `link` itself. Under wine a link must never be left to
// the test's clean-up, whose deletion would go to what the link names.
inline void RemoveLink(const std::string& link) { RunLinuxShell("rm -f '" + UnixPathOf(link) + "'"); }

}  // namespace platform_test
