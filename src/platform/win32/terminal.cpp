#include "platform/terminal.h"

#include <io.h>

namespace platform {

int IsTerminal(StandardStream stream) { return _isatty(static_cast<int>(stream)) ? 1 : 0; }

}  // namespace platform
