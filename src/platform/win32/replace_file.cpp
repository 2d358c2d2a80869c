// Safe replacement of a file on Windows: the bytes go to a new temporary file
// in the target's folder, are flushed to the disk, and the temporary file is
// moved over the target in one step. Until that move the old file is
// untouched; after a failure the temporary file is deleted. The folder is
// held open and checked against `within` throughout (win32/confine.h).
//
// A temporary file is named as TemporaryFileName makes it, after its
// writer; the first save of a process into a folder deletes those whose
// writer is gone and that were not changed for a minute (a writer killed
// before its move left them behind). Only plain files of exactly that form
// are touched, never a link.
#include <windows.h>

#include <mutex>
#include <set>
#include <cerrno>
#include <string>

#include "platform/faults.h"
#include "platform/file_failure.h"
#include "platform/platform.h"
#include "platform/temporary_name.h"
#include "platform/win32/confine.h"

namespace platform {
namespace {

// Attributes a replacement carries over from the old file (a read-only file
// is never replaced).
const DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// A process that cannot be opened because it does not exist is gone; one
// that is refused to us is not.
bool ProcessIsGone(DWORD pid) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;
  const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}

// 100-nanosecond units of FILETIME.
const unsigned long long kLeftoverAge = 60ull * 10000000ull;

void RemoveLeftovers(const win32::Folder& folder) {
  static std::mutex mutex;
  static std::set<std::string> cleaned;
  {
    std::lock_guard<std::mutex> lock(mutex);
    if (!cleaned.insert(folder.resolved).second) return;
  }
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(win32::Join(folder.path, ".zuvo-*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  FILETIME nowTime;
  GetSystemTimeAsFileTime(&nowTime);
  const unsigned long long now =
      (static_cast<unsigned long long>(nowTime.dwHighDateTime) << 32) | nowTime.dwLowDateTime;
  do {
    long writer = 0;
    if (!IsTemporaryFileName(found.cFileName, &writer) || writer <= 0 ||
        static_cast<DWORD>(writer) == GetCurrentProcessId() ||
        (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      continue;
    }
    const unsigned long long changed = (static_cast<unsigned long long>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                                       found.ftLastWriteTime.dwLowDateTime;
    std::string target;
    if (now > changed && now - changed > kLeftoverAge && ProcessIsGone(static_cast<DWORD>(writer)) &&
        win32::KindOf(folder, found.cFileName, &target) == win32::kFileEntry) {
      DeleteFileA(win32::Join(folder.path, found.cFileName).c_str());
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

// Creates a new, empty temporary file in `folder`. Never opens an existing
// file.
HANDLE CreateTemporaryFile(const std::string& folder, std::string* name) {
  static unsigned counter = 0;
  DWORD seed = GetCurrentProcessId() * 2654435761u ^ GetTickCount();
  for (int attempt = 0; attempt < 100; ++attempt) {
    *name = win32::Join(folder, TemporaryFileName(static_cast<long>(GetCurrentProcessId()), seed + counter++));
    HANDLE file = CreateFileA(name->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  std::size_t left = size;
  while (left > 0) {
    if (ShouldFail(kFaultWrite)) return false;
    DWORD chunk = left > (1u << 20) ? (1u << 20) : static_cast<DWORD>(left);
    DWORD wrote = 0;
    if (!WriteFile(file, p, chunk, &wrote, nullptr) || wrote == 0) return false;
    p += wrote;
    left -= wrote;
  }
  return true;
}

// Opens the folder of the file that `path` names: its own, or that of the
// file a link at it names. kSaved when it is open and inside `within`.
SaveOutcome OpenTargetFolder(const std::string& path, const std::string& within, win32::Folder* folder,
                             win32::EntryKind* kind) {
  bool outside = false;
  if (!win32::OpenCheckedFolder(path, within, folder, &outside)) {
    return outside ? SaveOutcome::kOutside : SaveOutcome::kCannotCreate;
  }
  std::string target;
  *kind = win32::KindOf(*folder, folder->leaf, &target);
  if (*kind != win32::kLinkEntry) return SaveOutcome::kSaved;
  win32::CloseFolder(folder);
  if (target.empty()) return SaveOutcome::kOutside;  // a link that leads nowhere
  if (!win32::OpenCheckedFolder(target, within, folder, &outside)) {
    return outside ? SaveOutcome::kOutside : SaveOutcome::kCannotCreate;
  }
  *kind = win32::KindOf(*folder, folder->leaf, &target);
  if (*kind != win32::kLinkEntry) return SaveOutcome::kSaved;
  win32::CloseFolder(folder);  // made a link since it was followed
  return SaveOutcome::kOutside;
}

}  // namespace

SaveOutcome ReplaceFile(const std::string& path, const void* data, std::size_t size, const std::string& within) {
  ClearFileFailure();
  win32::Folder folder;
  win32::EntryKind kind = win32::kNoEntry;
  const SaveOutcome opened = OpenTargetFolder(path, within, &folder, &kind);
  if (opened == SaveOutcome::kCannotCreate) NoteFileFailure(ErrnoOfSystemError(GetLastError()), path, true);
  if (opened != SaveOutcome::kSaved) return opened;
  const std::string target = win32::Join(folder.path, folder.leaf);
  // A read-only file or a directory is not to be written over: Windows
  // refuses the final move, and wine would replace a read-only file.
  const DWORD old = GetFileAttributesA(target.c_str());
  SaveOutcome outcome = SaveOutcome::kSaved;
  if (kind == win32::kFolderEntry ||
      (old != INVALID_FILE_ATTRIBUTES && (old & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)) {
    outcome = SaveOutcome::kReadOnly;
  } else if (ShouldFail(kFaultCreate)) {
    outcome = SaveOutcome::kCannotCreate;
  }
  if (outcome == SaveOutcome::kReadOnly) {
    NoteFileCause(kind == win32::kFolderEntry || (old & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileCause::kIsFolder
                                                                                       : FileCause::kFileReadOnly,
                  path);
  }
  if (outcome != SaveOutcome::kSaved) {
    win32::CloseFolder(&folder);
    return outcome;
  }
  RemoveLeftovers(folder);
  std::string temp;
  HANDLE file = CreateTemporaryFile(folder.path, &temp);
  if (file == INVALID_HANDLE_VALUE) {
    NoteCreateFailure(ErrnoOfSystemError(GetLastError()), path);
    win32::CloseFolder(&folder);
    return SaveOutcome::kCannotCreate;
  }

  bool ok = WriteAll(file, data, size);
  if (ok && !FlushFileBuffers(file)) ok = false;
  if (!ok && !FaultsPlanned()) NoteFileFailure(ErrnoOfSystemError(GetLastError()), path, true);
  if (ShouldFail(kFaultClose)) {
    CloseHandle(file);
    ok = false;
  } else if (!CloseHandle(file)) {
    ok = false;
  }
  if (ok && old != INVALID_FILE_ATTRIBUTES && (old & kKeptAttributes) != 0 &&
      !SetFileAttributesA(temp.c_str(), old & kKeptAttributes)) {
    ok = false;
  }
  if (ok && ShouldFail(kFaultRename)) ok = false;
  if (ok && !MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    NoteCreateFailure(ErrnoOfSystemError(GetLastError()), path);
    ok = false;
  }
  if (!ok) DeleteFileA(temp.c_str());  // a hidden or system file too
  win32::CloseFolder(&folder);
  return ok ? SaveOutcome::kSaved : SaveOutcome::kWriteFailed;
}

}  // namespace platform
