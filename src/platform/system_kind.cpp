// The names of the systems a run journal records, the same everywhere.
#include <string>

#include "platform/platform.h"

namespace platform {

const char* SystemName(SystemKind kind) {
  switch (kind) {
    case SystemKind::kLinux: return "Linux";
    case SystemKind::kWindows: return "Windows";
    case SystemKind::kWine: return "Wine";
  }
  return "";
}

int SystemKindOf(const std::string& name, SystemKind* kind) {
  for (SystemKind k : {SystemKind::kLinux, SystemKind::kWindows, SystemKind::kWine}) {
    if (name == SystemName(k)) {
      *kind = k;
      return 1;
    }
  }
  return 0;
}

}  // namespace platform
