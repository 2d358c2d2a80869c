// The resolved form of a path on Windows: the full path, upper-cased as
// Windows compares names, so that two names of one file are equal bytes.
#include <string>

#include "platform/cp1252.h"
#include "platform/platform.h"

namespace platform {

std::string RealPathOf(const std::string& windowsPath) {
  std::string full, error;
  if (!ToWindowsPath(windowsPath, &full, &error)) return std::string();
  for (char& c : full) c = static_cast<char>(Cp1252Upper(static_cast<unsigned char>(c)));
  return full;
}

}  // namespace platform
