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
#include "platform/file_failure.h"
#include "platform/platform.h"
#include "platform/posix/write_all.h"
#include "platform/posix/confine.h"
#include "platform/posix/native_path.h"
#include "platform/temporary_name.h"

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
  return posix::ResolvedPath(native);
}

bool ProcessIsGone(pid_t pid) { return kill(pid, 0) != 0 && errno == ESRCH; }

const time_t kLeftoverAge = 60;  // seconds without a change
const time_t kOldLeftoverAge = 24 * 3600;

// Removes the temporary files in the folder `dirfd` (named `folder`) that
// processes now gone left behind: regular files named as
// IsTemporaryFileName reads them. Done once per folder and process, so
// saving many files into one folder stays cheap.
void RemoveLeftovers(int dirfd, const std::string& folder) {
  static std::mutex mutex;
  static std::set<std::string> cleaned;
  {
    std::lock_guard<std::mutex> lock(mutex);
    if (!cleaned.insert(folder).second) return;
  }
  const int listed = dup(dirfd);
  if (listed < 0) return;
  DIR* dir = fdopendir(listed);
  if (dir == nullptr) {
    close(listed);
    return;
  }
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    long writer = 0;
    if (!IsTemporaryFileName(name, &writer) || writer > INT_MAX) continue;
    const bool old = writer == 0;
    if (!old && (writer == getpid() || !ProcessIsGone(static_cast<pid_t>(writer)))) continue;
    struct stat st;
    if (fstatat(dirfd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    if (time(nullptr) - st.st_mtime > (old ? kOldLeftoverAge : kLeftoverAge)) unlinkat(dirfd, name.c_str(), 0);
  }
  closedir(dir);
}

// Creates a new temporary file in the folder `dirfd`. Returns its
// descriptor or -1.
int CreateTemporary(int dirfd, std::string* temp) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned long long seed = static_cast<unsigned long long>(getpid()) * 1000003u +
                              static_cast<unsigned long long>(time(nullptr)) * 7919u + ++counter * 104729u +
                              static_cast<unsigned>(attempt);
    *temp = TemporaryFileName(getpid(), seed);
    int fd = openat(dirfd, temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

SaveOutcome ReplaceFile(const std::string& path, const void* data, std::size_t size, const std::string& within) {
  ClearFileFailure();
  std::string native;
  if (!posix::ToNative(path, &native)) return SaveOutcome::kCannotCreate;
  native = FollowLink(native);
  if (native.empty()) return SaveOutcome::kOutside;  // a link that leads nowhere

  std::string leaf;
  bool outside = false;
  const int dirfd = posix::OpenCheckedFolder(native, within, &leaf, &outside);
  if (dirfd < 0) {
    if (!outside) NoteFileFailure(errno, path, true);
    return outside ? SaveOutcome::kOutside : SaveOutcome::kCannotCreate;
  }

  // A replaced file keeps its permissions; a new one gets 0666 less the
  // umask, which open() applies. One without any write permission is
  // read-only, as wine shows it, and Windows refuses to replace it.
  struct stat st;
  const bool replacing = fstatat(dirfd, leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
  SaveOutcome refused = SaveOutcome::kSaved;
  if (replacing && S_ISLNK(st.st_mode)) refused = SaveOutcome::kOutside;  // made a link since it was followed
  if (replacing && (S_ISDIR(st.st_mode) || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)) {
    refused = SaveOutcome::kReadOnly;
  }
  if (refused == SaveOutcome::kReadOnly)
    NoteFileCause(S_ISDIR(st.st_mode) ? FileCause::kIsFolder : FileCause::kFileReadOnly, path);
  if (refused == SaveOutcome::kSaved && ShouldFail(kFaultCreate)) refused = SaveOutcome::kCannotCreate;
  if (refused != SaveOutcome::kSaved) {
    close(dirfd);
    return refused;
  }
  RemoveLeftovers(dirfd, FolderOf(native));
  std::string temp;
  int fd = CreateTemporary(dirfd, &temp);
  if (fd < 0) {
    NoteCreateFailure(errno, path);
    close(dirfd);
    return SaveOutcome::kCannotCreate;
  }

  bool ok = !replacing || fchmod(fd, st.st_mode & 07777) == 0;
  ok = ok && posix::WriteAll(fd, static_cast<const char*>(data), size);
  ok = ok && fsync(fd) == 0;
  if (!ok && !FaultsPlanned()) NoteFileFailure(errno, path, true);
  if (ShouldFail(kFaultClose)) {
    close(fd);
    ok = false;
  } else if (close(fd) != 0) {
    ok = false;
  }
  if (ok && ShouldFail(kFaultRename)) ok = false;
  if (ok && renameat(dirfd, temp.c_str(), dirfd, leaf.c_str()) != 0) {
    NoteCreateFailure(errno, path);
    ok = false;
  }
  if (!ok) {
    unlinkat(dirfd, temp.c_str(), 0);
    close(dirfd);
    return SaveOutcome::kWriteFailed;
  }
  // Makes the rename itself durable; a failure here loses nothing.
  fsync(dirfd);
  close(dirfd);
  return SaveOutcome::kSaved;
}

}  // namespace platform
