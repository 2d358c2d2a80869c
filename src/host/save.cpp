#include "host/save.h"

#include "platform/platform.h"

namespace host {

int ReportSaveOutcome(platform::SaveOutcome outcome, const std::string& shown, const std::string& within,
                      const char* cannotOpenFormat) {
  switch (outcome) {
    case platform::SaveOutcome::kSaved:
      return 1;
    case platform::SaveOutcome::kCannotCreate:
    case platform::SaveOutcome::kReadOnly:
      ShowFormatted(cannotOpenFormat, shown.c_str());
      return 0;
    case platform::SaveOutcome::kOutside:
      ShowFormatted(kLinkOutside, shown.c_str(), within.c_str());
      return 0;
    case platform::SaveOutcome::kWriteFailed:
      break;
  }
  ShowFormatted(kWriteFailed, shown.c_str());
  return 0;
}

int SaveFileReporting(const std::string& path, const std::string& bytes, const std::string& within,
                      const char* cannotOpenFormat, const char* shownAs) {
  return ReportSaveOutcome(platform::ReplaceFile(path, bytes.data(), bytes.size(), within),
                           shownAs != nullptr ? shownAs : path, within, cannotOpenFormat);
}

}  // namespace host
