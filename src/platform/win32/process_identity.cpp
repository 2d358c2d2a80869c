// Who a process is on Windows: its id, and its creation time, so that an id
// used again by a later process is not taken for the old one.
#include <windows.h>

#include <string>

#include "platform/platform.h"

namespace platform {
namespace {

// The creation time as a decimal number of 100 ns units; empty when the
// process cannot be opened. *running tells whether it has not ended yet,
// *denied a process that exists but may not be examined.
std::string CreationTimeOf(long pid, bool* running, bool* denied) {
  *running = false;
  *denied = false;
  if (pid <= 0) return std::string();
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) {
    *denied = GetLastError() == ERROR_ACCESS_DENIED;
    return std::string();
  }
  FILETIME created, exited, kernel, user;
  DWORD code = 0;
  std::string text;
  if (GetProcessTimes(process, &created, &exited, &kernel, &user)) {
    *running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    const unsigned long long ticks =
        (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    text = std::to_string(ticks);
  }
  CloseHandle(process);
  return text;
}

}  // namespace

long OwnProcessId() { return static_cast<long>(GetCurrentProcessId()); }

std::string ProcessStartTime(long pid) {
  bool running = false, denied = false;
  return CreationTimeOf(pid, &running, &denied);
}

std::string HostName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  if (!GetComputerNameA(name, &size)) return std::string();
  return std::string(name, size);
}

int ProcessLiveness(long pid, const std::string& startTime) {
  if (startTime.empty() || pid <= 0) return kDead;
  // A start time of another form (written on Linux) cannot be judged here.
  if (startTime.find_first_not_of("0123456789") != std::string::npos) return kCannotTell;
  bool running = false, denied = false;
  const std::string now = CreationTimeOf(pid, &running, &denied);
  if (denied) return kCannotTell;
  return now == startTime && running ? kAlive : kDead;
}

SystemKind ThisSystem() {
  static const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  return wine ? SystemKind::kWine : SystemKind::kWindows;
}

std::string WinePrefixPath() { return std::string(); }

int WineProgramLiveness(const std::string& prefix, const std::string& programName) {
  (void)prefix;
  (void)programName;
  return kCannotTell;
}

}  // namespace platform
