// Held files on Windows: LockFileEx on one byte far beyond the end. Under
// wine the lock is a Linux record lock, so native programs see it too.
//
// The folder stays open while the file is held (win32/confine.h), so on
// Windows nobody renames or removes it meanwhile and every later step acts
// in the folder that was checked.
//
// The new file gets its name without replacing another: by a move without
// MOVEFILE_REPLACE_EXISTING, atomic on the disk on Windows. Wine's server
// looks for the target and then renames: one step for all programs of its
// prefix, but two steps a native program's create could come between. (A
// hard link, which Linux refuses atomically, is no way out: the temporary
// name could then only be deleted as wine deletes, which marks the file
// itself as being deleted for as long as it is open.)
#include <windows.h>

#include "platform/held_file.h"

#include <string>

#include "platform/faults.h"
#include "platform/platform.h"
#include "platform/temporary_name.h"
#include "platform/win32/confine.h"

namespace platform {
namespace {

const DWORD kLockOffsetLow = 1u << 30;
// A held file is opened sharing everything and without DELETE access, so
// that readers (which do not share deletion) can still open it, and it can
// be moved and replaced while open.
const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
const int kMoveAttempts = 20;  // a reader that opened the file without FILE_SHARE_DELETE
const DWORD kMoveWaitMs = 25;

HANDLE AsHandle(long long value) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(value)); }

long long FromHandle(HANDLE handle) { return static_cast<long long>(reinterpret_cast<intptr_t>(handle)); }

enum LockResult { kLocked, kLockBusy, kLockFailed };

LockResult LockFar(HANDLE file) {
  OVERLAPPED at = {};
  at.Offset = kLockOffsetLow;
  if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) return kLocked;
  const DWORD error = GetLastError();
  return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? kLockBusy : kLockFailed;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    if (ShouldFail(kFaultWrite)) return false;
    const DWORD chunk = left > (1u << 20) ? (1u << 20) : static_cast<DWORD>(left);
    DWORD wrote = 0;
    if (!WriteFile(file, p, chunk, &wrote, nullptr) || wrote == 0) return false;
    p += wrote;
    left -= wrote;
  }
  return true;
}

// A new temporary file in `folder`, locked and holding `bytes`, flushed.
HANDLE WriteLockedTemporary(const std::string& folder, const std::string& bytes, std::string* temp) {
  if (ShouldFail(kFaultCreate)) return INVALID_HANDLE_VALUE;
  static unsigned counter = 0;
  const DWORD seed = GetCurrentProcessId() * 2654435761u ^ GetTickCount();
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    *temp = win32::Join(folder, TemporaryFileName(static_cast<long>(GetCurrentProcessId()), seed + counter++));
    file = CreateFileA(temp->c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
      return INVALID_HANDLE_VALUE;
    }
  }
  if (file == INVALID_HANDLE_VALUE) return file;
  if (LockFar(file) == kLocked && WriteAll(file, bytes) && FlushFileBuffers(file)) return file;
  CloseHandle(file);
  DeleteFileA(temp->c_str());
  return INVALID_HANDLE_VALUE;
}

