// Safe replacement of a file on POSIX systems: the new bytes go to a
// temporary file in the target's folder, which is synced and renamed over the
// target only when every write and the close succeeded.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
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

// Creates a new file with a short unique name in `folder` (short, so a target
// name near the length limit still gets one). Returns its descriptor or -1.
int CreateTemporary(const std::string& folder, std::string* temp) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned long long seed = static_cast<unsigned long long>(getpid()) * 1000003u +
                              static_cast<unsigned long long>(time(nullptr)) * 7919u +
                              ++counter * 104729u + static_cast<unsigned>(attempt);
    static const char kHex[] = "0123456789abcdef";
    *temp = folder + "/.zuvo-";
    for (int shift = 28; shift >= 0; shift -= 4) temp->push_back(kHex[(seed >> shift) & 0xF]);
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
