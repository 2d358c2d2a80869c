#include "platform/posix/write_all.h"

#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/faults.h"

namespace platform {
namespace posix {

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    if (ShouldFail(kFaultWrite)) return false;
    const std::size_t chunk = size < static_cast<std::size_t>(SSIZE_MAX) ? size : SSIZE_MAX;
    const ssize_t wrote = write(fd, data, chunk);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    data += wrote;
    size -= static_cast<std::size_t>(wrote);
  }
  return true;
}

}  // namespace posix
}  // namespace platform
