#include "ui/console/commands.h"

#include "host/messages.h"
#include "platform/platform.h"

namespace console {
namespace {

std::vector<CommandRegistration>& Registry() {
  static std::vector<CommandRegistration> registry;
  return registry;
}

}  // namespace

void RegisterCommand(CLI::App* subcommand, CommandRunner run) {
  Registry().push_back(CommandRegistration{subcommand, std::move(run)});
}

const std::vector<CommandRegistration>& RegisteredCommands() { return Registry(); }

const GlobalOptions& Globals() { return MutableGlobals(); }

GlobalOptions& MutableGlobals() {
  static GlobalOptions globals;
  return globals;
}

int ArgumentToWindowsPath(const std::string& argument, std::string* windows) {
  std::string error;
  if (!platform::ToWindowsPath(argument, windows, &error)) {
    host::ShowFormatted("%s\n", error.c_str());
    return 0;
  }
  return 1;
}

}  // namespace console
