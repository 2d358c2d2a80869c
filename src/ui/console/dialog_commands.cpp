#include "ui/console/dialog_commands.h"

#include <CLI/CLI.hpp>
#include <memory>

#include "host/messages.h"
#include "host/paths.h"
#include "layout/camera_set.h"
#include "layout/lists.h"
#include "platform/cp1252.h"
#include "ui/console/commands.h"
#include "ui/console/console_view.h"
#include "ui/console/result_lines.h"

namespace console {
namespace {

// The console's view with one notice of the button left out: the command's
// result lines say it in its place.
class CommandView : public ConsoleView {
 public:
  CommandView(bool answerYes, const char* replacedNotice)
      : ConsoleView(answerYes), replacedNotice_(replacedNotice) {}
  void Notify(const std::string& text) override {
    if (replacedNotice_ == nullptr || text != replacedNotice_) ConsoleView::Notify(text);
  }
  void ShowTerrainWritten(const std::string& section, const std::string& folder, int tiles) override {
    PrintResult(section + ": " + std::to_string(tiles) + " Kacheln in " + folder);
  }

 private:
  const char* replacedNotice_;
};

void AddLayoutButton(CLI::App& app, CommandList* commands, const char* name, const char* help,
                     const ButtonCommand& command, bool needsInstallation) {
  CLI::App* sub = app.add_subcommand(name, help);
  auto argument = AddLayoutArgument(sub);
  auto run = [argument, command](const GlobalOptions& global) {
    return RunDialogCommand(global, *argument, command);
  };
  if (needsInstallation) {
    RegisterInstallationCommand(commands, sub, run);
  } else {
    RegisterCommand(commands, sub, run);
  }
}

// The list written beside the loaded layout.
void PrintListWritten(const app::StartupDialog& dialog, int missingOnly) {
  PrintResult("Geschrieben: " + host::FileInFolder(host::DirectoryOf(dialog.pair().layoutPath),
                                                   layout::ListFileName(missingOnly)));
}

}  // namespace

int RunDialogCommand(const GlobalOptions& global, const std::string& layoutArgument,
                     const ButtonCommand& command) {
  std::vector<std::string> arguments;
  if (!layoutArgument.empty()) {
    std::string windows;
    if (!ArgumentToWindowsPath(layoutArgument, &windows)) return kExitFailed;
    arguments.push_back(windows);
  }
  CommandView view(global.yes, command.replacedNotice);
  app::StartupDialog dialog(&view);
  if (!dialog.OnInitDialog(arguments)) return kExitFailed;
  if (command.prepare) {
    const int status = command.prepare(&dialog);
    if (status != kExitOk) return status;
    view.ExchangeData(&dialog.members, false);
  }
  if (command.handler != nullptr && !(dialog.*command.handler)()) return kExitFailed;
  if (command.action && !command.action(&dialog)) return kExitFailed;
  if (view.declined()) {
    PrintResult("Abgebrochen.");
    return kExitFailed;
  }
  if (command.report) command.report(dialog);
  return kExitOk;
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
    if (!dialog->pair().layoutPath.empty() &&
        !dialog->pair().settings.HasSection(layout::CameraSetSection(set))) {
      host::Report(host::Why::kCameraSetUnknown, set, dialog->pair().settingsPath);
      return kExitFailed;
    }
    return kExitOk;
  };
  command.handler = &app::StartupDialog::OnDeleteCameraSetClicked;
  command.report = [name](const app::StartupDialog& dialog) {
    std::string set;
    ArgumentToText(*name, &set);
    PrintResult("Kamera Set " + set + " gel\xF6scht: " + dialog.pair().settingsPath);
  };
  RegisterCommand(commands, sub, [argument, command](const GlobalOptions& global) {
    return RunDialogCommand(global, *argument, command);
  });
}

void AddStandardCommand(CLI::App& app, CommandList* commands) {
  CLI::App* sub = app.add_subcommand("standard", "Standard-Dateien wieder installieren");
  ButtonCommand command;
  command.handler = &app::StartupDialog::OnStandardClicked;
  command.report = [](const app::StartupDialog&) {
    if (!PrintInstalledFiles(nullptr)) PrintResult("Keine Standard-Dateien gesichert: nichts installiert.");
  };
  RegisterInstallationCommand(commands, sub, [command](const GlobalOptions& global) {
    return RunDialogCommand(global, std::string(), command);
  });
}

void AddInventoryCommand(CLI::App& app, CommandList* commands) {
  ButtonCommand command;
  command.handler = &app::StartupDialog::OnInventoryListClicked;
  command.report = [](const app::StartupDialog& dialog) { PrintListWritten(dialog, 0); };
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
  command.report = [](const app::StartupDialog& dialog) { PrintListWritten(dialog, 1); };
  AddLayoutButton(app, commands, "missing-list", "Fehlliste.txt neben der Anlage schreiben", command, true);
}

}  // namespace console
