#include "ui/console/commands.h"

#include <CLI/CLI.hpp>

#include "host/installation.h"
#include "host/messages.h"
#include "platform/platform.h"

namespace console {
namespace {

const char* FolderProblem(int status) {
  return status == platform::kPathNone ? "gibt es nicht" : "ist kein Ordner";
}

// Shows why and returns 0 when the named installation folder is no existing
// folder. An unknown one is left to the command's own check, which tells
// where it was looked for.
int CheckInstallationFolder() {
  const char* named = host::HostDirectory();
  if (named == nullptr) return 1;
  std::string folder = named;
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();  // "C:\" stays a drive root
  const int status = platform::PathStatus(folder);
  if (status == platform::kPathDirectory) return 1;
  host::ShowFormatted("Installationsordner %s %s.\n", folder.c_str(), FolderProblem(status));
  return 0;
}

}  // namespace

void RegisterCommand(CommandList* commands, CLI::App* subcommand, CommandRunner run) {
  commands->push_back(CommandRegistration{subcommand, std::move(run)});
}

void RegisterInstallationCommand(CommandList* commands, CLI::App* subcommand, CommandRunner run) {
  RegisterCommand(commands, subcommand, [run](const GlobalOptions& options) {
    return CheckInstallationFolder() ? run(options) : static_cast<int>(kExitFailed);
  });
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
    host::ShowFormatted("--host: %s %s.\n", windows.c_str(), FolderProblem(status));
    return 0;
  }
  host::SetHostDirectoryOverride(windows);
  return 1;
}

}  // namespace console
