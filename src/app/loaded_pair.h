// The layout pair that the dialog's commands work on: the loaded layout, its
// companion settings file and the paths of the pair.
//
// The dialog owns one; a load refills it. layoutPath is the ".anl" of the
// pair loaded last and settingsPath its ".danl"; both are empty before the
// first load and after a load that stopped.
#pragma once

#include <string>

#include "layout/layout.h"
#include "settings/settings_file.h"

namespace app {

struct LoadedPair {
  layout::Layout layout;
  settings::SettingsFile settings;
  std::string layoutPath;
  std::string settingsPath;
};

}  // namespace app
