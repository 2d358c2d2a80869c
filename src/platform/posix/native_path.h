// Translation of Windows paths to Unix paths (Wine's conventions). Internal to
// the POSIX implementation.
#pragma once

#include <string>

namespace platform {
namespace posix {

// The Wine prefix: $WINEPREFIX, else $HOME/.wine; no trailing slash.
std::string WinePrefix();

// Translates a Windows path to a Unix path. Fails for a drive that does not
// exist or a name that cannot be translated.
int ToNative(const std::string& windows, std::string* native);

}  // namespace posix
}  // namespace platform
