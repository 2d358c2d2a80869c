#include "layout/removal.h"

#include <cstdint>
#include <set>
#include <vector>

#include "host/installation.h"
#include "host/messages.h"
#include "host/save.h"
#include "layout/missing_files.h"
#include "platform/platform.h"

namespace layout {

std::string MissingKindFolder(const Layout& layout, RemovalKind kind) {
  if (kind == RemovalKind::kRollingStock) return host::IsHostSubdirectory("Rollmaterial") ? "" : "Rollmaterial";
  if (kind == RemovalKind::kRealEstate) return host::IsHostSubdirectory("Modelle") ? "" : "Modelle";
  std::set<std::string> present;
  for (const TrackRecord& track : layout.tracks) {
    if (track.type != 6) continue;
    // A name ends at a 0 byte, as the file's path would.
    const std::string name = track.gboName.substr(0, track.gboName.find('\0'));
    const std::size_t slash = name.find_last_of("\\/");
    if (slash == std::string::npos) continue;  // in the installation's own folder
    const std::string folder = name.substr(0, slash);
    if (present.count(folder)) continue;
    if (!host::IsHostSubdirectory(folder)) return folder;
    present.insert(folder);
  }
  return "";
}

int KeepBackup(const std::string& path, const std::string& within, std::string* backupPath) {
  *backupPath = path + ".bak";
  std::string bytes;
  if (!platform::ReadWholeFile(path, &bytes)) {
    host::Report(host::Why::kCannotOpen, path);
    return 0;
  }
  return host::SaveFileReporting(*backupPath, bytes, within);
}

int RemoveMissingRollingStock(Layout* layout) {
  // One pass finds the ids to remove, one more removes them: the same result
  // as removing each missing unit's id in list order, in linear time.
  MissingFiles missing;
  std::vector<char> removedId(65536, 0);
  bool any = false;
  for (const RollingStockRecord& unit : layout->rollingStock) {
    if (unit.id != 0 && missing.RollingStock(unit.name)) {
      removedId[static_cast<std::uint16_t>(unit.id)] = 1;
      any = true;
    }
  }
  if (!any) return 0;
  int removed = 0;
  for (RollingStockRecord& unit : layout->rollingStock) {
    if (removedId[static_cast<std::uint16_t>(unit.neighbourA)]) unit.neighbourA = 0;
    if (removedId[static_cast<std::uint16_t>(unit.neighbourB)]) unit.neighbourB = 0;
    if (removedId[static_cast<std::uint16_t>(unit.id)]) {
      unit.id = 0;
      ++removed;
    }
  }
  return removed;
}

int RemoveMissingGbos(Layout* layout) {
  MissingFiles missing;
  int changed = 0;
  for (TrackRecord& track : layout->tracks) {
    if (track.type != 6 || !missing.Gbo(track.gboName)) continue;
    track.type = 1;
    track.UpdateType();
    track.name = "Gleis";
    ++changed;
  }
  return changed;
}

int RemoveMissingRealEstate(Layout* layout) {
  MissingFiles missing;
  std::vector<char> removedAt(layout->models.size(), 0);
  int removed = 0;
  bool any = false;
  for (std::size_t i = 0; i < layout->models.size(); ++i) {
    ModelRecord& model = layout->models[i];
    if (!missing.Model(model.name)) continue;
    if (model.id != 0) ++removed;
    model.id = 0;
    removedAt[i] = 1;
    any = true;
  }
  if (!any) return 0;
  for (TrackRecord& track : layout->tracks) {
    if (track.linkedModel != kNoModel && track.linkedModel >= 0 &&
        static_cast<std::size_t>(track.linkedModel) < removedAt.size() &&
        removedAt[static_cast<std::size_t>(track.linkedModel)]) {
      track.linkedModel = kNoModel;
    }
  }
  return removed;
}

}  // namespace layout
