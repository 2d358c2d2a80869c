#include "platform/win32/confine.h"

#include <string>
#include <vector>

#include "platform/cp1252.h"

namespace platform {
namespace win32 {
namespace {

const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME;
}

// Opens a file or folder to learn its final path, links followed.
HANDLE OpenToLook(const std::string& path) {
  return CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                     nullptr);
}

bool HasWildcard(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

}  // namespace

std::string FinalPathOf(HANDLE handle) {
  std::vector<char> buffer(MAX_PATH + 1);
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD got = GetFinalPathNameByHandleA(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (got == 0) return std::string();
    if (got < buffer.size()) {
      std::string path(buffer.data(), got);
      if (path.compare(0, 8, "\\\\?\\UNC\\") == 0) return "\\" + path.substr(7);
      if (path.compare(0, 4, "\\\\?\\") == 0) path.erase(0, 4);
      return path;
    }
    if (got > 32768) return std::string();
    buffer.resize(got + 1);
  }
  return std::string();
}

std::string FullPath(const std::string& path) {
  if (path.empty()) return std::string();
  const DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return std::string();
  std::vector<char> buffer(needed + 1, '\0');
  const DWORD got = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  if (got == 0 || got >= buffer.size()) return std::string();
  return std::string(buffer.data(), got);
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '\\' || folder.back() == '/' ? folder + name : folder + "\\" + name;
}

std::string ResolvedPath(const std::string& path) {
  std::string head = FullPath(path), tail;
  while (!head.empty()) {
    HANDLE handle = OpenToLook(head);
    if (handle != INVALID_HANDLE_VALUE) {
      std::string resolved = FinalPathOf(handle);
      CloseHandle(handle);
      if (resolved.empty()) return resolved;
      return tail.empty() ? resolved : Join(resolved, tail);
    }
    if (!IsMissing(GetLastError())) return std::string();
    std::size_t cut = head.find_last_of("\\/");
    while (cut != std::string::npos && cut + 1 == head.size()) {
      head.pop_back();
      cut = head.find_last_of("\\/");
    }
    if (cut == std::string::npos || cut < 2) return std::string();
    tail = tail.empty() ? head.substr(cut + 1) : head.substr(cut + 1) + "\\" + tail;
    head = head.substr(0, cut + (cut == 2 && head[1] == ':' ? 1 : 0));
  }
  return std::string();
}

int IsWithin(const std::string& within, const std::string& resolved) {
  if (within.empty()) return 1;
  std::string root = ResolvedPath(within);
  while (root.size() > 1 && root.back() == '\\' && !(root.size() == 3 && root[1] == ':')) root.pop_back();
  if (root.empty() || resolved.size() < root.size()) return 0;
  if (!EqualsIgnoringCase(resolved.substr(0, root.size()), root)) return 0;
  return resolved.size() == root.size() || root.back() == '\\' || resolved[root.size()] == '\\';
}

int OpenCheckedFolder(const std::string& path, const std::string& within, Folder* folder, bool* outside) {
  *outside = false;
  CloseFolder(folder);
  const std::string full = FullPath(path);
  const std::size_t cut = full.find_last_of("\\/");
  if (cut == std::string::npos || cut + 1 >= full.size() || HasWildcard(full.substr(cut + 1))) return 0;
  folder->leaf = full.substr(cut + 1);
  folder->path = full.substr(0, cut);
  if (folder->path.size() == 2 && folder->path[1] == ':') folder->path += '\\';  // a drive's root
  // Without FILE_SHARE_DELETE: nobody renames or removes it while it is open.
  folder->handle =
      CreateFileA(folder->path.c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder->handle == INVALID_HANDLE_VALUE) return 0;
  folder->resolved = FinalPathOf(folder->handle);
  if (!folder->resolved.empty() && IsWithin(within, folder->resolved)) return 1;
  *outside = !folder->resolved.empty();
  CloseFolder(folder);
  return 0;
}

void CloseFolder(Folder* folder) {
  if (folder->handle != INVALID_HANDLE_VALUE) CloseHandle(folder->handle);
  folder->handle = INVALID_HANDLE_VALUE;
}

EntryKind KindOf(const Folder& folder, const std::string& name, std::string* target) {
  target->clear();
  if (HasWildcard(name)) return kNoEntry;
  const std::string path = Join(folder.path, name);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return kNoEntry;
  FindClose(search);
  HANDLE handle = OpenToLook(path);
  if (handle != INVALID_HANDLE_VALUE) {
    *target = FinalPathOf(handle);
    CloseHandle(handle);
  }
  const bool reparse = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if (reparse || target->empty() || !EqualsIgnoringCase(*target, Join(folder.resolved, found.cFileName))) {
    return kLinkEntry;
  }
  target->clear();
  return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? kFolderEntry : kFileEntry;
}

}  // namespace win32
}  // namespace platform