// Gives the temporary file the name `target` unless that name is taken
// (*taken then).
bool NameWithoutReplacing(const std::string& temp, const std::string& target, bool* taken) {
  *taken = false;
  if (MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
  *taken = GetLastError() == ERROR_ALREADY_EXISTS || GetLastError() == ERROR_FILE_EXISTS;
  return false;
}

bool SameFile(HANDLE file, const std::string& path) {
  HANDLE named = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (named == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION a, b;
  const bool same = GetFileInformationByHandle(file, &a) && GetFileInformationByHandle(named, &b) &&
                    a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
                    a.nFileIndexLow == b.nFileIndexLow;
  CloseHandle(named);
  return same;
}

// The held file's path in its folder, as the open folder is named now.
std::string HeldPath(long long folder, const std::string& leaf) {
  const std::string resolved = win32::FinalPathOf(AsHandle(folder));
  return resolved.empty() ? resolved : win32::Join(resolved, leaf);
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
  win32::Folder folder;
  bool outside = false;
  if (!win32::OpenCheckedFolder(path, within, &folder, &outside)) {
    return outside ? HoldOutcome::kOutside : HoldOutcome::kFailed;
  }
  std::string temp;
  HANDLE file = WriteLockedTemporary(folder.path, bytes, &temp);
  bool named = false, taken = false;
  if (file != INVALID_HANDLE_VALUE && !ShouldFail(kFaultRename)) {
    named = NameWithoutReplacing(temp, win32::Join(folder.path, folder.leaf), &taken);
  }
  if (!named) {
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      DeleteFileA(temp.c_str());
    }
    win32::CloseFolder(&folder);
    return taken ? HoldOutcome::kExists : HoldOutcome::kFailed;
  }
  held->file_ = FromHandle(file);
  held->folder_ = FromHandle(folder.handle);  // the held file owns it now
  held->path_ = path;
  held->leaf_ = folder.leaf;
  return HoldOutcome::kHeld;
}

HoldOutcome HoldFile(const std::string& path, const std::string& within, HeldFile* held) {
  LetGo(held);
  win32::Folder folder;
  bool outside = false;
  if (!win32::OpenCheckedFolder(path, within, &folder, &outside)) {
    return outside ? HoldOutcome::kOutside : HoldOutcome::kGone;
  }
  const std::string named = win32::Join(folder.path, folder.leaf);
  HoldOutcome outcome = HoldOutcome::kGone;
  // The name may be removed or replaced between the open and the lock; what
  // is held must be what the name names afterwards.
  for (int attempt = 0; attempt < 10 && outcome == HoldOutcome::kGone; ++attempt) {
    std::string target;
    const win32::EntryKind kind = win32::KindOf(folder, folder.leaf, &target);
    if (kind != win32::kFileEntry) {
      outcome = kind == win32::kNoEntry     ? HoldOutcome::kGone
                : kind == win32::kLinkEntry ? HoldOutcome::kOutside
                                            : HoldOutcome::kFailed;
      break;
    }
    HANDLE file = CreateFileA(named.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) continue;
      outcome = error == ERROR_SHARING_VIOLATION ? HoldOutcome::kBusy : HoldOutcome::kFailed;
      break;
    }
    const LockResult locked = LockFar(file);
    if (locked == kLocked && SameFile(file, named)) {
      held->file_ = FromHandle(file);
      held->folder_ = FromHandle(folder.handle);  // the held file owns it now
      held->path_ = path;
      held->leaf_ = folder.leaf;
      return HoldOutcome::kHeld;
    }
    CloseHandle(file);
    if (locked != kLocked) outcome = locked == kLockBusy ? HoldOutcome::kBusy : HoldOutcome::kFailed;
  }
  win32::CloseFolder(&folder);
  return outcome;
}

// Moves `temp` over `target`, trying again a while: replacing fails while
// some reader has the file open without FILE_SHARE_DELETE (under wine: open
// at all), and readers are quick.
bool MoveOver(const std::string& temp, const std::string& target) {
  for (int attempt = 0; attempt < kMoveAttempts; ++attempt) {
    if (attempt > 0) Sleep(kMoveWaitMs);
    if (MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  }
  return false;
}

int RewriteHeldFile(HeldFile* held, const std::string& bytes) {
  if (!held->held()) return 0;
  const std::string target = HeldPath(held->folder_, held->leaf_);
  if (target.empty()) return 0;
  std::string temp;
  HANDLE file = WriteLockedTemporary(win32::FinalPathOf(AsHandle(held->folder_)), bytes, &temp);
  if (file == INVALID_HANDLE_VALUE) return 0;
  if (ShouldFail(kFaultRename)) {
    CloseHandle(file);
    DeleteFileA(temp.c_str());
    return 0;
  }
  // Windows replaces a file that is open when every handle on it shares
  // deletion, as ours does: the old file stays held until the new one has
  // its name. Wine refuses to replace an open file at all, so there the old
  // handle goes first; the name shows the old file unheld for that one step.
  const bool wine = ThisSystem() == SystemKind::kWine;
  if (wine) {
    CloseHandle(AsHandle(held->file_));
    held->file_ = HeldFile::kNone;
  }
  if (!MoveOver(temp, target)) {
    CloseHandle(file);
    DeleteFileA(temp.c_str());
    if (wine) {
      // Holds the old file again, which nobody else may have taken meanwhile.
      HANDLE old = CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
      if (old != INVALID_HANDLE_VALUE && LockFar(old) == kLocked) {
        held->file_ = FromHandle(old);
      } else {
        if (old != INVALID_HANDLE_VALUE) CloseHandle(old);
        LetGo(held);
      }
    }
    return 0;
  }
  if (!wine) CloseHandle(AsHandle(held->file_));
  held->file_ = FromHandle(file);
  return 1;
}

int RemoveHeldFile(HeldFile* held) {
  if (!held->held()) return 0;
  if (ShouldFail(kFaultRemove)) return 0;
  const std::string target = HeldPath(held->folder_, held->leaf_);
  // The name goes when the last handle on it closes: ours, right after.
  if (target.empty() || !DeleteFileA(target.c_str())) return 0;
  LetGo(held);
  return 1;
}

void LetGo(HeldFile* held) {
  if (held->file_ != HeldFile::kNone) CloseHandle(AsHandle(held->file_));
  if (held->folder_ != HeldFile::kNone) CloseHandle(AsHandle(held->folder_));
  held->file_ = held->folder_ = HeldFile::kNone;
}

}  // namespace platform
