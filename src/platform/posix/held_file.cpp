// Held files on POSIX systems: an open file description lock (F_OFD_SETLK,
// which a second descriptor of the same process cannot let go by closing,
// and which conflicts with the locks wine takes for LockFileEx), else a
// classic record lock.
#include "platform/held_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <ctime>
#include <string>

#include "platform/faults.h"
#include "platform/posix/confine.h"
#include "platform/posix/native_path.h"
#include "platform/posix/write_all.h"
#include "platform/temporary_name.h"

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace platform {
namespace {

const off_t kLockOffset = static_cast<off_t>(1) << 30;

enum LockResult { kLocked, kLockBusy, kLockFailed };

LockResult LockFar(int fd) {
  struct flock lock = {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = kLockOffset;
  lock.l_len = 1;
  int result;
#ifdef F_OFD_SETLK
  result = fcntl(fd, F_OFD_SETLK, &lock);
  if (result != 0 && errno == EINVAL) result = fcntl(fd, F_SETLK, &lock);
#else
  result = fcntl(fd, F_SETLK, &lock);
#endif
  if (result == 0) return kLocked;
  return errno == EAGAIN || errno == EACCES ? kLockBusy : kLockFailed;
}

// A new temporary file in `dirfd`, named as a safe save names them, locked
// and holding `bytes`, flushed. Its descriptor, or -1 (nothing left behind).
int WriteLockedTemporary(int dirfd, const std::string& bytes, std::string* name) {
  static std::atomic<unsigned> counter{0};
  if (ShouldFail(kFaultCreate)) return -1;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    const unsigned long long seed = static_cast<unsigned long long>(getpid()) * 2654435761u +
                                    static_cast<unsigned long long>(time(nullptr)) * 40503u + ++counter * 104729u;
    *name = TemporaryFileName(getpid(), seed);
    fd = openat(dirfd, name->c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return -1;
  }
  if (fd < 0) return -1;
  if (LockFar(fd) == kLocked && posix::WriteAll(fd, bytes.data(), bytes.size()) && fsync(fd) == 0) return fd;
  close(fd);
  unlinkat(dirfd, name->c_str(), 0);
  return -1;
}

// Renames without replacing; see posix/files.cpp for the fallbacks.
int RenameNoReplaceAt(int dirfd, const std::string& from, const std::string& to) {
#if defined(SYS_renameat2)
  if (syscall(SYS_renameat2, dirfd, from.c_str(), dirfd, to.c_str(), RENAME_NOREPLACE) == 0) return 1;
  if (errno != ENOSYS && errno != EINVAL) return 0;
#endif
  if (linkat(dirfd, from.c_str(), dirfd, to.c_str(), 0) != 0) return 0;
  unlinkat(dirfd, from.c_str(), 0);
  return 1;
}

void CloseIfOpen(long long* fd) {
  if (*fd >= 0) close(static_cast<int>(*fd));
  *fd = -1;
}

}  // namespace

HeldFile::~HeldFile() { LetGo(this); }

HeldFile::HeldFile(HeldFile&& other) noexcept { *this = std::move(other); }

HeldFile& HeldFile::operator=(HeldFile&& other) noexcept {
  if (this != &other) {
    LetGo(this);
    file_ = other.file_;
    folder_ = other.folder_;
    path_ = std::move(other.path_);
    leaf_ = std::move(other.leaf_);
    other.file_ = other.folder_ = kNone;
  }
  return *this;
}

HoldOutcome CreateHeldFile(const std::string& path, const std::string& bytes, const std::string& within,
                           HeldFile* held) {
  LetGo(held);
  std::string native, leaf, temp;
  bool outside = false;
  if (!posix::ToNative(path, &native)) return HoldOutcome::kFailed;
  const int dirfd = posix::OpenCheckedFolder(native, within, &leaf, &outside);
  if (dirfd < 0) return outside ? HoldOutcome::kOutside : HoldOutcome::kFailed;
  const int fd = WriteLockedTemporary(dirfd, bytes, &temp);
  if (fd < 0) {
    close(dirfd);
    return HoldOutcome::kFailed;
  }
  bool renamed = false, taken = false;
  if (!ShouldFail(kFaultRename)) {
    renamed = RenameNoReplaceAt(dirfd, temp, leaf) != 0;
    taken = !renamed && errno == EEXIST;
  }
  if (!renamed) {
    close(fd);
    unlinkat(dirfd, temp.c_str(), 0);
    close(dirfd);
    return taken ? HoldOutcome::kExists : HoldOutcome::kFailed;
  }
  fsync(dirfd);
  held->file_ = fd;
  held->folder_ = dirfd;
  held->path_ = path;
  held->leaf_ = leaf;
  return HoldOutcome::kHeld;
}

HoldOutcome HoldFile(const std::string& path, const std::string& within, HeldFile* held) {
  LetGo(held);
  std::string native, leaf;
  bool outside = false;
  if (!posix::ToNative(path, &native)) return HoldOutcome::kFailed;
  const int dirfd = posix::OpenCheckedFolder(native, within, &leaf, &outside);
  if (dirfd < 0) return outside ? HoldOutcome::kOutside : HoldOutcome::kGone;
  // The name may be removed or replaced between the open and the lock; what
  // is held must be what the name names afterwards.
  for (int attempt = 0; attempt < 10; ++attempt) {
    const int fd = openat(dirfd, leaf.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
      const int error = errno;
      close(dirfd);
      if (error == ENOENT) return HoldOutcome::kGone;
      return error == ELOOP ? HoldOutcome::kOutside : HoldOutcome::kFailed;
    }
    const LockResult locked = LockFar(fd);
    if (locked != kLocked) {
      close(fd);
      close(dirfd);
      return locked == kLockBusy ? HoldOutcome::kBusy : HoldOutcome::kFailed;
    }
    struct stat opened, named;
    if (fstat(fd, &opened) == 0 && fstatat(dirfd, leaf.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
      held->file_ = fd;
      held->folder_ = dirfd;
      held->path_ = path;
      held->leaf_ = leaf;
      return HoldOutcome::kHeld;
    }
    close(fd);
  }
  close(dirfd);
  return HoldOutcome::kGone;
}

int RewriteHeldFile(HeldFile* held, const std::string& bytes) {
  if (!held->held()) return 0;
  const int dirfd = static_cast<int>(held->folder_);
  std::string temp;
  const int fd = WriteLockedTemporary(dirfd, bytes, &temp);
  if (fd < 0) return 0;
  if (ShouldFail(kFaultRename) || renameat(dirfd, temp.c_str(), dirfd, held->leaf_.c_str()) != 0) {
    close(fd);
    unlinkat(dirfd, temp.c_str(), 0);
    return 0;
  }
  fsync(dirfd);
  close(static_cast<int>(held->file_));
  held->file_ = fd;
  return 1;
}

int RemoveHeldFile(HeldFile* held) {
  if (!held->held()) return 0;
  if (ShouldFail(kFaultRemove)) return 0;
  if (unlinkat(static_cast<int>(held->folder_), held->leaf_.c_str(), 0) != 0) return 0;
  fsync(static_cast<int>(held->folder_));
  LetGo(held);
  return 1;
}

void LetGo(HeldFile* held) {
  CloseIfOpen(&held->file_);
  CloseIfOpen(&held->folder_);
}

}  // namespace platform
