#include "layout/missing_files.h"

#include "host/installation.h"

namespace layout {

bool MissingFiles::Ask(Answers* answers, const std::string& fullName, Kind kind) {
  // A name ends at a 0 byte, as the file's path would.
  const std::string name = fullName.substr(0, fullName.find('\0'));
  auto found = answers->find(name);
  if (found != answers->end()) return found->second;
  int missing = 0;
  switch (kind) {
    case kModel: missing = host::IsModelMissing(name); break;
    case kGbo: missing = host::IsGboMissing(name); break;
    case kRollingStock: missing = host::IsRollingStockMissing(name); break;
  }
  answers->emplace(name, missing != 0);
  return missing != 0;
}

}  // namespace layout
