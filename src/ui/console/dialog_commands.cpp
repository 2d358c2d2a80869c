#include "ui/console/dialog_commands.h"

#include <CLI/CLI.hpp>
#include <memory>

#include "host/messages.h"
#include "host/wording.h"
#include "host/paths.h"
#include "layout/camera_set.h"
#include "platform/cp1252.h"
#include "ui/console/commands.h"
#include "ui/console/console_view.h"
#include "ui/console/result_lines.h"

namespace console {
namespace {

void AddLayoutButton(CLI::App& app, CommandList* commands, const char* name, const char* help,
                     const ButtonCommand& command, bool needsInstallation) {
  CLI::App* sub = app.add_subcommand(name, help);
  auto argument = AddLayoutArgument(sub);
  auto run = [argument, command](const GlobalOptions& global) { return RunDialogCommand(global, *argument, command); };
  if (needsInstallation) {
    RegisterInstallationCommand(commands, sub, run);
  } else {
    RegisterCommand(commands, sub, run);
  }
}

}  // namespace

int RunDialogCommand(const GlobalOptions& global, const std::string& layoutArgument, const ButtonCommand& command) {
  std::vector<std::string> arguments;
  if (!layoutArgument.empty()) {
    std::string windows;
    if (!ArgumentToWindowsPath(layoutArgument, &windows)) return kExitFailed;
    arguments.push_back(windows);
  }
  ConsoleView view(global.yes);
  app::StartupDialog dialog(&view, global.installation);
  if (!dialog.OnInitDialog(arguments)) return kExitFailed;
  if (command.prepare) {
    const int status = command.prepare(&dialog);
    if (status != kExitOk) return status;
    view.ExchangeData(&dialog.members, false);
  }
  if (command.handler != nullptr && !(dialog.*command.handler)()) return kExitFailed;
  if (command.action && !command.action(&dialog)) return kExitFailed;
  if (view.declined()) {
    PrintResult(host::Wording(host::Why::kDeclined));
    return kExitFailed;
  }
  if (command.report) command.report(view);
  // Everything after the run was done; the status says how the run went.
  return view.simulatorFailed() ? kExitSimulator : kExitOk;
}

int ArgumentToText(const std::string& argument, std::string* text) {
#ifdef _WIN32
  *text = argument;  // already in the ANSI code page
  return 1;
#else
  if (platform::Utf8ToCp1252(argument, text)) return 1;
  host::Report(host::Why::kTextNotCp1252);
  return 0;
#endif
}

void AddDeleteCameraSetCommand(CLI::App& app, CommandList* commands) {
  CLI::App* sub = app.add_subcommand("delete-camera-set", "Kamera Set l\xC3\xB6schen");
  auto argument = AddLayoutArgument(sub);
  auto name = std::make_shared<std::string>();
  sub->add_option("NAME", *name, "Name des Kamera Sets")->required();
  ButtonCommand command;
  command.prepare = [name](app::StartupDialog* dialog) -> int {
    std::string& set = dialog->members.m_cameraSet;
    if (!ArgumentToText(*name, &set)) return kExitFailed;
    // Only a set that exists is asked for: the button would clear the
    // combo box and report nothing.
    if (!dialog->pair().layoutPath.empty() && !dialog->pair().settings.HasSection(layout::CameraSetSection(set))) {
      host::Report(host::Why::kCameraSetUnknown, set, dialog->pair().settingsPath);
      return kExitFailed;
    }
    return kExitOk;
  };
  command.handler = &app::StartupDialog::OnDeleteCameraSetClicked;
  RegisterCommand(commands, sub, [argument, command](const GlobalOptions& global) {
    return RunDialogCommand(global, *argument, command);
  });
}

void AddStandardCommand(CLI::App& app, CommandList* commands) {
  CLI::App* sub = app.add_subcommand("standard", "Standard-Dateien wieder installieren");
  ButtonCommand command;
  command.handler = &app::StartupDialog::OnStandardClicked;
  command.report = [](const ConsoleView& view) {
    if (view.installed() == 0) PrintResult(host::Wording(host::Why::kNothingInstalled));
  };
  RegisterInstallationCommand(commands, sub, [command](const GlobalOptions& global) {
    return RunDialogCommand(global, std::string(), command);
  });
}

void AddInventoryCommand(CLI::App& app, CommandList* commands) {
  ButtonCommand command;
  command.handler = &app::StartupDialog::OnInventoryListClicked;
  AddLayoutButton(app, commands, "inventory", "Inventarliste.txt neben der Anlage schreiben", command, false);
}

void AddTerrainCommand(CLI::App& app, CommandList* commands) {
  // The button's enabled state is no guard here: the command always runs.
  CLI::App* sub = app.add_subcommand("terrain", "Beschriebene Terrains erzeugen");
  auto argument = AddLayoutArgument(sub);
  auto preview = std::make_shared<bool>(false);
  sub->add_flag("--preview", *preview, "Nur je ein Bild <Abschnitt>.svg neben der Anlage schreiben");
  RegisterInstallationCommand(commands, sub, [argument, preview](const GlobalOptions& global) {
    ButtonCommand command;
    command.handler = *preview ? &app::StartupDialog::PreviewTerrain : &app::StartupDialog::OnGenTerrainClicked;
    return RunDialogCommand(global, *argument, command);
  });
}

void AddMissingListCommand(CLI::App& app, CommandList* commands) {
  ButtonCommand command;
  command.handler = &app::StartupDialog::OnMissingListClicked;
  AddLayoutButton(app, commands, "missing-list", "Fehlliste.txt neben der Anlage schreiben", command, true);
}

}  // namespace console
