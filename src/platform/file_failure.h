// Why a file operation failed, kept for the message that reports it: the
// platform's file functions note the system's error code with the path they
// failed on, and the report of that path adds the cause in words.
//
// Only real failures are noted: a fault planned by a test (faults.h) leaves
// no cause, and every operation clears what an earlier one noted.
#pragma once

#include <string>

namespace platform {

enum class FileCause {
  kNone,                // nothing noted, or a cause the tool has no words for
  kNoSuchFile,          // the file does not exist
  kNoSuchFolder,        // the folder does not exist (`folder`)
  kFileNotPermitted,    // no permission for the file itself
  kFolderNotPermitted,  // no permission to create or rename in the folder (`folder`)
  kFileReadOnly,        // the file is read-only
  kIsFolder,            // the name is a folder, not a file
  kDiskFull,            // no space left on the disk
  kReadOnlyDisk,        // the file system is mounted read-only
};

struct FileFailure {
  FileCause cause = FileCause::kNone;
  std::string path;    // what failed (the path as the caller named it)
  std::string folder;  // the folder that is the cause, for the two folder causes
};

// The failure noted last on this thread; kNone after an operation that
// succeeded.
const FileFailure& LastFileFailure();

// Forgets the noted failure (each file function does so when it starts).
void ClearFileFailure();

// Notes a failure on `path` (a Windows path) with the C library's error code
// `error` (errno; on Windows the system's codes are mapped first). `writing`:
// the operation creates or changes the file, so a refused permission of a
// file that does not exist is the folder's.
void NoteFileFailure(int error, const std::string& path, bool writing);

// Notes a failure to create or rename a file in the folder of `path`: a
// refused permission is the folder's.
void NoteCreateFailure(int error, const std::string& path);

// The C library's error code for a Windows system error code (GetLastError),
// 0 for one without a cause in words. Used by the Windows implementation.
int ErrnoOfSystemError(unsigned long error);

// Notes a cause decided by the caller.
void NoteFileCause(FileCause cause, const std::string& path, const std::string& folder = "");

}  // namespace platform
