// Held files on Windows: LockFileEx on one byte far beyond the end. Under
// wine the lock is a Linux record lock, so native programs see it too.
#include <windows.h>

#include "platform/held_file.h"

#include <string>

#include "platform/faults.h"
#include "platform/platform.h"

namespace platform {
namespace {

const DWORD kLockOffsetLow = 1u << 30;
const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

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

// The folder part of `path` including its separator, empty for a bare name.
std::string FolderPrefix(const std::string& path) {
  const std::size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
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

// A new temporary file beside `path`, locked and holding `bytes`, flushed.
HANDLE WriteLockedTemporary(const std::string& path, const std::string& bytes, std::string* temp) {
  if (ShouldFail(kFaultCreate)) return INVALID_HANDLE_VALUE;
  static unsigned counter = 0;
  const DWORD seed = GetCurrentProcessId() * 2654435761u ^ GetTickCount();
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    std::string hex(6, '0');
    DWORD value = seed + counter++;
    for (int i = 5; i >= 0; --i, value >>= 4) hex[i] = "0123456789abcdef"[value & 15];
    *temp = FolderPrefix(path) + ".zuvo-" + std::to_string(GetCurrentProcessId()) + "-" + hex;
    file = CreateFileA(temp->c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, kShareAll, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS &&
        GetLastError() != ERROR_ALREADY_EXISTS) {
      return INVALID_HANDLE_VALUE;
    }
  }
  if (file == INVALID_HANDLE_VALUE) return file;
  if (LockFar(file) == kLocked && WriteAll(file, bytes) && FlushFileBuffers(file)) return file;
  CloseHandle(file);
  DeleteFileA(temp->c_str());
  return INVALID_HANDLE_VALUE;
}

bool SameFile(HANDLE file, const std::string& path) {
  HANDLE named = CreateFileA(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (named == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION a, b;
  const bool same = GetFileInformationByHandle(file, &a) && GetFileInformationByHandle(named, &b) &&
                    a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
                    a.nFileIndexLow == b.nFileIndexLow;
  CloseHandle(named);
  return same;
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
  (void)within;
  LetGo(held);
  std::string temp;
  HANDLE file = WriteLockedTemporary(path, bytes, &temp);
  if (file == INVALID_HANDLE_VALUE) return HoldOutcome::kFailed;
  bool renamed = false, taken = false;
  if (!ShouldFail(kFaultRename)) {
    renamed = MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    taken = !renamed && (GetLastError() == ERROR_ALREADY_EXISTS || GetLastError() == ERROR_FILE_EXISTS);
  }
  if (!renamed) {
    CloseHandle(file);
    DeleteFileA(temp.c_str());
    return taken ? HoldOutcome::kExists : HoldOutcome::kFailed;
  }
  held->file_ = FromHandle(file);
  held->path_ = path;
  return HoldOutcome::kHeld;
}

HoldOutcome HoldFile(const std::string& path, const std::string& within, HeldFile* held) {
  (void)within;
  LetGo(held);
  for (int attempt = 0; attempt < 10; ++attempt) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return HoldOutcome::kGone;
      return error == ERROR_SHARING_VIOLATION ? HoldOutcome::kBusy : HoldOutcome::kFailed;
    }
    const LockResult locked = LockFar(file);
    if (locked != kLocked) {
      CloseHandle(file);
      return locked == kLockBusy ? HoldOutcome::kBusy : HoldOutcome::kFailed;
    }
    if (SameFile(file, path)) {
      held->file_ = FromHandle(file);
      held->path_ = path;
      return HoldOutcome::kHeld;
    }
    CloseHandle(file);
  }
  return HoldOutcome::kGone;
}

int RewriteHeldFile(HeldFile* held, const std::string& bytes) {
  if (!held->held()) return 0;
  std::string temp;
  HANDLE file = WriteLockedTemporary(held->path_, bytes, &temp);
  if (file == INVALID_HANDLE_VALUE) return 0;
  if (ShouldFail(kFaultRename)) {
    CloseHandle(file);
    DeleteFileA(temp.c_str());
    return 0;
  }
  // Replacing a file that is open fails on Windows unless every handle on it
  // lets it be deleted; ours does. Where the system still refuses, the old
  // handle goes first (the journal's process is still alive meanwhile).
  const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  if (!MoveFileExA(temp.c_str(), held->path_.c_str(), flags)) {
    CloseHandle(AsHandle(held->file_));
    held->file_ = HeldFile::kNone;
    if (!MoveFileExA(temp.c_str(), held->path_.c_str(), flags)) {
      CloseHandle(file);
      DeleteFileA(temp.c_str());
      return 0;
    }
  } else {
    CloseHandle(AsHandle(held->file_));
  }
  held->file_ = FromHandle(file);
  return 1;
}

int RemoveHeldFile(HeldFile* held) {
  if (!held->held()) return 0;
  if (ShouldFail(kFaultRemove)) return 0;
  // The name goes when the last handle on it closes: ours, right after.
  if (!DeleteFileA(held->path_.c_str())) return 0;
  LetGo(held);
  return 1;
}

void LetGo(HeldFile* held) {
  if (held->file_ != HeldFile::kNone) CloseHandle(AsHandle(held->file_));
  if (held->folder_ != HeldFile::kNone) CloseHandle(AsHandle(held->folder_));
  held->file_ = held->folder_ = HeldFile::kNone;
}

}  // namespace platform
