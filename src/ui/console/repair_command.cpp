#include "ui/console/repair_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>

#include "app/guards.h"
#include "app/run_journal.h"
#include "host/installation.h"
#include "host/messages.h"
#include "platform/platform.h"

namespace console {

void AddRepairCommand(CLI::App& app, CommandList* commands) {
  CLI::App* sub = app.add_subcommand("repair", "Nach einem abgebrochenen Start alles zur\xC3\xBC" "cktauschen");
  RegisterInstallationCommand(commands, sub, [](const GlobalOptions&) {
    if (!app::CheckInstallation()) return kExitFailed;
    const std::string host = host::HostDirectory();
    int found = 0;
    if (!app::HealInstallation(host, &found)) return kExitFailed;
    if (!found) {
      const std::string text = host::StringPrintf("Nichts wiederherzustellen: kein Laufprotokoll in %s.\n", host.c_str());
      std::fputs(platform::ToConsoleText(text).c_str(), stdout);
    }
    return kExitOk;
  });
}

}  // namespace console
