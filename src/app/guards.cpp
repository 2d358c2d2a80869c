#include "app/guards.h"

#include <set>
#include <string>

#include "host/messages.h"
#include "host/paths.h"

namespace app {
namespace {

int LayoutNotOk() {
  host::Report(host::Why::kLayoutNotOk);
  return 0;
}

// The folder, relative to the installation, that files of the kind live in
// and that is missing; "" when there is none.
std::string MissingKindFolder(const host::Installation& installation, const layout::Layout& layout,
                              layout::RemovalKind kind) {
  if (kind == layout::RemovalKind::kRollingStock) return installation.HasFolder("Rollmaterial") ? "" : "Rollmaterial";
  if (kind == layout::RemovalKind::kRealEstate) return installation.HasFolder("Modelle") ? "" : "Modelle";
  std::set<std::string> present;
  for (const layout::TrackRecord& track : layout.tracks) {
    if (track.type != 6) continue;
    const std::string name = host::NameUpToNul(track.gboName);
    const std::size_t slash = name.find_last_of("\\/");
    if (slash == std::string::npos) continue;  // in the installation's own folder
    const std::string folder = name.substr(0, slash);
    if (present.count(folder)) continue;
    if (!installation.HasFolder(folder)) return folder;
    present.insert(folder);
  }
  return "";
}

}  // namespace

int CheckLayoutPair(const LoadedPair& pair) { return pair.layoutPath.empty() ? LayoutNotOk() : 1; }

int CheckLoadedLayout(const LoadedPair& pair) {
  return pair.layout.loaded && !pair.layoutPath.empty() ? 1 : LayoutNotOk();
}

int CheckInstallation(const host::Installation& installation) {
  if (installation.known()) return 1;
  host::Report(host::Why::kUnknownInstallation);
  return 0;
}

int CheckKindFolder(const host::Installation& installation, const LoadedPair& pair, layout::RemovalKind kind) {
  const std::string folder = MissingKindFolder(installation, pair.layout, kind);
  if (folder.empty()) return 1;
  host::Report(host::Why::kKindFolderMissing, installation.Path(folder));
  return 0;
}

}  // namespace app
