// zuvo: the commands of StartZUVO on the command line.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>
#include <vector>

#include "host/installation.h"
#include "host/wording.h"
#include "platform/terminal.h"
#include "platform/faults.h"
#include "platform/interrupt.h"
#include "ui/console/command_table.h"
#include "ui/console/console_view.h"
#include "ui/console/describe.h"
#include "ui/console/help.h"
#include "ui/console/hints.h"
#include "ui/console/path_form.h"

namespace {

const char kVersion[] = "zuvo (StartZUVO) 1.2.0";
const int kGoOn = -1;

// Parses the command line. Help, the version and usage errors are written
// here and give the exit status; kGoOn when a command is to run.
int ParseCommandLine(CLI::App& app, int argc, char** argv) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForVersion& e) {
    console::WriteUtf8Text(stdout, std::string(e.what()) + "\n");
    return console::kExitOk;
  } catch (const CLI::Success&) {
    console::WriteUtf8Text(stdout, console::HelpText(app));
    return console::kExitOk;
  } catch (const CLI::ParseError& e) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    console::WriteUtf8Text(stderr, console::UsageErrorText(app, e, args));
    return console::kExitUsage;
  }
  return kGoOn;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"StartZUVO: bereitet den Simulator Kantrelwick vor und startet ihn."};
  console::PrepareHelp(app, console::ProgramName(argc > 0 && argv[0] != nullptr ? argv[0] : ""));
  app.set_version_flag("-V,--version", kVersion, "Version zeigen");
  app.require_subcommand(1);
  app.fallthrough();

  console::GlobalOptions globals;
  std::string hostDirectory;
  bool verbose = false;
  app.add_flag("--yes", globals.yes, "Fragen mit Ja beantworten");
  app.add_flag("--verbose", verbose,
               "Jede fehlgeschlagene Pr\xC3\xBC"
               "fung der Anlagendatei zeigen");
  CLI::Option* host = app.add_option("--host", hostDirectory, "Installationsordner des Simulators (statt der Registry)")
                          ->option_text("ORDNER");

  console::CommandList commands;
  console::AddAllCommands(app, &commands);
  console::FinishHelp(app);
  console::InstallConsoleSinks();

  // The build reads the command line from here for the manual pages and the
  // shell completion: UTF-8 whatever the terminal's encoding.
  if (argc == 2 && std::string(argv[1]) == console::kDescribeArgument) {
    const std::string text = console::DescribeCommandLine(app);
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
    return written ? console::kExitOk : console::kExitFailed;
  }

  const int parsed = ParseCommandLine(app, argc, argv);
  if (parsed != kGoOn) return parsed;

  if (!platform::LoadFaultPlanFromEnvironment()) {
    std::fputs("zuvo: ZUVO_FAULTS ist fehlerhaft\n", stderr);
    return console::kExitUsage;
  }

  console::ChoosePathForm(app, host->count() > 0, hostDirectory);

  // An empty --host (an unset variable) is refused too, never taken as no
  // option. Without one the registry names the installation, once.
  if (host->count() > 0) {
    if (!console::HostFolder(hostDirectory, &globals.installation)) return console::kExitUsage;
  } else {
    globals.installation = host::FindInstallation();
  }
  console::EnableHints(globals.installation);
  console::ShowDiagnostics(verbose);

  // An interrupt stops a command at its next safe point, or is passed on to
  // the simulator while it runs; the command then exits 128 + the signal.
  platform::InstallInterruptHandlers();
  for (const console::CommandRegistration& command : commands) {
    if (!command.subcommand->parsed()) continue;
    const int status = command.run(globals);
    const int hidden = console::TakeHiddenDiagnostics();
    if (hidden > 0) platform::WriteText(stderr, host::Wording(host::Why::kChecksFailed, hidden) + "\n");
    if (!platform::InterruptRequested()) return status;
    const int signal = platform::InterruptSignal();
    std::fprintf(stderr, "Lauf durch Signal %s unterbrochen.\n", platform::InterruptSignalName(signal));
    return 128 + signal;
  }
  return console::kExitUsage;
}
