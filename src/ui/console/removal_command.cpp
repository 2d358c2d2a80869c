// zuvo remove-missing KIND LAYOUT [--dry-run]: the three buttons under
// "Fehlende Modelle löschen", with how many records went, or with
// --dry-run which ones would go.

#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <vector>

#include "app/guards.h"
#include "layout/removal.h"
#include "ui/console/console_view.h"
#include "ui/console/dialog_commands.h"
#include "ui/console/result_lines.h"

namespace console {
namespace {

struct RemovalKind {
  const char* argument;
  const char* label;
  Handler handler;
  int (*pass)(layout::Layout*);
  layout::RemovalKind kind;
  const char* notice;  // the button's own notice, which claims a deletion even of nothing
};

const RemovalKind kRemovalKinds[] = {
    {"rolling-stock", "Rollmaterial", &app::StartupDialog::OnRemoveMissingRollingStockClicked,
     layout::RemoveMissingRollingStock, layout::RemovalKind::kRollingStock, "Fehlendes Rollmaterial wurde gel\xF6scht!"},
    {"gbos", "GBOs", &app::StartupDialog::OnRemoveMissingGbosClicked, layout::RemoveMissingGbos,
     layout::RemovalKind::kGbos, "Fehlende GBOs wurden gel\xF6scht!"},
    {"real-estate", "Immobilien", &app::StartupDialog::OnRemoveMissingRealEstateClicked,
     layout::RemoveMissingRealEstate, layout::RemovalKind::kRealEstate,
     "Fehlende Immobilien wurden gel\xF6scht!"},
};

// The names of the records that a pass marked removed (units and models get
// id 0) or changed (a GBO becomes plain track) between `before` and `after`,
// each name once, in the order of the lists.
std::vector<std::string> RemovedNames(const layout::Layout& before, const layout::Layout& after) {
  std::vector<std::string> names;
  auto add = [&names](const std::string& name) {
    for (const std::string& known : names) {
      if (known == name) return;
    }
    names.push_back(name);
  };
  for (std::size_t i = 0; i < before.rollingStock.size() && i < after.rollingStock.size(); ++i) {
    if (before.rollingStock[i].id != 0 && after.rollingStock[i].id == 0) add(before.rollingStock[i].name);
  }
  for (std::size_t i = 0; i < before.tracks.size() && i < after.tracks.size(); ++i) {
    if (before.tracks[i].type == 6 && after.tracks[i].type != 6) add(before.tracks[i].gboName);
  }
  for (std::size_t i = 0; i < before.models.size() && i < after.models.size(); ++i) {
    if (before.models[i].id != 0 && after.models[i].id == 0) add(before.models[i].name);
  }
  return names;
}

// What the pass finds in the loaded layout, on a copy of it.
struct Found {
  int count = 0;
  std::vector<std::string> names;
};

Found FindMissing(const RemovalKind& kind, const layout::Layout& loaded) {
  layout::Layout copy = loaded;
  Found found;
  found.count = kind.pass(&copy);
  found.names = RemovedNames(loaded, copy);
  return found;
}

}  // namespace

void AddRemoveMissingCommand(CLI::App& app, CommandList* commands) {
  CLI::App* sub = app.add_subcommand("remove-missing", "Fehlende Modelle aus der Anlage l\xC3\xB6schen");
  auto kindName = std::make_shared<std::string>();
  sub->add_option("KIND", *kindName, "rolling-stock, gbos oder real-estate")
      ->required()
      ->check(CLI::IsMember({"rolling-stock", "gbos", "real-estate"}));
  auto argument = AddLayoutArgument(sub);
  auto dryRun = std::make_shared<bool>(false);
  sub->add_flag("--dry-run", *dryRun, "nur zeigen, was entfernt w\xC3\xBCrde; nichts \xC3\xA4ndern");
  RegisterInstallationCommand(commands, sub, [kindName, argument, dryRun](const GlobalOptions& global) {
    const RemovalKind* kind = &kRemovalKinds[0];
    for (const RemovalKind& k : kRemovalKinds) {
      if (*kindName == k.argument) kind = &k;
    }
    auto found = std::make_shared<Found>();
    ButtonCommand command;
    command.replacedNotice = kind->notice;
    command.prepare = [kind, found](app::StartupDialog* dialog) -> int {
      // The button's own checks, so that a dry run stops where it would.
      if (!app::CheckLoadedLayout(dialog->pair()) || !app::CheckInstallation() ||
          !app::CheckKindFolder(dialog->pair(), kind->kind)) {
        return kExitFailed;
      }
      *found = FindMissing(*kind, dialog->pair().layout);
      return kExitOk;
    };
    if (*dryRun) {
      command.report = [kind, found](const app::StartupDialog&) {
        PrintResult(std::string(kind->label) + " zu entfernen: " + std::to_string(found->count));
        for (const std::string& name : found->names) PrintResult("  " + name);
      };
    } else {
      command.handler = kind->handler;
      command.report = [kind, found](const app::StartupDialog& dialog) {
        PrintResult(std::string(kind->label) + " entfernt: " + std::to_string(found->count) +
                    ", gespeichert: " + dialog.pair().layoutPath);
      };
    }
    return RunDialogCommand(global, *argument, command);
  });
}

}  // namespace console
