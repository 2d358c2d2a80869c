// Loading a layout pair, the "Laden" button.

#include <cctype>

#include "app/app_state.h"
#include "app/startup_dialog.h"
#include "host/installation.h"
#include "host/messages.h"
#include "host/paths.h"
#include "layout/data_sheet.h"
#include "platform/platform.h"

namespace app {
namespace {

const char kCameraSetPrefix[] = "KamSet ";
const char kTerrainPrefix[] = "Terrain";

bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// The path made absolute against the current directory. The load makes the
// layout's folder current, so a relative path would name another file for
// every later command.
std::string AbsolutePath(std::string path) {
  if (path.empty()) return path;
  const bool hasDrive = path.size() >= 2 && path[1] == ':' &&
                        std::isalpha(static_cast<unsigned char>(path[0]));
  if (hasDrive || StartsWith(path, "\\\\")) return path;  // absolute, UNC, or "C:name"
  std::string current = platform::CurrentDirectory();
  if (current.empty()) return path;
  if (path[0] == '\\') return current.size() >= 2 && current[1] == ':' ? current.substr(0, 2) + path : path;
  while (StartsWith(path, ".\\")) path.erase(0, 2);
  if (current.back() != '\\') current += '\\';
  return current + path;
}

}  // namespace

int StartupDialog::LoadLayout() {
  AppState& g = Globals();
  const std::string named = AbsolutePath(members.m_layoutPath);
  g.LayoutPath = named;
  g.SettingsPath = named;
  const std::string extension = host::ExtensionOf(named);
  if (host::EqualsIgnoringAsciiCase(extension, "anl")) {
    g.SettingsPath = host::StripExtension(named) + ".danl";
  } else if (host::EqualsIgnoringAsciiCase(extension, "danl")) {
    g.LayoutPath = host::StripExtension(named) + ".anl";
  } else {
    members.m_layoutPath.clear();
    g.LayoutPath.clear();
    g.SettingsPath.clear();
    host::ShowFormatted("falsche Endung: %s\n", extension.c_str());
    return 0;
  }

  g.Layout.Release();
  g.Layout.Load(g.LayoutPath, layout::HostDataSheets());
  g.SettingsFile.Clear();
  g.SettingsFile.Read(g.SettingsPath);
  if (!g.Layout.loaded) {
    members.m_layoutPath.clear();
    g.LayoutPath.clear();
    g.SettingsPath.clear();
    return 0;
  }
  members.m_layoutPath = g.LayoutPath;

  view_->ClearCameraSets();
  bool terrainToGenerate = false;
  for (const settings::SettingsEntry& entry : g.SettingsFile.entries()) {
    if (!entry.isSection) continue;
    if (StartsWith(entry.name, kCameraSetPrefix)) {
      view_->AddCameraSet(entry.name.substr(sizeof kCameraSetPrefix - 1));
    }
    if (StartsWith(entry.name, kTerrainPrefix)) {
      const std::string* name = g.SettingsFile.Find(entry.name, "Name");
      if (name != nullptr && !host::IsHostSubdirectory("Modelle\\" + *name)) terrainToGenerate = true;
    }
  }

  const std::string* cameraSet = g.SettingsFile.Find("Zuvo", "KamSet");
  members.m_cameraSet = cameraSet != nullptr ? *cameraSet : std::string();
  view_->EnableControl(kIdGenTerrain, terrainToGenerate);
  std::string* choices[host::kAssetKindCount] = {&members.m_bufferStop, &members.m_catenary,
                                                 &members.m_guidePost, &members.m_groundTexture};
  for (int k = 0; k < host::kAssetKindCount; ++k) {
    const std::string* value =
        g.SettingsFile.Find("Zuvo", host::AssetKindOf(static_cast<host::AssetKind>(k)).name);
    *choices[k] = value != nullptr ? *value : std::string();
  }
  platform::ChangeDirectory(host::DirectoryOf(g.LayoutPath));
  return 1;
}

int StartupDialog::OnLoadClicked() {
  std::string initialName = members.m_layoutPath;
  if (initialName.empty()) {
    const char* hostDirectory = host::HostDirectory();
    initialName = host::StringPrintf("%sAnlagen\\*.danl", hostDirectory != nullptr ? hostDirectory : "");
  }
  std::string chosen;
  if (!view_->ChooseFile(initialName, "erw. Anlagen|*.danl|Anlagen|*.anl|Alle Dateien|*.*|", &chosen)) {
    return 1;
  }
  if (!chosen.empty()) members.m_layoutPath = chosen;
  int loaded = LoadLayout();
  view_->ExchangeData(&members, false);
  return loaded;
}

}  // namespace app
