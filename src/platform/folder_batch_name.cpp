// The names a folder batch uses, the same on every system.
#include "platform/platform.h"

namespace platform {

const char kIncompleteMarker[] = ".zuvo-unvollstaendig";

std::string BatchFolderName(const std::string& name) { return ".zuvo-neu-" + name; }

}  // namespace platform
