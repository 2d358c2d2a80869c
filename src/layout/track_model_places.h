// The bridges and buffer stops of a layout's models, noted in list order
// with the place each one matches: what linking them to their tracks needs
// of the models. The reader notes each model as it reads it, while the
// record is still in the cache, so that linking after a load does not walk
// the models again.
#pragma once

#include <vector>

#include "layout/layout.h"
#include "layout/model_key.h"

namespace layout {

class TrackModelPlaces {
 public:
  struct Placed {
    ModelKey key;  // the place and direction only: no name, no height
    int model;
  };

  // Notes model `index` when it is a bridge or a buffer stop with a
  // direction that has a key.
  void Note(const ModelRecord& model, int index);

  const std::vector<Placed>& bridges() const { return bridges_; }
  const std::vector<Placed>& bufferStops() const { return bufferStops_; }

 private:
  std::vector<Placed> bridges_, bufferStops_;
};

// Links every track to the bridge or buffer stop standing on it, from the
// places noted of `layout`'s models.
void LinkTrackModelsAt(Layout* layout, const TrackModelPlaces& places);

}  // namespace layout
