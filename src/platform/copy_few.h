// Copying a few bytes (a name, a short field) without a call: a copy of a
// length known only at run time otherwise calls memcpy or uses a string
// instruction, and both start slowly next to the copy itself. Readers and
// writers of the binary files copy such short runs for nearly every record.
#pragma once

#include <cstddef>
#include <cstring>

namespace platform {

// Copies `count` bytes from `from` to `to` (which do not overlap) with at
// most two fixed-size moves, the second overlapping the first, up to 32
// bytes; longer runs go to memcpy.
inline void CopyFew(char* to, const char* from, std::size_t count) {
  if (count > 32) {
    std::memcpy(to, from, count);
  } else if (count >= 16) {
    std::memcpy(to, from, 16);
    std::memcpy(to + count - 16, from + count - 16, 16);
  } else if (count >= 8) {
    std::memcpy(to, from, 8);
    std::memcpy(to + count - 8, from + count - 8, 8);
  } else if (count >= 4) {
    std::memcpy(to, from, 4);
    std::memcpy(to + count - 4, from + count - 4, 4);
  } else {
    for (std::size_t i = 0; i < count; ++i) to[i] = from[i];
  }
}

}  // namespace platform
