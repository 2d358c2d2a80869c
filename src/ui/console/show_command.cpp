// zuvo show LAYOUT [--json]: what the dialog shows after the load.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>

#include "app/asset_kind_controls.h"
#include "host/installation.h"
#include "host/wording.h"
#include "ui/console/choice_files.h"
#include "platform/cp1252.h"
#include "platform/platform.h"
#include "platform/terminal.h"
#include "ui/console/commands.h"
#include "ui/console/console_view.h"
#include "ui/console/dialog_commands.h"

namespace console {
namespace {

// The JSON names of the kinds' choices, in the order of host::AssetKind.
const char* const kChoiceJsonNames[host::kAssetKindCount] = {"bufferStop", "catenary", "guidePost", "groundTexture"};

const char* KindName(int kind) { return host::AssetKindOf(static_cast<host::AssetKind>(kind)).name; }

std::string Utf8(const std::string& cp1252) { return platform::Cp1252ToUtf8(cp1252); }

// A text member as JSON: null when empty (nothing set).
nlohmann::ordered_json TextOrNull(const std::string& cp1252) {
  return cp1252.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(Utf8(cp1252));
}

std::string ShownAsJson(const ConsoleView& view, const host::Installation& installation) {
  const app::DialogMembers& shown = view.controls();
  nlohmann::ordered_json json;
  json["installation"] = TextOrNull(installation.folder);
  json["layoutPath"] = Utf8(shown.m_layoutPath);
  json["cameraSet"] = TextOrNull(shown.m_cameraSet);
  json["cameraSets"] = nlohmann::ordered_json::array();
  for (const std::string& name : view.cameraSets()) json["cameraSets"].push_back(Utf8(name));
  for (int k = 0; k < host::kAssetKindCount; ++k) {
    json[kChoiceJsonNames[k]] = TextOrNull(shown.*app::kAssetKindControls[k].choice);
  }
  json["genTerrainEnabled"] = view.IsEnabled(app::kIdGenTerrain);
  nlohmann::ordered_json choose = nlohmann::ordered_json::object();
  nlohmann::ordered_json available = nlohmann::ordered_json::object();
  for (int k = 0; k < host::kAssetKindCount; ++k) {
    choose[kChoiceJsonNames[k]] = view.IsEnabled(app::kAssetKindControls[k].chooseButton);
    std::vector<std::string> files;
    nlohmann::ordered_json& list = available[kChoiceJsonNames[k]];
    if (!host::ChoiceFiles(installation, static_cast<host::AssetKind>(k), &files))
      continue;  // null: no folder to choose from
    list = nlohmann::ordered_json::array();
    for (const std::string& file : files) list.push_back(Utf8(file));
  }
  json["chooseEnabled"] = choose;
  json["availableFiles"] = available;
  return json.dump(2) + "\n";
}

// A kind's line: the choice, or for none what a start installs instead;
// then what the kind folder offers.
std::string ChoiceLines(const std::string& choice, const host::Installation& installation, int k) {
  const host::AssetKind kind = static_cast<host::AssetKind>(k);
  std::string text = std::string(KindName(k)) + ": ";
  if (!choice.empty()) {
    text += choice;
  } else if (installation.HasFolder(KindName(k))) {
    text += host::Wording(host::Why::kShowDefaultUsed, host::AssetKindOf(kind).defaultFile);
  } else {
    text += host::Wording(host::Why::kShowNothingInstalled);
  }
  if (!installation.known()) return text + "\n";
  return text + "\n" + host::Wording(host::Why::kShowAvailable, AvailableChoices(installation, kind)) + "\n";
}

std::string ShownAsText(const ConsoleView& view, const host::Installation& installation) {
  const app::DialogMembers& shown = view.controls();
  auto state = [&view](int id) { return view.IsEnabled(id) ? "aktiv" : "inaktiv"; };
  std::string sets;
  for (const std::string& name : view.cameraSets()) sets += (sets.empty() ? "" : " | ") + name;
  std::string text = "Anlage: " + host::ShownPath(shown.m_layoutPath) + "\n";
  text += "Kamera Set: " + shown.m_cameraSet + "\n";
  text += "Kamera Sets: " + sets + "\n";
  for (int k = 0; k < host::kAssetKindCount; ++k) {
    text += ChoiceLines(shown.*app::kAssetKindControls[k].choice, installation, k);
  }
  text += std::string("Gen. Terrain: ") + state(app::kIdGenTerrain) + "\n";
  for (int k = 0; k < host::kAssetKindCount; ++k) {
    text += std::string("Ausw\xE4hlen ") + KindName(k) + ": " + state(app::kAssetKindControls[k].chooseButton) + "\n";
  }
  return text;
}

int RunShow(const GlobalOptions& global, const std::string& argument, bool asJson) {
  std::string windows;
  if (!ArgumentToWindowsPath(argument, &windows)) return kExitFailed;
  ConsoleView view(global.yes);
  app::StartupDialog dialog(&view, global.installation);
  if (!dialog.OnInitDialog({windows})) return kExitFailed;
  if (!asJson) return platform::WriteText(stdout, ShownAsText(view, global.installation)) ? kExitOk : kExitFailed;
  std::string out = ShownAsJson(view, global.installation);
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

}  // namespace

void AddShowCommand(CLI::App& app, CommandList* commands) {
  CLI::App* sub = app.add_subcommand("show", "Anlage laden und zeigen, was der Dialog zeigt");
  auto asJson = std::make_shared<bool>(false);
  auto argument = AddLayoutArgument(sub);
  sub->add_flag("--json", *asJson, "als ein JSON-Objekt");
  RegisterCommand(commands, sub,
                  [argument, asJson](const GlobalOptions& global) { return RunShow(global, *argument, *asJson); });
}

}  // namespace console
