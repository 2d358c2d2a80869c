// Loading a layout pair, the "Laden" button.

#include "app/asset_kind_controls.h"
#include "app/startup_dialog.h"
#include "host/installation.h"
#include "host/messages.h"
#include "host/paths.h"
#include "layout/layout_file.h"
#include "app/installation_seams.h"
#include "platform/platform.h"
#include "settings/section_names.h"
#include "terrain/terrain_job.h"

namespace app {
namespace {

const char kCameraSetPrefix[] = "KamSet ";

bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// The path made absolute against the current directory. The load makes the
// layout's folder current, so a relative path would name another file for
// every later command.
std::string AbsolutePath(std::string path) {
  while (StartsWith(path, ".\\")) path.erase(0, 2);
  return host::ResolvePath(platform::CurrentDirectory(), path);
}

// A terrain counts as generated when its folder exists without the marker
// that a generation cut off leaves in it.
bool TerrainGenerated(const host::Installation& installation, const std::string& name) {
  const std::string folder = "Modelle\\" + name;
  return installation.HasFolder(folder) && !platform::HoldsIncompleteMarker(installation.Path(folder));
}

}  // namespace

int StartupDialog::LoadLayout() {
  const std::string named = AbsolutePath(members.m_layoutPath);
  // The pair's other file: the ".anl" by the same rule as every command, the
  // ".danl" the named file itself or beside the named ".anl".
  std::string layoutPath;
  if (!layout::LayoutFileOf(named, &layoutPath)) {
    members.m_layoutPath.clear();
    pair_.layoutPath.clear();
    pair_.settingsPath.clear();
    return 0;
  }
  pair_.layoutPath = layoutPath;
  pair_.settingsPath = layoutPath == named ? host::StripExtension(named) + ".danl" : named;

  pair_.layout.Release();
  pair_.layout.Load(pair_.layoutPath, DataSheets(installation_));
  pair_.settings.Clear();
  // A ".danl" that cannot be held in code page 1252 is not loaded at all: a
  // later save would write it without what could not be read.
  settings::ReadNote note;
  pair_.settings.Read(pair_.settingsPath, nullptr, &note);
  if (!pair_.layout.loaded || note.refused) {
    if (!pair_.layout.loaded) HintAtHistory(layoutPath);
    members.m_layoutPath.clear();
    pair_.layoutPath.clear();
    pair_.settingsPath.clear();
    return 0;
  }
  if (note.utf8) host::Report(host::Why::kTextReadAsUtf8, pair_.settingsPath);
  members.m_layoutPath = pair_.layoutPath;

  view_->ClearCameraSets();
  bool terrainToGenerate = false;
  for (const settings::SettingsEntry& entry : pair_.settings.entries()) {
    if (!entry.isSection) continue;
    if (StartsWith(entry.name, kCameraSetPrefix)) {
      view_->AddCameraSet(entry.name.substr(sizeof kCameraSetPrefix - 1));
    }
    if (terrain::IsTerrainSection(entry.name)) {
      const terrain::TerrainJob job =
          terrain::ReadTerrainJob(pair_.settings, entry.name, pair_.folder(), installation_.folder);
      if (job.nameFault == terrain::TerrainFault::kNone && !TerrainGenerated(installation_, job.name)) {
        terrainToGenerate = true;
      }
    }
  }

  const std::string* cameraSet = pair_.settings.Find(settings::kZuvoSection, settings::kCameraSetKey);
  members.m_cameraSet = cameraSet != nullptr ? *cameraSet : std::string();
  view_->EnableControl(kIdGenTerrain, terrainToGenerate);
  for (int k = 0; k < host::kAssetKindCount; ++k) {
    const std::string* value =
        pair_.settings.Find(settings::kZuvoSection, host::AssetKindOf(static_cast<host::AssetKind>(k)).name);
    members.*kAssetKindControls[k].choice = value != nullptr ? *value : std::string();
  }
  // The dialog works in the layout's folder from now on.
  platform::ChangeDirectory(host::DirectoryOf(pair_.layoutPath));
  return 1;
}

int StartupDialog::OnLoadClicked() {
  std::string initialName = members.m_layoutPath;
  if (initialName.empty()) {
    initialName = installation_.folder + "Anlagen\\*.danl";
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
