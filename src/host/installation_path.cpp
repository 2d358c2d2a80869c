#include "host/installation_path.h"

#include "platform/cp1252.h"
#include "platform/platform.h"

namespace host {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool SameLetter(char a, char b) {
  return platform::AsciiUpper(static_cast<unsigned char>(a)) == platform::AsciiUpper(static_cast<unsigned char>(b));
}

}  // namespace

std::string InstallationPath(const std::string& host, const std::string& path) {
  const bool hostHasDrive = host.size() >= 2 && IsLetter(host[0]) && host[1] == ':';
  if (path.size() >= 2 && IsLetter(path[0]) && path[1] == ':') {
    if (path.size() > 2 && IsSeparator(path[2])) return path;
    if (hostHasDrive && SameLetter(path[0], host[0])) return host + path.substr(2);
    return path.substr(0, 2) + "\\" + path.substr(2);
  }
  if (!path.empty() && IsSeparator(path[0])) return hostHasDrive ? host.substr(0, 2) + path : path;
  return host + path;
}

int IsInsideInstallation(const std::string& host, const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return 0;
  const std::string root = platform::RealPathOf(host);
  const std::string real = platform::RealPathOf(InstallationPath(host, path));
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
