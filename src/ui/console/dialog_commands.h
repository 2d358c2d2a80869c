// The commands that run one of the dialog's buttons: the dialog starts as the
// window does (with LAYOUT as its first argument, when the command has one),
// the options set the members as the user would set the controls, then the
// button's handler runs and the command prints its result lines. The
// decisions stay the handler's: a command only checks what the command line
// adds (a name that must exist) before the button and says afterwards what
// was done.
#pragma once

#include <functional>
#include <string>

#include "app/startup_dialog.h"

#include "ui/console/commands.h"
#include "ui/console/console_view.h"

namespace CLI {
class App;
}

namespace console {

using Handler = int (app::StartupDialog::*)();

// A command around one button, each step optional.
struct ButtonCommand {
  // After the load: sets members from the options and checks them. kExitOk
  // goes on; any other status ends the command with it (the reason was shown).
  std::function<int(app::StartupDialog*)> prepare;
  // The button; null ends the command after `prepare` and `report`.
  Handler handler = nullptr;
  // Instead of a button, a handler that takes the command's options.
  std::function<int(app::StartupDialog*)> action;
  // After the button completed: the result lines the view kept for the end.
  std::function<void(const ConsoleView&)> report;
};

// Runs one button on LAYOUT (empty: no layout) and gives the exit status:
// 0 when the handler completed, 1 when the load or the handler stopped at a
// failure it reported or a question was answered No ("Abgebrochen."), 3 when
// it completed but the simulator it ran crashed or ended with a status other
// than 0 (a failure of the handler wins: 1).
int RunDialogCommand(const GlobalOptions& global, const std::string& layoutArgument, const ButtonCommand& command);

// A text argument (a name, not a path) in code page 1252. Shows why and
// returns 0 when it cannot be represented.
int ArgumentToText(const std::string& argument, std::string* text);

void AddShowCommand(CLI::App& app, CommandList* commands);
void AddDeleteCameraSetCommand(CLI::App& app, CommandList* commands);
void AddStandardCommand(CLI::App& app, CommandList* commands);
void AddRemoveMissingCommand(CLI::App& app, CommandList* commands);
void AddInventoryCommand(CLI::App& app, CommandList* commands);
void AddMissingListCommand(CLI::App& app, CommandList* commands);
void AddTerrainCommand(CLI::App& app, CommandList* commands);

}  // namespace console
