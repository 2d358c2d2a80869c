#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/cp1252.h"
#include "platform/faults.h"
#include "platform/platform.h"
#include "platform/posix/native_path.h"

namespace platform {

std::FILE* OpenFile(const std::string& path, const char* mode) {
  std::string native;
  if (!posix::ToNative(path, &native)) return nullptr;
  bool writing = mode[0] == 'w' || mode[0] == 'a';
  if (writing && ShouldFail(kFaultCreate)) return nullptr;
  return std::fopen(native.c_str(), mode);
}

int PathStatus(const std::string& path) {
  std::string native;
  if (!posix::ToNative(path, &native)) return kPathNone;
  struct stat st;
  if (stat(native.c_str(), &st) != 0) return kPathNone;
  if (S_ISDIR(st.st_mode)) return kPathDirectory;
  return kPathFile;
}

int RenameFile(const std::string& from, const std::string& to) {
  std::string nativeFrom, nativeTo;
  if (!posix::ToNative(from, &nativeFrom) || !posix::ToNative(to, &nativeTo)) return 0;
  if (ShouldFail(kFaultRename)) return 0;
  struct stat st;
  if (lstat(nativeTo.c_str(), &st) == 0) return 0;
  return std::rename(nativeFrom.c_str(), nativeTo.c_str()) == 0;
}

int RemoveFile(const std::string& path) {
  std::string native;
  if (!posix::ToNative(path, &native)) return 0;
  return unlink(native.c_str()) == 0;
}

int MakeDirectory(const std::string& path) {
  std::string native;
  if (!posix::ToNative(path, &native)) return 0;
  if (ShouldFail(kFaultMkdir)) return 0;
  return mkdir(native.c_str(), 0777) == 0;
}

int ReadWholeFile(const std::string& path, std::string* bytes) {
  std::FILE* file = OpenFile(path, "rb");
  if (file == nullptr) return 0;
  bytes->clear();
  char block[65536];
  std::size_t got;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes->append(block, got);
  int ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

SaveOutcome ReplaceFile(const std::string& path, const void* data, std::size_t size) {
  std::string native;
  if (!posix::ToNative(path, &native)) return SaveOutcome::kCannotCreate;
  if (ShouldFail(kFaultCreate)) return SaveOutcome::kCannotCreate;
  std::string temp = native + ".zuvo-XXXXXX";
  int fd = mkstemp(&temp[0]);
  if (fd < 0) return SaveOutcome::kCannotCreate;
  struct stat st;
  mode_t mode = 0666;
  if (stat(native.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  bool ok = fchmod(fd, mode) == 0;
  const char* p = static_cast<const char*>(data);
  std::size_t left = size;
  while (ok && left > 0) {
    if (ShouldFail(kFaultWrite)) {
      ok = false;
      break;
    }
    ssize_t wrote = write(fd, p, left);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) {
      ok = false;
      break;
    }
    p += wrote;
    left -= static_cast<std::size_t>(wrote);
  }
  if (ok && fsync(fd) != 0) ok = false;
  if (ShouldFail(kFaultClose)) {
    close(fd);
    ok = false;
  } else if (close(fd) != 0) {
    ok = false;
  }
  if (ok && ShouldFail(kFaultRename)) ok = false;
  if (ok && std::rename(temp.c_str(), native.c_str()) != 0) ok = false;
  if (!ok) {
    unlink(temp.c_str());
    return SaveOutcome::kWriteFailed;
  }
  return SaveOutcome::kSaved;
}

int ChangeDirectory(const std::string& path) {
  std::string native;
  if (!posix::ToNative(path, &native)) return 0;
  if (ShouldFail(kFaultChdir)) return 0;
  return chdir(native.c_str()) == 0;
}

std::string CurrentDirectory() {
  std::string windows, error;
  char buffer[4096];
  if (getcwd(buffer, sizeof buffer) == nullptr) return ".";
  if (!ToWindowsPath(buffer, &windows, &error)) return ".";
  return windows;
}

std::string NativePathOf(const std::string& windowsPath) {
  std::string native;
  if (!posix::ToNative(windowsPath, &native)) return std::string();
  return native;
}

std::string ToConsoleText(const std::string& cp1252) { return Cp1252ToUtf8(cp1252); }

int ToWindowsPath(const std::string& native, std::string* windows, std::string* error) {
  std::string absolute = native;
  if (absolute.empty() || absolute[0] != '/') {
    char buffer[4096];
    if (getcwd(buffer, sizeof buffer) == nullptr) return 0;
    absolute = std::string(buffer) + "/" + absolute;
  }
  std::string cp;
  if (!Utf8ToCp1252(absolute, &cp)) {
    *error = "Der Name \"" + native + "\" enth\xE4lt Zeichen, die Windows-1252 nicht kennt";
    return 0;
  }
  for (char& c : cp) {
    if (c == '/') c = '\\';
  }
  *windows = "Z:" + cp;
  return 1;
}

}  // namespace platform
