// The bridges and buffer stops of a layout's models, noted in list order
// with the place each one matches: what linking them to their tracks needs
// of the models. The reader notes each model as it reads it, while the
// record is still in the cache, so that linking after a load does not walk
// the models again.
#pragma once

#include <cstdint>
#include <vector>

#include "layout/layout.h"

namespace layout {

class TrackModelPlaces {
 public:
  // Where a model stands and the way it faces, as linking compares them:
  // x and y only (heights are never compared), the direction as key bits.
  struct Place {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t dx = 0;
    std::uint32_t dy = 0;
    std::uint32_t dz = 0;

    bool operator==(const Place& o) const { return x == o.x && y == o.y && dx == o.dx && dy == o.dy && dz == o.dz; }
  };
  struct Placed {
    Place place;
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
