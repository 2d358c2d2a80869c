// The resolved form of a path on Linux: the translated Unix path with every
// symbolic link followed, as Wine follows them when it opens the path.
#include "platform/platform.h"
#include "platform/posix/confine.h"
#include "platform/posix/native_path.h"

namespace platform {

std::string RealPathOf(const std::string& windowsPath) {
  std::string native;
  if (!posix::ToNative(windowsPath, &native)) return std::string();
  return posix::ResolvedPath(native);
}

}  // namespace platform
