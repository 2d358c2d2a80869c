// Who a process is on Linux: its id, and its start as the boot's id with the
// start time in clock ticks since that boot (field 22 of /proc/PID/stat), so
// that an id used again by a later process, or after a reboot, is not taken
// for the old one.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "platform/posix/native_path.h"
#include "platform/proc_stat.h"

namespace platform {
namespace {

const std::size_t kMostRead = 1u << 16;  // far more than any file read here

procfs::ReadResult ReadProc(const std::string& name, std::string* text) {
  text->clear();
  std::FILE* file = std::fopen(("/proc/" + name).c_str(), "rb");
  if (file == nullptr) return errno == ENOENT || errno == ESRCH ? procfs::kMissing : procfs::kRefused;
  char buffer[4096];
  std::size_t got;
  while (text->size() < kMostRead && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text->append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  return failed ? procfs::kRefused : procfs::kRead;
}

}  // namespace

long OwnProcessId() { return static_cast<long>(getpid()); }

std::string ProcessStartTime(long pid) {
  bool running = false;
  return procfs::StartOf(pid, &ReadProc, &running);
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
  return procfs::Liveness(pid, startTime, &ReadProc);
}

SystemKind ThisSystem() { return SystemKind::kLinux; }

std::string WinePrefixPath() { return posix::WinePrefix(); }

}  // namespace platform
