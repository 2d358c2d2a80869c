#include "layout/layout_file.h"

#include "host/messages.h"
#include "host/paths.h"

namespace layout {

int LayoutFileOf(const std::string& path, std::string* layoutFile) {
  std::string extension = host::ExtensionOf(path);
  if (host::EqualsIgnoringAsciiCase(extension, "anl")) {
    *layoutFile = path;
    return 1;
  }
  if (host::EqualsIgnoringAsciiCase(extension, "danl")) {
    *layoutFile = host::StripExtension(path) + ".anl";
    return 1;
  }
  host::ShowFormatted("falsche Endung: %s\n", extension.c_str());
  return 0;
}

}  // namespace layout
