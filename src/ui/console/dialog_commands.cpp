#include "ui/console/dialog_commands.h"

#include <CLI/CLI.hpp>
#include <memory>

#include "host/messages.h"
#include "platform/cp1252.h"
#include "ui/console/commands.h"
#include "ui/console/console_view.h"

namespace console {
namespace {

void AddLayoutButton(CLI::App& app, CommandList* commands, const char* name, const char* help,
                     Handler handler) {
  CLI::App* sub = app.add_subcommand(name, help);
  auto argument = AddLayoutArgument(sub);
  RegisterCommand(commands, sub, [argument, handler](const GlobalOptions& global) {
    return RunDialogCommand(global, *argument, nullptr, handler);
  });
}

}  // namespace

int RunDialogCommand(const GlobalOptions& global, const std::string& layoutArgument,
                     const MemberOptions& options, Handler handler) {
  std::vector<std::string> arguments;
  if (!layoutArgument.empty()) {
    std::string windows;
    if (!ArgumentToWindowsPath(layoutArgument, &windows)) return kExitFailed;
    arguments.push_back(windows);
  }
  ConsoleView view(global.yes);
  app::StartupDialog dialog(&view);
  if (!dialog.OnInitDialog(arguments)) return kExitFailed;
  if (options) {
    if (!options(&dialog.members)) return kExitFailed;
    view.ExchangeData(&dialog.members, false);
  }
  return (dialog.*handler)() ? kExitOk : kExitFailed;
}

int ArgumentToText(const std::string& argument, std::string* text) {
#ifdef _WIN32
  *text = argument;  // already in the ANSI code page
  return 1;
#else
  if (platform::Utf8ToCp1252(argument, text)) return 1;
  host::ShowFormatted("Der Text enth\xE4lt Zeichen, die es in Windows-1252 nicht gibt.\n");
  return 0;
#endif
}

void AddDeleteCameraSetCommand(CLI::App& app, CommandList* commands) {
  CLI::App* sub = app.add_subcommand("delete-camera-set", "Kamera Set l\xC3\xB6schen");
  auto argument = AddLayoutArgument(sub);
  auto name = std::make_shared<std::string>();
  sub->add_option("NAME", *name, "Name des Kamera Sets")->required();
  RegisterCommand(commands, sub, [argument, name](const GlobalOptions& global) {
    return RunDialogCommand(
        global, *argument,
        [name](app::DialogMembers* members) { return ArgumentToText(*name, &members->m_cameraSet); },
        &app::StartupDialog::OnDeleteCameraSetClicked);
  });
}

void AddStandardCommand(CLI::App& app, CommandList* commands) {
  CLI::App* sub = app.add_subcommand("standard", "Standard-Dateien wieder installieren");
  RegisterCommand(commands, sub, [](const GlobalOptions& global) {
    return RunDialogCommand(global, std::string(), nullptr, &app::StartupDialog::OnStandardClicked);
  });
}

void AddRemoveMissingCommand(CLI::App& app, CommandList* commands) {
  CLI::App* sub = app.add_subcommand("remove-missing", "Fehlende Modelle aus der Anlage l\xC3\xB6schen");
  auto kind = std::make_shared<std::string>();
  sub->add_option("KIND", *kind, "rolling-stock, gbos oder real-estate")
      ->required()
      ->check(CLI::IsMember({"rolling-stock", "gbos", "real-estate"}));
  auto argument = AddLayoutArgument(sub);
  RegisterCommand(commands, sub, [kind, argument](const GlobalOptions& global) {
    Handler handler = *kind == "rolling-stock" ? &app::StartupDialog::OnRemoveMissingRollingStockClicked
                      : *kind == "gbos"        ? &app::StartupDialog::OnRemoveMissingGbosClicked
                                               : &app::StartupDialog::OnRemoveMissingRealEstateClicked;
    return RunDialogCommand(global, *argument, nullptr, handler);
  });
}

void AddInventoryCommand(CLI::App& app, CommandList* commands) {
  AddLayoutButton(app, commands, "inventory", "Inventarliste.txt neben der Anlage schreiben",
                  &app::StartupDialog::OnInventoryListClicked);
}

void AddTerrainCommand(CLI::App& app, CommandList* commands) {
  // The button's enabled state is no guard here: the command always runs.
  CLI::App* sub = app.add_subcommand("terrain", "Beschriebene Terrains erzeugen");
  auto argument = AddLayoutArgument(sub);
  auto preview = std::make_shared<bool>(false);
  sub->add_flag("--preview", *preview, "Nur je ein Bild <Abschnitt>.svg neben der Anlage schreiben");
  RegisterCommand(commands, sub, [argument, preview](const GlobalOptions& global) {
    return RunDialogCommand(global, *argument, nullptr,
                            *preview ? &app::StartupDialog::PreviewTerrain : &app::StartupDialog::OnGenTerrainClicked);
  });
}

void AddMissingListCommand(CLI::App& app, CommandList* commands) {
  AddLayoutButton(app, commands, "missing-list", "Fehlliste.txt neben der Anlage schreiben",
                  &app::StartupDialog::OnMissingListClicked);
}

}  // namespace console
