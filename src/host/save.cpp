#include "host/save.h"

#include "host/messages.h"
#include "platform/platform.h"

namespace host {

int SaveFileReporting(const std::string& path, const std::string& bytes,
                      const char* cannotOpenFormat) {
  switch (platform::ReplaceFile(path, bytes.data(), bytes.size())) {
    case platform::SaveOutcome::kSaved:
      return 1;
    case platform::SaveOutcome::kCannotCreate:
      ShowFormatted(cannotOpenFormat, path.c_str());
      return 0;
    case platform::SaveOutcome::kWriteFailed:
      break;
  }
  ShowFormatted("Fehler beim Schreiben von %s!\n", path.c_str());
  return 0;
}

}  // namespace host
