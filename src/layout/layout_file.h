// Which file of a layout pair is the layout file.
#pragma once

#include <string>

namespace layout {

// The ".anl" file of the pair that `path` names: the path itself for ".anl",
// the same stem with ".anl" for ".danl" (extensions in any case). Shows
// host::kWrongExtension with the extension and fails for anything else.
int LayoutFileOf(const std::string& path, std::string* layoutFile);

}  // namespace layout
