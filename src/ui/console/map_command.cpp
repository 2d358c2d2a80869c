#include "ui/console/map_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <string>

#include "ui/console/commands.h"
#include "ui/console/dialog_commands.h"

namespace console {
namespace {

int RunMap(const GlobalOptions& global, const std::string& argument, const std::string& output) {
  std::string target;
  if (!output.empty() && !ArgumentToWindowsPath(output, &target)) return kExitFailed;
  ButtonCommand command;
  command.action = [target](app::StartupDialog* dialog) { return dialog->WriteMap(target); };
  return RunDialogCommand(global, argument, command);
}

}  // namespace

void AddMapCommand(CLI::App& app, CommandList* commands) {
  CLI::App* sub = app.add_subcommand("map", "Anlage als SVG-Karte zeichnen");
  auto argument = AddLayoutArgument(sub);
  auto output = std::make_shared<std::string>();
  sub->add_option("-o", *output, "Datei der Karte (sonst <Name>.svg neben der Anlage)")->option_text("DATEI");
  RegisterInstallationCommand(commands, sub, [argument, output](const GlobalOptions& global) {
    return RunMap(global, *argument, *output);
  });
}

}  // namespace console
