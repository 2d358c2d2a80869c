// The folder of a terrain's tiles, named by the section's "Name": a plain
// folder name directly under the installation's "Modelle" folder, so that a
// shared layout cannot make the tool create folders or write tiles elsewhere.
#pragma once

#include <string>

namespace terrain {

// 1 when `name` is a plain folder name (see host/installation_path.h) and,
// with a known installation, "Modelle\<name>" lies inside it once resolved.
// Otherwise shows "[SECTION]:Name muss ein Ordnername in Modelle sein!\n"
// and returns 0.
int CheckTerrainFolderName(const std::string& section, const std::string& name);

}  // namespace terrain
