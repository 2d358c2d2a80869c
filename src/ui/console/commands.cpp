#include "ui/console/commands.h"

#include <CLI/CLI.hpp>

#include "host/installation.h"
#include "host/messages.h"
#include "platform/platform.h"

namespace console {

void RegisterCommand(CommandList* commands, CLI::App* subcommand, CommandRunner run) {
  commands->push_back(CommandRegistration{subcommand, std::move(run)});
}

std::shared_ptr<std::string> AddLayoutArgument(CLI::App* subcommand) {
  auto argument = std::make_shared<std::string>();
  subcommand->add_option("LAYOUT", *argument, "Anlage (.anl oder .danl)")->required();
  return argument;
}

int ArgumentToWindowsPath(const std::string& argument, std::string* windows) {
  std::string error;
  if (!platform::ToWindowsPath(argument, windows, &error)) {
    host::ShowFormatted("%s\n", error.c_str());
    return 0;
  }
  return 1;
}

int SetHostFolder(const std::string& argument) {
  std::string windows;
  if (!ArgumentToWindowsPath(argument, &windows)) return 0;
  const int status = platform::PathStatus(windows);
  if (status != platform::kPathDirectory) {
    host::ShowFormatted("--host: %s %s.\n", windows.c_str(),
                        status == platform::kPathNone ? "gibt es nicht" : "ist kein Ordner");
    return 0;
  }
  host::SetHostDirectoryOverride(windows);
  return 1;
}

}  // namespace console
