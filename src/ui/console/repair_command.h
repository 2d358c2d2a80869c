// zuvo repair: undoes what a start cut off left swapped (see
// app/run_journal.h), as the next start or "Standard" would, and does
// nothing else.
#pragma once

#include "ui/console/commands.h"

namespace CLI {
class App;
}

namespace console {

void AddRepairCommand(CLI::App& app, CommandList* commands);

}  // namespace console
