// Who a process is on Linux: its id, and its start as the boot's id with the
// start time in clock ticks since that boot (field 22 of /proc/PID/stat), so
// that an id used again by a later process, or after a reboot, is not taken
// for the old one.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "platform/posix/native_path.h"

namespace platform {
namespace {

std::string FirstLineOf(const std::string& path) {
  std::string bytes;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return bytes;
  char buffer[512];
  const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
  std::fclose(file);
  bytes.assign(buffer, got);
  return bytes.substr(0, bytes.find('\n'));
}

}  // namespace

long OwnProcessId() { return static_cast<long>(getpid()); }

namespace {

// The start of process `pid` and whether it still runs (not a zombie);
// empty when there is no such process.
std::string StartOf(long pid, bool* running) {
  *running = false;
  if (pid <= 0) return std::string();
  const std::string stat = FirstLineOf("/proc/" + std::to_string(pid) + "/stat");
  // "PID (NAME) STATE ...": the name may hold blanks and parentheses, so the
  // fields are counted from its last ')'. Field 3 is the state, 22 the start.
  const std::size_t close = stat.rfind(')');
  if (close == std::string::npos) return std::string();
  std::size_t pos = close + 1;
  std::string field;
  for (int number = 3; number <= 22; ++number) {
    const std::size_t begin = stat.find_first_not_of(' ', pos);
    if (begin == std::string::npos) return std::string();
    pos = stat.find(' ', begin);
    field = stat.substr(begin, pos == std::string::npos ? std::string::npos : pos - begin);
    if (number == 3) *running = field != "Z" && field != "X";
  }
  return FirstLineOf("/proc/sys/kernel/random/boot_id") + ":" + field;
}

}  // namespace

std::string ProcessStartTime(long pid) {
  bool running = false;
  return StartOf(pid, &running);
}

std::string HostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return std::string();
  return name;
}

int ProcessLiveness(long pid, const std::string& startTime) {
  if (startTime.empty() || pid <= 0) return kDead;
  // A start time of the Windows form (digits only) cannot be judged here.
  if (startTime.find(':') == std::string::npos) return kCannotTell;
  bool running = false;
  return StartOf(pid, &running) == startTime && running ? kAlive : kDead;
}

SystemKind ThisSystem() { return SystemKind::kLinux; }

std::string WinePrefixPath() { return posix::WinePrefix(); }

int WineProgramLiveness(const std::string& prefix, const std::string& programName) {
  (void)prefix;
  (void)programName;
  return kCannotTell;
}

}  // namespace platform
