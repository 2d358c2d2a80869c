// The program-wide state that every handler of the dialog works on: the
// loaded layout, its companion settings file and the paths of the pair.
//
// One of each lives for the whole run; a load refills them. LayoutPath is
// the ".anl" of the pair loaded last and SettingsPath its ".danl"; both are
// empty before the first load and after a load that stopped.
#pragma once

#include <string>

#include "layout/layout.h"
#include "settings/settings_file.h"

namespace app {

struct AppState {
  layout::Layout Layout;
  settings::SettingsFile SettingsFile;
  std::string LayoutPath;
  std::string SettingsPath;
};

// The one global state.
AppState& Globals();

// Empties the state as at program start (tests).
void ResetGlobals();

}  // namespace app
