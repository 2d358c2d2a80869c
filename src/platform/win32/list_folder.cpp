// One reading of a folder through FindFirstFileA: its entries' names in the
// ANSI code page and whether each is a folder.
#include <windows.h>

#include "platform/platform.h"

namespace platform {

int ListFolder(const std::string& path, std::vector<std::pair<std::string, int>>* entries) {
  entries->clear();
  if (path.empty() || path.find('\0') != std::string::npos) return 0;
  std::string pattern = path;
  if (pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
  pattern += '*';
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entries->emplace_back(name, folder ? kPathDirectory : kPathFile);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return 1;
}

}  // namespace platform
