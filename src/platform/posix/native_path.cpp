#include "platform/posix/native_path.h"

#include <sys/stat.h>

#include <cstdlib>

#include "platform/cp1252.h"

namespace platform {
namespace posix {

std::string WinePrefix() {
  const char* prefix = std::getenv("WINEPREFIX");
  std::string result;
  if (prefix != nullptr && *prefix != '\0') {
    result = prefix;
  } else {
    const char* home = std::getenv("HOME");
    result = std::string(home != nullptr ? home : "") + "/.wine";
  }
  while (result.size() > 1 && result.back() == '/') result.pop_back();
  return result;
}

int ToNative(const std::string& windows, std::string* native) {
  std::string rest = windows;
  std::string root;
  if (rest.size() >= 2 && rest[1] == ':' &&
      ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= 'a' && rest[0] <= 'z'))) {
    char drive = static_cast<char>(rest[0] | 0x20);
    std::string device = WinePrefix() + "/dosdevices/" + drive + ":";
    struct stat st;
    if (stat(device.c_str(), &st) == 0) {
      root = device + "/";
    } else if (drive == 'z') {
      root = "/";
    } else {
      return 0;
    }
    rest = rest.substr(2);
    while (!rest.empty() && rest[0] == '\\') rest.erase(0, 1);
  }
  std::string converted = Cp1252ToUtf8(rest);
  for (char& c : converted) {
    if (c == '\\') c = '/';
  }
  *native = root + converted;
  return 1;
}

}  // namespace posix
}  // namespace platform
