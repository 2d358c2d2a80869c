// The record lists of a layout: counting, removal and duplicate removal.

#include "layout/layout.h"

#include <algorithm>

#include "layout/model_key.h"
#include "layout/trailer_index.h"

namespace layout {

void TrackRecord::UpdateType() {
  if (type == 6 || type == 11) return;
  bool variant = variantValue != 0;
  switch (endCount) {
    case 1: type = 2; break;
    case 2: type = variant ? 7 : 1; break;
    case 3: type = variant ? 8 : 3; break;
    case 4: type = variant ? 9 : 4; break;
    default: break;
  }
}

bool ModelRecord::Equals(const ModelRecord& a, const ModelRecord& b) {
  return a.position.x == b.position.x && a.position.y == b.position.y && a.position.z == b.position.z &&
         a.direction.x == b.direction.x && a.direction.y == b.direction.y && a.direction.z == b.direction.z &&
         a.name == b.name;
}

void Layout::Release() {
  // The records and their strings are freed; the arrays keep their memory
  // for the next load of this layout.
  tracks.clear();
  models.clear();
  rollingStock.clear();
}

int Layout::CountLiveTracks() const {
  return static_cast<int>(std::count_if(tracks.begin(), tracks.end(), [](const TrackRecord& t) { return t.id != 0; }));
}

int Layout::CountLiveModels() const {
  return static_cast<int>(std::count_if(models.begin(), models.end(), [](const ModelRecord& m) { return m.id != 0; }));
}

int Layout::CountLiveRollingStock() const {
  return static_cast<int>(
      std::count_if(rollingStock.begin(), rollingStock.end(), [](const RollingStockRecord& r) { return r.id != 0; }));
}

std::vector<int> Layout::TrailerOrder() const {
  TrailerIndex index;
  for (std::size_t i = 0; i < rollingStock.size(); ++i) index.Note(rollingStock[i].id, static_cast<int>(i));
  return index.Order();
}

void Layout::RemoveDuplicateModels() {
  // Equality is an equivalence on records without NaN directions (a NaN
  // equals nothing), so a later model is a duplicate exactly when the first
  // live model of its class came before it. One pass with an index of those
  // first models; the links are cleared in one more pass.
  FirstIndex first(models.size());
  std::vector<char> removed(models.size(), 0);
  bool any = false;
  for (std::size_t j = 0; j < models.size(); ++j) {
    const ModelRecord& model = models[j];
    if (model.id == 0) continue;
    ModelKey key;
    if (!MakeModelKey(model.name, model.position, model.direction, &key)) continue;
    if (first.InsertFirst(key, j) != j) {
      models[j].id = 0;
      removed[j] = 1;
      any = true;
    }
  }
  if (!any) return;
  for (TrackRecord& track : tracks) {
    if (track.linkedModel != kNoModel && removed[static_cast<std::size_t>(track.linkedModel)]) {
      track.linkedModel = kNoModel;
    }
  }
}

}  // namespace layout
