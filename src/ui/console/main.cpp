// zuvo: the commands of StartZUVO on the command line.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>

#include "host/installation.h"
#include "host/messages.h"
#include "platform/faults.h"
#include "platform/interrupt.h"
#include "ui/console/command_table.h"

namespace {

const char kVersion[] = "zuvo (StartZUVO) 1.2.0";

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"StartZUVO: bereitet den Simulator Kantrelwick vor und startet ihn."};
  app.set_version_flag("--version", kVersion);
  app.require_subcommand(1);
  app.fallthrough();

  console::GlobalOptions globals;
  std::string hostDirectory;
  app.add_flag("--yes", globals.yes, "Fragen mit Ja beantworten");
  app.add_option("--host", hostDirectory,
                 "Installationsordner des Simulators (statt der Registry)");

  console::CommandList commands;
  console::AddAllCommands(app, &commands);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return console::kExitUsage;
  }

  if (!platform::LoadFaultPlanFromEnvironment()) {
    std::fputs("zuvo: ZUVO_FAULTS ist fehlerhaft\n", stderr);
    return console::kExitUsage;
  }

  if (!hostDirectory.empty()) {
    std::string windows;
    if (!console::ArgumentToWindowsPath(hostDirectory, &windows)) return console::kExitUsage;
    host::SetHostDirectoryOverride(windows);
  }

  // An interrupt stops a command at its next safe point, or is passed on to
  // the simulator while it runs; the command then exits 128 + the signal.
  platform::InstallInterruptHandlers();
  for (const console::CommandRegistration& command : commands) {
    if (!command.subcommand->parsed()) continue;
    const int status = command.run(globals);
    if (!platform::InterruptRequested()) return status;
    const int signal = platform::InterruptSignal();
    std::fprintf(stderr, "Lauf durch Signal %s unterbrochen.\n", platform::InterruptSignalName(signal));
    return 128 + signal;
  }
  return console::kExitUsage;
}
