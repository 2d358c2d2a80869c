// Reading a whole file through OpenFile, the same on every system.
#include <cstdio>
#include <string>

#include "platform/platform.h"

namespace platform {

int ReadAll(std::FILE* file, std::string* bytes, long long maxBytes) {
  bytes->clear();
  std::string block(65536, '\0');
  std::size_t got;
  while ((got = std::fread(&block[0], 1, block.size(), file)) > 0) {
    bytes->append(block, 0, got);
    if (maxBytes > 0 && static_cast<long long>(bytes->size()) > maxBytes) return 0;
  }
  return !std::ferror(file);
}

int ReadWholeFile(const std::string& path, std::string* bytes, long long maxBytes) {
  std::FILE* file = OpenFile(path, "rb");
  if (file == nullptr) return 0;
  const int ok = ReadAll(file, bytes, maxBytes);
  std::fclose(file);
  return ok;
}

}  // namespace platform
