#include "platform/terminal.h"

#include <unistd.h>

namespace platform {

int IsTerminal(StandardStream stream) { return isatty(static_cast<int>(stream)) ? 1 : 0; }

}  // namespace platform
