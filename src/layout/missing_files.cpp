#include "layout/missing_files.h"

#include "host/installation.h"

namespace layout {

bool MissingFiles::Ask(Answers* answers, const std::string& fullName, Kind kind) {
  // A name ends at a 0 byte, as the file's path would.
  const std::string name = fullName.substr(0, fullName.find('\0'));
  auto found = answers->find(name);
  if (found != answers->end()) return found->second;
  std::string relative = name;
  switch (kind) {
    case kModel: relative = host::ModelPath(name); break;
    case kGbo: break;
    case kRollingStock: relative = host::RollingStockPath(name); break;
  }
  const bool missing = !folders_.Exists(relative);
  answers->emplace(name, missing);
  return missing;
}

}  // namespace layout
