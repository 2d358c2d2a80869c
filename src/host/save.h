// Saving a whole file safely, with the user told when it fails.
#pragma once

#include <string>

#include "host/messages.h"

namespace host {

// Replaces the file at `path` with `bytes` (see platform::ReplaceFile). On
// failure shows `cannotOpenFormat` (one %s) when the file could not be
// created, or kWriteFailed when a write, the close or the final move failed;
// the old file then stays whole. The messages name `shownAs` when given, else
// the path. 1 when saved.
int SaveFileReporting(const std::string& path, const std::string& bytes,
                      const char* cannotOpenFormat = kCannotOpen, const char* shownAs = nullptr);

}  // namespace host
