// Saving a whole file safely, with the user told when it fails.
#pragma once

#include <string>

#include "host/messages.h"
#include "platform/platform.h"

namespace host {

// Replaces the file at `path` with `bytes` (see platform::ReplaceFile),
// staying inside the folder `within` (empty: anywhere). On failure reports
// `cannotOpen` (its one argument: the file) when the file could not be
// created or is read-only, kWriteFailed when a write, the close or the final
// move failed, or kLinkOutside when a link leads out of `within`; the old
// file then stays whole. The reasons name `shownAs` when given, else the
// path. 1 when saved.
int SaveFileReporting(const std::string& path, const std::string& bytes, const std::string& within,
                      Why cannotOpen = Why::kCannotOpen, const char* shownAs = nullptr);

// Reports a save's outcome as SaveFileReporting does; nothing for kSaved. 1
// for kSaved.
int ReportSaveOutcome(platform::SaveOutcome outcome, const std::string& shown, const std::string& within,
                      Why cannotOpen = Why::kCannotOpen);

}  // namespace host
