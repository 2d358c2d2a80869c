#include "platform/posix/confine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/posix/native_path.h"

namespace platform {
namespace posix {

std::string ResolvedPath(const std::string& native) {
  std::string head = native, tail;
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

std::string FolderOfDescriptor(int dirfd) {
  const std::string link = "/proc/self/fd/" + std::to_string(dirfd);
  std::string buffer(4096, '\0');
  for (;;) {
    const ssize_t got = readlink(link.c_str(), &buffer[0], buffer.size());
    if (got < 0) return std::string();
    if (static_cast<std::size_t>(got) < buffer.size()) return buffer.substr(0, static_cast<std::size_t>(got));
    if (buffer.size() > (1u << 20)) return std::string();
    buffer.resize(buffer.size() * 2);
  }
}

int IsWithin(const std::string& within, const std::string& real) {
  if (within.empty()) return 1;
  std::string native;
  if (real.empty() || !ToNative(within, &native)) return 0;
  const std::string root = ResolvedPath(native);
  if (root.empty() || real.compare(0, root.size(), root) != 0) return 0;
  return real.size() == root.size() || root.back() == '/' || real[root.size()] == '/';
}

int OpenCheckedFolder(const std::string& native, const std::string& within, std::string* leaf, bool* outside) {
  *outside = false;
  const std::size_t slash = native.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : native.substr(0, slash);
  *leaf = slash == std::string::npos ? native : native.substr(slash + 1);
  const int dirfd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirfd < 0) return -1;
  if (!IsWithin(within, FolderOfDescriptor(dirfd))) {
    close(dirfd);
    *outside = true;
    return -1;
  }
  return dirfd;
}

}  // namespace posix
}  // namespace platform
