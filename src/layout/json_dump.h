// A loaded layout as JSON text (UTF-8) with English keys: the installation
// folder it was loaded against, `loaded`, every record field, the camera
// views and the properties. For inspection, scripts and tests; the
// repository's schema/zuvo.schema.json describes it.
#pragma once

#include <string>

#include "layout/layout.h"

namespace layout {

// Pretty-printed JSON ending in a newline. Strings are converted from code
// page 1252; byte blocks are lower-case hex strings; reals that are not
// numbers come out as null. `installation` (code page 1252) is the host
// directory, null when empty (unknown).
std::string DumpJson(const Layout& layout, const std::string& installation);

}  // namespace layout
