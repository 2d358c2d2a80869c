// zuvo remove-missing KIND LAYOUT [--dry-run]: the three buttons under
// "Fehlende Modelle löschen", with how many records went, or with
// --dry-run which ones would go.

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "layout/removal.h"
#include "ui/console/dialog_commands.h"

namespace console {
namespace {

const struct {
  const char* argument;
  layout::RemovalKind kind;
} kRemovalKinds[] = {{"rolling-stock", layout::RemovalKind::kRollingStock},
                     {"gbos", layout::RemovalKind::kGbos},
                     {"real-estate", layout::RemovalKind::kRealEstate}};

}  // namespace

void AddRemoveMissingCommand(CLI::App& app, CommandList* commands) {
  CLI::App* sub = app.add_subcommand("remove-missing", "Fehlende Modelle aus der Anlage l\xC3\xB6schen");
  auto kindName = std::make_shared<std::string>();
  sub->add_option("ART", *kindName, "rolling-stock, gbos oder real-estate")
      ->required()
      ->check(CLI::IsMember({"rolling-stock", "gbos", "real-estate"}));
  auto argument = AddLayoutArgument(sub);
  auto dryRun = std::make_shared<bool>(false);
  sub->add_flag("--dry-run", *dryRun, "nur zeigen, was entfernt w\xC3\xBCrde; nichts \xC3\xA4ndern");
  RegisterInstallationCommand(commands, sub, [kindName, argument, dryRun](const GlobalOptions& global) {
    layout::RemovalKind kind = layout::RemovalKind::kRollingStock;
    for (const auto& k : kRemovalKinds) {
      if (*kindName == k.argument) kind = k.kind;
    }
    ButtonCommand command;
    const bool apply = !*dryRun;
    command.action = [kind, apply](app::StartupDialog* dialog) { return dialog->RemoveMissing(kind, apply); };
    return RunDialogCommand(global, *argument, command);
  });
}

}  // namespace console
