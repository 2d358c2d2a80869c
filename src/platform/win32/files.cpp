// Files and the current directory on Windows: the C runtime's narrow calls and
// the "A" functions of the Win32 API, with the paths passed through unchanged.
#include <direct.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/faults.h"
#include "platform/platform.h"

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
  return std::strchr(mode, 'w') != nullptr || std::strchr(mode, 'a') != nullptr ||
         std::strchr(mode, '+') != nullptr;
}

}  // namespace

std::FILE* OpenFile(const std::string& path, const char* mode) {
  if (mode == nullptr) return nullptr;
  if (OpensForWriting(mode) && ShouldFail(kFaultCreate)) return nullptr;
  return std::fopen(path.c_str(), mode);
}

int PathStatus(const std::string& path) {
  if (path.empty()) return kPathNone;
  struct _stat64 st;
  if (_stat64(StatPath(path).c_str(), &st) != 0) return kPathNone;
  if ((st.st_mode & _S_IFMT) == _S_IFDIR) return kPathDirectory;
  return kPathFile;
}

int RenameFile(const std::string& from, const std::string& to, const std::string& within, bool* outside) {
  (void)within;
  if (outside != nullptr) *outside = false;
  if (ShouldFail(kFaultRename)) return 0;
  // Without MOVEFILE_REPLACE_EXISTING the move fails when `to` exists.
  return MoveFileExA(from.c_str(), to.c_str(), 0) != 0;
}

int RemoveFile(const std::string& path, const std::string& within) {
  (void)within;
  if (ShouldFail(kFaultRemove)) return 0;
  return DeleteFileA(path.c_str()) != 0;
}

int MakeDirectory(const std::string& path, const std::string& within) {
  (void)within;
  if (ShouldFail(kFaultMkdir)) return 0;
  return _mkdir(path.c_str()) == 0;
}

std::string StoredSpelling(const std::string& path) { return path; }

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
