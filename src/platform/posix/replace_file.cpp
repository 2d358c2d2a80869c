// Safe replacement of a file on POSIX systems: the new bytes go to a
// temporary file in the target's folder, which is synced and renamed over the
// target only when every write and the close succeeded.
//
// A temporary file is named ".zuvo-<pid>-XXXXXX" after its writer. A writer
// killed between creating and moving it leaves it behind; the first save of a
// process into a folder removes such files of processes that are gone and
// untouched for a minute (a process id of another pid namespace looks gone).
// Earlier versions named them ".zuvo-XXXXXXXX" without the writer; those are
// removed a day after their last change, when no save can still be at work.
// Only names of exactly these forms are touched.
#include <fcntl.h>
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <set>
#include <string>

#include "platform/faults.h"
#include "platform/platform.h"
#include "platform/posix/native_path.h"

namespace platform {
namespace {

std::string FolderOf(const std::string& native) {
  std::size_t slash = native.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return native.substr(0, slash);
}

// A link is followed, so the file it names is replaced and the link stays.
std::string FollowLink(const std::string& native) {
  struct stat st;
  if (lstat(native.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return native;
  char* resolved = realpath(native.c_str(), nullptr);
  if (resolved == nullptr) return native;
  std::string result = resolved;
  std::free(resolved);
  return result;
}

const char kTempPrefix[] = ".zuvo-";
const int kTempSuffixLength = 6;
const char kHex[] = "0123456789abcdef";

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

// The writer's process id of a temporary file's name ".zuvo-<pid>-XXXXXX"
// (XXXXXX lower-case hexadecimal); 0 for any other name.
pid_t WriterOf(const std::string& name) {
  const std::size_t prefix = sizeof kTempPrefix - 1;
  if (name.compare(0, prefix, kTempPrefix) != 0) return 0;
  std::size_t pos = prefix;
  long long pid = 0;
  while (pos < name.size() && name[pos] >= '0' && name[pos] <= '9' && pid <= 0x7FFFFFFF) {
    pid = pid * 10 + (name[pos++] - '0');
  }
  if (pos == prefix || name[prefix] == '0' || pid > 0x7FFFFFFF || pos >= name.size() || name[pos] != '-') return 0;
  if (name.size() - pos - 1 != static_cast<std::size_t>(kTempSuffixLength)) return 0;
  for (++pos; pos < name.size(); ++pos) {
    if (!IsHexDigit(name[pos])) return 0;
  }
  return static_cast<pid_t>(pid);
}

// ".zuvo-XXXXXXXX", eight lower-case hexadecimal digits.
bool IsOldTemporaryName(const std::string& name) {
  const std::size_t prefix = sizeof kTempPrefix - 1;
  if (name.size() != prefix + 8 || name.compare(0, prefix, kTempPrefix) != 0) return false;
  for (std::size_t pos = prefix; pos < name.size(); ++pos) {
    if (!IsHexDigit(name[pos])) return false;
  }
  return true;
}

bool ProcessIsGone(pid_t pid) { return kill(pid, 0) != 0 && errno == ESRCH; }

const time_t kLeftoverAge = 60;          // seconds without a change
const time_t kOldLeftoverAge = 24 * 3600;

// Removes the temporary files in `folder` that processes now gone left
// behind: regular files named as WriterOf reads them. Done once per folder
// and process, so saving many files into one folder stays cheap.
void RemoveLeftovers(const std::string& folder) {
  static std::mutex mutex;
  static std::set<std::string> cleaned;
  {
    std::lock_guard<std::mutex> lock(mutex);
    if (!cleaned.insert(folder).second) return;
  }
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    const pid_t writer = WriterOf(name);
    const bool old = IsOldTemporaryName(name);
    if (!old && (writer <= 0 || writer == getpid() || !ProcessIsGone(writer))) continue;
    const std::string path = folder + "/" + name;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (time(nullptr) - st.st_mtime > (old ? kOldLeftoverAge : kLeftoverAge)) unlink(path.c_str());
  }
  closedir(dir);
}

// Creates a new file with a short unique name in `folder` (short, so a target
// name near the length limit still gets one). Returns its descriptor or -1.
int CreateTemporary(const std::string& folder, std::string* temp) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned long long seed = static_cast<unsigned long long>(getpid()) * 1000003u +
                              static_cast<unsigned long long>(time(nullptr)) * 7919u +
                              ++counter * 104729u + static_cast<unsigned>(attempt);
    *temp = folder + "/" + kTempPrefix + std::to_string(getpid()) + "-";
    for (int shift = 4 * (kTempSuffixLength - 1); shift >= 0; shift -= 4) {
      temp->push_back(kHex[(seed >> shift) & 0xF]);
    }
    int fd = open(temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    if (ShouldFail(kFaultWrite)) return false;
    std::size_t chunk = size < static_cast<std::size_t>(SSIZE_MAX) ? size : SSIZE_MAX;
    ssize_t wrote = write(fd, data, chunk);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    data += wrote;
    size -= static_cast<std::size_t>(wrote);
  }
  return true;
}

// Makes the rename itself durable; a failure here loses nothing.
void SyncFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

SaveOutcome ReplaceFile(const std::string& path, const void* data, std::size_t size) {
  std::string native;
  if (!posix::ToNative(path, &native)) return SaveOutcome::kCannotCreate;
  native = FollowLink(native);
  std::string folder = FolderOf(native);

  // A replaced file keeps its permissions; a new one gets 0666 less the
  // umask, which open() applies.
  struct stat st;
  bool replacing = stat(native.c_str(), &st) == 0;
  if (replacing && S_ISDIR(st.st_mode)) return SaveOutcome::kCannotCreate;

  if (ShouldFail(kFaultCreate)) return SaveOutcome::kCannotCreate;
  RemoveLeftovers(folder);
  std::string temp;
  int fd = CreateTemporary(folder, &temp);
  if (fd < 0) return SaveOutcome::kCannotCreate;

  bool ok = !replacing || fchmod(fd, st.st_mode & 07777) == 0;
  ok = ok && WriteAll(fd, static_cast<const char*>(data), size);
  ok = ok && fsync(fd) == 0;
  if (ShouldFail(kFaultClose)) {
    close(fd);
    ok = false;
  } else if (close(fd) != 0) {
    ok = false;
  }
  if (ok && ShouldFail(kFaultRename)) ok = false;
  if (ok && std::rename(temp.c_str(), native.c_str()) != 0) ok = false;
  if (!ok) {
    unlink(temp.c_str());
    return SaveOutcome::kWriteFailed;
  }
  SyncFolder(folder);
  return SaveOutcome::kSaved;
}

}  // namespace platform
