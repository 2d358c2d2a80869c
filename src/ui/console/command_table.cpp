#include "ui/console/command_table.h"

#include <CLI/CLI.hpp>

#include "ui/console/commands.h"
#include "ui/console/dialog_commands.h"
#include "ui/console/layout_commands.h"
#include "ui/console/start_command.h"

namespace console {

void AddAllCommands(CLI::App& app) {
  AddShowCommand(app);
  AddStartCommand(app);
  AddDeleteCameraSetCommand(app);
  AddStandardCommand(app);
  AddRemoveMissingCommand(app);
  AddInventoryCommand(app);
  AddMissingListCommand(app);
  AddTerrainCommand(app);
  AddResaveCommand(app);
  AddDumpCommand(app);
}

}  // namespace console
