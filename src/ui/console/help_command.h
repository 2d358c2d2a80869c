// zuvo help [BEFEHL]: the help of a command, or without one the main help,
// as "--help" gives them.
#pragma once

#include "ui/console/commands.h"

namespace CLI {
class App;
}

namespace console {

// `app` must outlive the command list. An unknown command is a usage error
// (2) that names the nearest command.
void AddHelpCommand(CLI::App& app, CommandList* commands);

}  // namespace console
