// The commands of zuvo. Each command file adds its subcommand to the parser
// and registers what runs when it was chosen.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace console {

// Options that every command sees.
struct GlobalOptions {
  bool yes = false;  // answer every question Yes
};

// Exit status of a command: 0 completed, 1 stopped at a reported failure,
// 2 usage error.
enum ExitStatus { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

using CommandRunner = std::function<int()>;

struct CommandRegistration {
  CLI::App* subcommand;
  CommandRunner run;
};

// Adds a subcommand and what runs for it.
void RegisterCommand(CLI::App* subcommand, CommandRunner run);

// The registered commands, in the order they were added.
const std::vector<CommandRegistration>& RegisteredCommands();

// Options shared by all commands (set by main before a command runs).
const GlobalOptions& Globals();
GlobalOptions& MutableGlobals();

// Turns a LAYOUT argument from the command line into the Windows form. Shows
// the reason and returns 0 when it cannot be represented.
int ArgumentToWindowsPath(const std::string& argument, std::string* windows);

}  // namespace console
