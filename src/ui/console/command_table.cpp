#include "ui/console/command_table.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/console/commands.h"
#include "ui/console/dialog_commands.h"
#include "ui/console/layout_commands.h"
#include "ui/console/start_command.h"

namespace console {
namespace {

// A command that this version does not have yet: it says so and exits 2.
void AddMissingCommand(CLI::App& app, const char* name, const char* help) {
  CLI::App* sub = app.add_subcommand(name, help);
  static std::vector<std::string> ignored;
  sub->add_option("args", ignored, "Argumente");
  std::string commandName = name;
  RegisterCommand(sub, [commandName]() {
    std::fprintf(stderr, "zuvo: der Befehl \"%s\" ist noch nicht eingebaut\n",
                 commandName.c_str());
    return static_cast<int>(kExitUsage);
  });
}

}  // namespace

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
