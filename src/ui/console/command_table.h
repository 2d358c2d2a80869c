// Every command of zuvo, added to the parser in the order of its help text.
#pragma once

#include "ui/console/commands.h"

namespace CLI {
class App;
}

namespace console {

void AddAllCommands(CLI::App& app, CommandList* commands);

}  // namespace console
