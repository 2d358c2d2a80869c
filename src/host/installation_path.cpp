#include "host/installation_path.h"

#include "host/paths.h"
#include "platform/cp1252.h"
#include "platform/platform.h"

namespace host {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

int IsInsideInstallation(const std::string& folder, const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return 0;
  const std::string root = platform::RealPathOf(folder);
  const std::string real = platform::RealPathOf(ResolvePath(folder, path));
  if (root.empty() || real.size() <= root.size() || real.compare(0, root.size(), root) != 0) {
    return 0;
  }
  return IsSeparator(root.back()) || IsSeparator(real[root.size()]);
}

int IsPlainName(const std::string& name) {
  // Windows drops dots and spaces at the end of a name: "..." and ".. " are "..".
  if (name.find_first_not_of(". ") == std::string::npos) return 0;
  return name.find_first_of(std::string("\\/:\0", 4)) == std::string::npos;
}

}  // namespace host
