#include "platform/terminal.h"

#include <unistd.h>

#include "platform/cp1252.h"

namespace platform {

int IsTerminal(StandardStream stream) { return isatty(static_cast<int>(stream)) ? 1 : 0; }

int WriteText(std::FILE* stream, const std::string& cp1252) {
  const std::string utf8 = Cp1252ToUtf8(cp1252);
  const bool written = std::fwrite(utf8.data(), 1, utf8.size(), stream) == utf8.size();
  return std::fflush(stream) == 0 && written;
}

}  // namespace platform
