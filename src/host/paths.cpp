#include "host/paths.h"

namespace host {
namespace {

// Index where the file name starts.
std::size_t FileNameStart(const std::string& path) {
  std::size_t slash = path.rfind('\\');
  return slash == std::string::npos ? 0 : slash + 1;
}

// Index of the dot that starts the file name's extension, or npos.
std::size_t ExtensionDot(const std::string& path) {
  std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < FileNameStart(path)) return std::string::npos;
  return dot;
}

}  // namespace

std::string DirectoryOf(const std::string& path) {
  std::size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return ".";
  if (slash == 2 && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  std::size_t start = FileNameStart(path);
  std::size_t dot = ExtensionDot(path);
  if (dot == std::string::npos) return path.substr(start);
  return path.substr(start, dot - start);
}

std::string ExtensionOf(const std::string& path) {
  std::size_t dot = ExtensionDot(path);
  if (dot == std::string::npos) return std::string();
  return path.substr(dot + 1);
}

std::string StripExtension(const std::string& path) {
  std::size_t dot = ExtensionDot(path);
  if (dot == std::string::npos) return path;
  return path.substr(0, dot);
}

std::string FileNameOf(const std::string& path) { return path.substr(FileNameStart(path)); }

std::string FileInFolder(const std::string& folder, const std::string& name) {
  const bool bareDrive = folder.size() == 2 && folder[1] == ':';
  if (bareDrive) return folder + "\\" + name;
  return !folder.empty() && folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

std::string NameUpToNul(const std::string& name) { return name.substr(0, name.find('\0')); }

std::string ResolvePath(const std::string& folder, const std::string& path) {
  const auto isSeparator = [](char c) { return c == '\\' || c == '/'; };
  const auto hasDrive = [](const std::string& text) {
    const char letter = static_cast<char>(text.empty() ? 0 : text[0] | 0x20);
    return text.size() >= 2 && text[1] == ':' && letter >= 'a' && letter <= 'z';
  };
  if (path.empty() || folder.empty()) return path;
  if (hasDrive(path)) {
    if (path.size() > 2 && isSeparator(path[2])) return path;
    const bool sameDrive = hasDrive(folder) && ((path[0] | 0x20) == (folder[0] | 0x20));
    return sameDrive ? FileInFolder(folder, path.substr(2)) : path.substr(0, 2) + "\\" + path.substr(2);
  }
  if (isSeparator(path[0])) {
    const bool unc = path.size() >= 2 && isSeparator(path[1]);
    return hasDrive(folder) && !unc ? folder.substr(0, 2) + path : path;
  }
  return FileInFolder(folder, path);
}

}  // namespace host
