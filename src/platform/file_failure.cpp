#include "platform/file_failure.h"

#include <cerrno>

#include "platform/platform.h"

namespace platform {
namespace {

FileFailure& Noted() {
  static thread_local FileFailure failure;
  return failure;
}

// The folder part of a Windows path, without its last separator; "." for a
// bare name.
std::string FolderPart(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return ".";
  if (slash == 2 && path.size() > 1 && path[1] == ':') return path.substr(0, 3);
  return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

}  // namespace

const FileFailure& LastFileFailure() { return Noted(); }

void ClearFileFailure() { Noted() = FileFailure(); }

void NoteFileCause(FileCause cause, const std::string& path, const std::string& folder) {
  Noted() = FileFailure{cause, path, folder};
}

int ErrnoOfSystemError(unsigned long error) {
  switch (error) {
    case 2:  // ERROR_FILE_NOT_FOUND
    case 3:  // ERROR_PATH_NOT_FOUND
      return ENOENT;
    case 5:   // ERROR_ACCESS_DENIED
    case 32:  // ERROR_SHARING_VIOLATION
      return EACCES;
    case 19:  // ERROR_WRITE_PROTECT
      return EROFS;
    case 39:   // ERROR_HANDLE_DISK_FULL
    case 112:  // ERROR_DISK_FULL
      return ENOSPC;
  }
  return 0;
}

void NoteCreateFailure(int error, const std::string& path) {
  if (error == EACCES || error == EPERM) {
    NoteFileCause(FileCause::kFolderNotPermitted, path, FolderPart(path));
  } else {
    NoteFileFailure(error, path, true);
  }
}

void NoteFileFailure(int error, const std::string& path, bool writing) {
  const std::string folder = FolderPart(path);
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      if (PathStatus(folder) != kPathDirectory) {
        NoteFileCause(FileCause::kNoSuchFolder, path, folder);
      } else {
        NoteFileCause(FileCause::kNoSuchFile, path);
      }
      return;
    case EACCES:
    case EPERM:
      if (writing && PathStatus(path) == kPathNone) {
        NoteFileCause(FileCause::kFolderNotPermitted, path, folder);
      } else {
        NoteFileCause(FileCause::kFileNotPermitted, path);
      }
      return;
    case EISDIR: NoteFileCause(FileCause::kIsFolder, path); return;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      NoteFileCause(FileCause::kDiskFull, path);
      return;
    case EROFS: NoteFileCause(FileCause::kReadOnlyDisk, path); return;
    default: NoteFileCause(FileCause::kNone, path);
  }
}

}  // namespace platform
