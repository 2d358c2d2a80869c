#include "terrain/terrain_folder.h"

#include "host/installation.h"
#include "host/installation_path.h"
#include "host/messages.h"

namespace terrain {

int CheckTerrainFolderName(const std::string& section, const std::string& name) {
  const char* host = host::HostDirectory();
  if (host::IsPlainName(name) &&
      (host == nullptr || host::IsInsideInstallation(host, "Modelle\\" + name))) {
    return 1;
  }
  host::ShowFormatted("[%s]:Name muss ein Ordnername in Modelle sein!\n", section.c_str());
  return 0;
}

}  // namespace terrain
