#include "host/folder_index.h"

#include <vector>

#include "host/installation.h"
#include "platform/cp1252.h"
#include "platform/platform.h"

namespace host {
namespace {

// Windows resolves case itself in one call without reading folders; there the
// per-path check answers every path.
#ifdef _WIN32
const bool kListingDecides = false;
#else
const bool kListingDecides = true;
#endif

std::string Upper(const std::string& name) { return platform::FoldedCase(name); }

// The components of `relative` with "." and empty ones dropped and ".."
// folded by name, as the path lookup folds them. 0 when the path is not one
// the index answers for sure: empty, with a 0 byte, or going above the host.
int SplitPath(const std::string& relative, std::vector<std::string>* parts) {
  if (relative.find('\0') != std::string::npos) return 0;
  std::size_t pos = 0;
  while (pos <= relative.size()) {
    std::size_t end = relative.find_first_of("\\/", pos);
    if (end == std::string::npos) end = relative.size();
    std::string part = relative.substr(pos, end - pos);
    if (part == "..") {
      if (parts->empty()) return 0;
      parts->pop_back();
    } else if (!part.empty() && part != ".") {
      parts->push_back(part);
    }
    pos = end + 1;
  }
  return !parts->empty();
}

}  // namespace

const FolderIndex::Folder& FolderIndex::FolderAt(const std::string& path) {
  auto found = folders_.find(path);
  if (found != folders_.end()) return found->second;
  Folder& folder = folders_[path];
  std::vector<std::pair<std::string, int>> entries;
  if (!installation_.known() || !platform::ListFolder(installation_.Path(path), &entries)) return folder;
  folder.listed = 1;
  for (const auto& entry : entries) {
    Entry e{entry.first, entry.second};
    folder.exact.emplace(e.name, e);
    // Of the names equal ignoring case, the lookup takes the first in the
    // byte order of their stored (UTF-8) form.
    auto inserted = folder.folded.emplace(Upper(e.name), e);
    if (!inserted.second && platform::Cp1252ToUtf8(e.name) < platform::Cp1252ToUtf8(inserted.first->second.name)) {
      inserted.first->second = e;
    }
  }
  return folder;
}

int FolderIndex::Exists(const std::string& relative) {
  if (!installation_.known()) return 0;
  std::vector<std::string> parts;
  if (!kListingDecides || !SplitPath(relative, &parts)) return installation_.Exists(relative);
  std::string path;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const Folder& folder = FolderAt(path);
    if (!folder.listed) return installation_.Exists(relative);
    auto found = folder.exact.find(parts[i]);
    if (found == folder.exact.end()) {
      found = folder.folded.find(Upper(parts[i]));
      // Not there in any case: nothing below it can exist either.
      if (found == folder.folded.end()) return 0;
    }
    const Entry& entry = found->second;
    if (entry.type == platform::kPathNone) return installation_.Exists(relative);
    if (i + 1 == parts.size()) return 1;
    if (entry.type != platform::kPathDirectory) return 0;  // a file used as a folder
    path += entry.name + "\\";
  }
  return 0;
}

}  // namespace host
