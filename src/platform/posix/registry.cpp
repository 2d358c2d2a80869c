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

// Where the look-up stopped comes first: a prefix that is not there, a
// prefix without its machine hive, or the hive that lacks the key.
std::string MachineRegistryPlace() {
  const std::string native = posix::WinePrefix();
  const std::string prefix = posix::ForMessage(native);
  if (prefix.empty()) return "in keinem Wine-Prefix (weder WINEPREFIX noch HOME ist gesetzt)";
  struct stat st;
  if (stat(native.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    return "im Wine-Prefix " + prefix + ", den es nicht gibt";
  }
  if (stat((native + "/system.reg").c_str(), &st) != 0) {
    return "im Wine-Prefix " + prefix + ", dem die Datei " + prefix + "/system.reg fehlt";
  }
  return "im Wine-Prefix " + prefix + " (Datei " + prefix + "/system.reg)";
}

}  // namespace platform
