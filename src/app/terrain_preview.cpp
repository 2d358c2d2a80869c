// A picture of each terrain that the settings file describes, written beside
// the layout as "<section>.svg"; no tile is made and no folder created. A
// section the generation would refuse is still drawn, with its reasons, and
// the reasons are reported as well: the preview then fails.

#include "app/guards.h"
#include "app/startup_dialog.h"
#include "host/installation_path.h"
#include "host/messages.h"
#include "host/wording.h"
#include "host/paths.h"
#include "host/save.h"
#include "terrain/preview.h"
#include "terrain/terrain_job.h"

namespace app {

int StartupDialog::PreviewTerrain() {
  if (!CheckLayoutPair(pair_)) return 0;
  // The tiles' folder is checked against the installation, as for the
  // generation.
  if (!CheckInstallation(installation_)) return 0;
  const std::string folder = host::DirectoryOf(pair_.layoutPath);
  int written = 0, allWritten = 1;
  for (int k = 0; k < pair_.settings.count(); ++k) {
    const settings::SettingsEntry& entry = pair_.settings.entry(k);
    if (!entry.isSection || !terrain::IsTerrainSection(entry.name)) continue;
    // The section names the file: it must stay a name in the layout's folder.
    if (!host::IsPlainName(entry.name)) {
      host::Report(host::Why::kPreviewName, entry.name);
      allWritten = 0;
      continue;
    }
    const std::string path = host::FileInFolder(folder, entry.name + ".svg");
    const terrain::TerrainJob job = terrain::ReadTerrainJob(pair_.settings, entry.name, folder, installation_.folder);
    host::Reasons refused;
    if (!host::SaveFileReporting(path, terrain::TerrainPreviewSvg(job, &refused), folder)) {
      allWritten = 0;
      continue;
    }
    view_->ShowResult(host::Wording(host::Why::kPreviewWritten, path));
    ++written;
    // The picture shows why the generation would refuse the section; the
    // command says so too, and fails, so that a script can tell.
    for (const host::Reason& reason : refused) host::Report(reason);
    if (!refused.empty()) allWritten = 0;
  }
  if (written == 0 && allWritten) view_->ShowResult(host::Wording(host::Why::kNoTerrain));
  return allWritten;
}

}  // namespace app
