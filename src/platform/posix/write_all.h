// Writing a whole buffer to a descriptor on POSIX systems.
#pragma once

#include <cstddef>

namespace platform {
namespace posix {

// Writes all `size` bytes, again after an interrupted or short write. False
// on a write error or a planned write fault (faults.h).
bool WriteAll(int fd, const char* data, std::size_t size);

}  // namespace posix
}  // namespace platform
