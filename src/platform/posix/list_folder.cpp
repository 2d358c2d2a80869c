// One reading of a folder: its entries' names in code page 1252 and what each
// names, so that a caller can answer many lookups in it without reading it
// again.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/cp1252.h"
#include "platform/platform.h"
#include "platform/posix/native_path.h"

namespace platform {

int ListFolder(const std::string& path, std::vector<std::pair<std::string, int>>* entries) {
  entries->clear();
  std::string native;
  if (!posix::ToNative(path, &native)) return 0;
  DIR* dir = opendir(native.c_str());
  if (dir == nullptr) return 0;
  const int fd = dirfd(dir);
  std::string name;
  while (struct dirent* entry = readdir(dir)) {
    const std::string utf8 = entry->d_name;
    if (utf8 == "." || utf8 == "..") continue;
    if (!Utf8ToCp1252(utf8, &name)) continue;
    struct stat st;
    int type = kPathNone;
    if (fstatat(fd, entry->d_name, &st, 0) == 0) type = S_ISDIR(st.st_mode) ? kPathDirectory : kPathFile;
    entries->emplace_back(name, type);
  }
  closedir(dir);
  return 1;
}

}  // namespace platform
