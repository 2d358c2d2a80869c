#include "ui/console/commands.h"

#include <CLI/CLI.hpp>

#include "host/installation.h"
#include "host/messages.h"
#include "platform/platform.h"

namespace console {
namespace {

// Shows why and returns 0 when no installation is known (the hint tells
// where it was looked for) or its folder is no existing folder: the cause
// comes first, before anything of the layout is read.
int CheckInstallationFolder(const host::Installation& installation) {
  if (!installation.known()) {
    host::Report(host::Why::kUnknownInstallation);
    return 0;
  }
  std::string folder = installation.folder;
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();  // "C:\" stays a drive root
  const int status = platform::PathStatus(folder);
  if (status == platform::kPathDirectory) return 1;
  host::Report(status == platform::kPathNone ? host::Why::kInstallationAbsent : host::Why::kInstallationNoFolder,
               folder);
  return 0;
}

}  // namespace

void RegisterCommand(CommandList* commands, CLI::App* subcommand, CommandRunner run) {
  commands->push_back(CommandRegistration{subcommand, std::move(run)});
}

void RegisterInstallationCommand(CommandList* commands, CLI::App* subcommand, CommandRunner run) {
  RegisterCommand(commands, subcommand, [run](const GlobalOptions& options) {
    return CheckInstallationFolder(options.installation) ? run(options) : static_cast<int>(kExitFailed);
  });
}

std::shared_ptr<std::string> AddLayoutArgument(CLI::App* subcommand) {
  auto argument = std::make_shared<std::string>();
  subcommand->add_option("ANLAGE", *argument, "Anlage (.anl oder .danl)")->required();
  return argument;
}

int ArgumentToWindowsPath(const std::string& argument, std::string* windows) {
  std::string error;
  if (!platform::ToWindowsPath(argument, windows, &error)) {
    host::Report(host::Why::kPathProblem, error);
    return 0;
  }
  return 1;
}

int HostFolder(const std::string& argument, host::Installation* installation) {
  std::string windows;
  if (!ArgumentToWindowsPath(argument, &windows)) return 0;
  const int status = platform::PathStatus(windows);
  if (status != platform::kPathDirectory) {
    host::Report(status == platform::kPathNone ? host::Why::kHostOptionAbsent : host::Why::kHostOptionNoFolder,
                 windows);
    return 0;
  }
  *installation = host::InstallationAt(windows);
  return 1;
}

}  // namespace console
