#include "layout/removal.h"

#include <cstdint>
#include <set>

#include "host/paths.h"
#include "layout/lists.h"

namespace layout {
namespace {

// The names as the missing list names them: up to a 0 byte, each once
// (ignoring the case of A to Z), a model with its ".mod".
class RemovedNames {
 public:
  explicit RemovedNames(const char* suffix = "") : suffix_(suffix) {}
  void Add(const std::string& name) { list_.Intern(host::NameUpToNul(name) + suffix_); }
  std::vector<std::string> names() const { return list_.items(); }

 private:
  const char* suffix_;
  NameList list_;
};

// One pass finds the ids to remove, one more removes them: the same result
// as removing each missing unit's id in list order, in linear time.
Removal RemoveRollingStock(Layout* layout, ObjectFiles* files, bool apply) {
  Removal removal;
  RemovedNames names;
  std::vector<char> removedId(65536, 0);
  bool any = false;
  for (const RollingStockRecord& unit : layout->rollingStock) {
    if (unit.id != 0 && files->RollingStockMissing(unit.name)) {
      removedId[static_cast<std::uint16_t>(unit.id)] = 1;
      any = true;
    }
  }
  if (!any) return removal;
  for (RollingStockRecord& unit : layout->rollingStock) {
    const bool removed = unit.id != 0 && removedId[static_cast<std::uint16_t>(unit.id)];
    if (removed) {
      ++removal.count;
      names.Add(unit.name);
    }
    if (!apply) continue;
    if (removedId[static_cast<std::uint16_t>(unit.neighbourA)]) unit.neighbourA = 0;
    if (removedId[static_cast<std::uint16_t>(unit.neighbourB)]) unit.neighbourB = 0;
    if (removed) unit.id = 0;
  }
  removal.names = names.names();
  return removal;
}

Removal RemoveGbos(Layout* layout, ObjectFiles* files, bool apply) {
  Removal removal;
  RemovedNames names;
  for (TrackRecord& track : layout->tracks) {
    if (track.type != 6 || !files->GboMissing(track.gboName)) continue;
    ++removal.count;
    names.Add(track.gboName);
    if (!apply) continue;
    track.type = 1;
    track.UpdateType();
    track.name = "Gleis";
  }
  removal.names = names.names();
  return removal;
}

Removal RemoveRealEstate(Layout* layout, ObjectFiles* files, bool apply) {
  Removal removal;
  RemovedNames names(".mod");
  std::vector<char> removedAt(layout->models.size(), 0);
  bool any = false;
  for (std::size_t i = 0; i < layout->models.size(); ++i) {
    ModelRecord& model = layout->models[i];
    if (!files->ModelMissing(model.name)) continue;
    if (model.id != 0) {
      ++removal.count;
      names.Add(model.name);
    }
    removedAt[i] = 1;
    any = true;
    if (apply) model.id = 0;
  }
  removal.names = names.names();
  if (!any || !apply) return removal;
  for (TrackRecord& track : layout->tracks) {
    if (track.linkedModel != kNoModel && track.linkedModel >= 0 &&
        static_cast<std::size_t>(track.linkedModel) < removedAt.size() &&
        removedAt[static_cast<std::size_t>(track.linkedModel)]) {
      track.linkedModel = kNoModel;
    }
  }
  return removal;
}

}  // namespace

Removal RemoveMissing(Layout* layout, RemovalKind kind, ObjectFiles* files, bool apply) {
  switch (kind) {
    case RemovalKind::kRollingStock: return RemoveRollingStock(layout, files, apply);
    case RemovalKind::kGbos: return RemoveGbos(layout, files, apply);
    case RemovalKind::kRealEstate: return RemoveRealEstate(layout, files, apply);
  }
  return Removal();
}

}  // namespace layout
