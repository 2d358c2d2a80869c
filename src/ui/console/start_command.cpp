#include "ui/console/start_command.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "app/asset_kind_controls.h"
#include "host/installation.h"
#include "ui/console/commands.h"
#include "ui/console/dialog_commands.h"

namespace console {
namespace {

// One option that sets one member when it is given.
struct MemberOption {
  CLI::Option* option = nullptr;
  std::string value;
  std::string app::DialogMembers::*member = nullptr;
};

// The option of each kind's choice, in the order of host::AssetKind.
const char* const kKindOptions[host::kAssetKindCount] = {"--buffer-stop", "--catenary", "--guide-post",
                                                         "--ground-texture"};

}  // namespace

void AddStartCommand(CLI::App& app, CommandList* commands) {
  CLI::App* sub = app.add_subcommand("start", "Simulator auf der Anlage starten (Starte ZUVO)");
  auto argument = AddLayoutArgument(sub);

  auto options = std::make_shared<std::vector<MemberOption>>(1 + host::kAssetKindCount);
  (*options)[0].member = &app::DialogMembers::m_cameraSet;
  (*options)[0].option = sub->add_option("--camera-set", (*options)[0].value, "Kamera Set (NAME)");
  for (int k = 0; k < host::kAssetKindCount; ++k) {
    MemberOption& o = (*options)[1 + k];
    const std::string kind = host::AssetKindOf(static_cast<host::AssetKind>(k)).name;
    o.member = app::kAssetKindControls[k].choice;
    o.option = sub->add_option(kKindOptions[k], o.value, kind + " aus dem Ordner " + kind + " (DATEI)");
  }

  RegisterCommand(commands, sub, [argument, options](const GlobalOptions& global) {
    return RunDialogCommand(
        global, *argument,
        [options](app::DialogMembers* members) {
          for (const MemberOption& o : *options) {
            if (o.option->count() > 0 && !ArgumentToText(o.value, &(members->*o.member))) return 0;
          }
          return 1;
        },
        &app::StartupDialog::OnStartClicked);
  });
}

}  // namespace console
