// Who a process is on Windows: its id, and its creation time, so that an id
// used again by a later process is not taken for the old one.
//
// Under wine the Linux side is within reach too: the Linux process table
// and host name through drive Z: (/proc), the prefix through wine's own
// exports.
#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "platform/cp1252.h"
#include "platform/platform.h"
#include "platform/proc_stat.h"

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

const DWORD kMostRead = 1u << 16;  // far more than any file read here

// /proc under wine. Wine opens files in its server, so "self" there would
// be the server; only explicit process ids are read.
procfs::ReadResult ReadProcThroughZ(const std::string& name, std::string* text) {
  text->clear();
  std::string path = "Z:\\proc\\" + name;
  for (char& c : path) c = c == '/' ? '\\' : c;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? procfs::kMissing : procfs::kRefused;
  }
  char buffer[4096];
  DWORD got = 0;
  bool ok = true;
  while (text->size() < kMostRead && (ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != 0) && got > 0) {
    text->append(buffer, got);
  }
  CloseHandle(file);
  return ok ? procfs::kRead : procfs::kRefused;
}

// wine_get_unix_file_name of kernel32 under wine: the Unix path of a
// Windows path; empty elsewhere or when it has none.
std::string UnixPathOf(const std::string& windows) {
  using Convert = char*(CDECL*)(const WCHAR*);
  // Through void*, as a FARPROC does not convert to another function type.
  const Convert convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (convert == nullptr || windows.empty()) return std::string();
  const int length = MultiByteToWideChar(CP_ACP, 0, windows.c_str(), -1, nullptr, 0);
  if (length <= 0) return std::string();
  std::vector<WCHAR> wide(static_cast<std::size_t>(length));
  if (MultiByteToWideChar(CP_ACP, 0, windows.c_str(), -1, wide.data(), length) != length) return std::string();
  char* unixPath = convert(wide.data());
  if (unixPath == nullptr) return std::string();
  std::string result = unixPath;
  HeapFree(GetProcessHeap(), 0, unixPath);
  return result;
}

std::string EnvironmentValue(const char* name) {
  const DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
  if (needed == 0) return std::string();
  std::vector<char> buffer(needed + 1, '\0');
  const DWORD got = GetEnvironmentVariableA(name, buffer.data(), static_cast<DWORD>(buffer.size()));
  return got > 0 && got < buffer.size() ? std::string(buffer.data(), got) : std::string();
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// Whether the Unix folders `a` and `b` are one: the same text, or the same
// file seen through drive Z:.
bool SameUnixFolder(const std::string& a, const std::string& b) {
  if (WithoutTrailingSlashes(a) == WithoutTrailingSlashes(b)) return true;
  BY_HANDLE_FILE_INFORMATION info[2];
  const std::string paths[2] = {a, b};
  for (int i = 0; i < 2; ++i) {
    if (paths[i].empty() || paths[i][0] != '/') return false;
    std::string windows = "Z:" + paths[i];
    for (char& c : windows) c = c == '/' ? '\\' : c;
    HANDLE folder =
        CreateFileA(windows.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) return false;
    const bool got = GetFileInformationByHandle(folder, &info[i]) != 0;
    CloseHandle(folder);
    if (!got) return false;
  }
  return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
         info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

}  // namespace

long OwnProcessId() { return static_cast<long>(GetCurrentProcessId()); }

std::string ProcessStartTime(long pid) {
  bool running = false, denied = false;
  return CreationTimeOf(pid, &running, &denied);
}

std::string HostName() {
  if (ThisSystem() == SystemKind::kWine) {
    const std::string linux = procfs::FirstLine("sys/kernel/hostname", &ReadProcThroughZ);
    if (!linux.empty()) return linux;
  }
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  if (!GetComputerNameA(name, &size)) return std::string();
  return std::string(name, size);
}

int ProcessLiveness(long pid, const std::string& startTime) {
  if (startTime.empty() || pid <= 0) return kDead;
  if (startTime.find_first_not_of("0123456789") != std::string::npos) {
    // The Linux form: wine reaches the Linux process table; Windows cannot.
    if (startTime.find(':') == std::string::npos || ThisSystem() != SystemKind::kWine) return kCannotTell;
    return procfs::Liveness(pid, startTime, &ReadProcThroughZ);
  }
  bool running = false, denied = false;
  const std::string now = CreationTimeOf(pid, &running, &denied);
  if (denied) return kCannotTell;
  return now == startTime && running ? kAlive : kDead;
}

SystemKind ThisSystem() {
  static const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  return wine ? SystemKind::kWine : SystemKind::kWindows;
}

std::string WinePrefixPath() {
  if (ThisSystem() != SystemKind::kWine) return std::string();
  // Wine names its prefix "\??\Z:\..." in WINECONFIGDIR.
  std::string config = EnvironmentValue("WINECONFIGDIR");
  if (config.compare(0, 4, "\\??\\") == 0) config.erase(0, 4);
  const std::string unixPath = UnixPathOf(config);
  return unixPath.empty() ? EnvironmentValue("WINEPREFIX") : WithoutTrailingSlashes(unixPath);
}

int WineProgramLiveness(const std::string& prefix, const std::string& programName) {
  if (ThisSystem() != SystemKind::kWine) return kCannotTell;
  const std::string own = WinePrefixPath();
  if (own.empty() || !SameUnixFolder(prefix, own)) return kCannotTell;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return kCannotTell;
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof entry;
  int liveness = kDead;
  for (BOOL more = Process32First(snapshot, &entry); more && liveness == kDead;
       more = Process32Next(snapshot, &entry)) {
    if (EqualsIgnoringAsciiCase(entry.szExeFile, programName)) liveness = kAlive;
  }
  CloseHandle(snapshot);
  return liveness;
}

}  // namespace platform
