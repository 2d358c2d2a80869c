// The resolved form of a path on Linux: the translated Unix path with every
// symbolic link followed, as Wine follows them when it opens the path.
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "platform/platform.h"
#include "platform/posix/native_path.h"

namespace platform {

std::string RealPathOf(const std::string& windowsPath) {
  std::string head;
  if (!posix::ToNative(windowsPath, &head)) return std::string();
  // The longest prefix that exists is resolved; the missing rest follows it
  // as written. An entry that exists but cannot be resolved (a dangling or
  // looping link, a folder that cannot be searched) leaves the path unknown.
  std::string tail;
  for (;;) {
    char* resolved = realpath(head.c_str(), nullptr);
    if (resolved != nullptr) {
      std::string result(resolved);
      std::free(resolved);
      if (!tail.empty()) result += (result.back() == '/' ? "" : "/") + tail;
      return result;
    }
    struct stat st;
    if (errno != ENOENT || lstat(head.c_str(), &st) == 0) return std::string();
    const std::size_t slash = head.rfind('/');
    if (slash == std::string::npos || head.size() <= 1) return std::string();
    tail = head.substr(slash + 1) + (tail.empty() ? "" : "/" + tail);
    head = slash == 0 ? "/" : head.substr(0, slash);
  }
}

}  // namespace platform
