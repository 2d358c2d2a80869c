#include "ui/console/choice_files.h"

#include <vector>

#include "host/installation_path.h"
#include "host/messages.h"
#include "host/wording.h"
#include "platform/platform.h"
#include "ui/console/commands.h"

namespace console {

std::string AvailableChoices(const host::Installation& installation, host::AssetKind kind) {
  const std::string folder = installation.Path(host::AssetKindOf(kind).name);
  std::vector<std::string> files;
  std::string available;
  if (!host::ChoiceFiles(installation, kind, &files)) {
    available = host::Wording(host::Why::kChoiceFolderMissing, folder);
  } else if (files.empty()) {
    available = host::Wording(host::Why::kChoiceNone);
  }
  for (const std::string& file : files) available += (available.empty() ? "" : ", ") + file;
  return available;
}

int CheckChoice(const host::Installation& installation, host::AssetKind kind, const std::string& choice) {
  if (choice.empty() || !installation.known()) return kExitOk;
  const host::AssetKindInfo& info = host::AssetKindOf(kind);
  const bool plain = host::IsPlainName(choice) != 0;
  const std::string folder = installation.Path(info.name);
  if (plain && platform::PathStatus(folder + "\\" + choice) == platform::kPathFile) return kExitOk;
  const std::string available = AvailableChoices(installation, kind);
  if (plain) {
    host::Report(host::Why::kChoiceMissing, info.option, choice, folder, available);
  } else {
    host::Report(host::Why::kChoiceNotAName, info.option, folder, choice, available);
  }
  return plain ? kExitFailed : kExitUsage;
}

}  // namespace console
