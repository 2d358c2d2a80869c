#include "host/missing_files.h"

#include "host/paths.h"

namespace host {

bool MissingFiles::Ask(Answers* answers, const std::string& fullName, Kind kind) {
  const std::string name = NameUpToNul(fullName);
  auto found = answers->find(name);
  if (found != answers->end()) return found->second;
  std::string relative = name;
  switch (kind) {
    case kModel: relative = ModelPath(name); break;
    case kGbo: break;
    case kRollingStock: relative = RollingStockPath(name); break;
  }
  const bool missing = !folders_.Exists(relative);
  answers->emplace(name, missing);
  return missing;
}

}  // namespace host
