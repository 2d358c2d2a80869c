// HKEY_LOCAL_MACHINE on POSIX systems: the machine hive of the Wine prefix,
// $WINEPREFIX/system.reg, read as text on every call (it is small, and Wine
// may rewrite it while we run).
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "platform/posix/native_path.h"
#include "platform/wine_registry.h"

namespace platform {
namespace {

// A hive larger than this is not a registry file we can trust.
const long long kMaximumHiveSize = 256LL * 1024 * 1024;

int ReadHive(const std::string& path, std::string* text) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return 0;
  struct stat st;
  const int ok = fstat(fileno(file), &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaximumHiveSize &&
                 ReadAll(file, text, kMaximumHiveSize);
  std::fclose(file);
  return ok;
}

}  // namespace

int ReadMachineDefaultValue(const std::string& subkey, std::string* value) {
  std::string prefix = posix::WinePrefix();
  if (prefix.empty()) return 0;
  std::string text;
  if (!ReadHive(prefix + "/system.reg", &text)) return 0;
  return FindWineRegistryDefaultValue(text, subkey, value);
}

std::string MachineRegistryPlace() {
  const std::string prefix = posix::ForMessage(posix::WinePrefix());
  if (prefix.empty()) return "in keinem Wine-Prefix (weder WINEPREFIX noch HOME ist gesetzt)";
  return "im Wine-Prefix " + prefix + " (Datei " + prefix + "/system.reg)";
}

}  // namespace platform
