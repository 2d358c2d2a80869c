// Files, folders and the current directory on POSIX systems. Every path is a
// Windows path, translated by native_path.h.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/cp1252.h"
#include "platform/faults.h"
#include "platform/file_failure.h"
#include "platform/platform.h"
#include "platform/posix/confine.h"
#include "platform/posix/native_path.h"

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace platform {
namespace posix {

// Renames without ever replacing `to`, relative to two folder descriptors.
// Linux does it atomically with renameat2(RENAME_NOREPLACE); where the kernel
// or the file system lacks it, a hard link (which refuses an existing target
// too) followed by removing the old name; for what cannot be linked (a
// folder, a file system without hard links) a check just before the rename.
int RenameNoReplace(int fromDir, const std::string& from, int toDir, const std::string& to) {
#if defined(SYS_renameat2)
  if (syscall(SYS_renameat2, fromDir, from.c_str(), toDir, to.c_str(), RENAME_NOREPLACE) == 0) {
    return 1;
  }
  if (errno != ENOSYS && errno != EINVAL) return 0;
#endif
  struct stat st;
  if (fstatat(toDir, to.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return 0;
  if (fstatat(fromDir, from.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return 0;
  if (S_ISREG(st.st_mode)) {
    if (linkat(fromDir, from.c_str(), toDir, to.c_str(), 0) == 0) {
      if (unlinkat(fromDir, from.c_str(), 0) == 0) return 1;
      unlinkat(toDir, to.c_str(), 0);
      return 0;
    }
    if (errno == EEXIST) return 0;
  }
  if (fstatat(toDir, to.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return 0;
  return renameat(fromDir, from.c_str(), toDir, to.c_str()) == 0;
}

}  // namespace posix

namespace {

// The folder of `path` opened and checked against `within`; -1 when it
// cannot be (*outside tells why, when not null).
int CheckedFolderOf(const std::string& path, const std::string& within, std::string* leaf, bool* outside) {
  bool out = false;
  std::string native;
  const int dirfd = posix::ToNative(path, &native) ? posix::OpenCheckedFolder(native, within, leaf, &out) : -1;
  if (outside != nullptr) *outside = out;
  return dirfd;
}

bool OpensForWriting(const char* mode) {
  return std::strchr(mode, 'w') != nullptr || std::strchr(mode, 'a') != nullptr || std::strchr(mode, '+') != nullptr;
}

}  // namespace

std::FILE* OpenFile(const std::string& path, const char* mode) {
  ClearFileFailure();
  std::string native;
  if (mode == nullptr || !posix::ToNative(path, &native)) return nullptr;
  if (OpensForWriting(mode) && ShouldFail(kFaultCreate)) return nullptr;
  std::FILE* file = std::fopen(native.c_str(), mode);
  if (file == nullptr) NoteFileFailure(errno, path, OpensForWriting(mode));
  return file;
}

int PathStatus(const std::string& path) {
  std::string native;
  if (!posix::ToNative(path, &native)) return kPathNone;
  struct stat st;
  if (stat(native.c_str(), &st) != 0) return kPathNone;
  if (S_ISDIR(st.st_mode)) return kPathDirectory;
  return kPathFile;
}

int RenameFile(const std::string& from, const std::string& to, const std::string& within, bool* outside) {
  ClearFileFailure();
  if (outside != nullptr) *outside = false;
  std::string fromLeaf, toLeaf;
  bool out = false;
  const int fromDir = CheckedFolderOf(from, within, &fromLeaf, &out);
  const int toDir = fromDir < 0 ? -1 : CheckedFolderOf(to, within, &toLeaf, &out);
  int renamed = 0;
  if (toDir >= 0 && !ShouldFail(kFaultRename)) {
    renamed = posix::RenameNoReplace(fromDir, fromLeaf, toDir, toLeaf);
    if (!renamed && errno == ENOENT) {
      NoteFileFailure(errno, from, false);
    } else if (!renamed) {
      NoteCreateFailure(errno, to);
    }
  }
  if (fromDir >= 0) close(fromDir);
  if (toDir >= 0) close(toDir);
  if (outside != nullptr) *outside = out;
  return renamed;
}

int RemoveFile(const std::string& path, const std::string& within) {
  std::string leaf;
  const int dirfd = CheckedFolderOf(path, within, &leaf, nullptr);
  if (dirfd < 0) return 0;
  struct stat st;
  int removed = 0;
  if (fstatat(dirfd, leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(st.st_mode) &&
      !ShouldFail(kFaultRemove)) {
    removed = unlinkat(dirfd, leaf.c_str(), 0) == 0;
  }
  close(dirfd);
  return removed;
}

int MakeDirectory(const std::string& path, const std::string& within) {
  std::string leaf;
  const int dirfd = CheckedFolderOf(path, within, &leaf, nullptr);
  if (dirfd < 0) return 0;
  ClearFileFailure();
  const int made = !ShouldFail(kFaultMkdir) && mkdirat(dirfd, leaf.c_str(), 0777) == 0;
  if (!made && errno != EEXIST && FaultsPlanned() == false) NoteCreateFailure(errno, path);
  close(dirfd);
  return made;
}

int ChangeDirectory(const std::string& path) {
  // A bare drive ("C:") means its root, not the drive's current folder.
  const bool bareDrive = path.size() == 2 && path[1] == ':';
  std::string native;
  if (!posix::ToNative(bareDrive ? path + "\\" : path, &native)) return 0;
  if (ShouldFail(kFaultChdir)) return 0;
  return chdir(native.c_str()) == 0;
}

std::string CurrentDirectory() {
  std::string unixPath, windows, error;
  if (!posix::CurrentUnixDirectory(&unixPath)) return ".";
  if (!posix::ToWindows(unixPath, &windows, &error)) return ".";
  return windows;
}

int ToWindowsPath(const std::string& native, std::string* windows, std::string* error) {
  std::string message;
  if (!posix::ToWindows(native, windows, &message)) {
    if (error != nullptr) *error = message;
    return 0;
  }
  return 1;
}

std::string StoredSpelling(const std::string& path) {
  std::string stored;
  return posix::StoredSpelling(path, &stored) ? stored : path;
}

std::string NativePathOf(const std::string& windowsPath) {
  std::string native;
  if (!posix::ToNative(windowsPath, &native)) return std::string();
  return native;
}

std::string UnixPathForText(const std::string& windowsPath) {
  if (!posix::IsDrivePath(windowsPath)) return windowsPath;
  const std::string root = posix::DriveRoot(static_cast<char>(windowsPath[0] | 0x20));
  std::string native;
  if (root.empty() || !posix::ToNative(windowsPath, &native)) return windowsPath;
  // The drive's entry is a link ("dosdevices/c:" to "../drive_c"); its
  // target is the name the user knows.
  if (native.compare(0, root.size(), root) == 0) {
    if (char* resolved = realpath(root.c_str(), nullptr)) {
      const std::string target = resolved;
      std::free(resolved);
      std::string rest = native.substr(root.size());
      if (!rest.empty() && rest[0] == '/') rest.erase(0, 1);
      native = rest.empty() ? target : target + (target.back() == '/' ? "" : "/") + rest;
    }
  }
  return posix::ForMessage(native);
}

bool IsUnixStyleArgument(const std::string& argument) { return !posix::IsDrivePath(argument); }

std::string ToConsoleText(const std::string& cp1252) { return Cp1252ToUtf8(cp1252); }

}  // namespace platform
