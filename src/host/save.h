// Saving a whole file safely, with the user told when it fails.
#pragma once

#include <string>

namespace host {

// Replaces the file at `path` with `bytes` (see platform::ReplaceFile). On
// failure shows `cannotOpenFormat` (one %s for the path) when the file could
// not be created, or "Fehler beim Schreiben von %s!\n" when a write, the close
// or the final move failed; the old file then stays whole. 1 when saved.
int SaveFileReporting(const std::string& path, const std::string& bytes,
                      const char* cannotOpenFormat = "Can't open %s!\n");

}  // namespace host
