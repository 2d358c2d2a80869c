// Safe replacement of a file on Windows: the bytes go to a new temporary file
// in the target's folder, are flushed to the disk, and the temporary file is
// moved over the target in one step. Until that move the old file is
// untouched; after a failure the temporary file is deleted.
#include <windows.h>

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

std::string Hex8(DWORD value) {
  std::string hex(8, '0');
  for (int i = 7; i >= 0; --i, value >>= 4) hex[i] = "0123456789ABCDEF"[value & 15];
  return hex;
}

// Creates a new, empty temporary file beside the target (short name, so a
// target near the path length limit still gets one). Never opens an existing
// file.
HANDLE CreateTemporaryFile(const std::string& folder, std::string* name) {
  static unsigned counter = 0;
  DWORD seed = GetCurrentProcessId() * 2654435761u ^ GetTickCount();
  for (int attempt = 0; attempt < 100; ++attempt) {
    *name = folder + "~zuvo" + Hex8(seed + counter++) + ".tmp";
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

SaveOutcome ReplaceFile(const std::string& path, const void* data, std::size_t size) {
  // A read-only file or a directory is not to be written over, as opening it
  // for writing would fail. Windows would refuse the final move anyway; wine
  // replaces a read-only file.
  DWORD old = GetFileAttributesA(path.c_str());
  if (old != INVALID_FILE_ATTRIBUTES &&
      (old & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return SaveOutcome::kCannotCreate;
  }
  if (ShouldFail(kFaultCreate)) return SaveOutcome::kCannotCreate;
  std::string temp;
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
