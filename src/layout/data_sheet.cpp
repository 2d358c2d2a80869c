#include "layout/data_sheet.h"

#include "host/installation.h"
#include "host/messages.h"
#include "host/paths.h"
#include "settings/settings_file.h"

namespace layout {
namespace {

const int kMaxExtraLength = 32767;

}  // namespace

std::string DataSheetPath(const std::string& unitName) {
  const char* host = host::HostDirectory();
  return host::StringPrintf("%sRollmaterial/Datenbl\xE4tter/%s.txt", host != nullptr ? host : "",
                            host::BaseNameOf(unitName).c_str());
}

int HostDataSheets::Find(const std::string& unitName, int* length) const {
  auto unit = byUnit_.find(unitName);
  if (unit == byUnit_.end()) {
    std::string path = DataSheetPath(unitName);
    auto known = lengths_.find(path);
    if (known == lengths_.end()) {
      settings::SettingsFile sheet;
      sheet.Read(path, "[Zuvo]");
      known = lengths_.emplace(path, sheet.GetInt("Zuvo", "ZusLen", 0)).first;
    }
    unit = byUnit_.emplace(unitName, known->second).first;
  }
  if (unit->second < 0 || unit->second > kMaxExtraLength) return 0;
  *length = unit->second;
  return 1;
}

}  // namespace layout
