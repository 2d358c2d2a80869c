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

}  // namespace host
