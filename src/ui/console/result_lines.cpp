#include "ui/console/result_lines.h"

#include <cstdio>

#include "platform/platform.h"

namespace console {

void PrintResult(const std::string& cp1252) {
  const std::string text = platform::ToConsoleText(cp1252 + "\n");
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

}  // namespace console
