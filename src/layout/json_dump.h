// A loaded layout as JSON text (UTF-8): every record field, the camera
// views, the properties and `loaded`. For inspection and for tests.
#pragma once

#include <string>

#include "layout/layout.h"

namespace layout {

// Pretty-printed JSON ending in a newline. Strings are converted from code
// page 1252; byte blocks are lower-case hex strings; reals that are not
// numbers come out as null.
std::string DumpJson(const Layout& layout);

}  // namespace layout
