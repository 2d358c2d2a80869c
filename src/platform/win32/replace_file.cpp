// Safe replacement of a file on Windows: the bytes go to a new temporary file
// in the target's folder, are flushed to the disk, and the temporary file is
// moved over the target in one step. Until that move the old file is
// untouched; after a failure the temporary file is deleted.
//
// A temporary file is named ".zuvo-<pid>-XXXXXX" after its writer; the first
// save of a process into a folder deletes those whose writer is gone and
// that were not changed for a minute (a writer killed before its move left
// them behind). Only names of exactly that form are touched.
#include <windows.h>

#include <mutex>
#include <set>
#include <string>

#include "platform/faults.h"
#include "platform/platform.h"

namespace platform {
namespace {

// The folder part of `path` including its separator ("C:\A\" for
// "C:\A\b.anl", "C:" for "C:b.anl"), empty for a bare file name.
std::string FolderPrefix(const std::string& path) {
  std::size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// Attributes a replacement carries over from the old file (a read-only file
// is never replaced).
const DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

const char kTempPrefix[] = ".zuvo-";
const std::size_t kTempSuffixLength = 6;

std::string Hex6(DWORD value) {
  std::string hex(kTempSuffixLength, '0');
  for (int i = 5; i >= 0; --i, value >>= 4) hex[i] = "0123456789abcdef"[value & 15];
  return hex;
}

// The writer's process id of a name ".zuvo-<pid>-XXXXXX" (XXXXXX lower-case
// hexadecimal); 0 for any other name.
DWORD WriterOf(const std::string& name) {
  const std::size_t prefix = sizeof kTempPrefix - 1;
  if (name.compare(0, prefix, kTempPrefix) != 0) return 0;
  std::size_t pos = prefix;
  unsigned long long pid = 0;
  while (pos < name.size() && name[pos] >= '0' && name[pos] <= '9' && pid <= 0xFFFFFFFFull) {
    pid = pid * 10 + static_cast<unsigned>(name[pos++] - '0');
  }
  if (pos == prefix || name[prefix] == '0' || pid > 0xFFFFFFFFull || pos >= name.size() || name[pos] != '-' ||
      name.size() - pos - 1 != kTempSuffixLength) {
    return 0;
  }
  for (++pos; pos < name.size(); ++pos) {
    const char c = name[pos];
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return 0;
  }
  return static_cast<DWORD>(pid);
}

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

void RemoveLeftovers(const std::string& folder) {
  static std::mutex mutex;
  static std::set<std::string> cleaned;
  {
    std::lock_guard<std::mutex> lock(mutex);
    if (!cleaned.insert(folder).second) return;
  }
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + kTempPrefix + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  FILETIME nowTime;
  GetSystemTimeAsFileTime(&nowTime);
  const unsigned long long now = (static_cast<unsigned long long>(nowTime.dwHighDateTime) << 32) | nowTime.dwLowDateTime;
  do {
    const DWORD writer = WriterOf(found.cFileName);
    if (writer == 0 || writer == GetCurrentProcessId() ||
        (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      continue;
    }
    const unsigned long long changed =
        (static_cast<unsigned long long>(found.ftLastWriteTime.dwHighDateTime) << 32) |
        found.ftLastWriteTime.dwLowDateTime;
    if (now > changed && now - changed > kLeftoverAge && ProcessIsGone(writer)) {
      DeleteFileA((folder + found.cFileName).c_str());
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

// Creates a new, empty temporary file beside the target (short name, so a
// target near the path length limit still gets one). Never opens an existing
// file.
HANDLE CreateTemporaryFile(const std::string& folder, std::string* name) {
  static unsigned counter = 0;
  DWORD seed = GetCurrentProcessId() * 2654435761u ^ GetTickCount();
  for (int attempt = 0; attempt < 100; ++attempt) {
    *name = folder + kTempPrefix + std::to_string(GetCurrentProcessId()) + "-" + Hex6(seed + counter++);
    HANDLE file = CreateFileA(name->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
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

}  // namespace

SaveOutcome ReplaceFile(const std::string& path, const void* data, std::size_t size, const std::string& within) {
  (void)within;
  // A read-only file or a directory is not to be written over, as opening it
  // for writing would fail. Windows would refuse the final move anyway; wine
  // replaces a read-only file.
  DWORD old = GetFileAttributesA(path.c_str());
  if (old != INVALID_FILE_ATTRIBUTES &&
      (old & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return SaveOutcome::kReadOnly;
  }
  if (ShouldFail(kFaultCreate)) return SaveOutcome::kCannotCreate;
  std::string temp;
  RemoveLeftovers(FolderPrefix(path));
  HANDLE file = CreateTemporaryFile(FolderPrefix(path), &temp);
  if (file == INVALID_HANDLE_VALUE) return SaveOutcome::kCannotCreate;

  bool ok = WriteAll(file, data, size);
  if (ok && !FlushFileBuffers(file)) ok = false;
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
  if (ok && !MoveFileExA(temp.c_str(), path.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ok = false;
  }
  if (!ok) {
    // A hidden or system temporary file is still deleted by DeleteFileA.
    DeleteFileA(temp.c_str());
    return SaveOutcome::kWriteFailed;
  }
  return SaveOutcome::kSaved;
}

}  // namespace platform
