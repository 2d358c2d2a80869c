// The commands of zuvo. Each command file adds its subcommand to the parser
// and registers what runs when it was chosen.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/installation.h"

namespace CLI {
class App;
}

namespace console {

// Options that every command sees, and the installation: looked up once,
// from --host or the registry, before the command runs.
struct GlobalOptions {
  bool yes = false;  // answer every question Yes
  host::Installation installation;
};

// Exit status of a command: 0 completed, 1 stopped at a reported failure or
// at a question answered No, 2 usage error, 3 a start completed but the
// simulator crashed or ended with a status other than 0.
enum ExitStatus { kExitOk = 0, kExitFailed = 1, kExitUsage = 2, kExitSimulator = 3 };

// What runs for a chosen command, with the options parsed for every command.
using CommandRunner = std::function<int(const GlobalOptions& options)>;

struct CommandRegistration {
  CLI::App* subcommand;
  CommandRunner run;
};

// The commands in the order they were added.
using CommandList = std::vector<CommandRegistration>;

// Adds a subcommand and what runs for it.
void RegisterCommand(CommandList* commands, CLI::App* subcommand, CommandRunner run);

// As RegisterCommand, for a command that needs the installation: it stops
// (1) before its work, with that as its only message, when no installation
// is known or the registry names an installation folder that is not there,
// where every file of it would count as missing.
void RegisterInstallationCommand(CommandList* commands, CLI::App* subcommand, CommandRunner run);

// Adds the required ANLAGE argument (the layout) to a subcommand; the value is filled in
// when the command line is parsed.
std::shared_ptr<std::string> AddLayoutArgument(CLI::App* subcommand);

// Turns an ANLAGE argument from the command line into the Windows form. Shows
// the reason and returns 0 when it cannot be represented.
int ArgumentToWindowsPath(const std::string& argument, std::string* windows);

// The installation folder named by the --host argument. Reports why and
// returns 0 when it cannot be represented or is no existing folder.
int HostFolder(const std::string& argument, host::Installation* installation);

}  // namespace console
