#include "app/copy_paths.h"

#include "host/installation_path.h"
#include "host/messages.h"

namespace app {

int CheckCopyPaths(const settings::SettingsFile& settings, const std::string& host) {
  const char kCopySection[] = "Copy";
  for (const settings::SettingsEntry* entry : settings.EntriesOf(kCopySection)) {
    if (host::IsInsideInstallation(host, entry->name) && host::IsInsideInstallation(host, entry->value)) {
      continue;
    }
    host::ShowFormatted("[%s]:%s=%s liegt au\xDF" "erhalb des Simulatorordners!\n", kCopySection,
                        entry->name.c_str(), entry->value.c_str());
    return 0;
  }
  return 1;
}

}  // namespace app
