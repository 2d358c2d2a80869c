#include "ui/console/result_lines.h"

#include <cstdio>

#include "host/installation.h"
#include "platform/platform.h"

namespace console {

void PrintResult(const std::string& cp1252) {
  const std::string text = platform::ToConsoleText(cp1252 + "\n");
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

int PrintInstalledFiles(const std::string* choices) {
  const char* hostDirectory = host::HostDirectory();
  int printed = 0;
  if (hostDirectory == nullptr) return printed;
  for (int k = 0; k < host::kAssetKindCount; ++k) {
    const host::AssetKindInfo& info = host::AssetKindOf(static_cast<host::AssetKind>(k));
    if (choices != nullptr && !choices[k].empty()) {
      PrintResult(std::string(info.name) + ": " + choices[k] + " installiert");
      ++printed;
      continue;
    }
    const std::string saved = std::string(hostDirectory) + info.name + "\\" + info.defaultFile;
    if (platform::PathStatus(saved) == platform::kPathFile) {
      PrintResult(std::string(info.name) + ": " + info.defaultFile + " installiert");
      ++printed;
    }
  }
  return printed;
}

}  // namespace console
