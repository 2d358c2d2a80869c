// "Gen. Terrain": the terrains that the settings file describes.

#include "app/guards.h"
#include "app/startup_dialog.h"
#include "host/messages.h"
#include "host/paths.h"
#include "platform/cp1252.h"
#include "platform/platform.h"
#include "terrain/generator.h"

namespace app {
namespace {

void ReportProgress(const std::string& section, int done, int total, void* context) {
  static_cast<DialogView*>(context)->ShowProgress(section, done, total);
}

// The layout's folder as an absolute path, taken before the dialog changes
// into it: a relative folder ("Anlagen", or "C:Anlagen" on a drive) lies
// below the directory the process is in now, or that drive's root.
std::string AbsoluteFolder(const std::string& folder) {
  const std::string current = platform::CurrentDirectory();
  const bool onDrive = folder.size() > 2 && folder[1] == ':' && folder[2] != '\\' && folder[2] != '/';
  if (!onDrive) return terrain::FileRelativeTo(current, folder);
  const std::string drive = folder.substr(0, 2);
  const bool sameDrive = platform::EqualsIgnoringCase(current.substr(0, 2), drive);
  return terrain::FileRelativeTo(sameDrive ? current : drive + "\\", folder.substr(2));
}

}  // namespace

int StartupDialog::OnGenTerrainClicked() {
  if (!CheckLayoutPair(pair_)) return 0;
  // The tiles belong in the installation's "Modelle" folder.
  if (!CheckInstallation()) return 0;
  // Relative picture names in the settings file are read beside the layout.
  // The dialog is left in the layout's folder, a change that nothing reads
  // back.
  const std::string folder = host::DirectoryOf(pair_.layoutPath);
  const std::string pictureFolder = AbsoluteFolder(folder);
  if (!platform::ChangeDirectory(folder)) {
    host::ShowFormatted(host::kFolderCannotBeOpened, folder.c_str());
    return 0;
  }
  view_->BeginWaitCursor();
  terrain::TerrainProgress progress;
  progress.report = &ReportProgress;
  progress.context = view_;
  const int generated = terrain::GenerateTerrain(pair_.settings, pictureFolder, &progress);
  if (generated) {
    view_->Notify("Terraingenerierung abgeschlossen!");
    view_->EnableControl(kIdGenTerrain, false);
  }
  view_->EndWaitCursor();
  return generated;
}

}  // namespace app
