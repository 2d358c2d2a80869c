#include "host/save.h"

#include "platform/platform.h"

namespace host {

int SaveFileReporting(const std::string& path, const std::string& bytes,
                      const char* cannotOpenFormat, const char* shownAs) {
  const char* shown = shownAs != nullptr ? shownAs : path.c_str();
  switch (platform::ReplaceFile(path, bytes.data(), bytes.size())) {
    case platform::SaveOutcome::kSaved:
      return 1;
    case platform::SaveOutcome::kCannotCreate:
      ShowFormatted(cannotOpenFormat, shown);
      return 0;
    case platform::SaveOutcome::kWriteFailed:
      break;
  }
  ShowFormatted(kWriteFailed, shown);
  return 0;
}

}  // namespace host
