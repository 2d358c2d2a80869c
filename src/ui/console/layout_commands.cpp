#include "ui/console/layout_commands.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <string>

#include "layout/json_dump.h"
#include "ui/console/commands.h"
#include "ui/console/dialog_commands.h"

namespace console {
namespace {

void AddLayoutCommand(CLI::App& app, CommandList* commands, const char* name, const char* help,
                      const ButtonCommand& command) {
  CLI::App* sub = app.add_subcommand(name, help);
  auto argument = AddLayoutArgument(sub);
  RegisterCommand(commands, sub, [argument, command](const GlobalOptions& global) {
    return RunDialogCommand(global, *argument, command);
  });
}

}  // namespace

void AddResaveCommand(CLI::App& app, CommandList* commands) {
  ButtonCommand command;
  command.handler = &app::StartupDialog::Resave;
  AddLayoutCommand(app, commands, "resave", "Anlage laden und wieder speichern", command);
}

// The loaded layout, as JSON on standard output.
void AddDumpCommand(CLI::App& app, CommandList* commands) {
  ButtonCommand command;
  command.action = [](app::StartupDialog* dialog) {
    const std::string json = layout::DumpJson(dialog->pair().layout, dialog->installation().folder);
    std::fwrite(json.data(), 1, json.size(), stdout);
    return std::fflush(stdout) == 0 ? 1 : 0;
  };
  AddLayoutCommand(app, commands, "dump", "Geladene Anlage als JSON ausgeben", command);
}

}  // namespace console
