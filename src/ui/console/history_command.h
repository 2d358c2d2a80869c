// zuvo history LAYOUT [--json] and zuvo restore LAYOUT [N]: the versions of
// a layout's pair that its history keeps, and bringing one back.
#pragma once

#include "ui/console/commands.h"

namespace CLI {
class App;
}

namespace console {

void AddHistoryCommand(CLI::App& app, CommandList* commands);
void AddRestoreCommand(CLI::App& app, CommandList* commands);

}  // namespace console
