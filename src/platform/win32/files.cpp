// Files and the current directory on Windows: the C runtime's narrow calls and
// the "A" functions of the Win32 API, with the paths passed through unchanged.
#include <direct.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cerrno>
#include <string>

#include "platform/cp1252.h"
#include "platform/faults.h"
#include "platform/file_failure.h"
#include "platform/platform.h"
#include "platform/win32/confine.h"

namespace platform {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The C runtime's _stat refuses a directory written with a trailing
// backslash ("C:\Sim\") and a bare drive ("C:"), both of which callers build
// from a host directory or a layout's folder. Trailing separators are cut,
// except the one of a root ("C:\", "\"), and a bare drive gets its root.
std::string StatPath(const std::string& path) {
  std::string s = path;
  while (s.size() > 1 && IsSeparator(s.back())) {
    if (s.size() == 3 && s[1] == ':') break;
    s.pop_back();
  }
  if (s.size() == 2 && s[1] == ':') s += '\\';
  return s;
}

bool OpensForWriting(const char* mode) {
  return std::strchr(mode, 'w') != nullptr || std::strchr(mode, 'a') != nullptr || std::strchr(mode, '+') != nullptr;
}

// Wine renames or deletes what a link of the Unix side names, not the link:
// there a link is never renamed or deleted.
bool LinkRefused(win32::EntryKind kind) { return kind == win32::kLinkEntry && ThisSystem() == SystemKind::kWine; }

}  // namespace

std::FILE* OpenFile(const std::string& path, const char* mode) {
  ClearFileFailure();
  if (mode == nullptr) return nullptr;
  if (OpensForWriting(mode) && ShouldFail(kFaultCreate)) return nullptr;
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (file == nullptr) NoteFileFailure(errno, path, OpensForWriting(mode));
  return file;
}

int PathStatus(const std::string& path) {
  if (path.empty()) return kPathNone;
  struct _stat64 st;
  if (_stat64(StatPath(path).c_str(), &st) != 0) return kPathNone;
  if ((st.st_mode & _S_IFMT) == _S_IFDIR) return kPathDirectory;
  return kPathFile;
}

int RenameFile(const std::string& from, const std::string& to, const std::string& within, bool* outside) {
  ClearFileFailure();
  win32::Folder fromFolder, toFolder;
  bool out = false;
  int renamed = 0;
  if (win32::OpenCheckedFolder(from, within, &fromFolder, &out) &&
      win32::OpenCheckedFolder(to, within, &toFolder, &out)) {
    std::string target;
    const win32::EntryKind kind = win32::KindOf(fromFolder, fromFolder.leaf, &target);
    if (LinkRefused(kind)) {
      out = !target.empty() && !win32::IsWithin(within, target);
    } else if (!ShouldFail(kFaultRename)) {
      // Without MOVEFILE_REPLACE_EXISTING the move fails when `to` exists.
      renamed = MoveFileExA(win32::Join(fromFolder.path, fromFolder.leaf).c_str(),
                            win32::Join(toFolder.path, toFolder.leaf).c_str(), 0) != 0;
      const int error = renamed ? 0 : ErrnoOfSystemError(GetLastError());
      if (error == ENOENT) {
        NoteFileFailure(error, from, false);
      } else if (error != 0) {
        NoteCreateFailure(error, to);
      }
    }
  }
  win32::CloseFolder(&fromFolder);
  win32::CloseFolder(&toFolder);
  if (outside != nullptr) *outside = out;
  return renamed;
}

int RemoveFile(const std::string& path, const std::string& within) {
  win32::Folder folder;
  bool outside = false;
  if (!win32::OpenCheckedFolder(path, within, &folder, &outside)) return 0;
  std::string target;
  const win32::EntryKind kind = win32::KindOf(folder, folder.leaf, &target);
  int removed = 0;
  if (kind != win32::kFolderEntry && kind != win32::kNoEntry && !LinkRefused(kind) && !ShouldFail(kFaultRemove)) {
    removed = DeleteFileA(win32::Join(folder.path, folder.leaf).c_str()) != 0;
  }
  win32::CloseFolder(&folder);
  return removed;
}

int MakeDirectory(const std::string& path, const std::string& within) {
  win32::Folder folder;
  bool outside = false;
  if (!win32::OpenCheckedFolder(path, within, &folder, &outside)) return 0;
  const int made = !ShouldFail(kFaultMkdir) && CreateDirectoryA(win32::Join(folder.path, folder.leaf).c_str(), nullptr);
  win32::CloseFolder(&folder);
  return made;
}

std::string StoredSpelling(const std::string& path) {
  const std::string full = win32::FullPath(path);
  if (full.empty()) return path;
  // The root as written: "C:\" (with the drive in upper case) or "\\server\share\".
  std::size_t pos = 0;
  std::string result;
  if (full.size() >= 3 && full[1] == ':') {
    result = std::string(1, static_cast<char>(AsciiUpper(static_cast<unsigned char>(full[0])))) + ":\\";
    pos = 3;
  } else if (full.compare(0, 2, "\\\\") == 0) {
    pos = full.find('\\', full.find('\\', 2) + 1);
    if (pos == std::string::npos) return full;
    result = full.substr(0, ++pos);
  } else {
    return full;
  }
  bool searching = true;
  while (pos < full.size()) {
    std::size_t end = full.find('\\', pos);
    if (end == std::string::npos) end = full.size();
    std::string name = full.substr(pos, end - pos);
    if (searching && !name.empty() && name.find_first_of("*?") == std::string::npos) {
      WIN32_FIND_DATAA found;
      HANDLE search = FindFirstFileA((result + name).c_str(), &found);
      if (search != INVALID_HANDLE_VALUE) {
        name = found.cFileName;
        FindClose(search);
      } else {
        searching = false;
      }
    }
    result += name;
    if (end < full.size()) result += '\\';
    pos = end + 1;
  }
  return result;
}

int ChangeDirectory(const std::string& path) {
  if (ShouldFail(kFaultChdir)) return 0;
  // _chdir("C:") would go to drive C's current folder; a bare drive means
  // its root here.
  const bool bareDrive = path.size() == 2 && path[1] == ':';
  return _chdir((bareDrive ? path + "\\" : path).c_str()) == 0;
}

std::string CurrentDirectory() {
  // With a null buffer the runtime allocates one of the needed length.
  char* buffer = _getcwd(nullptr, 0);
  if (buffer == nullptr) return ".";
  std::string result = buffer;
  std::free(buffer);
  return result;
}

}  // namespace platform
