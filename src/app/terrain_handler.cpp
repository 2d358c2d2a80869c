// "Gen. Terrain": the terrains that the settings file describes.

#include "app/guards.h"
#include "app/startup_dialog.h"
#include "host/messages.h"
#include "host/wording.h"
#include "host/paths.h"
#include "platform/interrupt.h"
#include "platform/platform.h"
#include "terrain/generator.h"
#include "terrain/terrain_job.h"

namespace app {
namespace {

// The view, and the last progress told, for the message of an interrupt.
struct ProgressSeen {
  DialogView* view = nullptr;
  std::string section;
  int done = 0;
  int total = 0;
};

void ReportProgress(const std::string& section, int done, int total, void* context) {
  ProgressSeen* seen = static_cast<ProgressSeen*>(context);
  seen->section = section;
  seen->done = done;
  seen->total = total;
  seen->view->ShowProgress(section, done, total);
}

void ReportWritten(const std::string& section, const std::string& folder, int tiles, void* context) {
  static_cast<ProgressSeen*>(context)->view->ShowTerrainWritten(section, folder, tiles);
}

// 1 when the settings describe at least one terrain.
bool DescribesTerrain(const settings::SettingsFile& settings) {
  for (const settings::SettingsEntry& entry : settings.entries()) {
    if (entry.isSection && terrain::IsTerrainSection(entry.name)) return true;
  }
  return false;
}

}  // namespace

int StartupDialog::OnGenTerrainClicked() {
  if (!CheckLayoutPair(pair_)) return 0;
  // The tiles belong in the installation's "Modelle" folder.
  if (!CheckInstallation(installation_)) return 0;
  // Nothing to generate is no generation: it is not reported as done.
  if (!DescribesTerrain(pair_.settings)) {
    host::Report(host::Why::kNoTerrainToGenerate);
    return 0;
  }
  // Relative picture names in the settings file are read beside the layout,
  // from the folder given to the generator. The dialog is still left in the
  // layout's folder, a change that nothing reads back. The loaded layout's
  // path is absolute, so its folder names the same place after the change.
  const std::string folder = host::DirectoryOf(pair_.layoutPath);
  if (!platform::ChangeDirectory(folder)) {
    host::Report(host::Why::kFolderCannotBeOpened, folder);
    return 0;
  }
  view_->BeginWaitCursor();
  ProgressSeen seen;
  seen.view = view_;
  terrain::TerrainProgress progress;
  progress.report = &ReportProgress;
  progress.finished = &ReportWritten;
  progress.context = &seen;
  const int generated = terrain::GenerateTerrain(pair_.settings, folder, installation_.folder, &progress);
  if (platform::InterruptRequested() && seen.total > 0) {
    view_->EndProgress();
    host::Report(host::Why::kTerrainInterrupted, seen.section, seen.done, seen.total);
  }
  if (generated) {
    view_->Notify(host::Wording(host::Why::kTerrainDone));
    view_->EnableControl(kIdGenTerrain, false);
  }
  view_->EndWaitCursor();
  return generated;
}

}  // namespace app
