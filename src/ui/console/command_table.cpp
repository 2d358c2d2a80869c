#include "ui/console/command_table.h"

#include <CLI/CLI.hpp>

#include "ui/console/commands.h"
#include "ui/console/dialog_commands.h"
#include "ui/console/help_command.h"
#include "ui/console/history_command.h"
#include "ui/console/layout_commands.h"
#include "ui/console/map_command.h"
#include "ui/console/repair_command.h"
#include "ui/console/start_command.h"

namespace console {

void AddAllCommands(CLI::App& app, CommandList* commands) {
  AddShowCommand(app, commands);
  AddStartCommand(app, commands);
  AddDeleteCameraSetCommand(app, commands);
  AddStandardCommand(app, commands);
  AddRemoveMissingCommand(app, commands);
  AddInventoryCommand(app, commands);
  AddMissingListCommand(app, commands);
  AddTerrainCommand(app, commands);
  AddResaveCommand(app, commands);
  AddDumpCommand(app, commands);
  AddMapCommand(app, commands);
  AddRepairCommand(app, commands);
  AddHelpCommand(app, commands);
  // The history of a layout.
  AddHistoryCommand(app, commands);
  AddRestoreCommand(app, commands);
}

}  // namespace console
