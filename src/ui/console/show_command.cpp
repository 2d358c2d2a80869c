// zuvo show LAYOUT [--json]: what the dialog shows after the load.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>

#include "host/installation.h"
#include "platform/cp1252.h"
#include "platform/platform.h"
#include "ui/console/commands.h"
#include "ui/console/console_view.h"
#include "ui/console/dialog_commands.h"

namespace console {
namespace {

struct ChooseButton {
  host::AssetKind kind;
  int id;
};

const ChooseButton kChooseButtons[host::kAssetKindCount] = {
    {host::kBufferStop, app::kIdChooseBufferStop},
    {host::kCatenary, app::kIdChooseCatenary},
    {host::kGuidePost, app::kIdChooseGuidePost},
    {host::kGroundTexture, app::kIdChooseGroundTexture},
};

std::string Utf8(const std::string& cp1252) { return platform::Cp1252ToUtf8(cp1252); }

std::string ShownAsJson(const ConsoleView& view) {
  const app::DialogMembers& shown = view.controls();
  nlohmann::ordered_json json;
  json["layoutPath"] = Utf8(shown.m_layoutPath);
  json["cameraSet"] = Utf8(shown.m_cameraSet);
  json["cameraSets"] = nlohmann::ordered_json::array();
  for (const std::string& name : view.cameraSets()) json["cameraSets"].push_back(Utf8(name));
  json["bufferStop"] = Utf8(shown.m_bufferStop);
  json["catenary"] = Utf8(shown.m_catenary);
  json["guidePost"] = Utf8(shown.m_guidePost);
  json["groundTexture"] = Utf8(shown.m_groundTexture);
  json["genTerrainEnabled"] = view.IsEnabled(app::kIdGenTerrain);
  nlohmann::ordered_json choose = nlohmann::ordered_json::object();
  for (const ChooseButton& button : kChooseButtons) {
    choose[host::AssetKindOf(button.kind).name] = view.IsEnabled(button.id);
  }
  json["chooseEnabled"] = choose;
  return json.dump(2) + "\n";
}

std::string ShownAsText(const ConsoleView& view) {
  const app::DialogMembers& shown = view.controls();
  auto state = [&view](int id) { return view.IsEnabled(id) ? "aktiv" : "inaktiv"; };
  std::string sets;
  for (const std::string& name : view.cameraSets()) sets += (sets.empty() ? "" : " | ") + name;
  std::string text = "Anlage: " + shown.m_layoutPath + "\n";
  text += "Kamera Set: " + shown.m_cameraSet + "\n";
  text += "Kamera Sets: " + sets + "\n";
  text += "Prellbock: " + shown.m_bufferStop + "\n";
  text += "Oberleitung: " + shown.m_catenary + "\n";
  text += "Leitpfosten: " + shown.m_guidePost + "\n";
  text += "Bodentextur: " + shown.m_groundTexture + "\n";
  text += std::string("Gen. Terrain: ") + state(app::kIdGenTerrain) + "\n";
  for (const ChooseButton& button : kChooseButtons) {
    text += std::string("Ausw\xE4hlen ") + host::AssetKindOf(button.kind).name + ": " + state(button.id) + "\n";
  }
  return platform::ToConsoleText(text);
}

int RunShow(const std::string& argument, bool asJson) {
  std::string windows;
  if (!ArgumentToWindowsPath(argument, &windows)) return kExitFailed;
  ConsoleView view(Globals().yes);
  app::StartupDialog dialog(&view);
  if (!dialog.OnInitDialog({windows})) return kExitFailed;
  std::string out = asJson ? ShownAsJson(view) : ShownAsText(view);
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

}  // namespace

void AddShowCommand(CLI::App& app) {
  CLI::App* sub = app.add_subcommand("show", "Anlage laden und zeigen, was der Dialog zeigt");
  auto argument = std::make_shared<std::string>();
  auto asJson = std::make_shared<bool>(false);
  sub->add_option("LAYOUT", *argument, "Anlage (.anl oder .danl)")->required();
  sub->add_flag("--json", *asJson, "als ein JSON-Objekt");
  RegisterCommand(sub, [argument, asJson]() { return RunShow(*argument, *asJson); });
}

}  // namespace console
