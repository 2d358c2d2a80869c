#include "ui/console/dialog_commands.h"

#include <CLI/CLI.hpp>
#include <memory>

#include "host/messages.h"
#include "platform/cp1252.h"
#include "ui/console/commands.h"
#include "ui/console/console_view.h"

namespace console {
namespace {

std::shared_ptr<std::string> AddLayoutArgument(CLI::App* sub) {
  auto argument = std::make_shared<std::string>();
  sub->add_option("LAYOUT", *argument, "Anlage (.anl oder .danl)")->required();
  return argument;
}

void AddLayoutButton(CLI::App& app, const char* name, const char* help, Handler handler) {
  CLI::App* sub = app.add_subcommand(name, help);
  auto argument = AddLayoutArgument(sub);
  RegisterCommand(sub, [argument, handler]() { return RunDialogCommand(*argument, nullptr, handler); });
}

}  // namespace

int RunDialogCommand(const std::string& layoutArgument, const MemberOptions& options,
                     Handler handler) {
  std::vector<std::string> arguments;
  if (!layoutArgument.empty()) {
    std::string windows;
    if (!ArgumentToWindowsPath(layoutArgument, &windows)) return kExitFailed;
    arguments.push_back(windows);
  }
  ConsoleView view(Globals().yes);
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

void AddDeleteCameraSetCommand(CLI::App& app) {
  CLI::App* sub = app.add_subcommand("delete-camera-set", "Kamera Set l\xC3\xB6schen");
  auto argument = AddLayoutArgument(sub);
  auto name = std::make_shared<std::string>();
  sub->add_option("NAME", *name, "Name des Kamera Sets")->required();
  RegisterCommand(sub, [argument, name]() {
    return RunDialogCommand(
        *argument,
        [name](app::DialogMembers* members) { return ArgumentToText(*name, &members->m_cameraSet); },
        &app::StartupDialog::OnDeleteCameraSetClicked);
  });
}

void AddStandardCommand(CLI::App& app) {
  CLI::App* sub = app.add_subcommand("standard", "Standard-Dateien wieder installieren");
  RegisterCommand(sub, []() {
    return RunDialogCommand(std::string(), nullptr, &app::StartupDialog::OnStandardClicked);
  });
}

void AddRemoveMissingCommand(CLI::App& app) {
  CLI::App* sub = app.add_subcommand("remove-missing", "Fehlende Modelle aus der Anlage l\xC3\xB6schen");
  auto kind = std::make_shared<std::string>();
  sub->add_option("KIND", *kind, "rolling-stock, gbos oder real-estate")
      ->required()
      ->check(CLI::IsMember({"rolling-stock", "gbos", "real-estate"}));
  auto argument = AddLayoutArgument(sub);
  RegisterCommand(sub, [kind, argument]() {
    Handler handler = *kind == "rolling-stock" ? &app::StartupDialog::OnRemoveMissingRollingStockClicked
                      : *kind == "gbos"        ? &app::StartupDialog::OnRemoveMissingGbosClicked
                                               : &app::StartupDialog::OnRemoveMissingRealEstateClicked;
    return RunDialogCommand(*argument, nullptr, handler);
  });
}

void AddInventoryCommand(CLI::App& app) {
  AddLayoutButton(app, "inventory", "Inventarliste.txt neben der Anlage schreiben",
                  &app::StartupDialog::OnInventoryListClicked);
}

void AddTerrainCommand(CLI::App& app) {
  // The button's enabled state is no guard here: the command always runs.
  AddLayoutButton(app, "terrain", "Beschriebene Terrains erzeugen", &app::StartupDialog::OnGenTerrainClicked);
}

void AddMissingListCommand(CLI::App& app) {
  AddLayoutButton(app, "missing-list", "Fehlliste.txt neben der Anlage schreiben",
                  &app::StartupDialog::OnMissingListClicked);
}

}  // namespace console
