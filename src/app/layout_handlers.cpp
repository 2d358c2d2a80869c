// No buttons: the loaded layout saved again, and drawn as a map.

#include "app/guards.h"
#include "app/installation_seams.h"
#include "app/startup_dialog.h"
#include "host/messages.h"
#include "host/paths.h"
#include "host/save.h"
#include "host/wording.h"
#include "map/map_svg.h"
#include "platform/cp1252.h"

namespace app {

int StartupDialog::Resave() {
  if (!CheckLoadedLayout(pair_) || !KeepLoadedPair("resave")) return 0;
  pair_.layout.PrepareForSave();
  if (!pair_.layout.Save(pair_.layoutPath, pair_.folder())) return 0;
  view_->ShowResult(host::Wording(host::Why::kLayoutSaved, pair_.layoutPath));
  return 1;
}

// A map never replaces a layout or its settings file. Without the
// installation every object would be drawn as missing. The map beside the
// layout stays in its folder; a file named otherwise is the user's choice.
int StartupDialog::WriteMap(const std::string& named) {
  if (!CheckLoadedLayout(pair_)) return 0;
  const std::string target = named.empty() ? host::StripExtension(pair_.layoutPath) + ".svg" : named;
  const std::string extension = host::ExtensionOf(target);
  if (platform::EqualsIgnoringCase(extension, "anl") || platform::EqualsIgnoringCase(extension, "danl")) {
    host::Report(host::Why::kWrongExtension, extension);
    return 0;
  }
  std::string svg;
  if (!DrawMap(&svg)) return 0;
  const std::string within = named.empty() ? pair_.folder() : std::string();
  if (!host::SaveFileReporting(target, svg, within)) return 0;
  view_->ShowResult(host::Wording(host::Why::kMapWritten, target));
  return 1;
}

int StartupDialog::DrawMap(std::string* svg) {
  if (!CheckLoadedLayout(pair_) || !CheckInstallation(installation_)) return 0;
  InstallationObjects files(installation_);
  map::MapCounts counts;
  *svg = map::MapSvg(pair_.layout, &files, &counts);
  return 1;
}

}  // namespace app
