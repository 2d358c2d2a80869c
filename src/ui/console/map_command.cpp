#include "ui/console/map_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <string>

#include "host/messages.h"
#include "ui/console/commands.h"
#include "ui/console/dialog_commands.h"

namespace console {
namespace {

const char kStandardOutput[] = "-";

// The map's text, as it is (UTF-8), on standard output. 0 when the write
// failed (a closed pipe, a full disk), which is reported.
int WriteToStandardOutput(const std::string& svg) {
  if (std::fwrite(svg.data(), 1, svg.size(), stdout) == svg.size() && std::fflush(stdout) == 0) return 1;
  host::Report(host::Why::kWriteFailed, "stdout");
  return 0;
}

int RunMap(const GlobalOptions& global, const std::string& argument, const std::string& output) {
  ButtonCommand command;
  if (output == kStandardOutput) {
    command.action = [](app::StartupDialog* dialog) {
      std::string svg;
      return dialog->DrawMap(&svg) && WriteToStandardOutput(svg);
    };
    return RunDialogCommand(global, argument, command);
  }
  std::string target;
  if (!output.empty() && !ArgumentToWindowsPath(output, &target)) return kExitFailed;
  command.action = [target](app::StartupDialog* dialog) { return dialog->WriteMap(target); };
  return RunDialogCommand(global, argument, command);
}

}  // namespace

void AddMapCommand(CLI::App& app, CommandList* commands) {
  CLI::App* sub = app.add_subcommand("map", "Anlage als SVG-Karte zeichnen");
  auto argument = AddLayoutArgument(sub);
  auto output = std::make_shared<std::string>();
  sub->add_option("-o,--output", *output,
                  "Datei der Karte (sonst <Name>.svg neben der Anlage; - f\xC3\xBCr die Standardausgabe)")
      ->option_text("DATEI");
  RegisterInstallationCommand(
      commands, sub, [argument, output](const GlobalOptions& global) { return RunMap(global, *argument, *output); });
}

}  // namespace console
