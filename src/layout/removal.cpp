#include "layout/removal.h"

#include <cstdint>
#include <vector>

#include "layout/missing_files.h"

namespace layout {

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
