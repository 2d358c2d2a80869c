// Paths and console text on Windows: they are in the form the system uses
// already, apart from making a path absolute.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

int ToWindowsPath(const std::string& native, std::string* windows, std::string* error) {
  DWORD needed = native.empty() ? 0 : GetFullPathNameA(native.c_str(), 0, nullptr, nullptr);
  if (needed > 0) {
    std::vector<char> buffer(needed + 1, '\0');
    DWORD got = GetFullPathNameA(native.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (got > 0 && got < buffer.size()) {
      windows->assign(buffer.data(), got);
      return 1;
    }
  }
  *error = "Der Pfad \"" + native + "\" ist ung\xFCltig";
  return 0;
}

std::string NativePathOf(const std::string& windowsPath) { return windowsPath; }

std::string UnixPathForText(const std::string& windowsPath) { return windowsPath; }

bool IsUnixStyleArgument(const std::string&) { return false; }

std::string ToConsoleText(const std::string& cp1252) { return cp1252; }

}  // namespace platform
