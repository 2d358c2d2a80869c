// The pictures and the tile plan of one terrain job, read and checked in the
// order the generation meets them: the job's own faults, the height file,
// the colour picture, the two sizes, the name, the plan, and whether every
// tile fits a model file.
//
// Result contract: ReadTerrainInputs returns non-zero when tiles can be
// built; otherwise it has shown the first fault's message (and the pictures'
// own read errors before it).
#pragma once

#include <memory>

#include "terrain/bitmap.h"
#include "terrain/height_field.h"
#include "terrain/terrain_job.h"
#include "terrain/tile_plan.h"

namespace terrain {

struct TerrainInputs {
  std::unique_ptr<HeightField> heights;  // null until the height file is read
  BitmapImage colours;                   // empty until read, or when it failed
  TilePlan plan;
  bool planned = false;  // `plan` was computed; it may still not fit (see TilesFit)
};

// With `into`, the reasons are kept there instead of reported.
int ReadTerrainInputs(const TerrainJob& job, TerrainInputs* inputs, host::Reasons* into = nullptr);

}  // namespace terrain
