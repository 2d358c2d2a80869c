#include "host/save.h"

#include "platform/platform.h"

namespace host {

int ReportSaveOutcome(platform::SaveOutcome outcome, const std::string& shown, const std::string& within,
                      Why cannotOpen) {
  switch (outcome) {
    case platform::SaveOutcome::kSaved: return 1;
    case platform::SaveOutcome::kCannotCreate:
    case platform::SaveOutcome::kReadOnly: Report(cannotOpen, shown); return 0;
    case platform::SaveOutcome::kOutside: Report(Why::kLinkOutside, shown, within); return 0;
    case platform::SaveOutcome::kWriteFailed: break;
  }
  Report(Why::kWriteFailed, shown);
  return 0;
}

int SaveFileReporting(const std::string& path, const std::string& bytes, const std::string& within, Why cannotOpen,
                      const char* shownAs) {
  return ReportSaveOutcome(platform::ReplaceFile(path, bytes.data(), bytes.size(), within),
                           shownAs != nullptr ? shownAs : path, within, cannotOpen);
}

}  // namespace host
