#include "ui/console/start_command.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "app/asset_kind_controls.h"
#include "host/installation.h"
#include "ui/console/commands.h"
#include "ui/console/choice_files.h"
#include "ui/console/dialog_commands.h"

namespace console {
namespace {

// One option that sets one member when it is given.
struct MemberOption {
  CLI::Option* option = nullptr;
  std::string value;
  std::string app::DialogMembers::*member = nullptr;
};

}  // namespace

void AddStartCommand(CLI::App& app, CommandList* commands) {
  CLI::App* sub = app.add_subcommand("start", "Simulator auf der Anlage starten (Starte ZUVO)");
  auto argument = AddLayoutArgument(sub);

  auto options = std::make_shared<std::vector<MemberOption>>(1 + host::kAssetKindCount);
  (*options)[0].member = &app::DialogMembers::m_cameraSet;
  (*options)[0].option = sub->add_option("--camera-set", (*options)[0].value, "Kamera Set")->option_text("NAME");
  for (int k = 0; k < host::kAssetKindCount; ++k) {
    MemberOption& o = (*options)[1 + k];
    const host::AssetKindInfo& info = host::AssetKindOf(static_cast<host::AssetKind>(k));
    const std::string kind = info.name;
    o.member = app::kAssetKindControls[k].choice;
    o.option = sub->add_option(info.option, o.value, kind + " aus dem Ordner " + kind)->option_text("DATEI");
  }

  ButtonCommand command;
  command.prepare = [options](app::StartupDialog* dialog) -> int {
    for (const MemberOption& o : *options) {
      if (o.option->count() > 0 && !ArgumentToText(o.value, &(dialog->members.*o.member))) return kExitFailed;
    }
    // A choice is a file of its kind folder, named as the file chooser
    // gives it: without a folder in front.
    for (int k = 0; k < host::kAssetKindCount; ++k) {
      const MemberOption& o = (*options)[1 + k];
      if (o.option->count() == 0) continue;
      const int status =
          CheckChoice(dialog->installation(), static_cast<host::AssetKind>(k), dialog->members.*o.member);
      if (status != kExitOk) return status;
    }
    return kExitOk;
  };
  command.handler = &app::StartupDialog::OnStartClicked;
  command.report = [](const ConsoleView& view) { view.PrintInstalled(); };
  RegisterInstallationCommand(commands, sub, [argument, command](const GlobalOptions& global) {
    return RunDialogCommand(global, *argument, command);
  });
}

}  // namespace console
