#include "ui/console/help_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <string>

#include "ui/console/console_view.h"
#include "ui/console/help.h"

namespace console {

void AddHelpCommand(CLI::App& app, CommandList* commands) {
  CLI::App* sub = app.add_subcommand("help", "Hilfe zeigen, mit BEFEHL die Hilfe des Befehls");
  auto name = std::make_shared<std::string>();
  sub->add_option("BEFEHL", *name, "Befehl, dessen Hilfe gezeigt wird");
  CLI::App* program = &app;
  RegisterCommand(commands, sub, [program, sub, name](const GlobalOptions&) -> int {
    if (name->empty()) return WriteUtf8Text(stdout, CommandHelpText(*program, nullptr)) ? kExitOk : kExitFailed;
    const CLI::App* command = nullptr;
    for (const CLI::App* each : program->get_subcommands({})) {
      if (each->get_name() == *name) command = each;
    }
    if (command == nullptr) {
      WriteUtf8Text(stderr, UnknownCommandText(*program, *name) + "\n" + UsageText(*program, sub));
      return kExitUsage;
    }
    return WriteUtf8Text(stdout, CommandHelpText(*program, command)) ? kExitOk : kExitFailed;
  });
}

}  // namespace console
