// Reading a held file on POSIX systems, through its own descriptor.
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/held_file.h"

namespace platform {

int ReadHeldFile(const HeldFile& held, std::string* bytes) {
  if (!held.held()) return 0;
  bytes->clear();
  char block[65536];
  off_t at = 0;
  for (;;) {
    const ssize_t got = pread(static_cast<int>(held.file_), block, sizeof block, at);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return 0;
    if (got == 0) return 1;
    bytes->append(block, static_cast<std::size_t>(got));
    at += got;
  }
}

}  // namespace platform
