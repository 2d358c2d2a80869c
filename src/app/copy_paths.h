// The swaps of a start come from the layout's settings file, which travels
// with shared layouts: before anything changes, every file they would rename
// must lie inside the installation.
#pragma once

#include <string>

#include "settings/settings_file.h"

namespace app {

// 1 when, for every key entry of the sections named "Copy", the key and the
// value lie inside the installation `host` (see host/installation_path.h);
// the key's backup "<key>.sav" is then beside it. Otherwise shows, for the
// first entry that does not, "[Copy]:KEY=VALUE liegt au\xDF" "erhalb des
// Simulatorordners!\n" and returns 0.
int CheckCopyPaths(const settings::SettingsFile& settings, const std::string& host);

}  // namespace app
