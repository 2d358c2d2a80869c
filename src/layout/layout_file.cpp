#include "layout/layout_file.h"

#include "host/messages.h"
#include "host/paths.h"
#include "platform/cp1252.h"
#include "platform/platform.h"

namespace layout {

int LayoutFileOf(const std::string& path, std::string* layoutFile) {
  std::string extension = host::ExtensionOf(path);
  if (platform::EqualsIgnoringCase(extension, "anl")) {
    *layoutFile = path;
    return 1;
  }
  if (platform::EqualsIgnoringCase(extension, "danl")) {
    *layoutFile = host::StripExtension(path) + ".anl";
    return 1;
  }
  host::Report(host::Why::kWrongExtension, extension, path,
               platform::PathStatus(path) == platform::kPathDirectory ? "1" : "");
  return 0;
}

}  // namespace layout
