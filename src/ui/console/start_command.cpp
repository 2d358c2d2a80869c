#include "ui/console/start_command.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "app/asset_kind_controls.h"
#include "host/installation.h"
#include "host/messages.h"
#include "layout/camera_set.h"
#include "platform/cp1252.h"
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

// The run would store its cameras as a second set whose name differs from
// an existing one only in case, which the dialog's list cannot tell apart:
// refused, naming the existing set. A name no set has is a new set.
int CheckCameraSetName(const app::StartupDialog& dialog, const std::string& name) {
  const settings::SettingsFile& settings = dialog.pair().settings;
  if (name.empty() || dialog.pair().layoutPath.empty() || settings.HasSection(layout::CameraSetSection(name))) {
    return kExitOk;
  }
  const std::string wanted = layout::CameraSetSection(name);
  for (const settings::SettingsEntry& entry : settings.entries()) {
    if (entry.isSection && platform::EqualsIgnoringCase(entry.name, wanted)) {
      host::Report(host::Why::kCameraSetCaseDiffers, name, dialog.pair().settingsPath,
                   entry.name.substr(wanted.size() - name.size()));
      return kExitFailed;
    }
  }
  return kExitOk;
}

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
    if ((*options)[0].option->count() > 0) {
      const int status = CheckCameraSetName(*dialog, dialog->members.m_cameraSet);
      if (status != kExitOk) return status;
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
  RegisterInstallationCommand(commands, sub, [argument, command](const GlobalOptions& global) {
    return RunDialogCommand(global, *argument, command);
  });
}

}  // namespace console
