#include "ui/console/repair_command.h"

#include <CLI/CLI.hpp>
#include <memory>

#include "ui/console/dialog_commands.h"

namespace console {

void AddRepairCommand(CLI::App& app, CommandList* commands) {
  CLI::App* sub = app.add_subcommand("repair",
                                     "Nach einem abgebrochenen Start alles zur\xC3\xBC"
                                     "cktauschen");
  auto force = std::make_shared<bool>(false);
  sub->add_flag(
      "--force", *force,
      "auch einen Lauf, von dem sich nicht feststellen l\xC3\xA4sst, ob er noch l\xC3\xA4uft (nach einer Frage)");
  RegisterInstallationCommand(commands, sub, [force](const GlobalOptions& global) {
    ButtonCommand command;
    command.action = [force](app::StartupDialog* dialog) { return dialog->Repair(*force); };
    return RunDialogCommand(global, std::string(), command);
  });
}

}  // namespace console
