// Reading a whole file through OpenFile, the same on every system.
#include <cstdio>
#include <string>

#include "platform/platform.h"

namespace platform {

int ReadWholeFile(const std::string& path, std::string* bytes) {
  std::FILE* file = OpenFile(path, "rb");
  if (file == nullptr) return 0;
  bytes->clear();
  std::string block(65536, '\0');
  std::size_t got;
  while ((got = std::fread(&block[0], 1, block.size(), file)) > 0) bytes->append(block, 0, got);
  const int ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

}  // namespace platform
