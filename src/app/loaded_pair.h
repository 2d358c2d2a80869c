// The layout pair that the dialog's commands work on: the loaded layout, its
// companion settings file and the paths of the pair.
//
// The dialog owns one; a load refills it. layoutPath is the ".anl" of the
// pair loaded last and settingsPath its ".danl"; both are empty before the
// first load and after a load that stopped.
#pragma once

#include <string>

#include "host/paths.h"
#include "layout/layout.h"
#include "settings/settings_file.h"

namespace app {

struct LoadedPair {
  layout::Layout layout;
  settings::SettingsFile settings;
  std::string layoutPath;
  std::string settingsPath;

  // The layout's folder. Every file written beside the layout (the pair, its
  // backup, the lists, the previews) must stay in it: a stranger's archive
  // may hold links planted under those names.
  std::string folder() const { return host::DirectoryOf(layoutPath); }
};

}  // namespace app
