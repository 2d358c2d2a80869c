#include "app/installation_seams.h"

#include "settings/section_names.h"
#include "settings/settings_file.h"

namespace app {
namespace {

const int kMaxExtraLength = 32767;

}  // namespace

int DataSheets::Find(const std::string& unitName, int* length) const {
  auto unit = byUnit_.find(unitName);
  if (unit == byUnit_.end()) {
    const std::string path = host::DataSheetPath(installation_, unitName);
    auto known = lengths_.find(path);
    if (known == lengths_.end()) {
      settings::SettingsFile sheet;
      sheet.Read(path, "[Zuvo]");
      known = lengths_.emplace(path, sheet.GetInt(settings::kZuvoSection, settings::kExtraLengthKey, 0)).first;
    }
    unit = byUnit_.emplace(unitName, known->second).first;
  }
  if (unit->second < 0 || unit->second > kMaxExtraLength) return 0;
  *length = unit->second;
  return 1;
}

}  // namespace app
